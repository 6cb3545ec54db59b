#include "browse/Browser.h"

#include "app/MainWindow.h"

namespace corvane {

Browser::Browser(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
}

}  // namespace corvane
