#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// Adding, renaming and deleting scripts.
class ScriptOps : public QObject {
    Q_OBJECT
public:
    explicit ScriptOps(MainWindow& window);

private:
    MainWindow& window_;
};

}  // namespace corvane
