#pragma once

#include <QObject>

class QWidget;

namespace corvane {

// What makes a picture or a label a button for the pointer: a move over the
// control is a hover, a left press and then a left release inside it a click.
// The control's mouse events stop at it, so none reaches the window behind.
class ClickWatch : public QObject {
    Q_OBJECT
public:
    // Watches control, which owns it.
    explicit ClickWatch(QWidget* control);

signals:
    void clicked();
    void hovered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* control_;
    bool pressed_ = false;
};

}  // namespace corvane
