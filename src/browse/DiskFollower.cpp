#include "browse/DiskFollower.h"

#include "widgets/KeyedList.h"

#include "library/Fs.h"

namespace corvane {

DiskFollower::DiskFollower(const Library& library, KeyedList& categories, KeyedList& scripts, QObject* parent)
    : QObject(parent)
    , library_(library)
    , categories_(categories)
    , scripts_(scripts)
{
    // Changes come in bursts (a sync tool writes many files); one reading follows.
    settle_.setSingleShot(true);
    settle_.setInterval(200);
    connect(&settle_, &QTimer::timeout, this, &DiskFollower::followDisk);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    lookAgain_.setInterval(1000);
    connect(&lookAgain_, &QTimer::timeout, this, [this] {
        if (rewatch())
            followDisk();
    });
    rewatch();
}

std::optional<Library::Contents> DiskFollower::rereadLists()
{
    const bool hadCategory = categories_.hasSelection();
    categories_.update(library_.categories());
    if (!categories_.hasSelection()) {
        scripts_.clearQuietly();
        if (hadCategory)
            emit choiceLost();
        return std::nullopt;
    }
    if (searching_)
        return std::nullopt;
    Library::Contents contents = library_.readCategory(categories_.selectedKey());
    scripts_.update(contents.items);
    return contents;
}

void DiskFollower::followDisk()
{
    // Watching before reading, so that no change falls between the two.
    rewatch();
    const std::optional<Library::Contents> contents = rereadLists();
    rewatch();
    if (contents)
        emit categoryReread(*contents);
}

bool DiskFollower::rewatch()
{
    // A folder whose name the system's encoding cannot carry is read when chosen.
    const fs::Path dir = library_.categoryPath(categories_.selectedKey());
    const QString category = categories_.hasSelection() ? fs::qtPath(dir) : QString();
    // Watched anew each time: a folder removed, or moved away and replaced by
    // another of its name (as sync tools do), leaves its watch on what is gone.
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    bool cameBack = false;
    QSet<QString> missing;
    for (const QString& path : {library_.root(), category}) {
        if (path.isEmpty())
            continue;
        if (!watcher_.addPath(path))
            missing.insert(path);
        else if (missing_.contains(path))
            cameBack = true;
    }
    missing_ = missing;
    // The library folder not made yet, or a folder removed to be made again:
    // looked for every second until it is there.
    if (missing_.isEmpty())
        lookAgain_.stop();
    else if (!lookAgain_.isActive())
        lookAgain_.start();
    return cameBack;
}

}  // namespace corvane
