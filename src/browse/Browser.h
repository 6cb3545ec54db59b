#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// The category and script lists and the viewer.
class Browser : public QObject {
    Q_OBJECT
public:
    explicit Browser(MainWindow& window);

private:
    MainWindow& window_;
};

}  // namespace corvane
