#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// Adding, renaming and deleting categories.
class CategoryOps : public QObject {
    Q_OBJECT
public:
    explicit CategoryOps(MainWindow& window);

private:
    MainWindow& window_;
};

}  // namespace corvane
