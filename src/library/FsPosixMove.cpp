// POSIX side of the file-system door, renaming and moving: a file moved never
// replaces one, a folder moved keeps all it holds.
#include "library/FsPosix_p.h"

#include <sys/statfs.h>

#include <cstdio>

namespace corvane::fs {
using namespace detail;

namespace {

bool onFuse(const Path& path)
{
    struct statfs st;
    return ::statfs(path.constData(), &st) == 0 && st.f_type == 0x65735546;  // FUSE_SUPER_MAGIC
}

// Makes the folder to, moves every entry of from into it, then removes from.
// On a failure what was moved goes back, so every entry is always in one of
// the two folders.
bool moveByEntries(const Path& from, const Path& to)
{
    std::vector<Entry> entries;
    if (!list(from, entries) || ::mkdir(to.constData(), 0777) != 0)
        return false;
    size_t moved = 0;
    while (moved < entries.size()
           && moveEntry(join(from, entries[moved].name), join(to, entries[moved].name)))
        ++moved;
    if (moved == entries.size() && ::rmdir(from.constData()) == 0)
        return true;
    const int error = errno;
    while (moved-- > 0)
        moveEntry(join(to, entries[moved].name), join(from, entries[moved].name));
    ::rmdir(to.constData());
    errno = error;
    return false;
}

}  // namespace

// FAT through FUSE (fusefat) renames a folder as an empty one, losing what it
// held; so on FUSE, whose file systems differ in this, a folder moves entry by
// entry.
bool detail::moveEntry(const Path& from, const Path& to)
{
    struct stat st;
    if (::lstat(from.constData(), &st) == 0 && S_ISDIR(st.st_mode) && onFuse(from))
        return moveByEntries(from, to);
    return ::rename(from.constData(), to.constData()) == 0;
}

namespace {

// FAT through FUSE refuses to rename a folder when only the letter case
// changes: such a change goes by way of a hidden name, and back on a failure.
// error is what the plain move said.
bool renameCaseOnly(const Path& from, const Path& to, int error)
{
    const Path via = parentOf(to) + "/.corvane-" + QByteArray::number(::getpid()) + '-'
        + to.mid(to.lastIndexOf('/') + 1);
    struct stat st;
    if (from == to || from.compare(to, Qt::CaseInsensitive) != 0 || ::lstat(via.constData(), &st) == 0
        || !moveEntry(from, via))
        return fail(error);
    if (moveEntry(via, to))
        return true;
    error = errno;
    moveEntry(via, from);
    return fail(error);
}

// Gives the file at from the name to, which must be free: one rename that never
// replaces; where the file system cannot refuse a taken name in a rename, the
// way a new script takes its name, with from removed.
bool placeFree(const Path& from, const Path& to)
{
    if (const NoReplace renamed = renameNoReplace(from, to); renamed != NoReplace::Unsupported)
        return renamed == NoReplace::Done || fail(errno);
    if (!placeUnderFreeName(from, to))
        return false;
    // Two names and no move: a new name is taken back, so the file keeps one.
    struct stat st;
    if (::lstat(from.constData(), &st) != 0)
        return true;
    ::unlink(to.constData());
    return fail(EBUSY);
}

// A folder's names made to last; unlike syncDir, a failure counts.
bool syncDirChecked(const Path& dir)
{
    if (!step())
        return false;
    Fd fd{::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    return (fd.fd >= 0 && ::fsync(fd.fd) == 0) || fail(errno);
}

// Across file systems: a whole, flushed copy under a hidden name in the target's
// folder, then the final name, then the source removed. A link is not copied.
bool moveAcross(const Path& from, const Path& to)
{
    Fd in{::open(from.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
    struct stat st;
    if (in.fd < 0 || ::fstat(in.fd, &st) != 0)
        return fail(errno);
    if (!S_ISREG(st.st_mode))
        return fail(EINVAL);
    Path temp;
    Fd out{openTemp(to, temp)};
    if (out.fd < 0)
        return false;
    bool named = false;
    const auto undo = [&] {
        ::unlink((named ? to : temp).constData());
        return false;
    };
    ::fchmod(out.fd, st.st_mode & 07777);
    if (!copyContents(in.fd, out.fd, st) || !sync(out.fd) || !out.close() || !step() || !placeFree(temp, to))
        return undo();
    named = true;
    if (!syncDirChecked(parentOf(to)) || !removeFile(from))
        return undo();
    syncDir(parentOf(from));
    return true;
}

}  // namespace

bool rename(const Path& from, const Path& to)
{
    if (!step())
        return false;
    if (!moveEntry(from, to) && !renameCaseOnly(from, to, errno))
        return false;
    syncDir(parentOf(to));
    return true;
}

bool moveFile(const Path& from, const Path& to)
{
    if (!step())
        return false;
    if (placeFree(from, to)) {
        syncDir(parentOf(to));
        syncDir(parentOf(from));
        return true;
    }
    return lastError() == EXDEV && moveAcross(from, to);
}

}  // namespace corvane::fs
