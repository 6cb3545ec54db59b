#pragma once

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QProcess;

namespace corvane::test {

// Where the tests' own trash keeps relative ("files/x", "info/x.trashinfo").
QString trashPath(const QString& relative);

// What a message box showed when it came up.
struct SeenBox {
    QString title;
    QString text;  // exactly as the program gave it (CR LF kept)
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;  // not compared: only some boxes have one worth checking
    bool operator==(const SeenBox& o) const
    {
        return title == o.title && text == o.text && icon == o.icon && buttons == o.buttons;
    }
};
// How QCOMPARE shows a box that differs.
inline char* toString(const SeenBox& b)
{
    return qstrdup(qPrintable(QStringLiteral("[%1] %2 {%3} icon %4").arg(b.title, b.text, b.buttons.join(u'/'))
                                  .arg(int(b.icon))));
}

// Answers modal windows the way a user would, while the code under test waits in
// their event loop. Message boxes get the queued answers in turn (a button's
// caption, or "Esc" for the key); with the queue empty they get their escape
// button and count as unexpected. Other modal windows go to the queued handlers.
class ModalWatcher : public QObject {
    Q_OBJECT
public:
    ModalWatcher();

    ModalWatcher& answer(const QString& button)
    {
        answers_.append(button);
        return *this;
    }
    void onDialog(std::function<void(QWidget*)> handler) { dialogHandlers_.append(std::move(handler)); }
    // Runs once when the next modal window is up, before it is answered: what
    // another program does while the user still reads a question.
    void whileNextIsOpen(std::function<void()> fn) { during_ = std::move(fn); }

    QList<SeenBox> seen;
    int unexpected = 0;

    QStringList texts() const;
    void clear()
    {
        seen.clear();
        unexpected = 0;
    }

private:
    void poll();
    QTimer timer_;
    QStringList answers_;
    QList<std::function<void(QWidget*)>> dialogHandlers_;
    QList<QWidget*> handled_;
    std::function<void()> during_;
};

// The file system by raw name bytes, for names Qt's own calls cannot reach.
namespace raw {
void write(const QByteArray& path, const QByteArray& bytes);
QByteArray read(const QByteArray& path);  // "<missing>" when it cannot be read
void mkdir(const QByteArray& path);
void symlink(const QByteArray& target, const QByteArray& path);
// Every entry beneath dir by relative path bytes: a file's bytes, "<dir>" for a
// folder, "-> target" for a link, "<special>" for a pipe or device; empty when dir
// does not exist.
QMap<QByteArray, QByteArray> tree(const QByteArray& dir);
// Removes a file, link or whole folder; nothing when it does not exist.
void remove(const QByteArray& path);
}  // namespace raw

// A FAT or exFAT stick (tools/stick.sh) mounted through FUSE for the object's
// life, as a user's stick would be; why says what is missing when it is not.
struct Stick {
    explicit Stick(const QString& kind)  // "fat" or "exfat"
        : kind(kind), why(tool("up")) {}
    ~Stick() { tool("down"); }
    QString path() const { return dir.path() + QStringLiteral("/stick"); }
    // A step of tools/stick.sh ("in", "out" as a user pulls it out); what went wrong, or empty.
    QString tool(const char* step) const;
    QTemporaryDir dir;
    QString kind, why;
};

// A throw-away application folder with a scripts folder in it; on a stick of the
// kind CORVANE_TEST_STICK names, if it names one. A test program run on a stick
// that cannot be mounted is skipped whole, with the reason.
class TempLibrary {
public:
    // Folders (names ending in '/') and files with their bytes, made in order.
    explicit TempLibrary(std::initializer_list<std::pair<QString, QByteArray>> entries = {});
    ~TempLibrary();
    QByteArray rawPath(const QByteArray& relative = {}) const;
    QString appDir() const { return stick_ ? stick_->path() : dir_.path(); }
    Stick* stick() const { return stick_.get(); }
    QString scripts() const { return appDir() + QStringLiteral("/scripts"); }
    QString path(const QString& relative) const { return scripts() + u'/' + relative; }
    QMap<QByteArray, QByteArray> tree() const { return raw::tree(rawPath()); }

    void mkdir(const QString& relative) const { QDir(scripts()).mkpath(relative); }
    // Writes a file, making the folders it lies in.
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const { return raw::read(rawPath(relative.toUtf8())); }
    bool exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }
    void remove(const QString& relative) const { raw::remove(rawPath(relative.toUtf8())); }
    // Sorted names of a folder's entries under scripts/, hidden ones included.
    QStringList entries(const QString& relative = QString()) const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<Stick> stick_;
};

// A small tmpfs of the test's own, unmounted at the end; mounted is false where
// the system does not allow it.
struct SmallDisk {
    // Mounted on a folder of its own, or on the empty folder at.
    explicit SmallDisk(const QString& size = QStringLiteral("256k"), const QString& at = {});
    ~SmallDisk();
    // Fills what room is left, so the next write runs out of space.
    void fill() const;
    QString path() const { return at.isEmpty() ? dir.path() : at; }
    QTemporaryDir dir;
    QString at;
    bool mounted = false;
};

template <typename T = QWidget>
T* control(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("control %s not found", name);
    return found;
}

// Types text key by key, accented letters included.
void typeText(QWidget* widget, const QString& text);

// Starts a program with the environment changed ("NAME=value" set, a bare "NAME"
// removed); it is killed when the test ends, if it is still running.
void startProgram(QProcess& process, const QString& exe, const QStringList& args, const QStringList& env);

// Shows a window and waits until it is active, so focus events run as for a user.
bool showActive(QWidget* window);

}  // namespace corvane::test
