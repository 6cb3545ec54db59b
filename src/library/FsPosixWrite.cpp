// POSIX side of the file-system door, writing: every step checked, nothing
// left half-written at a final path.
#include "library/FsPosix_p.h"

#include <cstdio>
#include <cstdlib>

namespace corvane::fs {
using namespace detail;

namespace {

// Read once before any thread starts: umask() can only be read by setting it.
const mode_t g_umask = [] {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}();

// Errors by which link() says the file system has no hard links (FAT, exFAT,
// some network shares), not that the name is taken.
bool noHardLinks(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK;
}

}  // namespace

namespace detail {

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        if (!step())
            return false;
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        data += n;
        size -= n;
    }
    return true;
}

bool sync(int fd)
{
    return step() && (::fsync(fd) == 0 || fail(errno));
}

void syncDir(const Path& dir)
{
    const Fd fd{::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (fd.fd >= 0)
        ::fsync(fd.fd);
}

bool copyContents(int in, int out, const struct stat& st)
{
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0 && errno != EINTR)
            return fail(errno);
        if (n > 0 && !writeAll(out, buffer, n))
            return false;
    }
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out, times);  // a nicety only
    return true;
}

Path parentOf(const Path& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? Path(".") : slash == 0 ? Path("/") : path.left(slash);
}

int openTemp(const Path& target, Path& tempPath)
{
    const qsizetype slash = target.lastIndexOf('/');
    tempPath = target.left(slash + 1) + ".corvane-" + target.mid(slash + 1).left(40) + ".XXXXXX";
    if (!step())
        return -1;
    const int fd = ::mkostemp(tempPath.data(), O_CLOEXEC);
    if (fd < 0)
        fail(errno);
    return fd;
}

NoReplace renameNoReplace(const Path& from, const Path& to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return NoReplace::Done;
    // FUSE answers EINVAL for a flag its file system does not know.
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return NoReplace::Failed;
#else
    (void)from;
    (void)to;
#endif
    return NoReplace::Unsupported;
}

// A name taken meanwhile is refused, never replaced: by a hard link where there
// are links; else by a rename that never replaces; where the file system takes
// neither, by a look at the name right before a plain rename.
bool placeUnderFreeName(const Path& temp, const Path& target)
{
    if (::link(temp.constData(), target.constData()) == 0) {
        ::unlink(temp.constData());
        return true;
    }
    if (!noHardLinks(errno))
        return fail(errno);
    if (const NoReplace renamed = renameNoReplace(temp, target); renamed != NoReplace::Unsupported)
        return renamed == NoReplace::Done || fail(errno);
    struct stat st;
    if (::lstat(target.constData(), &st) == 0)
        return fail(EEXIST);  // on FAT this finds the name in any letter case too
    if (errno != ENOENT)
        return fail(errno);
    return ::rename(temp.constData(), target.constData()) == 0 || fail(errno);
}

}  // namespace detail

bool writeFile(const Path& target, QByteArrayView bytes, Replace replace)
{
    Path temp;
    Fd out{openTemp(target, temp)};
    if (out.fd < 0)
        return false;
    const auto undo = [&temp] {
        ::unlink(temp.constData());
        return false;
    };
    // A replaced script keeps its permissions.
    struct stat old;
    if (::stat(target.constData(), &old) == 0)
        ::fchmod(out.fd, old.st_mode & 07777);
    else
        ::fchmod(out.fd, 0666 & ~g_umask);
    if (!writeAll(out.fd, bytes.data(), bytes.size()) || !sync(out.fd) || !out.close())
        return undo();
    if (replace == Replace::Refused) {
        if (!step() || !placeUnderFreeName(temp, target))
            return undo();
    } else if (!step() || !(::rename(temp.constData(), target.constData()) == 0 || fail(errno))) {
        return undo();
    }
    syncDir(parentOf(target));
    return true;
}

bool copyFile(const Path& source, const Path& target)
{
    // Non-blocking, so a pipe put in a file's place cannot hang the copy; it is
    // refused below, as is anything but a plain file.
    Fd in{::open(source.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (in.fd < 0)
        return fail(errno);
    struct stat st;
    if (::fstat(in.fd, &st) != 0)
        return fail(errno);
    if (!S_ISREG(st.st_mode))
        return fail(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (!step())
        return false;
    Fd out{::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)};
    if (out.fd < 0)
        return fail(errno);
    if (copyContents(in.fd, out.fd, st) && out.close())
        return true;
    ::unlink(target.constData());
    return false;
}

bool removeFile(const Path& path)
{
    return step() && (::unlink(path.constData()) == 0 || fail(errno));
}

bool removeDir(const Path& path)
{
    return step() && (::rmdir(path.constData()) == 0 || fail(errno));
}

bool makeDir(const Path& path, Flush flush)
{
    if (!step() || !(::mkdir(path.constData(), 0777) == 0 || fail(errno)))
        return false;
    if (flush == Flush::Now)
        syncDir(parentOf(path));
    return true;
}

}  // namespace corvane::fs
