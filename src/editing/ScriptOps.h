#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// Adding, renaming and deleting scripts: the buttons under the script list
// acting on the name typed in cxRnmFile, the selected entries and the viewer.
class ScriptOps : public QObject {
    Q_OBJECT
public:
    explicit ScriptOps(MainWindow& window);

private:
    void add();
    void rename();
    void remove();

    MainWindow& window_;
};

}  // namespace corvane
