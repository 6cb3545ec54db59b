#include "editing/ScriptOps.h"

#include "app/MainWindow.h"

namespace corvane {

ScriptOps::ScriptOps(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
}

}  // namespace corvane
