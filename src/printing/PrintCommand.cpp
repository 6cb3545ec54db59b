#include "printing/PrintCommand.h"

#include "app/MainWindow.h"

namespace corvane {

PrintCommand::PrintCommand(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
}

}  // namespace corvane
