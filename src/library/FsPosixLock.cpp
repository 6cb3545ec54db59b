// POSIX side of the file-system door, locks: flock() on the open folder, and
// where its file system keeps none, a name in Linux's abstract socket namespace.
#include "library/FsPosix_p.h"

#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstddef>
#include <cstring>

namespace corvane::fs {
using namespace detail;

namespace {

// A socket bound to a name in Linux's abstract namespace, named after the
// device and inode of the open folder dirFd. Nothing is written anywhere, and
// the system frees the name when the process ends, however it ends. -1 with
// errno set when the name is taken (EADDRINUSE) or there is no such namespace.
int bindOnThisMachine(int dirFd)
{
#ifdef __linux__
    struct stat st;
    if (::fstat(dirFd, &st) != 0)
        return -1;
    const QByteArray name = "corvane-library-" + QByteArray::number(qulonglong(st.st_dev)) + '-'
        + QByteArray::number(qulonglong(st.st_ino));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));  // sun_path[0] == 0: abstract
    Fd fd{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (fd.fd >= 0 && ::bind(fd.fd, reinterpret_cast<const sockaddr*>(&address), length) == 0)
        return fd.release();
    const int error = errno;
    fd.reset();
    errno = error;
#else
    (void)dirFd;
    errno = ENOTSUP;
#endif
    return -1;
}

}  // namespace

bool Lock::foldersLock()
{
    return true;
}

// The lock belongs to the open descriptor, which children never inherit, so a
// program started from here (a print command) cannot keep the folder locked
// after this process ends.
Lock::Result Lock::take(const Path& path)
{
    release();
    int fd;
    do
        fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd == -1 && errno == EINTR);
    if (fd == -1)
        return Failed;
    Fd folder{fd};
    int locked;
    do
        locked = locksMissing() ? (errno = ENOLCK, -1) : ::flock(fd, LOCK_EX | LOCK_NB);
    while (locked == -1 && errno == EINTR);
    if (locked == -1 && errno == EWOULDBLOCK)
        return Held;
    handle_ = folder.release();
    held_ = locked == 0;
    return held_ ? Taken : NoLocks;
}

Lock::Result Lock::takeOnThisMachine()
{
    local_ = bindOnThisMachine(int(handle_));
    if (local_ == -1)
        return errno == EADDRINUSE ? Held : Failed;
    held_ = true;
    return Taken;
}

void Lock::release()
{
    Fd{int(std::exchange(handle_, -1))};  // closing the only descriptor drops the lock
    Fd{std::exchange(local_, -1)};
    held_ = false;
}

}  // namespace corvane::fs
