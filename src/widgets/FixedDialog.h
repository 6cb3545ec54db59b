#pragma once

#include "widgets/Controls.h"

#include <QDialog>

namespace corvane {

// The program's windows besides the main one: a title, the icon and a close box,
// no resizing, centred on the screen when first shown.
class FixedDialog : public QDialog {
    Q_OBJECT
public:
    // Which keys the window ignores instead of closing or pressing a default button.
    enum class Keys { Usual, NoEscape, NoEscapeNoEnter };

    FixedDialog(QWidget* parent, const char* name, const QString& title, int widthTwips, int heightTwips,
                Keys keys = Keys::Usual);

protected:
    // Runs once, after the window is centred: where the focus starts.
    virtual void firstShown() {}

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Keys keys_;
    controls::FirstShow firstShow_;
};

}  // namespace corvane
