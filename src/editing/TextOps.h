#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// Saving the viewer's text into its script, and copying it.
class TextOps : public QObject {
    Q_OBJECT
public:
    explicit TextOps(MainWindow& window);

private:
    MainWindow& window_;
};

}  // namespace corvane
