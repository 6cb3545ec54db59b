#include "widgets/Busy.h"

#include <QApplication>
#include <QEventLoop>

#include <thread>

namespace corvane {

void runBusy(const std::function<void()>& work)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    std::thread worker([&work, &loop] {
        work();
        // Queued: taken up by the loop below even if it has not started yet.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also ends when the application quits; the work still finishes.
    worker.join();
    QApplication::restoreOverrideCursor();
}

}  // namespace corvane
