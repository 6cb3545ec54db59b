#include "editing/CategoryOps.h"

#include "app/MainWindow.h"

namespace corvane {

CategoryOps::CategoryOps(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
}

}  // namespace corvane
