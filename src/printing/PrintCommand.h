#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// The Imprimir button: opens the print window.
class PrintCommand : public QObject {
    Q_OBJECT
public:
    explicit PrintCommand(MainWindow& window);

private:
    MainWindow& window_;
};

}  // namespace corvane
