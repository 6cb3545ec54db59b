#include "widgets/Busy.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>

#include <thread>

namespace corvane {
namespace {

// Keeps the user's clicks and keys from the windows while work runs; Esc is
// taken as a request to stop.
class InputGate : public QObject {
public:
    explicit InputGate(const std::function<void()>& stop)
        : stop_(stop)
    {
        qApp->installEventFilter(this);
    }
    ~InputGate() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && stop_)
                stop_();
            return true;
        case QEvent::KeyRelease: case QEvent::ShortcutOverride: case QEvent::Shortcut:
        case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: case QEvent::Wheel: case QEvent::ContextMenu: case QEvent::InputMethod:
        case QEvent::TouchBegin: case QEvent::TouchUpdate: case QEvent::TouchEnd:
        case QEvent::TabletPress: case QEvent::TabletRelease: case QEvent::TabletMove:
        case QEvent::DragEnter: case QEvent::DragMove: case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }

private:
    const std::function<void()>& stop_;
};

// Runs work on a thread of its own while this thread's event loop keeps the
// windows painted, with the busy cursor and the user's input kept out.
void runAside(const std::function<void()>& work, const std::function<void()>& tick,
              const std::function<void()>& stop)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    QTimer ticks;
    if (tick) {
        QObject::connect(&ticks, &QTimer::timeout, &loop, [&tick] { tick(); });
        ticks.start(100);
    }
    const InputGate gate(stop);
    std::thread worker([&work, &loop] {
        work();
        // Queued: taken up by the loop below even if it has not started yet.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop also ends when the application quits; the work still finishes.
    worker.join();
    QApplication::restoreOverrideCursor();
}

}  // namespace

void runBusy(const std::function<void()>& work)
{
    runAside(work, {}, {});
}

void runStoppable(const std::function<void()>& work, const std::function<void()>& tick,
                  const std::function<void()>& stop)
{
    runAside(work, tick, stop);
}

}  // namespace corvane
