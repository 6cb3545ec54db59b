// Drives the main window on a throw-away library the way a user does.
#pragma once

#include "app/MainWindow.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace corvane::test {

inline const QString kAppTitle = QStringLiteral("Corvane 1.0");
inline const QStringList kYesNo{QStringLiteral("Sim"), QStringLiteral("Não")};

// A message box as the user saw it, compared whole: QCOMPARE(seen, okBox(...)).
inline SeenBox okBox(const QString& text, const QString& title, const QStringList& buttons = {QStringLiteral("OK")},
                     QMessageBox::Icon icon = QMessageBox::NoIcon)
{
    return SeenBox{title, text, icon, buttons, {}};
}

inline QListWidgetItem* itemNamed(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        qFatal("no entry %s", qPrintable(text));
    return found.first();
}

inline void clickRow(QListWidget* list, int row, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, list->visualItemRect(list->item(row)).center());
}

inline void clickItem(QListWidget* list, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    clickRow(list, list->row(itemNamed(list, text)), mods);
}

inline void doubleClickItem(QListWidget* list, const QString& text)
{
    clickItem(list, text);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(itemNamed(list, text)).center());
}

// A click near the left edge, on the mark of a radio button or check box.
inline void clickAtLeft(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(4, w->height() / 2)); }

// Pastes into the box with Shift+Insert, as a user would.
inline void paste(QLineEdit* box, const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
}

inline QStringList entries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

inline QString selected(const QListWidget* list)
{
    const auto items = list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

// The bytes of Latin-1 text written in the source as UTF-8, as a script file holds them.
inline QByteArray latin1(const char* utf8)
{
    return QString::fromUtf8(utf8).toLatin1();
}

// A size in kilobytes as the size label shows it, in the running locale.
inline QString kb(const char* number)
{
    return QString::fromLatin1(number).replace(u'.', QLocale().decimalPoint()) + QStringLiteral(" Kb");
}

// The names among `names` whose controls pass `test`, in the given order.
template <typename Test>
QStringList namesWhere(QWidget* window, std::initializer_list<const char*> names, Test test)
{
    QStringList out;
    for (const char* name : names)
        if (test(control(window, name)))
            out << QLatin1String(name);
    return out;
}

struct MainDriver {
    explicit MainDriver(const TempLibrary& lib, SystemHooks hooks = {})
        : MainDriver(lib.scripts(), std::move(hooks))
    {
    }
    explicit MainDriver(const QString& scripts, SystemHooks hooks = {})
        : w(scripts, std::move(hooks))
    {
        w.loadCategories();
        if (!showActive(&w))
            qFatal("main window did not become active");
    }
    template <typename T = QWidget>
    T* get(const char* name) { return control<T>(&w, name); }
    QListWidget* dirs() { return get<QListWidget>("lstDir01"); }
    QListWidget* files() { return get<QListWidget>("lstFile01"); }
    QListWidget* found() { return get<QListWidget>("lstFile02"); }
    QPlainTextEdit* viewer() { return get<QPlainTextEdit>("cxLerFile"); }
    QString shown() { return viewer()->toPlainText(); }
    QLineEdit* catBox() { return get<QLineEdit>("cxRnmCat"); }
    QLineEdit* fileBox() { return get<QLineEdit>("cxRnmFile"); }
    QString dir() { return selected(dirs()); }
    QString file() { return selected(files()); }
    QString label(const char* name) { return get<QLabel>(name)->text(); }
    QString teste() { return label("lblTeste"); }
    QString tamanho() { return label("lblTamanho"); }
    // The two labels over the lists: what is chosen, and its count and size.
    QString caption() { return teste() + u'/' + tamanho(); }
    QStringList enabled(std::initializer_list<const char*> names)
    {
        return namesWhere(&w, names, [](QWidget* c) { return c->isEnabled(); });
    }

    // A click on an enabled button; a disabled one would swallow it unnoticed.
    void click(const char* button)
    {
        auto* b = get<QPushButton>(button);
        if (!b->isEnabled() || !b->isVisible())
            qFatal("%s cannot be clicked", button);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Drags a script entry onto a category entry with the left button. Offscreen,
    // Qt ends each QDrag as it starts, so the drag the press and move began is
    // dropped by hand, with its own data, on the category; its question follows.
    bool drag(const QString& script, const QString& category)
    {
        QWidget* from = files()->viewport();
        const QPoint start = files()->visualItemRect(itemNamed(files(), script)).center();
        QTest::mousePress(from, Qt::LeftButton, {}, start);
        // The view arms a drag at the first move and starts it past the distance.
        QTest::mouseMove(from, start + QPoint(1, 0));
        QTest::mouseMove(from, start + QPoint(QApplication::startDragDistance() + 2, 0));
        QDrag* drag = files()->findChild<QDrag*>();
        QTest::mouseRelease(from, Qt::LeftButton, {}, start);
        if (!drag)
            return false;
        const QPoint end = dirs()->visualItemRect(itemNamed(dirs(), category)).center();
        QDragEnterEvent enter(end, drag->supportedActions(), drag->mimeData(), Qt::LeftButton, {});
        QDropEvent drop(end, drag->supportedActions(), drag->mimeData(), Qt::LeftButton, {});
        QApplication::sendEvent(dirs()->viewport(), &enter);
        if (enter.isAccepted())
            QApplication::sendEvent(dirs()->viewport(), &drop);
        delete drag;
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }
    // "drag:a>Notas" drags a onto Notas; anything else names a button to click.
    bool use(const QString& what)
    {
        if (what.startsWith(QStringLiteral("drag:")))
            return drag(what.mid(5).section(u'>', 0, 0), what.section(u'>', 1));
        click(qPrintable(what));
        return true;
    }
    // Clicks a button (or drags) answering the boxes that come up in turn. The
    // boxes seen, padded so that indexing never crashes; a box too many or too
    // few, or a refused drop, counts in watcher.unexpected, which callers check.
    QList<SeenBox> press(ModalWatcher& watcher, const char* button, const QStringList& answers = {"OK"})
    {
        watcher.seen.clear();
        for (const QString& answer : answers)
            watcher.answer(answer);
        const bool used = use(QString::fromUtf8(button));
        QList<SeenBox> seen = watcher.seen;
        watcher.unexpected += qAbs(seen.size() - answers.size()) + (used ? 0 : 1);
        seen.resize(qMax(seen.size(), answers.size()));
        return seen;
    }
    void clickPicture(const char* name) { QTest::mouseClick(get(name), Qt::LeftButton, {}, QPoint(3, 3)); }
    // Replaces a name box's text by typing, key by key.
    void typeName(QLineEdit* box, const QString& text)
    {
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_End);
        while (!box->text().isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        typeText(box, text);
    }
    // Replaces the viewer's text by typing; "\n" is the Enter key.
    void typeViewer(const QString& text)
    {
        viewer()->setFocus();
        viewer()->selectAll();
        QTest::keyClick(viewer(), Qt::Key_Delete);
        const QStringList lines = text.split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(viewer(), Qt::Key_Return);
            typeText(viewer(), lines[i]);
        }
    }
    // Opens the search panel when it is closed, types the text and presses Buscar.
    void search(const QString& text)
    {
        if (get("btnOpenSearch")->isVisible())
            click("btnOpenSearch");
        auto* box = get<QLineEdit>("cxSearch");
        box->setFocus();
        box->clear();
        typeText(box, text);
        click("btnSearch");
    }
    QStringList results() { return entries(found()); }
    void choose(int row) { clickRow(found(), row); }
    // Clicks Imprimir; inspect runs inside the open print window, which is then
    // closed by Cancelar if inspect left it open, so a failed check never hangs.
    // False when a check in inspect failed: QVERIFY(print(...)) stops the caller.
    bool print(ModalWatcher& watcher, std::function<void(QWidget*)> inspect)
    {
        watcher.onDialog([inspect](QWidget* dialog) {
            inspect(dialog);
            if (dialog->isVisible())
                QTest::mouseClick(control<QPushButton>(dialog, "cmbCancel"), Qt::LeftButton);
        });
        click("btnPrint");
        return !QTest::currentTestFailed();
    }
    MainWindow w;
};

}  // namespace corvane::test
