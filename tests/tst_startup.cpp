// Start-up: the command line, where the library is, the single copy, the scripts
// folder and its notice, the main window frame.
#include "app/NoticeDialog.h"
#include "app/Startup.h"
#include "backup/BackupWindow.h"
#include "library/LibraryLock.h"
#include "support/MainDriver.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QScopeGuard>

#include <memory>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

using namespace corvane;
using namespace corvane::test;

namespace {
// Runs inspect on the main window once start-up has shown it, then closes it.
// The watch lasts until then or until the returned timer goes.
[[nodiscard]] std::unique_ptr<QTimer> whenMainWindowShown(std::function<void(QWidget*)> inspect)
{
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [timer = timer.get(), inspect] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QStringLiteral("frmPrincipal") && w->isVisible()
                && !QApplication::activeModalWidget()) {
                if (!QTest::qWaitForWindowActive(w))
                    qWarning("main window never became active");
                timer->stop();
                inspect(w);
                w->close();
                return;
            }
        }
    });
    timer->start(10);
    return timer;
}

QApplication& theApp()
{
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

bool isHeldElsewhere(const QString& libraryDir)
{
    return LibraryLock(libraryDir).tryLock() == LibraryLock::HeldElsewhere;
}
}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void missingFolderShowsNoticeThenCreatesIt();
    void folderThatIsAFileStopsWithMessage();
    void secondCopyIsRefusedUntilFirstIsKilled_data();
    void secondCopyIsRefusedUntilFirstIsKilled();
    void copyClaimingFolderDuringNoticeWins();
    void commandLineAnswersWithoutDisplay_data();
    void commandLineAnswersWithoutDisplay();
    void libraryFolderInItsOrder_data();
    void libraryFolderInItsOrder();
    void oldLockFilesNeverBlock_data();
    void oldLockFilesNeverBlock();
    void fullStartListsSortedCategoriesAndSelectsFirst();
    void startWithoutFolderShowsEmptyWindow();
    void frameHasEveryControlInPlace();
    void initialStatesAndTabOrder();
    void nameBoxesFilterEveryRoute_data();
    void nameBoxesFilterEveryRoute();
};

// In Portuguese, as the program runs: the name boxes' menu says "Colar".
void TestStartup::initTestCase()
{
    setUpLookAndLanguage(*qApp, QString());
}

void TestStartup::missingFolderShowsNoticeThenCreatesIt()
{
    QTemporaryDir dir;
    const QString scripts = dir.path() + QStringLiteral("/scripts");
    bool existedDuringNotice = true;
    QString noticeText, noticeTitle, warning;
    ModalWatcher watcher;
    watcher.onDialog([&](QWidget* w) {
        existedDuringNotice = QFileInfo::exists(scripts);
        noticeTitle = w->windowTitle();
        noticeText = control<QPlainTextEdit>(w, "txtDirIni")->toPlainText();
        warning = control<QLabel>(w, "Label1")->text();
        QCOMPARE(w->objectName(), QStringLiteral("frmDirInicial"));
        QCOMPARE(w->size(), QSize(263, 123));
        QTest::mouseClick(control<QPushButton>(w, "cmdClose"), Qt::LeftButton);
    });
    QVERIFY(prepareScriptsFolder(scripts));
    QVERIFY(!existedDuringNotice);
    QVERIFY(QFileInfo(scripts).isDir());
    QCOMPARE(noticeTitle, QStringLiteral("Corvane - AVISO"));
    QCOMPARE(noticeText, QStringLiteral("Foi detectada a ausência do diretório \n\"SCRIPTS\", sem o qual o Programa \n"
                                        "não funciona, portanto um novo \ndiretório acaba de ser criado.\n"));
    QCOMPARE(warning, QStringLiteral("Você deve mantê-lo para que seu programa continue funcionando normalmente!"));
    QCOMPARE(watcher.unexpected, 0);

    // With the folder in place no notice comes up.
    ModalWatcher quiet;
    QVERIFY(prepareScriptsFolder(scripts));
    QCOMPARE(quiet.unexpected, 0);
}

void TestStartup::folderThatIsAFileStopsWithMessage()
{
    QTemporaryDir dir;
    const QString scripts = dir.path() + QStringLiteral("/scripts");
    QFile file(scripts);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK"));
    QVERIFY(!prepareScriptsFolder(scripts));
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(watcher.seen[0].title, QStringLiteral("Corvane 1.0"));
    QVERIFY(watcher.seen[0].text.startsWith(QStringLiteral("Não foi possível criar a pasta \"scripts\"")));
    QVERIFY(QFileInfo(scripts).isFile());
}

void TestStartup::secondCopyIsRefusedUntilFirstIsKilled_data()
{
    QTest::addColumn<bool>("otherTempFolder");
    QTest::newRow("same temp folder") << false;
    QTest::newRow("other temp folder") << true;
}

void TestStartup::secondCopyIsRefusedUntilFirstIsKilled()
{
    QFETCH(bool, otherTempFolder);
    // The real program, copied into the library's application folder so that it
    // works on that library. It clears the stray file once it holds the library.
    TempLibrary lib;
    QTemporaryDir otherTemp;
    const QString exe = lib.appDir() + QStringLiteral("/corvane");
    if (!QFile::copy(QStringLiteral(CORVANE_EXE), exe))
        QSKIP("cannot copy the program next to a throw-away library");
    lib.write(QStringLiteral("solto.txt"), "x");
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (otherTempFolder)
        env.insert(QStringLiteral("TMPDIR"), otherTemp.path());
    first.setProcessEnvironment(env);
#ifdef Q_OS_LINUX
    first.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });  // never outlives the test
#endif
    first.start(exe, {});
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!lib.exists(QStringLiteral("solto.txt")) || first.state() != QProcess::Running, 60000);
    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(!lib.exists(QStringLiteral("solto.txt")));

    // A second start on the same library is refused and touches nothing in it.
    int shown = 0;
    bool heldWhileShown = false;
    const auto onWindow = whenMainWindowShown([&](QWidget*) {
        ++shown;
        heldWhileShown = isHeldElsewhere(lib.scripts());
    });
    lib.write(QStringLiteral("solto.txt"), "x");
    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK"));
    QCOMPARE(runCorvane(theApp(), lib.scripts()), 0);
    QCOMPARE(watcher.seen.size(), 1);
    expectBox(watcher.seen[0], QStringLiteral("O programa já está rodando!"), kAppTitle);
    QCOMPARE(shown, 0);
    QVERIFY(lib.exists(QStringLiteral("solto.txt")));

    // Killed outright, the first copy leaves nothing that blocks the next start,
    // which then holds the library while its window is up and lets go at the end.
    first.kill();
    QVERIFY(first.waitForFinished());
    QCOMPARE(first.exitStatus(), QProcess::CrashExit);
    watcher.clear();
    QCOMPARE(runCorvane(theApp(), lib.scripts()), 0);
    QCOMPARE(shown, 1);
    QVERIFY(heldWhileShown);
    QVERIFY(!isHeldElsewhere(lib.scripts()));
    QVERIFY(!lib.exists(QStringLiteral("solto.txt")));
    QCOMPARE(watcher.unexpected, 0);
}

void TestStartup::copyClaimingFolderDuringNoticeWins()
{
    // Two first starts at once: both show the notice, the one that claims the
    // new folder first runs, the other is refused once its notice is closed.
    QTemporaryDir dir;
    const QString scripts = dir.path() + QStringLiteral("/scripts");
    LibraryLock rival(scripts);
    bool shown = false;
    const auto onWindow = whenMainWindowShown([&](QWidget*) { shown = true; });
    ModalWatcher watcher;
    watcher.onDialog([&](QWidget* notice) {
        QDir().mkpath(scripts);
        QCOMPARE(rival.tryLock(), LibraryLock::Taken);
        QTest::mouseClick(control<QPushButton>(notice, "cmdClose"), Qt::LeftButton);
    });
    watcher.answer(QStringLiteral("OK"));
    QCOMPARE(runCorvane(theApp(), scripts), 0);
    QVERIFY(!shown);
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral("O programa já está rodando!")});
    QCOMPARE(watcher.unexpected, 0);
}

void TestStartup::commandLineAnswersWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("--version") << QStringList{"--version"} << 0 << QStringLiteral("Corvane 1.0\n") << QString();
    QTest::newRow("--help") << QStringList{"--help"} << 0
                            << QStringLiteral(
                                   "Uso: corvane [--library PASTA]\n"
                                   "Guarda, busca e imprime seus scripts de texto.\n\n"
                                   "  --library PASTA  usa PASTA como biblioteca (criada se não existir)\n"
                                   "  -h, --help       mostra esta ajuda e sai\n"
                                   "  -v, --version    mostra a versão e sai\n\n"
                                   "A biblioteca é, nesta ordem: a pasta dada por --library; a da variável\n"
                                   "CORVANE_LIBRARY; a pasta \"scripts\" ao lado do programa, se puder ser\n"
                                   "usada; senão ~/.local/share/Corvane/scripts.\n")
                            << QString();
    QTest::newRow("unknown option") << QStringList{"--biblioteca", "x"} << 2 << QString()
                                    << QStringLiteral("corvane: opção desconhecida: --biblioteca\n"
                                                      "Use \"corvane --help\" para ver as opções.\n");
}

void TestStartup::commandLineAnswersWithoutDisplay()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    // The X11 platform with no display aborts as soon as a QApplication is made.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(CORVANE_EXE), args);
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()), err);
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), out);
    QCOMPARE(program.exitCode(), exitCode);
}

void TestStartup::libraryFolderInItsOrder_data()
{
    QTest::addColumn<bool>("option");
    QTest::addColumn<bool>("variable");
    QTest::addColumn<bool>("programFolderImmutable");
    QTest::addColumn<QString>("taken");
    QTest::newRow("--library before CORVANE_LIBRARY") << true << true << false << "option";
    QTest::newRow("CORVANE_LIBRARY before the program's folder") << false << true << false << "variable";
    QTest::newRow("beside the program") << false << false << false << "beside";
    QTest::newRow("program's folder unwritable: user's data folder") << false << false << true << "data";
}

void TestStartup::libraryFolderInItsOrder()
{
    QFETCH(bool, option);
    QFETCH(bool, variable);
    QFETCH(bool, programFolderImmutable);
    QFETCH(QString, taken);
    // A stray plain file in every candidate: the program deletes it from the one
    // folder it takes and leaves the others alone.
    QTemporaryDir scratch;
    const QString s = scratch.path();
    QMap<QString, QString> folders{{"option", s + "/opcao"}, {"variable", s + "/variavel"},
                                   {"beside", s + "/programa/scripts"},
                                   {"data", s + "/casa/.local/share/Corvane/scripts"}};
    if (programFolderImmutable)
        folders.remove(QStringLiteral("beside"));  // missing, and it cannot be made there
    for (const QString& folder : folders) {
        QFile stray(folder + QStringLiteral("/solto.txt"));
        QVERIFY(QDir().mkpath(folder) && stray.open(QIODevice::WriteOnly));
    }
    const QString exe = s + QStringLiteral("/programa/corvane");
    QVERIFY(QDir().mkpath(s + QStringLiteral("/programa")) && QFile::copy(QStringLiteral(CORVANE_EXE), exe));
    bool immutable = false;
    const auto thaw = qScopeGuard([&] {
        if (immutable)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), s + QStringLiteral("/programa")});
    });
    if (programFolderImmutable) {
        // Root too is refused there.
        immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), s + QStringLiteral("/programa")}) == 0;
        if (!immutable)
            QSKIP("chattr +i failed: needs root and a file system that keeps the flag");
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), s + QStringLiteral("/casa"));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.remove(QStringLiteral("CORVANE_LIBRARY"));
    if (variable)
        env.insert(QStringLiteral("CORVANE_LIBRARY"), folders["variable"]);
    QProcess program;
    program.setProcessEnvironment(env);
#ifdef Q_OS_LINUX
    program.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });  // never outlives the test
#endif
    program.start(exe, option ? QStringList{QStringLiteral("--library"), folders["option"]} : QStringList{});
    QVERIFY(program.waitForStarted());
    const QString takenStray = folders[taken] + QStringLiteral("/solto.txt");
    QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(takenStray) || program.state() != QProcess::Running, 60000);
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
    for (auto it = folders.cbegin(); it != folders.cend(); ++it)
        QCOMPARE((QStringList{it.key(), QFileInfo::exists(it.value() + "/solto.txt") ? "kept" : "gone"}),
                 (QStringList{it.key(), it.key() == taken ? "gone" : "kept"}));
}

void TestStartup::oldLockFilesNeverBlock_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty, as after a power cut") << QByteArray();
    QTest::newRow("garbage") << QByteArray(1, '\0') + "\xff\n\nnot a lock\n";
    QTest::newRow("another host")
        << QByteArray::number(QCoreApplication::applicationPid()) + "\ncorvane\noutro-computador\n";
}

void TestStartup::oldLockFilesNeverBlock()
{
    QFETCH(QByteArray, content);
    // Where the previous version kept its lock: the temp folder, keyed by the
    // application folder.
    TempLibrary lib;
    const QByteArray key = QDir::cleanPath(QFileInfo(lib.appDir()).absoluteFilePath()).toUtf8();
    const QString old = QDir::tempPath() + QStringLiteral("/corvane-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(16))
        + QStringLiteral(".lock");
    QFile file(old);
    QVERIFY(file.open(QIODevice::NewOnly));
    const auto removeLeftover = qScopeGuard([&] { QFile::remove(old); });
    QCOMPARE(file.write(content), content.size());
    file.close();
    bool shown = false;
    const auto onWindow = whenMainWindowShown([&](QWidget*) { shown = true; });
    ModalWatcher watcher;
    QCOMPARE(runCorvane(theApp(), lib.scripts()), 0);
    QVERIFY(shown);
    QCOMPARE(watcher.unexpected, 0);
}

void TestStartup::fullStartListsSortedCategoriesAndSelectsFirst()
{
    TempLibrary lib;
    for (const char* c : {"beta", "Alpha", "gamma", "vazia"})
        lib.mkdir(QString::fromLatin1(c));
    lib.write(QStringLiteral("solto.txt"), "x");
    lib.write(QStringLiteral(".oculto"), "x");
    QStringList items;
    QString current;
    bool focused = false;
    const auto onWindow = whenMainWindowShown([&](QWidget* w) {
        auto* list = control<QListWidget>(w, "lstDir01");
        items = entries(list);
        current = list->currentItem() ? list->currentItem()->text() : QString();
        focused = QApplication::focusWidget() == list;
    });
    ModalWatcher watcher;
    QCOMPARE(runCorvane(theApp(), lib.scripts()), 0);
    QCOMPARE(items, (QStringList{"Alpha", "beta", "gamma", "vazia"}));
    QCOMPARE(current, QStringLiteral("Alpha"));
    QVERIFY(focused);
    QCOMPARE(lib.entries(), (QStringList{".oculto", "Alpha", "beta", "gamma", "vazia"}));
    QCOMPARE(watcher.unexpected, 0);
}

void TestStartup::startWithoutFolderShowsEmptyWindow()
{
    QTemporaryDir dir;
    int categories = -1;
    bool scriptsListEmpty = false, held = false;
    const QString scripts = dir.path() + QStringLiteral("/scripts");
    const auto onWindow = whenMainWindowShown([&](QWidget* w) {
        categories = control<QListWidget>(w, "lstDir01")->count();
        scriptsListEmpty = control<QListWidget>(w, "lstFile01")->count() == 0;
        held = isHeldElsewhere(scripts);
    });
    ModalWatcher watcher;
    watcher.onDialog([](QWidget* notice) { QTest::mouseClick(control<QPushButton>(notice, "cmdClose"), Qt::LeftButton); });
    QCOMPARE(runCorvane(theApp(), scripts), 0);
    QCOMPARE(categories, 0);
    QVERIFY(scriptsListEmpty);
    QVERIFY(held);  // the folder made at first start is claimed like any other
    QVERIFY(QFileInfo(scripts).isDir());
    QCOMPARE(watcher.unexpected, 0);
}

void TestStartup::frameHasEveryControlInPlace()
{
    TempLibrary lib;
    MainWindow w(lib.scripts());
    QCOMPARE(w.windowTitle(), QStringLiteral("Corvane 1.0"));
    QCOMPARE(w.minimumSize(), QSize(553, 311));
    QCOMPARE(w.maximumSize(), QSize(553, 311));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowMinimizeButtonHint);

    struct Expect { const char* name; int l, t, wd, h; const char* caption; const char* tip; };
    const Expect expected[] = {
        {"lstDir01", 240, 840, 1695, 2950, nullptr, nullptr},
        {"lstFile01", 2095, 840, 2290, 2950, nullptr, nullptr},
        {"cxLerFile", 4560, 840, 3495, 3285, nullptr, nullptr},
        {"cxRnmCat", 240, 3840, 1695, 285, nullptr, nullptr},
        {"cxRnmFile", 2095, 3840, 2290, 285, nullptr, nullptr},
        {"btnAddCat", 240, 4200, 500, 330, "Add", ""},
        {"btnEditCat", 830, 4200, 510, 330, "Ren", "Renomear"},
        {"btnDelCat", 1430, 4200, 510, 330, "Del", ""},
        {"btnAddFile", 2095, 4200, 680, 330, "Add", ""},
        {"btnEditFile", 2890, 4200, 690, 330, "Ren", ""},
        {"btnDelFile", 3710, 4200, 690, 330, "Del", ""},
        {"btnEditText", 4560, 4200, 1095, 330, "Editar", ""},
        {"btnCopy", 5820, 4200, 1095, 330, "Copiar", ""},
        {"btnPrint", 7080, 4200, 975, 330, "Imprimir", ""},
        {"btnOpenSearch", 3690, 600, 700, 255, "Buscar", ""},
        {"lblTeste", 585, 180, 2880, 255, "", nullptr},
        {"lblTamanho", 3690, 180, 780, 255, "", nullptr},
        {"lblNameDir", 590, 610, 1215, 255, "Categorias", nullptr},
        {"lblNameFile", 2385, 615, 1335, 255, "Scripts", nullptr},
        {"Label1", 4845, 615, 2415, 255, "Visualização", nullptr},
        {"imgMenos", 7320, 625, 240, 180, nullptr, " Diminuir "},
        {"imgMais", 7560, 630, 240, 180, nullptr, " Aumentar "},
        {"imageTit1", 280, 220, 180, 120, nullptr, nullptr},
        {"imageTit2", 285, 220, 120, 120, nullptr, nullptr},
        {"Image4", 270, 620, 270, 180, nullptr, nullptr},
        {"Image5", 2125, 615, 180, 180, nullptr, nullptr},
        {"Image6", 4580, 615, 195, 180, nullptr, nullptr},
        {"imgHelp", 4575, 120, 165, 225, nullptr, "Ajuda"},
        {"imgCredito", 4850, 120, 240, 225, nullptr, "Créditos"},
        {"imageBk", 5210, 105, 270, 225, nullptr, ""},
        {"imgSite", 5610, 120, 225, 225, nullptr, "Website"},
        {"imageHelpOn", 4550, 105, 195, 255, nullptr, " Help "},
        {"imageCreditoOn", 4835, 120, 270, 255, nullptr, " Créditos "},
        {"imageBkOn", 5195, 105, 300, 255, nullptr, " Backup "},
        {"imageSiteOn", 5595, 105, 255, 255, nullptr, " Website "},
        {"imgCabeca", 0, 0, 5920, 195, nullptr, nullptr},
        {"cxSearch", 240, 600, 1695, 255, nullptr, nullptr},
        {"btnSearch", 1935, 600, 700, 255, "Buscar", ""},
        {"btnCloseSearch", 4100, 600, 300, 255, "X", " Fechar Busca "},
        {"lstFile02", 240, 840, 4150, 3335, nullptr, nullptr},
        {"btnEditText2", 4560, 4200, 1095, 330, "Editar", ""},
        {"imgMenos2", 7320, 625, 240, 180, nullptr, " Diminuir "},
        {"imgMais2", 7560, 625, 240, 180, nullptr, " Aumentar "},
    };
    for (const Expect& e : expected) {
        QWidget* c = control(&w, e.name);
        QCOMPARE(c->geometry(), tw(e.l, e.t, e.wd, e.h));
        if (e.caption) {
            if (auto* b = qobject_cast<QPushButton*>(c))
                QCOMPARE(b->text(), QString::fromUtf8(e.caption));
            else
                QCOMPARE(qobject_cast<QLabel*>(c)->text(), QString::fromUtf8(e.caption));
        }
        if (e.tip)
            QCOMPARE(c->toolTip(), QString::fromUtf8(e.tip));
    }
    QVERIFY(control<QListWidget>(&w, "lstDir01")->selectionMode() == QAbstractItemView::SingleSelection);
    QCOMPARE(control<NameBox>(&w, "cxRnmCat")->typingLimit(), 20);
    QCOMPARE(control<NameBox>(&w, "cxRnmFile")->typingLimit(), 30);
    QCOMPARE(control<QPlainTextEdit>(&w, "cxLerFile")->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!control<QPlainTextEdit>(&w, "cxLerFile")->isReadOnly());
}

void TestStartup::initialStatesAndTabOrder()
{
    TempLibrary lib;
    MainWindow w(lib.scripts());
    w.loadCategories();
    QVERIFY(showActive(&w));
    for (const char* hidden : {"lstFile02", "cxSearch", "btnSearch", "btnCloseSearch", "imgMais2", "imgMenos2",
                               "btnEditText2", "imageHelpOn", "imageCreditoOn", "imageBkOn", "imageSiteOn",
                               "imageTit1", "imageTit2"})
        QVERIFY2(!control(&w, hidden)->isVisible(), hidden);
    QVERIFY(!control(&w, "btnEditText2")->isEnabled());
    for (const char* off : {"cxRnmFile", "btnEditFile", "btnDelFile", "btnEditText", "btnCopy", "btnPrint"})
        QVERIFY2(!control(&w, off)->isEnabled(), off);
    for (const char* on : {"cxRnmCat", "btnAddCat", "btnEditCat", "btnDelCat", "btnAddFile", "btnOpenSearch",
                           "imgMais", "imgMenos"})
        QVERIFY2(control(&w, on)->isEnabled() && control(&w, on)->isVisible(), on);
    QCOMPARE(QApplication::focusWidget(), control(&w, "lstDir01"));

    // Tab walks the enabled controls in the window's order.
    QStringList walk;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walk << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walk, (QStringList{"lstFile01", "cxLerFile", "btnEditCat", "btnDelCat", "cxRnmCat", "btnAddCat",
                                "btnAddFile", "btnOpenSearch"}));
}

void TestStartup::nameBoxesFilterEveryRoute_data()
{
    QTest::addColumn<QString>("box");
    for (const char* box : {"cxRnmCat", "cxRnmFile", "txtfile"})
        QTest::newRow(box) << QString::fromLatin1(box);
}

// Each way text comes in: with the clipboard, the mouse or the keyboard.
using Route = std::function<void(NameBox*, const QString&)>;
static const QList<std::pair<const char*, Route>> kRoutes{
    {"typed", [](NameBox* b, const QString& text) { typeText(b, text); }},
    {"menu", [](NameBox* b, const QString& text) {
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
    {"Shift+Insert", [](NameBox* b, const QString& text) {
         QGuiApplication::clipboard()->setText(text);
         QTest::keyClick(b, Qt::Key_Insert, Qt::ShiftModifier);
     }},
    {"drop", [](NameBox* b, const QString& text) {
         QMimeData data;
         data.setText(text);
         const QPoint at = b->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
         QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
         QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
         QApplication::sendEvent(b, &enter);
         QApplication::sendEvent(b, &drop);
     }},
    {"input method", [](NameBox* b, const QString& text) {
         QInputMethodEvent commit;
         commit.setCommitString(text);
         QApplication::sendEvent(b, &commit);
     }},
};

void TestStartup::nameBoxesFilterEveryRoute()
{
    QFETCH(QString, box);
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Café ç"));
    lib.write(QStringLiteral("Café ç/Ação.txt"), "\"a\"\r\n");
    MainDriver win(lib);
    BackupWindow backup(lib.scripts());
    QWidget* window = box == QStringLiteral("txtfile") ? static_cast<QWidget*>(&backup) : &win.w;
    NameBox* name = control<NameBox>(window, qPrintable(box));
    // A name from disk, put in the box by the program as it is.
    if (name == win.catBox()) {
        doubleClickItem(win.dirs(), QStringLiteral("Café ç"));
    } else if (name == win.fileBox()) {
        doubleClickItem(win.files(), QStringLiteral("Ação"));
    } else {
        QVERIFY(showActive(&backup));
        name->setText(QStringLiteral("Cópia ç"));
    }
    const QString foreign = name->text();
    QVERIFY(foreign.contains(u'ç'));
    // Not stripped by the next keys: a refused one changes nothing, an allowed one adds.
    name->setFocus();
    name->end(false);
    typeText(name, QStringLiteral("éx"));
    QCOMPARE(name->text(), foreign + u'x');
    QTest::keyClick(name, Qt::Key_Backspace);
    // Ctrl+V and Enter are refused like control characters; a refused key keeps the selection.
    QGuiApplication::clipboard()->setText(QStringLiteral("colado"));
    name->selectAll();
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(name, Qt::Key_Return);
    typeText(name, QStringLiteral("*"));
    QCOMPARE(name->selectedText(), foreign);

    const int limit = name->typingLimit();
    for (const auto& [route, insert] : kRoutes) {
        for (const auto& [in, out] : {std::pair{"../x", "..x"}, {"a/b*c", "abc"}, {"Ação", "Ao"}}) {
            name->clear();
            insert(name, QString::fromUtf8(in));
            QCOMPARE((QStringList{route, name->text()}), (QStringList{route, QLatin1String(out)}));
        }
        // Inside a nearly full box of the same digit: cut at the limit, the cursor
        // right after what went in.
        const QString start(limit > 0 ? limit - 2 : 40, u'0');
        name->setText(start);
        name->setCursorPosition(1);
        insert(name, QStringLiteral("0/a*b"));
        const QString kept = limit > 0 ? QStringLiteral("0a") : QStringLiteral("0ab");
        QCOMPARE((QStringList{route, name->text(), QString::number(name->cursorPosition())}),
                 (QStringList{route, QString(start).insert(1, kept), QString::number(1 + kept.size())}));
    }
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
