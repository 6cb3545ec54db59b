// POSIX side of the file-system door: raw byte names, no decoding. Reading
// here; writing, moving, the trash and locks in FsPosix*.cpp beside it.
#include "library/FsPosix_p.h"

#include <QFile>

#include <dirent.h>

#include <cstdlib>
#include <memory>

namespace corvane::fs {
using namespace detail;

namespace {

Type typeOf(mode_t mode)
{
    if (S_ISREG(mode))
        return Type::File;
    if (S_ISDIR(mode))
        return Type::Dir;
    return Type::Other;
}

// A plain file opened for reading, relative to the folder dir; -1 for anything
// else. Non-blocking, so a pipe cannot hold the opening up.
int openPlain(int dir, const QByteArray& name, bool knownPlain)
{
    Fd fd{::openat(dir, name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    struct stat st;
    const int error = fd.fd < 0                   ? errno
                      : knownPlain                ? 0
                      : ::fstat(fd.fd, &st) != 0  ? errno
                      : !S_ISREG(st.st_mode)      ? EINVAL
                                                  : 0;
    if (error == 0)
        return fd.release();
    fail(error);
    return -1;
}

}  // namespace

Entry info(const Path& path)
{
    Entry e;
    const qsizetype slash = path.lastIndexOf('/');
    e.name = path.mid(slash + 1);
    e.hidden = e.name.startsWith('.');
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return e;
    e.link = S_ISLNK(st.st_mode);
    if (e.link && ::stat(path.constData(), &st) != 0)
        return e;
    e.type = typeOf(st.st_mode);
    e.size = e.type == Type::File ? qint64(st.st_size) : 0;
    return e;
}

namespace {

// The entry's name and whether it is hidden; false for "." and "..".
bool named(const char* name, Entry& e)
{
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
        return false;
    e.name = QByteArray(name);
    e.hidden = name[0] == '.';
    return true;
}

}  // namespace

bool list(const Path& dir, std::vector<Entry>& out)
{
    out.clear();
    Fd folder{::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (folder.fd < 0)
        return fail(errno);
    DIR* d = ::fdopendir(folder.fd);
    if (!d)
        return fail(errno);
    const int dfd = folder.release();  // closed with d
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(d, ::closedir);
    while (const dirent* ent = ::readdir(d)) {
        const char* name = ent->d_name;
        Entry e;
        if (!named(name, e))
            continue;
        struct stat st;
        // d_type spares a stat for folders; files need one for their size.
        if (ent->d_type == DT_DIR) {
            e.type = Type::Dir;
        } else if (::fstatat(dfd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            e.link = S_ISLNK(st.st_mode);
            if (!e.link || ::fstatat(dfd, name, &st, 0) == 0) {
                e.type = typeOf(st.st_mode);
                e.size = e.type == Type::File ? qint64(st.st_size) : 0;
            }
        }
        out.push_back(std::move(e));
    }
    return true;
}

bool listQuick(const Path& dir, std::vector<Entry>& out)
{
    out.clear();
    DIR* d = ::opendir(dir.constData());
    if (!d)
        return fail(errno);
    const std::unique_ptr<DIR, int (*)(DIR*)> closer(d, ::closedir);
    while (const dirent* ent = ::readdir(d)) {
        Entry e;
        if (!named(ent->d_name, e))
            continue;
        switch (ent->d_type) {
        case DT_REG: e.type = Type::File; break;
        case DT_DIR: e.type = Type::Dir; break;
        case DT_LNK: e.link = true; break;
        case DT_UNKNOWN: break;
        default: e.type = Type::Other; break;
        }
        out.push_back(std::move(e));
    }
    return true;
}

bool Folder::open(const Path& path)
{
    close();
    path_ = path;
    fd_ = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return fd_ >= 0 || fail(errno);
}

void Folder::close()
{
    Fd{std::exchange(fd_, -1)};
}

bool Reader::open(const Path& path, bool knownPlain)
{
    close();
    fd_ = openPlain(AT_FDCWD, path, knownPlain);
    return fd_ >= 0;
}

bool Reader::open(const Folder& folder, const QByteArray& name, bool knownPlain)
{
    close();
    // A folder that could not be opened: its files by their whole paths.
    fd_ = folder.fd_ >= 0 ? openPlain(folder.fd_, name, knownPlain)
                          : openPlain(AT_FDCWD, join(folder.path_, name), knownPlain);
    return fd_ >= 0;
}

qint64 Reader::read(char* buffer, qint64 size)
{
    readPause();
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, size_t(size));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            fail(errno);
            return -1;
        }
    }
}

void Reader::close()
{
    Fd{std::exchange(fd_, -1)};
}

Path realPath(const Path& path)
{
    char* resolved = ::realpath(path.constData(), nullptr);
    if (!resolved)
        return {};
    Path out(resolved);
    std::free(resolved);
    return out;
}

Path fromQString(const QString& path)
{
    return QFile::encodeName(path);
}

QString qtPath(const Path& path)
{
    const QString out = QFile::decodeName(path);
    return QFile::encodeName(out) == path ? out : QString();
}

}  // namespace corvane::fs
