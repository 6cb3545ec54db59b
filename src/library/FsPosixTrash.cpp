// POSIX side of the file-system door, the desktop's trash as freedesktop.org
// describes it: the entry renamed into Trash/files, with a Trash/info record of
// where it came from. Names stay raw bytes; the record's path is percent-encoded.
#include "library/FsPosix_p.h"

#include <QDateTime>

#include <climits>
#include <cstdlib>

namespace corvane::fs {
using namespace detail;

namespace {

Path homeTrash()
{
    const char* data = ::getenv("XDG_DATA_HOME");
    if (data && *data == '/')
        return Path(data) + "/Trash";
    const char* home = ::getenv("HOME");
    return home && *home == '/' ? Path(home) + "/.local/share/Trash" : Path();
}

// Makes a folder and any missing parents, private to the user as trash folders are.
bool makePrivateDirs(const Path& path)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const Path parent = parentOf(path);
    if (parent != path && !makePrivateDirs(parent))
        return false;
    return step() && (::mkdir(path.constData(), 0700) == 0 || errno == EEXIST || fail(errno));
}

Path absolute(const Path& path)
{
    if (path.startsWith('/'))
        return path;
    char cwd[PATH_MAX];
    return ::getcwd(cwd, sizeof cwd) ? Path(cwd) + '/' + path : path;
}

// The highest folder above path on the same device: where its mount starts.
Path topOf(const Path& path, dev_t device)
{
    Path top = parentOf(path);
    for (;;) {
        const Path up = parentOf(top);
        struct stat st;
        if (up == top || ::stat(up.constData(), &st) != 0 || st.st_dev != device)
            return top;
        top = up;
    }
}

QByteArray percentEncoded(const Path& path)
{
    return path.toPercentEncoding("/");
}

// The trash of the mount at top: a shared sticky .Trash with a folder per user,
// or the user's own .Trash-uid.
Path topTrash(const Path& top)
{
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    const Path shared = top + "/.Trash";
    struct stat st;
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const Path mine = shared + '/' + uid;
        if (makePrivateDirs(mine))
            return mine;
    }
    const Path own = top + "/.Trash-" + uid;
    if (::lstat(own.constData(), &st) == 0 && (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid()))
        return {};
    return makePrivateDirs(own) ? own : Path();
}

Trashed trashInto(const Path& trash, const Path& entry, const Path& recordedPath)
{
    // The trash is there: a failure to make its folders is a failure, never a
    // reason to delete for good.
    if (!makePrivateDirs(trash + "/files") || !makePrivateDirs(trash + "/info"))
        return Trashed::Failed;
    const Path base = entry.mid(entry.lastIndexOf('/') + 1);
    const QByteArray record = "[Trash Info]\nPath=" + percentEncoded(recordedPath) + "\nDeletionDate="
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1() + '\n';
    for (int n = 1; n < 10000; ++n) {
        const Path name = n == 1 ? base : base + '.' + QByteArray::number(n);
        const Path info = trash + "/info/" + name + ".trashinfo";
        const Path target = trash + "/files/" + name;
        if (!step())
            return Trashed::Failed;
        Fd out{::open(info.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
        if (out.fd < 0) {
            if (errno == EEXIST)
                continue;
            fail(errno);
            return Trashed::Failed;
        }
        struct stat st;
        const auto undo = [&info] {
            ::unlink(info.constData());
            return Trashed::Failed;
        };
        if (::lstat(target.constData(), &st) == 0) {
            out.close();
            ::unlink(info.constData());
            continue;
        }
        if (!writeAll(out.fd, record.constData(), record.size()) || !sync(out.fd) || !out.close())
            return undo();
        if (!step() || !(moveEntry(entry, target) || fail(errno)))
            return undo();
        syncDir(parentOf(entry));
        return Trashed::Yes;
    }
    fail(EEXIST);
    return Trashed::Failed;
}

}  // namespace

Trashed moveToTrash(const Path& path)
{
    const Path entry = absolute(path);
    struct stat st;
    if (::lstat(entry.constData(), &st) != 0) {
        fail(errno);
        return Trashed::Failed;
    }
    // The user's own trash takes what lies on its device; renaming never copies.
    const Path home = homeTrash();
    struct stat homeSt;
    if (!home.isEmpty() && makePrivateDirs(home) && ::stat(home.constData(), &homeSt) == 0
        && homeSt.st_dev == st.st_dev)
        return trashInto(home, entry, entry);
    // Another device: the trash at the top of its mount, which records paths from there.
    const Path top = topOf(entry, st.st_dev);
    const Path trash = topTrash(top);
    if (trash.isEmpty())
        return Trashed::NoTrash;
    return trashInto(trash, entry, top == "/" ? entry : entry.mid(top.size() + 1));
}

}  // namespace corvane::fs
