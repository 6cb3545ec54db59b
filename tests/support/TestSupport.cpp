#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace corvane::test {

ModalWatcher::ModalWatcher()
{
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::poll);
    timer_.start(5);
}

ModalWatcher& ModalWatcher::answer(const QString& button)
{
    answers_.append(button);
    return *this;
}

ModalWatcher& ModalWatcher::onDialog(std::function<void(QWidget*)> handler)
{
    dialogHandlers_.append(std::move(handler));
    return *this;
}

QStringList ModalWatcher::texts() const
{
    QStringList out;
    for (const SeenBox& box : seen)
        out.append(box.text);
    return out;
}

void ModalWatcher::clear()
{
    seen.clear();
    unexpected = 0;
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
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        SeenBox s;
        s.title = box->windowTitle();
        const QVariant raw = box->property("rawText");
        s.text = raw.isValid() ? raw.toString() : box->text();
        s.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            s.buttons.append(b->text());
        if (box->defaultButton())
            s.defaultButton = box->defaultButton()->text();
        seen.append(s);
        QAbstractButton* target = nullptr;
        if (!answers_.isEmpty() && answers_.first() == QStringLiteral("Esc")) {
            // The key, not the escape button: what the box does with it is under test.
            answers_.removeFirst();
            QMetaObject::invokeMethod(box, [box] { QTest::keyClick(box, Qt::Key_Escape); }, Qt::QueuedConnection);
            return;
        }
        if (!answers_.isEmpty()) {
            const QString wanted = answers_.takeFirst();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == wanted)
                    target = b;
        }
        if (!target) {
            ++unexpected;
            target = box->escapeButton() ? box->escapeButton() : box->buttons().value(0);
        }
        if (target)
            QMetaObject::invokeMethod(target, [target] { target->click(); }, Qt::QueuedConnection);
        return;
    }
    if (!dialogHandlers_.isEmpty()) {
        auto handler = dialogHandlers_.takeFirst();
        QMetaObject::invokeMethod(modal, [handler, modal] { handler(modal); }, Qt::QueuedConnection);
        return;
    }
    ++unexpected;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    else
        modal->close();
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
void walk(const QByteArray& dir, const QByteArray& prefix, QMap<QByteArray, QByteArray>& out)
{
    DIR* d = ::opendir(dir.constData());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray path = dir + '/' + name;
        const QByteArray key = prefix + name;
        struct stat st;
        char target[4096];
        if (::lstat(path.constData(), &st) != 0)
            continue;
        if (S_ISLNK(st.st_mode)) {
            const ssize_t n = ::readlink(path.constData(), target, sizeof target);
            out[key] = "-> " + QByteArray(target, n < 0 ? 0 : n);
        } else if (S_ISDIR(st.st_mode)) {
            out[key] = "<dir>";
            walk(path, key + '/', out);
        } else {
            out[key] = read(path);
        }
    }
    ::closedir(d);
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
    if (::lstat(path.constData(), &st) != 0)
        return;
    if (S_ISDIR(st.st_mode)) {
        if (DIR* d = ::opendir(path.constData())) {
            QList<QByteArray> names;
            while (const dirent* e = ::readdir(d))
                if (qstrcmp(e->d_name, ".") != 0 && qstrcmp(e->d_name, "..") != 0)
                    names.append(QByteArray(e->d_name));
            ::closedir(d);
            for (const QByteArray& name : names)
                remove(path + '/' + name);
        }
        ::rmdir(path.constData());
    } else {
        ::unlink(path.constData());
    }
}

}  // namespace raw

TempLibrary::TempLibrary()
{
    QDir(dir_.path()).mkpath(QStringLiteral("scripts"));
}

TempLibrary::~TempLibrary()
{
    // Names that are not UTF-8 are beyond QTemporaryDir's own clean-up.
    raw::remove(QFile::encodeName(dir_.path()));
}

QByteArray TempLibrary::rawPath(const QByteArray& relative) const
{
    const QByteArray root = QFile::encodeName(scripts());
    return relative.isEmpty() ? root : root + '/' + relative;
}

void TempLibrary::mkdir(const QString& relative) const
{
    QDir(scripts()).mkpath(relative);
}

void TempLibrary::write(const QString& relative, const QByteArray& bytes) const
{
    QDir(scripts()).mkpath(QFileInfo(relative).path());
    QFile file(path(relative));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path(relative)));
}

QByteArray TempLibrary::read(const QString& relative) const
{
    QFile file(path(relative));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

bool TempLibrary::exists(const QString& relative) const
{
    return QFileInfo::exists(path(relative));
}

QStringList TempLibrary::entries(const QString& relative) const
{
    return QDir(relative.isEmpty() ? scripts() : path(relative))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

SmallDisk::SmallDisk(const QString& size)
{
    const QByteArray options = "size=" + size.toLatin1();
    mounted = ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted)
        ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill() const
{
    const int fd = ::open(QFile::encodeName(dir.path() + QStringLiteral("/.enchimento")).constData(),
                          O_WRONLY | O_CREAT, 0600);
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    ::close(fd);
}

void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x7F && c.unicode() >= 0x20) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::KeyAction::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

}  // namespace corvane::test
