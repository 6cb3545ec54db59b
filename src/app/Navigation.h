#pragma once

#include <QObject>

class QWidget;

namespace corvane {

class MainWindow;
class Picture;

// The header's picture buttons: hover twins, help, credits, backup, web site.
class Navigation : public QObject {
    Q_OBJECT
public:
    explicit Navigation(MainWindow& window);

private:
    void hideTwins();
    void pair(Picture* icon, Picture* twin);

    MainWindow& window_;
};

}  // namespace corvane
