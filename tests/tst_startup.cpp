// Start-up (the single copy, the scripts folder and its notice), the name boxes,
// the header's picture buttons, the help and credits windows, and the names a
// screen reader speaks.
#include "app/NoticeDialog.h"
#include "app/Startup.h"
#include "backup/BackupWindow.h"
#include "help/CreditsWindow.h"
#include "help/HelpWindow.h"
#include "help/WebSite.h"
#include "library/LibraryLock.h"
#include "printing/PrintDialog.h"
#include "library/Names.h"
#include "support/MainDriver.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QScopeGuard>
#include <QUrl>

#include <memory>


using namespace corvane;
using namespace corvane::test;

namespace {

QList<QUrl> g_opened;
void recordOpening(const QUrl& url)
{
    g_opened.append(url);
}
const QUrl kSite(QStringLiteral("https://corvane.app/"));

// Runs inspect on the main window each time start-up shows it, then closes it,
// until the returned timer goes. Ten seconds without a window end the running
// start with code 99, for the caller to see.
[[nodiscard]] std::unique_ptr<QTimer> whenMainWindowShown(std::function<void(QWidget*)> inspect)
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [inspect, deadline = std::make_shared<QDeadlineTimer>(10000)] {
        if (deadline->hasExpired()) {
            *deadline = QDeadlineTimer(10000);
            QApplication::closeAllWindows();
            QCoreApplication::exit(99);
        }
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QStringLiteral("frmPrincipal") && w->isVisible()
                && !QApplication::activeModalWidget()) {
                if (!QTest::qWaitForWindowActive(w))
                    qWarning("main window never became active");
                inspect(w);
                w->close();
                *deadline = QDeadlineTimer(10000);
                return;
            }
        }
    });
    timer->start(10);
    return timer;
}

int start(const QString& scripts, bool owned = true)
{
    return runCorvane(*qobject_cast<QApplication*>(QCoreApplication::instance()), {scripts, owned});
}

bool isHeldElsewhere(const QString& libraryDir)
{
    return LibraryLock(libraryDir).tryLock() == LibraryLock::HeldElsewhere;
}

// Each way text comes in: with the keyboard, the clipboard, the mouse or an input method.
using Route = std::function<void(QLineEdit*, const QString&)>;
const QList<std::pair<const char*, Route>> kRoutes{
    {"typed", [](QLineEdit* b, const QString& text) { typeText(b, text); }},
    {"menu", [](QLineEdit* b, const QString& text) {
         QGuiApplication::clipboard()->setText(text);
         const QPoint at = b->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
         QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, b->mapToGlobal(at));
         QApplication::sendEvent(b, &rightClick);
         auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
         QVERIFY(menu);
         for (QAction* a : menu->actions())
             if (a->text().section(u'\t', 0, 0).remove(u'&') == QStringLiteral("Colar"))
                 QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
         QVERIFY(!QApplication::activePopupWidget());
     }},
    {"Shift+Insert", paste},
    {"drop", [](QLineEdit* b, const QString& text) {
         QMimeData data;
         data.setText(text);
         const QPoint at = b->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
         QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
         QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
         QApplication::sendEvent(b, &enter);
         QApplication::sendEvent(b, &drop);
     }},
    {"input method", [](QLineEdit* b, const QString& text) {
         QInputMethodEvent commit;
         commit.setCommitString(text);
         QApplication::sendEvent(b, &commit);
     }},
};

QStringList unnamedControls(QWidget* window)
{
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w)
            || qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QComboBox*>(w)
            || (w->inherits("corvane::Picture") && !w->toolTip().trimmed().isEmpty());
        if (!control || !w->isVisibleTo(window) || w->objectName().isEmpty() || w->objectName().startsWith(u"qt_")
            || (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget())))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        const QString name = face ? face->text(QAccessible::Name).remove(u'&').trimmed() : QString();
        if (name.isEmpty() || name == w->objectName())
            unnamed << w->objectName();
    }
    return unnamed;
}

QColor ink(QWidget* w)
{
    return w->palette().color(QPalette::Active, QPalette::WindowText);
}

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void firstStartShowsTheNoticeThenAnEmptyWindow();
    void secondCopyIsRefusedUntilFirstIsKilled_data();
    void secondCopyIsRefusedUntilFirstIsKilled();
    void aSecondCopyIsRefusedWithoutFlock();
    void nameBoxesTakeOnlyNameCharacters_data();
    void nameBoxesTakeOnlyNameCharacters();
    void headerTwinsOpenTheirWindows();
    void helpTopicsSwitchAndStayReadOnly();
    void creditsLinkColoursAndOpens();
    void everyWindowNamesItsControls();
};

// In Portuguese, as the program runs: the name boxes' menu says "Colar".
void TestStartup::initTestCase()
{
    setUpLookAndLanguage(*qApp, QString());
}

void TestStartup::firstStartShowsTheNoticeThenAnEmptyWindow()
{
    QTemporaryDir dir;
    const QString scripts = dir.path() + QStringLiteral("/scripts");
    QStringList seen;
    ModalWatcher watcher;
    watcher.onDialog([&](QWidget* w) {
        seen << (QFileInfo::exists(scripts) ? "folder made before the notice" : "")
             << control<QPlainTextEdit>(w, "txtDirIni")->toPlainText() + control<QLabel>(w, "Label1")->text();
        QTest::mouseClick(control<QPushButton>(w, "cmdClose"), Qt::LeftButton);
    });
    const auto onWindow = whenMainWindowShown([&](QWidget* w) {
        // The new folder is claimed and watched like any other: a category a sync
        // tool adds shows.
        auto* dirs = control<QListWidget>(w, "lstDir01");
        seen << QString::number(dirs->count()) << (isHeldElsewhere(scripts) ? "held" : "");
        QDir().mkdir(scripts + QStringLiteral("/Sincronizada"));
        for (int i = 0; i < 300 && dirs->count() == 0; ++i)
            QTest::qWait(10);
        seen << entries(dirs);
    });
    QCOMPARE(start(scripts), 0);
    QCOMPARE(seen, (QStringList{"", "Foi detectada a ausência do diretório \n\"SCRIPTS\", sem o qual o Programa "
                                    "\nnão funciona, portanto um novo \ndiretório acaba de ser criado.\nVocê deve "
                                    "mantê-lo para que seu programa continue funcionando normalmente!", "0", "held",
                                "Sincronizada"}));
    QVERIFY(QFileInfo(scripts).isDir());
    QCOMPARE(watcher.unexpected, 0);
}

void TestStartup::secondCopyIsRefusedUntilFirstIsKilled_data()
{
    QTest::addColumn<bool>("throughLink");  // the second copy reaches the library by another path
    QTest::newRow("same path") << false;
    QTest::newRow("through a link") << true;
}

void TestStartup::secondCopyIsRefusedUntilFirstIsKilled()
{
    QFETCH(bool, throughLink);
    // The real program, copied into the library's application folder so that it
    // works on that library. It clears the stray file once it holds the library,
    // keeping hidden ones. A lock file of the previous version (in the temp
    // folder, keyed by the application folder) gets in no one's way.
    TempLibrary lib{{"Alpha/", {}}, {".oculto", "x"}};
    const QByteArray key = QDir::cleanPath(QFileInfo(lib.appDir()).absoluteFilePath()).toUtf8();
    const QString old = QDir::tempPath() + QStringLiteral("/corvane-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16))
        + QStringLiteral(".lock");
    QVERIFY(!QFileInfo::exists(old));
    const auto removeLeftover = qScopeGuard([&] { QFile::remove(old); });
    raw::write(QFile::encodeName(old), QByteArray::number(QCoreApplication::applicationPid()) + "\ncorvane\noutro\n");
    QTemporaryDir elsewhere;
    const QString second = throughLink ? elsewhere.filePath(QStringLiteral("elo/scripts")) : lib.scripts();
    raw::symlink(QFile::encodeName(lib.appDir()), QFile::encodeName(elsewhere.filePath(QStringLiteral("elo"))));
    const QString exe = lib.appDir() + QStringLiteral("/corvane");
    if (!QFile::copy(QStringLiteral(CORVANE_EXE), exe))
        QSKIP("cannot copy the program next to a throw-away library");
    lib.write(QStringLiteral("solto.txt"), "x");
    QProcess first;
    startProgram(first, exe, {}, {"QT_QPA_PLATFORM=offscreen"});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!lib.exists(QStringLiteral("solto.txt")) || first.state() != QProcess::Running, 10000);
    QCOMPARE(first.state(), QProcess::Running);

    // A second start on the same library is refused and touches nothing in it.
    QStringList shown;
    const auto onWindow = whenMainWindowShown([&](QWidget* w) {
        shown << (isHeldElsewhere(second) ? "held" : "") << entries(control<QListWidget>(w, "lstDir01"))
              << QApplication::focusWidget()->objectName();
    });
    lib.write(QStringLiteral("solto.txt"), "x");
    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK"));
    QCOMPARE(start(second), 0);
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(watcher.seen[0], okBox(QStringLiteral("O programa já está rodando!"), kAppTitle));
    QCOMPARE(shown, QStringList());
    QVERIFY(lib.exists(QStringLiteral("solto.txt")));

    // Killed outright, the first copy leaves nothing that blocks the next start,
    // which then holds the library while its window is up and lets go at the end.
    first.kill();
    QVERIFY(first.waitForFinished(5000));
    watcher.clear();
    QCOMPARE(start(second), 0);
    QCOMPARE(shown, (QStringList{"held", "Alpha", "lstDir01"}));
    QVERIFY(!isHeldElsewhere(lib.scripts()) && !isHeldElsewhere(second));
    QCOMPARE(lib.entries(), (QStringList{".oculto", "Alpha"}));
    QCOMPARE(watcher.unexpected, 0);
}

// Where the library's file system keeps no flock() locks, the program still
// starts, and a second copy on this machine is still refused; nothing is
// written into the library, and the lock goes with its holder.
void TestStartup::aSecondCopyIsRefusedWithoutFlock()
{
    TempLibrary lib{{"Alpha/", {}}};
    LibraryLock::testingWithoutFlock(true);
    const auto restore = qScopeGuard([] { LibraryLock::testingWithoutFlock(false); });
    auto first = std::make_unique<LibraryLock>(lib.scripts());
    QStringList seen{QString::number(first->tryLock())};
    const auto held = [&] { return isHeldElsewhere(lib.scripts()) ? "held" : "free"; };
    const auto onWindow = whenMainWindowShown([&](QWidget*) { seen << held(); });
    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK"));
    QTemporaryDir elsewhere;  // the same folder by another path is the same library
    raw::symlink(QFile::encodeName(lib.appDir()), QFile::encodeName(elsewhere.filePath(QStringLiteral("elo"))));
    seen << QString::number(start(elsewhere.filePath(QStringLiteral("elo/scripts"))));
    first.reset();
    seen << QString::number(start(lib.scripts())) << watcher.texts() << held() << lib.entries();
    QCOMPARE(seen, (QStringList{"0", "0", "held", "0", "O programa já está rodando!", "free", "Alpha"}));
}

void TestStartup::nameBoxesTakeOnlyNameCharacters_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("limit");
    QTest::newRow("category") << QStringLiteral("cxRnmCat") << 20;
    QTest::newRow("script") << QStringLiteral("cxRnmFile") << 30;
    QTest::newRow("backup") << QStringLiteral("txtfile") << 0;
}

void TestStartup::nameBoxesTakeOnlyNameCharacters()
{
    QFETCH(QString, box);
    QFETCH(int, limit);
    TempLibrary lib;
    lib.write(QStringLiteral("Café ç/Ação.txt"), "\"a\"\r\n");
    MainDriver win(lib);
    BackupWindow backup(lib.scripts());
    // A name from disk, put in the box by the program as it is.
    const bool category = box == u"cxRnmCat", inBackup = box == u"txtfile";
    if (inBackup)
        QVERIFY(showActive(&backup));
    else
        doubleClickItem(category ? win.dirs() : win.files(),
                        category ? QStringLiteral("Café ç") : QStringLiteral("Ação"));
    QLineEdit* name = inBackup ? control<QLineEdit>(&backup, "txtfile") : category ? win.catBox() : win.fileBox();
    const QString foreign = name->text();
    // Not stripped by the next keys: a refused one changes nothing, an allowed one adds.
    name->setFocus();
    name->end(false);
    typeText(name, QStringLiteral("éx"));
    QCOMPARE(name->text(), foreign + u'x');
    // Ctrl+V and Enter are refused like control characters; a refused key keeps the selection.
    QGuiApplication::clipboard()->setText(QStringLiteral("colado"));
    name->selectAll();
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(name, Qt::Key_Return);
    typeText(name, QStringLiteral("*"));
    QCOMPARE(name->selectedText(), foreign + u'x');

    // Every code from 0 to 255, typed and pasted between two letters.
    const QString allowed = QStringLiteral(" -.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
    QString typedIn, pastedIn;
    for (int code = 0; code < 256; ++code) {
        const QString c{QChar(char16_t(code))};
        name->clear();
        QTest::sendKeyEvent(QTest::KeyAction::Click, name, Qt::Key_unknown, c, Qt::NoModifier);
        typedIn += name->text();
        name->clear();
        kRoutes[2].second(name, u'a' + c + u'b');
        pastedIn += name->text().mid(1).chopped(1);
    }
    QCOMPARE(typedIn, allowed);
    QCOMPARE(pastedIn, allowed);

    for (const auto& [route, insert] : kRoutes) {
        for (const auto& [in, out] : {std::pair{"../x", "..x"}, {"a/b*c", "abc"}, {"Ação", "Ao"}}) {
            name->clear();
            insert(name, QString::fromUtf8(in));
            QCOMPARE((QStringList{route, name->text()}), (QStringList{route, QLatin1String(out)}));
        }
        // Inside a nearly full box: cut at the limit, the cursor right after what went in.
        const QString before(limit > 0 ? limit - 2 : 40, u'0');
        name->setText(before);
        name->setCursorPosition(1);
        insert(name, QStringLiteral("0/a*b"));
        const QString kept = limit > 0 ? QStringLiteral("0a") : QStringLiteral("0ab");
        QCOMPARE((QStringList{route, name->text(), QString::number(name->cursorPosition())}),
                 (QStringList{route, QString(before).insert(1, kept), QString::number(1 + kept.size())}));
    }
}

// The header's pictures show their twins under the pointer; a twin opens its
// window over the main one, or the web site.
void TestStartup::headerTwinsOpenTheirWindows()
{
    TempLibrary lib;
    SystemHooks hooks;
    hooks.openSite = recordOpening;
    MainDriver win(lib, hooks);
    ModalWatcher watcher;
    const auto twins = [&] {
        return namesWhere(&win.w, {"imageHelpOn", "imageCreditoOn", "imageBkOn", "imageSiteOn"},
                          [](QWidget* c) { return c->isVisible(); }).join(u' ');
    };
    const auto onto = [&](const char* name) { QTest::mouseMove(win.get(name), win.get(name)->rect().center()); };
    QTest::mouseClick(win.get("imgHelp"), Qt::LeftButton);  // a plain icon opens nothing
    const struct { const char* icon; const char* twin; const char* window; } pairs[] = {
        {"imgHelp", "imageHelpOn", "frmHelp"}, {"imgCredito", "imageCreditoOn", "frmCredito"},
        {"imageBk", "imageBkOn", "frmBackup"}, {"imgSite", "imageSiteOn", ""}};
    for (const auto& p : pairs) {
        QTest::mouseMove(&win.w, QPoint(134, 133));  // the bare window between the lists
        QCOMPARE(twins(), QString());
        onto(p.icon);
        QCOMPARE(twins(), QLatin1String(p.twin));
        QString opened;
        if (*p.window) {
            watcher.onDialog([&](QWidget* dialog) {
                opened = dialog->objectName() + (QApplication::activeModalWidget() == dialog ? "" : " not modal");
                dialog->close();
            });
        }
        g_opened.clear();
        win.clickPicture(p.twin);
        QTest::qWait(30);
        QCOMPARE(opened, QLatin1String(p.window));
        QCOMPARE(g_opened, *p.window ? QList<QUrl>() : QList<QUrl>{kSite});
    }
    // Over other controls the twin stays; the header strip hides it.
    onto("lstDir01");
    QCOMPARE(twins(), QStringLiteral("imageSiteOn"));
    onto("imgCabeca");
    QCOMPARE(twins(), QString());
    QCOMPARE(watcher.unexpected, 0);
}

void TestStartup::helpTopicsSwitchAndStayReadOnly()
{
    HelpWindow w;
    QVERIFY(showActive(&w));
    const char* labels[] = {"lblHelpIni", "lblHelpCat", "lblHelpFile"};
    const char* boxes[] = {"txtHelpIni", "txtHelpCat", "txtHelpFile"};
    const QColor shadow = w.palette().color(QPalette::Shadow);
    QVERIFY(control<QPlainTextEdit>(&w, boxes[1])->toPlainText().startsWith(QStringLiteral("1 - Adicionar Categoria")));
    QVERIFY(control<QPlainTextEdit>(&w, boxes[2])->toPlainText().startsWith(QStringLiteral("1 - Adicionar Script")));
    // The limits the help gives are the name boxes' own.
    QVERIFY(control<QPlainTextEdit>(&w, boxes[0])->toPlainText().contains(
        QStringLiteral("Em 'Categorias', máximo de %1 caracteres. Em 'Scripts', máximo de %2 caracteres.")
            .arg(names::kCategoryMax)
            .arg(names::kScriptMax)));
    for (int shown : {-1, 2, 1, 0}) {  // Início first
        if (shown >= 0)
            QTest::mouseClick(control(&w, labels[shown]), Qt::LeftButton, {}, QPoint(3, 3));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(control(&w, boxes[i])->isVisible(), i == qMax(shown, 0));
            QCOMPARE(ink(control(&w, labels[i])), i == qMax(shown, 0) ? QColor(192, 0, 0) : shadow);
        }
    }
    // Typing changes nothing; the text can be selected and copied; Esc is no way out.
    auto* box = control<QPlainTextEdit>(&w, boxes[0]);
    const QString text = box->toPlainText();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    typeText(box, QStringLiteral("xy\n"));
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(box->toPlainText() + QGuiApplication::clipboard()->text(), text + text);
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.isVisible());
}

void TestStartup::creditsLinkColoursAndOpens()
{
    // A button-text colour of its own, to tell it from black.
    const QPalette old = QApplication::palette();
    QPalette palette = old;
    palette.setColor(QPalette::ButtonText, QColor(60, 70, 80));
    QApplication::setPalette(palette);
    const auto restore = qScopeGuard([&] {
        QApplication::setPalette(old);
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    });
    CreditsWindow w(nullptr, recordOpening);
    QVERIFY(showActive(&w));
    auto* link = control<QLabel>(&w, "lblUrl");
    QCOMPARE(link->text(), QStringLiteral("corvane.app"));
    QCOMPARE(ink(link), QColor(60, 70, 80));
    // Under the pointer the link is blue, and stays so over the texts; the bare
    // window counts as background.
    QTest::mouseMove(link, QPoint(5, 5));
    QCOMPARE(ink(link), QColor(0, 0, 255));
    QTest::mouseMove(control(&w, "lblCred1"), QPoint(6, 6));
    QCOMPARE(ink(link), QColor(0, 0, 255));
    QTest::mouseMove(&w, QPoint(w.width() - 3, w.height() - 3));
    QCOMPARE(ink(link), QColor(0, 0, 0));
    // Two clicks, two openings of the full address; Esc is no way out.
    ModalWatcher watcher;
    g_opened.clear();
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(6, 5));
    QCOMPARE(g_opened, (QList<QUrl>{kSite, kSite}));
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QCOMPARE(watcher.unexpected, 0);
}

void TestStartup::everyWindowNamesItsControls()
{
    TempLibrary lib;
    MainWindow main(lib.scripts());
    NoticeDialog notice;
    HelpWindow help;
    CreditsWindow credits;
    BackupWindow backup(lib.scripts());
    BackHelpWindow backHelp;
    PrintDialog print(QStringLiteral("Teste"), QStringLiteral("texto"));
    const QList<QWidget*> windows{&main, &notice, &help, &credits, &backup, &backHelp, &print};
    for (QWidget* window : windows) {
        window->show();
        QCOMPARE(unnamedControls(window).join(u", "), QString());
        window->hide();
    }
    // The search panel's controls, once opened.
    QVERIFY(showActive(&main));
    QTest::mouseClick(control(&main, "btnOpenSearch"), Qt::LeftButton);
    QVERIFY(control(&main, "lstFile02")->isVisible());
    QCOMPARE(unnamedControls(&main).join(u", "), QString());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
