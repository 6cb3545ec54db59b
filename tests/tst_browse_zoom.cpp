// The enlarged viewer: the magnifier buttons of the main window.
#include "support/MainDriver.h"

using namespace corvane;
using namespace corvane::test;

namespace {

// Pixels of a position in twips.
QString px(int twips)
{
    return QString::number(qRound(twips / 15.0));
}

// Every property the two views set, positions in pixels.
QStringList layout(QWidget* w)
{
    QStringList out;
    QWidget* viewer = control(w, "cxLerFile");
    out << QStringLiteral("cxLerFile %1 %2").arg(viewer->x()).arg(viewer->width());
    out << QStringLiteral("Label1 %1 %2").arg(control(w, "Label1")->x()).arg(control<QLabel>(w, "Label1")->text());
    out << QStringLiteral("Image6 %1").arg(control(w, "Image6")->x());
    const QStringList hidden =
        namesWhere(w, {"lstDir01", "lstFile01", "cxRnmCat", "cxRnmFile", "lblNameDir", "lblNameFile", "Image4",
                       "Image5", "btnOpenSearch", "imgMais", "imgMenos", "cxLerFile"},
                   [](QWidget* c) { return !c->isVisible(); });
    const QStringList disabled =
        namesWhere(w, {"btnAddFile", "btnEditFile", "btnDelFile", "btnEditText", "btnCopy", "btnPrint"},
                   [](QWidget* c) { return !c->isEnabled(); });
    out << QStringLiteral("hidden: ") + hidden.join(u' ');
    out << QStringLiteral("disabled: ") + disabled.join(u' ');
    return out;
}

QStringList normal()
{
    return {"cxLerFile " + px(4560) + " " + px(3495), "Label1 " + px(4845) + " Visualização",
            "Image6 " + px(4580), "hidden: ", "disabled: "};
}

QStringList enlarged()
{
    return {"cxLerFile " + px(240) + " " + px(7815), "Label1 " + px(590) + " Visualizando ampliado",
            "Image6 " + px(240),
            "hidden: lstDir01 lstFile01 cxRnmCat cxRnmFile lblNameDir lblNameFile Image4 Image5 btnOpenSearch",
            "disabled: btnAddFile btnEditFile btnDelFile"};
}

}  // namespace

class TestBrowseZoom : public QObject {
    Q_OBJECT
private slots:
    void needsASelectedScript();
    void switchesBothWaysKeepingEverythingElse();
    void restoreAfterFocusingCategories();
    void focusLeavesHiddenControlsForTheViewer();
};

void TestBrowseZoom::needsASelectedScript()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.write(QStringLiteral("Alpha/um.txt"), "\"um\"\r\n");
    lib.mkdir(QStringLiteral("Beta"));
    {
        MainDriver win(lib);
        const QStringList before = layout(&win.w);
        ModalWatcher watcher;
        watcher.answer(QStringLiteral("OK")).answer(QStringLiteral("OK"));
        win.clickPicture("imgMais");
        win.clickPicture("imgMenos");
        QCOMPARE(watcher.seen.size(), 2);
        for (const SeenBox& box : watcher.seen)
            expectBox(box, QStringLiteral("Você precisa selecionar um arquivo!"), QStringLiteral("Aviso visualização"));
        QCOMPARE(watcher.unexpected, 0);
        QCOMPARE(layout(&win.w), before);
        QCOMPARE(layout(&win.w)[0], normal()[0]);
        // The offscreen platform does not hand activation back when a box closes;
        // a desktop does.
        QVERIFY(showActive(&win.w));

        // The category list got the focus back from the box without its focus
        // rule running again: the name box of scripts stays as the click left it.
        clickItem(win.dirs(), QStringLiteral("Alpha"));
        QCOMPARE(QApplication::focusWidget(), win.dirs());
        QVERIFY(!win.get("cxRnmFile")->isEnabled());
        QTest::keyClick(win.dirs(), Qt::Key_Down);
        QTest::keyClick(win.dirs(), Qt::Key_Up);
        QVERIFY(win.get("cxRnmFile")->isEnabled());
        watcher.answer(QStringLiteral("OK"));
        win.clickPicture("imgMais");
        QCOMPARE(watcher.seen.size(), 3);
        QVERIFY(showActive(&win.w));
        QCOMPARE(QApplication::focusWidget(), win.dirs());
        QVERIFY(win.get("cxRnmFile")->isEnabled());
    }
    // An empty library: no category, no script.
    TempLibrary empty;
    MainDriver win(empty);
    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK"));
    win.clickPicture("imgMais");
    QCOMPARE(watcher.texts(), QStringList{"Você precisa selecionar um arquivo!"});
    QCOMPARE(layout(&win.w)[0], normal()[0]);
}

void TestBrowseZoom::switchesBothWaysKeepingEverythingElse()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.write(QStringLiteral("Alpha/um.txt"), "\"linha um\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    clickItem(win.files(), QStringLiteral("um"));
    QTest::mouseClick(win.viewer()->viewport(), Qt::LeftButton);
    QTest::keyClick(win.viewer(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(win.viewer(), QStringLiteral(" mudada"));
    const QString teste = win.teste();
    const QString tamanho = win.tamanho();
    QCOMPARE(layout(&win.w), normal());

    win.clickPicture("imgMais");
    QCOMPARE(layout(&win.w), enlarged());
    win.clickPicture("imgMais");  // twice is the same as once
    QCOMPARE(layout(&win.w), enlarged());
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("linha um mudada"));
    QCOMPARE(win.teste(), teste);
    QCOMPARE(win.tamanho(), tamanho);
    QCOMPARE(selectedText(win.files()), QStringLiteral("um"));
    QCOMPARE(selectedText(win.dirs()), QStringLiteral("Alpha"));
    // The right edge stays where it was; the category buttons keep their states.
    QCOMPARE(win.viewer()->geometry().right(), px(4560).toInt() + px(3495).toInt() - 1);
    QVERIFY(!win.get("btnDelCat")->isEnabled());
    QVERIFY(win.get("btnDelCat")->isVisible());

    // Typing goes on in the enlarged view.
    QTest::keyClicks(win.viewer(), QStringLiteral("!"));
    win.clickPicture("imgMenos");
    QCOMPARE(layout(&win.w), normal());
    win.clickPicture("imgMenos");
    QCOMPARE(layout(&win.w), normal());
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("linha um mudada!"));
    QCOMPARE(lib.read(QStringLiteral("Alpha/um.txt")), QByteArray("\"linha um\"\r\n"));
    QCOMPARE(watcher.seen.size(), 0);
}

void TestBrowseZoom::restoreAfterFocusingCategories()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.write(QStringLiteral("Alpha/um.txt"), "\"um\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    clickItem(win.files(), QStringLiteral("um"));
    clickItem(win.dirs(), QStringLiteral("Alpha"));  // already selected: the focus rule alone
    QVERIFY(!win.get("btnEditFile")->isEnabled());
    QVERIFY(!win.get("btnDelFile")->isEnabled());
    QCOMPARE(selectedText(win.files()), QStringLiteral("um"));

    win.clickPicture("imgMenos");
    QCOMPARE(watcher.seen.size(), 0);
    for (const char* on : {"btnEditFile", "btnAddFile", "btnDelFile"})
        QVERIFY2(win.get(on)->isEnabled(), on);
    QVERIFY(!win.get("btnEditText")->isEnabled());  // left as the focus rule set it
}

void TestBrowseZoom::focusLeavesHiddenControlsForTheViewer()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.write(QStringLiteral("Alpha/um.txt"), "\"um\"\r\n");
    MainDriver win(lib);
    clickItem(win.files(), QStringLiteral("um"));
    for (const char* focused : {"lstFile01", "cxRnmFile", "btnAddFile", "btnOpenSearch"}) {
        win.get(focused)->setFocus();
        QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(focused));
        win.clickPicture("imgMais");
        // Had the focus passed through the category list, its focus rule would
        // have made the category buttons usable and the script ones not.
        QCOMPARE(QApplication::focusWidget(), win.viewer());
        QVERIFY(!win.get("btnDelCat")->isEnabled());
        QVERIFY(win.get("btnEditText")->isEnabled());
        win.clickPicture("imgMenos");
    }
}

QTEST_MAIN(TestBrowseZoom)
#include "tst_browse_zoom.moc"
