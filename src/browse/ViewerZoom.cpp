#include "browse/ViewerZoom.h"

#include "app/MainWindow.h"

namespace corvane {

ViewerZoom::ViewerZoom(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
}

}  // namespace corvane
