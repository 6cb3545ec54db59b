// At home on a desktop: lists that follow what other programs change, names too
// long for their list shown whole, deletes that can be undone, and a library
// wherever the user keeps it.
#include "support/MainDriver.h"

#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QHelpEvent>
#include <QToolTip>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

using namespace corvane;
using namespace corvane::test;

namespace {

// The tool tip a user resting the pointer on an entry sees; empty for none.
QString tipOf(QListWidget* list, const QString& entry)
{
    QToolTip::hideText();
    for (int i = 0; i < 100 && QToolTip::isVisible(); ++i)
        QTest::qWait(20);
    QListWidgetItem* item = itemNamed(list, entry);
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void listsFollowTheDiskLeavingTheViewerAlone();
    void cutNamesShowWholeAsToolTips();
    void deletesGoToTheTrashOrWithoutOneForGood();
    void commandLineAnswersWithoutDisplay_data();
    void commandLineAnswersWithoutDisplay();
    void libraryFolderInItsOrder_data();
    void libraryFolderInItsOrder();
};

void TestDesktop::listsFollowTheDiskLeavingTheViewerAlone()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    lib.mkdir(QStringLiteral("Receitas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"aaaa\"\r\n");
    lib.write(QStringLiteral("Notas/b.txt"), "\"bb\"\r\n");
    MainDriver win(lib);
    clickItem(win.files(), QStringLiteral("b"));
    win.typeViewer(QStringLiteral("ainda digitando"));

    // Another program adds, removes and renames; a sync tool leaves a conflict copy.
    const QString conflict = QStringLiteral("b.sync-conflict-20261207-101010-ABCDEFG");
    lib.write(QStringLiteral("Notas/") + conflict + QStringLiteral(".txt"), "\"bb?\"\r\n");
    QVERIFY(QFile::remove(lib.path(QStringLiteral("Notas/a.txt"))));
    lib.mkdir(QStringLiteral("Nova"));
    QVERIFY(QDir(lib.scripts()).rename(QStringLiteral("Receitas"), QStringLiteral("Receitas 2")));
    QTRY_COMPARE(entries(win.dirs()), (QStringList{"Notas", "Nova", "Receitas 2"}));
    QTRY_COMPARE(entries(win.files()), (QStringList{"b", conflict}));
    QCOMPARE(win.dir(), QStringLiteral("Notas"));
    QCOMPARE(win.file(), QStringLiteral("b"));
    QCOMPARE(win.shown(), QStringLiteral("ainda digitando"));
    QCOMPARE(win.teste(), QStringLiteral("b"));

    // With the category chosen, its count and size follow too.
    QTest::keyClick(win.files(), Qt::Key_Backtab, Qt::ShiftModifier);
    clickItem(win.dirs(), QStringLiteral("Nova"));
    clickItem(win.dirs(), QStringLiteral("Notas"));
    QCOMPARE(win.teste(), QStringLiteral("Notas: 2 scripts"));
    win.typeViewer(QStringLiteral("outro texto"));
    lib.write(QStringLiteral("Notas/c.txt"), QByteArray(1024 - 12, 'c'));
    QTRY_COMPARE(win.teste(), QStringLiteral("Notas: 3 scripts"));
    QCOMPARE(win.tamanho(), QStringLiteral("1 Kb"));
    QCOMPARE(entries(win.files()), (QStringList{"b", conflict, "c"}));

    // The chosen category goes: nothing is chosen, the text stays.
    QVERIFY(QDir(lib.path(QStringLiteral("Notas"))).removeRecursively());
    QTRY_COMPARE(entries(win.dirs()), (QStringList{"Nova", "Receitas 2"}));
    QCOMPARE(win.files()->count(), 0);
    QCOMPARE(win.teste(), QString());
    QCOMPARE(win.shown(), QStringLiteral("outro texto"));
}

void TestDesktop::cutNamesShowWholeAsToolTips()
{
    const QString category = QStringLiteral("Modelos de Contratos");      // 20 characters, the most
    const QString script = QStringLiteral("Carta de apresentacao completa");  // 30
    const QString wide = QString(30, u'W');
    TempLibrary lib;
    lib.mkdir(category);
    lib.mkdir(QStringLiteral("Alfa"));
    lib.write(category + QStringLiteral("/") + script + QStringLiteral(".txt"), "\"prezados\"\r\n");
    lib.write(category + QStringLiteral("/") + wide + QStringLiteral(".txt"), "\"largo\"\r\n");
    lib.write(category + QStringLiteral("/curto.txt"), "\"prezados\"\r\n");
    MainDriver win(lib);

    QCOMPARE(tipOf(win.dirs(), category), category);
    QCOMPARE(tipOf(win.dirs(), QStringLiteral("Alfa")), QString());
    clickItem(win.dirs(), category);
    QCOMPARE(tipOf(win.files(), script), script);
    QCOMPARE(tipOf(win.files(), QStringLiteral("curto")), QString());

    // The name above the lists, when it does not fit.
    clickItem(win.files(), wide);
    QCOMPARE(win.get<QLabel>("lblTeste")->toolTip(), wide);
    clickItem(win.files(), QStringLiteral("curto"));
    QCOMPARE(win.get<QLabel>("lblTeste")->toolTip(), QString());

    // And the search results.
    win.click("btnOpenSearch");
    win.search(QStringLiteral("prezados"));
    const QString line = script + QStringLiteral(" --> ") + category;
    QCOMPARE(win.results(), (QStringList{line, QStringLiteral("curto --> ") + category}));
    QCOMPARE(tipOf(win.found(), line), line);
}

void TestDesktop::deletesGoToTheTrashOrWithoutOneForGood()
{
    const QByteArray trash = QFile::encodeName(trashPath({}));
    {
        TempLibrary lib{{"Notas/a.txt", "\"primeiro\"\r\n"}, {"Caf\xc3\xa9/", {}}};
        raw::mkdir(lib.rawPath("Nota\xe7\xe3o"));  // a name in Windows-1252 bytes
        raw::write(lib.rawPath("Nota\xe7\xe3o/x.txt"), "\"x\"\r\n");
        MainDriver win(lib);
        ModalWatcher watcher;
        // Two scripts of one name deleted in turn both stay in the trash.
        for (const QByteArray& bytes : {QByteArray("\"primeiro\"\r\n"), QByteArray("\"segundo\"\r\n")}) {
            lib.write(QStringLiteral("Notas/a.txt"), bytes);
            clickItem(win.dirs(), QStringLiteral("Notas"));
            QTRY_COMPARE(entries(win.files()), QStringList{"a"});  // the list follows the disk
            clickItem(win.files(), QStringLiteral("a"));
            QCOMPARE(win.press(watcher, "btnDelFile", {"Sim", "OK"})[1].text, QStringLiteral("Script deletado!"));
            QVERIFY(showActive(&win.w));
        }
        QCOMPARE(raw::read(trash + "files/a.txt"), QByteArray("\"primeiro\"\r\n"));
        QCOMPARE(raw::read(trash + "files/a.txt.2"), QByteArray("\"segundo\"\r\n"));
        // A whole category in foreign bytes, with where it came from.
        clickItem(win.dirs(), QStringLiteral("Notação"));
        QCOMPARE(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria deletada!"));
        QCOMPARE(lib.entries(), (QStringList{QStringLiteral("Café"), "Notas"}));
        QCOMPARE(raw::read(trash + "files/Nota\xe7\xe3o/x.txt"), QByteArray("\"x\"\r\n"));
        QVERIFY(raw::read(trash + "info/Nota\xe7\xe3o.trashinfo")
                    .startsWith("[Trash Info]\nPath=" + lib.rawPath("Nota\xe7\xe3o").toPercentEncoding("/")
                                + "\nDeletionDate=" + QDate::currentDate().toString(Qt::ISODate).toLatin1()));
        raw::remove(trash);
    }
    // On a disk of its own whose trash cannot be made, deleting is for good;
    // a linked category loses the link only.
    SmallDisk disk;
    if (!disk.mounted)
        QSKIP("mounting a small tmpfs is not allowed here (it needs root)");
    const QByteArray root = QFile::encodeName(disk.path());
    raw::write(root + "/.Trash-" + QByteArray::number(::getuid()), "not a folder");
    for (const char* folder : {"/fora", "/scripts", "/scripts/Notas"})
        raw::mkdir(root + folder);
    raw::write(root + "/fora/f.txt", "\"f\"\r\n");
    raw::write(root + "/scripts/Notas/a.txt", "\"a\"\r\n");
    raw::symlink("../fora", root + "/scripts/Elo");
    MainDriver win(disk.path() + QStringLiteral("/scripts"));
    ModalWatcher watcher;
    clickItem(win.dirs(), QStringLiteral("Elo"));
    QCOMPARE(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria deletada!"));
    QVERIFY(showActive(&win.w));
    clickItem(win.files(), QStringLiteral("a"));
    QCOMPARE(win.press(watcher, "btnDelFile", {"Sim", "OK"})[1].text, QStringLiteral("Script deletado!"));
    QCOMPARE(raw::tree(root).keys(), (QList<QByteArray>{".Trash-" + QByteArray::number(::getuid()), "fora",
                                                        "fora/f.txt", "scripts", "scripts/Notas"}));
}

void TestDesktop::commandLineAnswersWithoutDisplay_data()
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

void TestDesktop::commandLineAnswersWithoutDisplay()
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

void TestDesktop::libraryFolderInItsOrder_data()
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

void TestDesktop::libraryFolderInItsOrder()
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

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
