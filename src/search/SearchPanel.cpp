#include "search/SearchPanel.h"

#include "app/MainWindow.h"

namespace corvane {

SearchPanel::SearchPanel(MainWindow& window)
    : QObject(&window)
    , window_(window)
{
}

}  // namespace corvane
