#include "widgets/ShownScript.h"

#include "widgets/TextViewer.h"

#include "library/Fs.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextDocument>

namespace corvane {

ShownScript::ShownScript(TextViewer& viewer)
    : QObject(&viewer)
    , viewer_(viewer)
{
    // A sync tool writes in bursts; one reading follows.
    settle_.setSingleShot(true);
    settle_.setInterval(200);
    connect(&settle_, &QTimer::timeout, this, &ShownScript::follow);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&viewer, &QPlainTextEdit::textChanged, this, &ShownScript::textChanged);
}

void ShownScript::show(const fs::Path& path, const script::ReadResult& read)
{
    ++loads_;
    loading_ = true;
    viewer_.showText(read.status == script::ReadStatus::Ok ? script::fromCrLf(read.text) : QString());
    viewer_.document()->setModified(false);
    loading_ = false;
    path_ = path;
    loaded_ = read.snapshot;
    showsLoaded_ = read.status == script::ReadStatus::Ok;
    rewatch();
}

std::optional<script::Snapshot> ShownScript::loadedFrom(const fs::Path& path) const
{
    if (path_.isEmpty() || path != path_)
        return std::nullopt;
    return loaded_;
}

void ShownScript::saved(const fs::Path& path, const script::Snapshot& written)
{
    if (path != path_)
        return;
    loaded_ = written;
    viewer_.document()->setModified(false);
    showsLoaded_ = true;
}

void ShownScript::textChanged()
{
    if (loading_)
        return;
    // Checked once the change is over: a user's edit leaves the document
    // modified, the program emptying the viewer does not. Either way the text is
    // no longer the file's to replace.
    QTimer::singleShot(0, this, [this, load = loads_] {
        if (load == loads_ && !viewer_.document()->isModified())
            showsLoaded_ = false;
    });
}

void ShownScript::rewatch()
{
    // A file replaced by a rename is a new file: the watch goes to whatever the
    // name holds now. A name the system's encoding cannot carry is not watched.
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    const QString file = fs::qtPath(path_);
    if (file.isEmpty())
        return;
    watcher_.addPath(file);
    watcher_.addPath(QFileInfo(file).path());
}

void ShownScript::follow()
{
    rewatch();
    if (!showsLoaded_ || viewer_.document()->isModified())
        return;
    const script::ReadResult read = script::read(path_);
    if (read.status != script::ReadStatus::Ok || read.snapshot == loaded_)
        return;
    const int cursor = viewer_.textCursor().position();
    const int top = viewer_.verticalScrollBar()->value(), left = viewer_.horizontalScrollBar()->value();
    show(path_, read);
    QTextCursor at = viewer_.textCursor();
    at.setPosition(qMin(cursor, viewer_.document()->characterCount() - 1));
    viewer_.setTextCursor(at);
    viewer_.verticalScrollBar()->setValue(top);
    viewer_.horizontalScrollBar()->setValue(left);
    emit followed();
}

}  // namespace corvane
