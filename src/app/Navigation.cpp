#include "app/Navigation.h"

#include "app/MainWindow.h"

namespace corvane {

Navigation::Navigation(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
}

}  // namespace corvane
