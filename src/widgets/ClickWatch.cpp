#include "widgets/ClickWatch.h"

#include <QMouseEvent>
#include <QWidget>

namespace corvane {

ClickWatch::ClickWatch(QWidget* control)
    : QObject(control)
    , control_(control)
{
    control->installEventFilter(this);
}

bool ClickWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != control_)
        return false;
    // Only mouse events are looked at as such.
    const auto mouse = [event] { return static_cast<QMouseEvent*>(event); };
    switch (event->type()) {
    case QEvent::MouseMove:
        event->accept();
        emit hovered();
        return true;
    // A double click's second press is a press like the first, as QWidget has it.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        pressed_ = mouse()->button() == Qt::LeftButton;
        event->accept();
        return true;
    case QEvent::MouseButtonRelease: {
        const bool click = pressed_ && mouse()->button() == Qt::LeftButton
            && control_->rect().contains(mouse()->position().toPoint());
        pressed_ = false;
        event->accept();
        if (click)
            emit clicked();
        return true;
    }
    default:
        return false;
    }
}

}  // namespace corvane
