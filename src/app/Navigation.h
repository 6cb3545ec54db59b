#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// The header's picture buttons: hover twins, help, credits, backup, web site.
class Navigation : public QObject {
    Q_OBJECT
public:
    explicit Navigation(MainWindow& window);

private:
    MainWindow& window_;
};

}  // namespace corvane
