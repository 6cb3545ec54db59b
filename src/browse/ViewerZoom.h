#pragma once

#include <QObject>

namespace corvane {

class MainWindow;

// The magnifier buttons: the viewer widened over the lists and back. Each view
// sets absolute values, so applying it twice is the same as once; the viewer's
// text, unsaved edits included, is never touched.
class ViewerZoom : public QObject {
    Q_OBJECT
public:
    explicit ViewerZoom(MainWindow& window);

    // The two layouts, without the check for a selected script.
    void enlarge();
    void restore();
    bool isEnlarged() const { return enlarged_; }

private:
    // A script must be selected; otherwise tells the user and returns false.
    bool scriptChosen();

    MainWindow& window_;
    bool enlarged_ = false;
};

}  // namespace corvane
