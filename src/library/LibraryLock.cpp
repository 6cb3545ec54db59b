#include "library/LibraryLock.h"

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>

#include <windows.h>
#else
#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace corvane {

LibraryLock::LibraryLock(const QString& libraryDir)
    : dir_(libraryDir)
{
}

LibraryLock::~LibraryLock()
{
    unlock();
}

#ifdef Q_OS_WIN

// Windows locks byte ranges of files only: the lock sits on a hidden file beside
// the library folder, named after it. The file itself means nothing; whatever a
// crash leaves in it is ignored, and the lock goes with the process.
LibraryLock::Result LibraryLock::tryLock()
{
    if (isLocked())
        return Taken;
    const QFileInfo library(QDir::cleanPath(QFileInfo(dir_).absoluteFilePath()));
    const QString path = QDir::toNativeSeparators(library.absolutePath() + QStringLiteral("/.")
                                                  + library.fileName() + QStringLiteral(".lock"));
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Unavailable;
    OVERLAPPED whole = {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        return error == ERROR_LOCK_VIOLATION ? HeldElsewhere : Unavailable;
    }
    handle_ = reinterpret_cast<qintptr>(h);
    return Taken;
}

void LibraryLock::testingWithoutFlock(bool) {}

void LibraryLock::unlock()
{
    if (isLocked())
        CloseHandle(reinterpret_cast<HANDLE>(handle_));  // closing drops the lock
    handle_ = -1;
}

#else

namespace {

std::atomic<bool> g_withoutFlock{false};

// Where the folder's file system keeps no locks (some network shares), a lock
// this machine keeps: a socket in Linux's abstract namespace named after the
// folder's device and inode. Nothing is written anywhere, and the system frees
// the name when the process ends, however it ends. The folder stays open
// meanwhile, so its identity cannot pass to another folder. -1 with errno set
// when the name is taken (EADDRINUSE) or there is no such namespace.
int lockOnThisMachine(int dirFd)
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
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0)
        return fd;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    errno = error;
#else
    (void)dirFd;
    errno = ENOTSUP;
#endif
    return -1;
}

}  // namespace

void LibraryLock::testingWithoutFlock(bool without)
{
    g_withoutFlock = without;
}

// The lock sits on the library folder itself. It belongs to the open descriptor,
// which children never inherit, so a program started from here (a print command)
// cannot keep the folder claimed after this process ends.
LibraryLock::Result LibraryLock::tryLock()
{
    if (isLocked())
        return Taken;
    const QByteArray path = QFile::encodeName(dir_);
    int fd;
    do
        fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd == -1 && errno == EINTR);
    if (fd == -1)
        return Unavailable;
    int locked;
    do
        locked = g_withoutFlock ? (errno = ENOLCK, -1) : ::flock(fd, LOCK_EX | LOCK_NB);
    while (locked == -1 && errno == EINTR);
    if (locked == -1 && errno != EWOULDBLOCK) {
        local_ = lockOnThisMachine(fd);
        locked = local_ == -1 ? -1 : 0;
        if (locked == -1 && errno == EADDRINUSE)
            errno = EWOULDBLOCK;
    }
    if (locked == -1) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? HeldElsewhere : Unavailable;
    }
    handle_ = fd;
    return Taken;
}

void LibraryLock::unlock()
{
    if (isLocked())
        ::close(int(handle_));  // closing the only descriptor drops the lock
    if (local_ != -1)
        ::close(local_);
    handle_ = -1;
    local_ = -1;
}

#endif

}  // namespace corvane
