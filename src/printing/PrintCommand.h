#pragma once

#include <QObject>
#include <QString>

namespace corvane {

class MainWindow;

// The Imprimir button: opens the print window on the viewer's text.
class PrintCommand : public QObject {
    Q_OBJECT
public:
    explicit PrintCommand(MainWindow& window);

    // The script being shown: the chosen entry of the script list or, while the
    // search panel has emptied that list, the name part of the chosen result line.
    QString scriptName() const;

private:
    void openPrintWindow();

    MainWindow& window_;
};

}  // namespace corvane
