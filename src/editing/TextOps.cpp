#include "editing/TextOps.h"

#include "app/MainWindow.h"

namespace corvane {

TextOps::TextOps(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
}

}  // namespace corvane
