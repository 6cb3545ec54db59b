#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <utility>

namespace corvane::test {
namespace {

// What the tests delete goes to a trash of their own, never the user's; it is
// removed when the test program ends, names that are not UTF-8 included.
struct DataHome {
    QTemporaryDir dir;
    ~DataHome() { raw::remove(QFile::encodeName(dir.path())); }
};

QTemporaryDir& privateDataHome()
{
    static DataHome home;
    return home.dir;
}

void usePrivateDataHome()
{
    // A test's own child process, which may be killed, uses its parent's.
    if (!qEnvironmentVariableIsSet("CORVANE_TEST_DATA_HOME"))
        qputenv("XDG_DATA_HOME", QFile::encodeName(privateDataHome().path()));
}
Q_CONSTRUCTOR_FUNCTION(usePrivateDataHome)

}  // namespace

QString trashPath(const QString& relative)
{
    return privateDataHome().path() + QStringLiteral("/Trash/") + relative;
}

ModalWatcher::ModalWatcher()
{
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::poll);
    timer_.start(5);
}

QStringList ModalWatcher::texts() const
{
    QStringList out;
    for (const SeenBox& box : seen)
        out.append(box.text);
    return out;
}

void ModalWatcher::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || handled_.contains(modal))
        return;
    handled_.append(modal);
    QObject::connect(modal, &QObject::destroyed, this, [this, modal] { handled_.removeAll(modal); });
    if (during_)
        std::exchange(during_, nullptr)();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box && !dialogHandlers_.isEmpty()) {
        QMetaObject::invokeMethod(modal, [handler = dialogHandlers_.takeFirst(), modal] { handler(modal); },
                                  Qt::QueuedConnection);
        return;
    }
    if (!box) {
        ++unexpected;
        QMetaObject::invokeMethod(modal, [modal] { modal->close(); }, Qt::QueuedConnection);
        return;
    }
    const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
    SeenBox s{box->windowTitle(), box->property("rawText").toString(), box->icon(), {},
              box->defaultButton() ? box->defaultButton()->text() : QString()};
    QAbstractButton* target = box->escapeButton();
    for (QAbstractButton* b : box->buttons()) {
        s.buttons.append(b->text());
        if (b->text() == answer)
            target = b;
    }
    seen.append(s);
    if (answer == QStringLiteral("Esc")) {
        // The key, not the escape button: what the box does with it is under test.
        QMetaObject::invokeMethod(box, [box] { QTest::keyClick(box, Qt::Key_Escape); }, Qt::QueuedConnection);
        return;
    }
    unexpected += s.buttons.contains(answer) ? 0 : 1;
    if (target)
        QMetaObject::invokeMethod(target, [target] { target->click(); }, Qt::QueuedConnection);
}

namespace raw {

void write(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() || ::close(fd) != 0)
        qFatal("cannot write %s", path.constData());
}

QByteArray read(const QByteArray& path)
{
    QFile file;
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return QByteArray("<missing>");
    return file.readAll();
}

void mkdir(const QByteArray& path)
{
    if (::mkdir(path.constData(), 0755) != 0)
        qFatal("cannot make %s", path.constData());
}

void symlink(const QByteArray& target, const QByteArray& path)
{
    if (::symlink(target.constData(), path.constData()) != 0)
        qFatal("cannot link %s", path.constData());
}

namespace {
// Calls fn with each entry's name and lstat; false when dir cannot be read.
template <typename Fn>
bool forEach(const QByteArray& dir, Fn fn)
{
    DIR* d = ::opendir(dir.constData());
    if (!d)
        return false;
    QList<QByteArray> names;
    while (const dirent* e = ::readdir(d))
        if (qstrcmp(e->d_name, ".") != 0 && qstrcmp(e->d_name, "..") != 0)
            names.append(QByteArray(e->d_name));
    ::closedir(d);
    for (const QByteArray& name : names) {
        struct stat st;
        if (::lstat((dir + '/' + name).constData(), &st) == 0)
            fn(name, st);
    }
    return true;
}

void walk(const QByteArray& dir, const QByteArray& prefix, QMap<QByteArray, QByteArray>& out)
{
    forEach(dir, [&](const QByteArray& name, const struct stat& st) {
        const QByteArray path = dir + '/' + name, key = prefix + name;
        char target[4096];
        if (S_ISLNK(st.st_mode)) {
            const ssize_t n = ::readlink(path.constData(), target, sizeof target);
            out[key] = "-> " + QByteArray(target, qMax(ssize_t(0), n));
        } else if (S_ISDIR(st.st_mode)) {
            out[key] = "<dir>";
            walk(path, key + '/', out);
        } else {
            out[key] = S_ISREG(st.st_mode) ? read(path) : "<special>";
        }
    });
}
}  // namespace

QMap<QByteArray, QByteArray> tree(const QByteArray& dir)
{
    QMap<QByteArray, QByteArray> out;
    walk(dir, {}, out);
    return out;
}

void remove(const QByteArray& path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
        forEach(path, [&](const QByteArray& name, const struct stat&) { remove(path + '/' + name); });
        ::rmdir(path.constData());
    } else {
        ::unlink(path.constData());
    }
}

}  // namespace raw

QString Stick::tool(const char* step) const
{
    QProcess p;
    // CMake compiles by absolute path, so this file tells where the tools are.
    p.start(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../tools/stick.sh")),
            {QLatin1String(step), kind, dir.path()});
    const bool ok = p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return ok ? QString() : QString::fromLocal8Bit(p.readAllStandardError()).trimmed() + u' ';
}

TempLibrary::TempLibrary(std::initializer_list<std::pair<QString, QByteArray>> entries)
{
    if (const QString kind = qEnvironmentVariable("CORVANE_TEST_STICK"); !kind.isEmpty()) {
        stick_ = std::make_unique<Stick>(kind);
        if (!stick_->why.isEmpty()) {
            qInfo("SKIP: no %s stick: %s", qPrintable(kind), qPrintable(stick_->why));
            stick_.reset();
            std::exit(77);  // ctest's SKIP_RETURN_CODE: every test here needs the stick
        }
    }
    raw::mkdir(rawPath());
    for (const auto& [name, bytes] : entries)
        name.endsWith(u'/') ? mkdir(name) : write(name, bytes);
}

TempLibrary::~TempLibrary()
{
    stick_.reset();
    // Names that are not UTF-8 are beyond QTemporaryDir's own clean-up.
    raw::remove(QFile::encodeName(dir_.path()));
}

QByteArray TempLibrary::rawPath(const QByteArray& relative) const
{
    const QByteArray root = QFile::encodeName(scripts());
    return relative.isEmpty() ? root : root + '/' + relative;
}

void TempLibrary::write(const QString& relative, const QByteArray& bytes) const
{
    QDir(scripts()).mkpath(QFileInfo(relative).path());
    raw::write(rawPath(relative.toUtf8()), bytes);
}

QStringList TempLibrary::entries(const QString& relative) const
{
    return QDir(path(relative)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                          QDir::Name);
}

SmallDisk::SmallDisk(const QString& size, const QString& at)
    : at(at)
{
    const QByteArray options = "size=" + size.toLatin1();
    mounted = ::mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted)
        ::umount2(QFile::encodeName(path()).constData(), MNT_DETACH);
}

void SmallDisk::fill() const
{
    const int fd = ::open(QFile::encodeName(path() + QStringLiteral("/.enchimento")).constData(),
                          O_WRONLY | O_CREAT, 0600);
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    ::close(fd);
}

void typeText(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x7F && c.unicode() >= 0x20)
            QTest::keyClick(widget, char(c.unicode()));
        else  // a character beyond the basic plane is one key
            QTest::sendKeyEvent(QTest::KeyAction::Click, widget, Qt::Key_unknown,
                                text.mid(i, c.isHighSurrogate() ? 2 : 1), Qt::NoModifier);
        i += c.isHighSurrogate() ? 1 : 0;
    }
}

bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

void startProgram(QProcess& process, const QString& exe, const QStringList& args, const QStringList& env)
{
    QProcessEnvironment changed = QProcessEnvironment::systemEnvironment();
    for (const QString& e : env)
        e.contains(u'=') ? changed.insert(e.section(u'=', 0, 0), e.section(u'=', 1)) : changed.remove(e);
    process.setProcessEnvironment(changed);
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(exe, args);
}

}  // namespace corvane::test
