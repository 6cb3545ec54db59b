#include "library/LibraryLock.h"

#include <QDir>
#include <QFileInfo>

namespace corvane {
namespace {

// The lock sits on the library folder itself; where folders take no locks, on
// a hidden file beside the library folder, named after it.
fs::Path whatToLock(const QString& dir)
{
    if (fs::Lock::foldersLock())
        return fs::fromQString(dir);
    const QFileInfo library(QDir::cleanPath(QFileInfo(dir).absoluteFilePath()));
    return fs::fromQString(library.absolutePath() + QStringLiteral("/.") + library.fileName()
                           + QStringLiteral(".lock"));
}

}  // namespace

LibraryLock::LibraryLock(const QString& libraryDir)
    : dir_(libraryDir)
{
}

LibraryLock::~LibraryLock()
{
    unlock();
}

LibraryLock::Result LibraryLock::tryLock()
{
    if (isLocked())
        return Taken;
    fs::Lock::Result result = lock_.take(whatToLock(dir_));
    // Where the folder's file system keeps no locks (some network shares), a
    // lock this machine keeps.
    if (result == fs::Lock::NoLocks)
        result = lock_.takeOnThisMachine();
    if (result == fs::Lock::Taken)
        return Taken;
    lock_.release();
    return result == fs::Lock::Held ? HeldElsewhere : Unavailable;
}

void LibraryLock::unlock()
{
    lock_.release();
}

void LibraryLock::testingWithoutFlock(bool without)
{
    fs::testing::withoutLocks(without);
}

}  // namespace corvane
