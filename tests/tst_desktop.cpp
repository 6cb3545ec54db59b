// At home on a desktop: lists that follow what other programs change, names too
// long for their list shown whole, deletes that can be undone, and a library
// wherever the user keeps it.
#include "support/MainDriver.h"

#include "library/LibraryLock.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QHelpEvent>
#include <QToolTip>

#include <cstdio>
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

// What a sync tool does with another computer's edit: its bytes written to a
// temporary, given that computer's older time, then renamed over the script.
// False when it could not be done.
bool syncReplace(const TempLibrary& lib, const QString& relative, const QByteArray& bytes)
{
    const QString temp = lib.path(QStringLiteral("Notas/.syncthing.tmp"));
    raw::write(QFile::encodeName(temp), bytes);
    QFile file(temp);
    const bool dated = file.open(QIODevice::ReadWrite)
        && file.setFileTime(QDateTime(QDate(2020, 1, 1), QTime(12, 0)), QFileDevice::FileModificationTime);
    file.close();
    return dated && ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(lib.path(relative)).constData()) == 0;
}

}  // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void listsFollowTheDiskLeavingTheViewerAlone_data();
    void listsFollowTheDiskLeavingTheViewerAlone();
    void theChosenCategoryFollowsTheDisk();
    void anotherComputersEditIsNeverLost_data();
    void anotherComputersEditIsNeverLost();
    void cutNamesShowWholeAsToolTips();
    void deletesGoToTheTrashOrWithoutOneForGood();
    void commandLineAnswersWithoutDisplay_data();
    void commandLineAnswersWithoutDisplay();
    void libraryFolderInItsOrder_data();
    void libraryFolderInItsOrder();
};

void TestDesktop::listsFollowTheDiskLeavingTheViewerAlone_data()
{
    QTest::addColumn<QString>("change");  // what another program does, as "what:from:to"
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QStringList>("files");
    const QStringList all{"Notas", "Receitas"}, both{"a", "b"};
    QTest::newRow("script added") << "write:Notas/c.txt" << all << QStringList{"a", "b", "c"};
    QTest::newRow("script removed") << "remove:Notas/a.txt" << all << QStringList{"b"};
    QTest::newRow("script renamed") << "rename:Notas/a.txt:Notas/z.txt" << all << QStringList{"b", "z"};
    QTest::newRow("category added") << "mkdir:Nova" << QStringList{"Notas", "Nova", "Receitas"} << both;
    QTest::newRow("category removed") << "remove:Receitas" << QStringList{"Notas"} << both;
    QTest::newRow("category renamed") << "rename:Receitas:Receitas 2" << QStringList{"Notas", "Receitas 2"} << both;
    QTest::newRow("hidden entry") << "mkdir:.oculta" << all << both;
}

void TestDesktop::listsFollowTheDiskLeavingTheViewerAlone()
{
    QFETCH(QString, change);
    QFETCH(QStringList, dirs);
    QFETCH(QStringList, files);
    TempLibrary lib{{"Notas/a.txt", "\"aaaa\"\r\n"}, {"Notas/b.txt", "\"bb\"\r\n"}, {"Receitas/", {}}};
    MainDriver win(lib);
    clickItem(win.files(), QStringLiteral("b"));
    win.typeViewer(QStringLiteral("ainda digitando"));
    const QStringList how = change.split(u':');
    if (how[0] == u"write")
        lib.write(how[1], "\"bb?\"\r\n");
    else if (how[0] == u"mkdir")
        lib.mkdir(how[1]);
    else if (how[0] == u"remove")
        lib.remove(how[1]);
    else
        QVERIFY(QDir(lib.scripts()).rename(how[1], how[2]));
    QTRY_COMPARE(entries(win.dirs()), dirs);
    QTRY_COMPARE(entries(win.files()), files);
    // The choice, the name above the lists and the text in the viewer stay.
    QCOMPARE((QStringList{win.dir(), win.file(), win.teste(), win.shown()}),
             (QStringList{"Notas", "b", "b", "ainda digitando"}));
}

void TestDesktop::theChosenCategoryFollowsTheDisk()
{
    TempLibrary lib{{"Notas/b.txt", "\"bb\"\r\n"}, {"Notas/b.sync.txt", "\"bb?\"\r\n"}, {"Nova/", {}}};
    MainDriver win(lib);
    // With the category chosen, its count and size follow too.
    QCOMPARE(win.teste(), QStringLiteral("Notas: 2 scripts"));
    win.typeViewer(QStringLiteral("outro texto"));
    lib.write(QStringLiteral("Notas/c.txt"), QByteArray(1024 - 12, 'c'));
    QTRY_COMPARE(win.teste() + u' ' + win.tamanho(), QStringLiteral("Notas: 3 scripts 1 Kb"));
    QCOMPARE(entries(win.files()), (QStringList{"b", "b.sync", "c"}));

    // The chosen category goes: nothing is chosen, the text stays.
    QVERIFY(QDir(lib.path(QStringLiteral("Notas"))).removeRecursively());
    QTRY_COMPARE(entries(win.dirs()), (QStringList{"Nova"}));
    QCOMPARE((QStringList{QString::number(win.files()->count()), win.teste(), win.shown()}),
             (QStringList{"0", "", "outro texto"}));

    // The chosen category replaced by another of its name, then the whole
    // library removed and made again: both are followed as before.
    if (lib.stick() && lib.stick()->kind == u"fat")
        QSKIP("fusefat loses what a folder held when another program renames it");
    clickItem(win.dirs(), QStringLiteral("Nova"));
    lib.write(QStringLiteral("Nova.sync/x.txt"), "\"x\"\r\n");
    QVERIFY(QDir(lib.scripts()).rename(QStringLiteral("Nova"), QStringLiteral(".Nova.old"))
            && QDir(lib.scripts()).rename(QStringLiteral("Nova.sync"), QStringLiteral("Nova")));
    QTRY_COMPARE(entries(win.files()), QStringList{"x"});
    lib.write(QStringLiteral("Nova/y.txt"), "\"y\"\r\n");
    QTRY_COMPARE(entries(win.files()), (QStringList{"x", "y"}));
    QVERIFY(QDir(lib.scripts()).removeRecursively());
    QTRY_COMPARE(win.dirs()->count(), 0);
    lib.write(QStringLiteral("De volta/z.txt"), "\"z\"\r\n");
    QTRY_COMPARE(entries(win.dirs()), QStringList{"De volta"});
    lib.mkdir(QStringLiteral("Mais uma"));
    QTRY_COMPARE(entries(win.dirs()), (QStringList{"De volta", "Mais uma"}));
}

void TestDesktop::anotherComputersEditIsNeverLost_data()
{
    QTest::addColumn<bool>("fromSearch");
    QTest::newRow("browsing") << false;
    QTest::newRow("search panel") << true;
}

void TestDesktop::anotherComputersEditIsNeverLost()
{
    QFETCH(bool, fromSearch);
    const char* save = fromSearch ? "btnEditText2" : "btnEditText";
    TempLibrary lib{{"Alpha/", {}}, {"Notas/a.txt", latin1("\"versão daqui\"\r\n")}, {"Notas/b.txt", "\"b\"\r\n"}};
    MainDriver win(lib);
    ModalWatcher watcher;
    if (fromSearch) {
        win.search(QStringLiteral("versão"));
        win.choose(0);
    } else {
        clickItem(win.dirs(), QStringLiteral("Notas"));
        clickItem(win.files(), QStringLiteral("a"));
    }
    // Untouched, the viewer takes up what another program writes in place, and
    // the size follows.
    lib.write(QStringLiteral("Notas/a.txt"), latin1("\"versão de lá, maior\"\r\n"));
    QTRY_COMPARE(win.shown(), QStringLiteral("versão de lá, maior"));
    if (!fromSearch)
        QCOMPARE(win.caption(), QStringLiteral("a/23 bytes"));

    // Edited, it is left alone, and a save asks before it replaces the other
    // computer's text: Não is the default, and writes nothing.
    win.typeViewer(QStringLiteral("minha versão"));
    const QByteArray theirs = latin1("\"versão deles, maior\"\r\n");  // the same size, an older time
    QVERIFY(syncReplace(lib, QStringLiteral("Notas/a.txt"), theirs));
    QTest::qWait(500);  // past the moment an untouched viewer would have taken it up
    QList<SeenBox> seen = win.press(watcher, save, {"Sim", "Não", "OK"});
    QCOMPARE(seen[1].text, QStringLiteral("O script \"a\" foi alterado por outro programa depois de aberto.\r\n"
                                          "Deseja substituí-lo pelo texto do visualizador?"));
    QCOMPARE((QStringList{seen[1].title, seen[1].buttons.join(u'/'), seen[1].defaultButton, seen[2].text}),
             (QStringList{"Aviso edição", "Sim/Não", "Não", "Arquivo não editado"}));
    QCOMPARE(seen[1].icon, QMessageBox::Warning);
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), theirs);
    QCOMPARE(win.shown(), QStringLiteral("minha versão"));

    // Sim writes; what was just written is no change of another's to ask about.
    QCOMPARE(win.press(watcher, save, {"Sim", "Sim", "OK"}).value(2).text, QStringLiteral("Arquivo editado"));
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), latin1("\"minha versão\"\r\n"));
    win.typeViewer(QStringLiteral("de novo"));
    QCOMPARE(win.press(watcher, save, {"Sim", "OK"}).value(1).text, QStringLiteral("Arquivo editado"));
    // Saved, the viewer follows its file again.
    QVERIFY(syncReplace(lib, QStringLiteral("Notas/a.txt"), "\"de lado\"\r\n"));
    QTRY_COMPARE(win.shown(), QStringLiteral("de lado"));
}

void TestDesktop::cutNamesShowWholeAsToolTips()
{
    const QString category = QStringLiteral("Modelos de Contratos");      // 20 characters, the most
    const QString script = QStringLiteral("Carta de apresentacao completa");  // 30
    const QString wide = QString(30, u'W');
    TempLibrary lib{{category + '/' + script + ".txt", "\"prezados\"\r\n"}, {category + '/' + wide + ".txt", "\"largo\"\r\n"},
                    {category + "/curto.txt", "\"prezados\"\r\n"}, {"Alfa/", {}}};
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
    QTest::newRow("unknown option") << QStringList{"--biblioteca", "x"} << 2 << QString()
                                    << QStringLiteral("corvane: opção desconhecida: --biblioteca\n"
                                                      "Use \"corvane --help\" para ver as opções.\n");
    QTest::newRow("Qt's options let through") << QStringList{"-style", "Fusion", "--reverse", "-qwindowgeometry",
                                                             "640x480", "-style=Fusion", "--version"}
                                              << 0 << QStringLiteral("Corvane 1.0\n") << QString();
    QTest::newRow("Qt's option without its value") << QStringList{"--library", "x", "-platform"} << 2 << QString()
                                                   << QStringLiteral("corvane: falta o valor depois de -platform\n"
                                                                     "Use \"corvane --help\" para ver as opções.\n");
}

void TestDesktop::commandLineAnswersWithoutDisplay()
{
    QFETCH(QStringList, args);
    // The X11 platform with no display aborts as soon as a QApplication is made.
    QProcess program;
    startProgram(program, QStringLiteral(CORVANE_EXE), args, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM=xcb"});
    QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit);
    QTEST(QString::fromUtf8(program.readAllStandardError()), "err");
    QTEST(QString::fromUtf8(program.readAllStandardOutput()), "out");
    QTEST(program.exitCode(), "exitCode");
}

void TestDesktop::libraryFolderInItsOrder_data()
{
    QTest::addColumn<QStringList>("given");  // --library, CORVANE_LIBRARY, an unwritable program folder
    QTest::addColumn<QString>("taken");
    QTest::newRow("--library before CORVANE_LIBRARY") << QStringList{"option", "variable"} << "option";
    QTest::newRow("CORVANE_LIBRARY before the program's folder") << QStringList{"variable"} << "variable";
    QTest::newRow("beside the program") << QStringList{} << "beside";
    QTest::newRow("program's folder unwritable: user's data folder") << QStringList{"immutable"} << "data";
    QTest::newRow("the .deb's program: never beside itself") << QStringList{"packaged"} << "data";
}

void TestDesktop::libraryFolderInItsOrder()
{
    QFETCH(QStringList, given);
    QFETCH(QString, taken);
    // A stray plain file in every candidate. The program moves it to the trash
    // only from a folder of its own; a folder the user names keeps every file.
    QTemporaryDir scratch;
    const QString s = scratch.path(), programDir = s + QStringLiteral("/programa");
    QMap<QString, QString> folders{{"option", s + "/opcao"}, {"variable", s + "/variavel"},
                                   {"beside", programDir + "/scripts"}, {"data", s + "/casa/.local/share/Corvane/scripts"}};
    if (given.contains(QStringLiteral("immutable")))
        folders.remove(QStringLiteral("beside"));  // missing, and it cannot be made there
    for (const QString& folder : folders) {
        QVERIFY(QDir().mkpath(folder + QStringLiteral("/Categoria")));
        raw::write(QFile::encodeName(folder + QStringLiteral("/tese-final.odt")), "PK\x03\x04" + folder.toUtf8());
    }
    const bool packaged = given.contains(QStringLiteral("packaged"));
    const QString exe = QString::fromUtf8(packaged ? CORVANE_PACKAGED_EXE : CORVANE_EXE);
    QVERIFY(QDir().mkpath(programDir) && QFile::copy(exe, programDir + "/corvane"));
    const auto chattr = [&](const char* flag) {
        return QProcess::execute(QStringLiteral("chattr"), {QLatin1String(flag), programDir}) == 0;
    };
    const bool immutable = given.contains(QStringLiteral("immutable")) && chattr("+i");
    const auto thaw = qScopeGuard([&] { immutable && chattr("-i"); });
    if (given.contains(QStringLiteral("immutable")) && !immutable)
        QSKIP("chattr +i failed: needs root and a file system that keeps the flag");  // root writes anywhere else
    // The platform comes as Qt's own option; the one in the environment needs a display.
    QStringList env{"QT_QPA_PLATFORM=xcb", "DISPLAY", "HOME=" + s + "/casa", "XDG_DATA_HOME", "CORVANE_LIBRARY"};
    if (given.contains(QStringLiteral("variable")))
        env << "CORVANE_LIBRARY=" + folders["variable"];
    QStringList args{"-platform", "offscreen"};
    if (given.contains(QStringLiteral("option")))
        args << "--library" << folders["option"];
    QProcess program;
    startProgram(program, programDir + "/corvane", args, env);
    QVERIFY(program.waitForStarted());
    // The folder is tidied while the program holds it, before the window lists it.
    const QString trashed = s + QStringLiteral("/casa/.local/share/Trash/files/tese-final.odt");
    QTRY_VERIFY_WITH_TIMEOUT(LibraryLock(folders[taken]).tryLock() == LibraryLock::HeldElsewhere
                                 || program.state() != QProcess::Running, 10000);
    for (int i = 0; i < 100 && !QFileInfo::exists(trashed); ++i)
        QTest::qWait(10);  // a second for a wrongful clean-up of a named folder to show
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished(5000);
    const bool owned = taken == QStringLiteral("beside") || taken == QStringLiteral("data");
    for (auto it = folders.cbegin(); it != folders.cend(); ++it) {
        const QString stray = it.value() + QStringLiteral("/tese-final.odt");
        QCOMPARE((QStringList{it.key(), QFileInfo::exists(stray) ? "kept" : "gone"}),
                 (QStringList{it.key(), it.key() == taken && owned ? "gone" : "kept"}));
    }
    // Trashed whole, where the user can restore it.
    QCOMPARE(QFileInfo::exists(trashed), owned);
    if (owned)
        QCOMPARE(raw::read(QFile::encodeName(trashed)), "PK\x03\x04" + folders[taken].toUtf8());
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
