#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// The magnifier buttons: the viewer widened over the lists and back.
class ViewerZoom : public QObject {
    Q_OBJECT
public:
    explicit ViewerZoom(MainWindow& window);

private:
    MainWindow& window_;
};

}  // namespace corvane
