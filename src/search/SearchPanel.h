#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// The search panel of the main window.
class SearchPanel : public QObject {
    Q_OBJECT
public:
    explicit SearchPanel(MainWindow& window);

private:
    MainWindow& window_;
};

}  // namespace corvane
