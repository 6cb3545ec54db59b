#pragma once

#include <QByteArray>
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

namespace corvane::test {

// Where the tests' own trash keeps relative ("files/x", "info/x.trashinfo").
QString trashPath(const QString& relative);

// What a message box showed when it came up.
struct SeenBox {
    QString title;
    QString text;     // exactly as the program gave it (CR LF kept)
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    QString answered;
};

// Answers modal windows the way a user would, while the code under test waits in
// their event loop. Message boxes get the queued button captions in turn ("OK",
// "Sim", "Não", or "Esc" for the Escape key); with the queue empty they get their escape button and the box
// is marked unexpected. Other modal dialogs go to the queued dialog handlers.
class ModalWatcher : public QObject {
    Q_OBJECT
public:
    ModalWatcher();
    ~ModalWatcher() override;

    ModalWatcher& answer(const QString& button);
    ModalWatcher& onDialog(std::function<void(QWidget*)> handler);

    QList<SeenBox> seen;
    int unexpected = 0;
    QStringList unexpectedDialogs;

    // Texts of every box seen, for compact comparisons.
    QStringList texts() const;
    void clear();

private:
    void poll();
    QTimer timer_;
    QStringList answers_;
    QList<std::function<void(QWidget*)>> dialogHandlers_;
    QList<QWidget*> handled_;
};

// The file system by raw name bytes, for names Qt's own calls cannot reach.
namespace raw {
void write(const QByteArray& path, const QByteArray& bytes);
QByteArray read(const QByteArray& path);  // "<missing>" when it cannot be read
void mkdir(const QByteArray& path);
void symlink(const QByteArray& target, const QByteArray& path);
// Every entry beneath dir by relative path bytes: a file's bytes, "<dir>" for a
// folder, "-> target" for a link; empty when dir does not exist.
QMap<QByteArray, QByteArray> tree(const QByteArray& dir);
// Removes a file, link or whole folder; nothing when it does not exist.
void remove(const QByteArray& path);
}  // namespace raw

// A throw-away application folder with a scripts folder in it.
class TempLibrary {
public:
    TempLibrary();
    ~TempLibrary();
    // A path under scripts/ by its bytes.
    QByteArray rawPath(const QByteArray& relative = {}) const;
    QString appDir() const { return dir_.path(); }
    QString scripts() const { return dir_.path() + QStringLiteral("/scripts"); }
    QString path(const QString& relative) const { return scripts() + u'/' + relative; }

    void mkdir(const QString& relative) const;
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    // Sorted names of the entries of a folder under scripts/, hidden ones included.
    QStringList entries(const QString& relative = QString()) const;

private:
    QTemporaryDir dir_;
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

// Shows a window and waits until it is active, so focus events run as for a user.
bool showActive(QWidget* window);

}  // namespace corvane::test
