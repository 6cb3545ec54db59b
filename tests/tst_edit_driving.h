// Driving the main window's editing commands the way a user does.
#pragma once

#include "app/MainWindow.h"
#include "app/NameBox.h"
#include "browse/Browser.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace corvane::test {

inline const QString kAppTitle = QStringLiteral("Corvane 1.0");
inline const QStringList kYesNo{QStringLiteral("Sim"), QStringLiteral("Não")};

// A message box as the user saw it; the editing boxes carry no icon.
inline void expectBox(const SeenBox& box, const QString& text, const QString& title,
                      const QStringList& buttons = {QStringLiteral("OK")})
{
    QCOMPARE(box.text, text);
    QCOMPARE(box.title, title);
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.icon, QMessageBox::NoIcon);
}

inline QListWidgetItem* itemNamed(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        qFatal("no entry %s", qPrintable(text));
    return found.first();
}

inline void clickItem(QListWidget* list, const QString& text)
{
    QListWidgetItem* item = itemNamed(list, text);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
}

inline void doubleClickItem(QListWidget* list, const QString& text)
{
    QListWidgetItem* item = itemNamed(list, text);
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

inline QStringList entries(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Runs fn once the next modal window is up: something another program does
// while the user still reads a question.
inline void whileNextBoxIsOpen(std::function<void()> fn)
{
    auto* timer = new QTimer;
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, [timer, fn] {
        if (!QApplication::activeModalWidget())
            return;
        timer->stop();
        timer->deleteLater();
        fn();
    });
    timer->start();
}

struct EditWindow {
    explicit EditWindow(const TempLibrary& lib)
        : w(lib.scripts())
    {
        w.loadCategories();
        if (!showActive(&w))
            qFatal("main window did not become active");
    }
    template <typename T = QWidget>
    T* get(const char* name) { return control<T>(&w, name); }
    QListWidget* dirs() { return get<QListWidget>("lstDir01"); }
    QListWidget* files() { return get<QListWidget>("lstFile01"); }
    QPlainTextEdit* viewer() { return get<QPlainTextEdit>("cxLerFile"); }
    NameBox* catBox() { return get<NameBox>("cxRnmCat"); }
    NameBox* fileBox() { return get<NameBox>("cxRnmFile"); }
    QString dir() { return Browser::selectedText(dirs()); }
    QString file() { return Browser::selectedText(files()); }
    QString teste() { return get<QLabel>("lblTeste")->text(); }

    // A click on an enabled button; a disabled one would swallow it unnoticed.
    void click(const char* button)
    {
        auto* b = get<QPushButton>(button);
        if (!b->isEnabled() || !b->isVisible())
            qFatal("%s cannot be clicked", button);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Replaces a name box's text by typing, key by key.
    void typeName(NameBox* box, const QString& text)
    {
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_End);
        while (!box->text().isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
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
    MainWindow w;
};

}  // namespace corvane::test
