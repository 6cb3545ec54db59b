// What an unlucky or hostile disk does to the user's text: failing writes, a
// full disk, links in and out of the library, names in foreign bytes.
#include "library/Fs.h"
#include "support/MainDriver.h"

#include <QDir>

#include <dirent.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace corvane;
using namespace corvane::test;

namespace {

const QString kEditTitle = QStringLiteral("Aviso edição");

QList<QByteArray> rawEntries(const QByteArray& dir)
{
    QList<QByteArray> out;
    if (DIR* d = ::opendir(dir.constData())) {
        while (const dirent* e = ::readdir(d)) {
            if (qstrcmp(e->d_name, ".") && qstrcmp(e->d_name, ".."))
                out << QByteArray(e->d_name);
        }
        ::closedir(d);
    }
    std::sort(out.begin(), out.end());
    return out;
}

QByteArray onDisk(const TempLibrary& lib, const char* relative)
{
    return QFile::encodeName(lib.scripts()) + '/' + relative;
}

void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// The lists show what is on disk: the categories, and the selected one's entries.
void expectListsMatchDisk(MainDriver& win, const TempLibrary& lib)
{
    QStringList dirs = QDir(lib.scripts()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    dirs.sort(Qt::CaseInsensitive);
    QCOMPARE(entries(win.dirs()), dirs);
    if (win.dir().isEmpty() || !win.files()->isVisible())
        return;
    QStringList files = QDir(lib.path(win.dir())).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (QString& f : files)
        f.remove(QStringLiteral(".txt"));
    files.sort(Qt::CaseInsensitive);
    QCOMPARE(entries(win.files()), files);
}

// A library of one category with two scripts, and the operation to try on it.
struct Operation {
    const char* name;
    std::function<QList<SeenBox>(MainDriver&, ModalWatcher&)> run;
    QString failure;  // the last box's text when a step failed
    QString success;
};

QList<Operation> operations()
{
    const auto selectA = [](MainDriver& win) { clickItem(win.files(), QStringLiteral("a")); };
    return {
        {"save",
         [=](MainDriver& win, ModalWatcher& w) {
             selectA(win);
             win.typeViewer(QStringLiteral("novo texto"));
             return win.press(w, "btnEditText", {"Sim", "OK"});
         },
         QStringLiteral("Arquivo não editado\r\nNão foi possível gravar o script \"a\" na categoria \"Notas\". "
                        "O texto continua no visualizador."),
         QStringLiteral("Arquivo editado")},
        {"save from the search panel",
         [](MainDriver& win, ModalWatcher& w) {
             win.click("btnOpenSearch");
             win.search(QStringLiteral("antigo"));
             clickItem(win.found(), QStringLiteral("a --> Notas"));
             win.typeViewer(QStringLiteral("novo texto"));
             return win.press(w, "btnEditText2", {"Sim", "OK"});
         },
         QStringLiteral("Arquivo não editado\r\nNão foi possível gravar o script \"a\" na categoria \"Notas\". "
                        "O texto continua no visualizador."),
         QStringLiteral("Arquivo editado")},
        {"add script",
         [=](MainDriver& win, ModalWatcher& w) {
             selectA(win);
             win.typeViewer(QStringLiteral("novo texto"));
             win.typeName(win.fileBox(), QStringLiteral("novo"));
             w.clear();
             win.click("btnAddFile");
             return w.seen;
         },
         QStringLiteral("Script não adicionado!\r\nNão foi possível gravar o arquivo do script \"novo\"."), {}},
        {"add category",
         [](MainDriver& win, ModalWatcher& w) {
             win.typeName(win.catBox(), QStringLiteral("Nova"));
             w.clear();
             win.click("btnAddCat");
             return w.seen;
         },
         QStringLiteral("Categoria não adicionada!\r\nNão foi possível criar a pasta \"Nova\" na pasta dos scripts."),
         {}},
        {"rename category",
         [](MainDriver& win, ModalWatcher& w) {
             clickItem(win.dirs(), QStringLiteral("Notas"));
             win.typeName(win.catBox(), QStringLiteral("Outra"));
             return win.press(w, "btnEditCat", {"Sim", "OK"});
         },
         QStringLiteral("Categoria não renomeada!\r\nNão foi possível renomear a pasta \"Notas\"; ela pode estar em uso."),
         QStringLiteral("Categoria renomeada!")},
        {"rename script",
         [=](MainDriver& win, ModalWatcher& w) {
             selectA(win);
             win.typeName(win.fileBox(), QStringLiteral("c"));
             return win.press(w, "btnEditFile", {"Sim", "OK"});
         },
         QStringLiteral("Script não renomeado!\r\nNão foi possível renomear o arquivo do script \"a\"; ele pode estar "
                        "em uso."),
         QStringLiteral("Script renomeado!")},
    };
}

void makeLibrary(const TempLibrary& lib)
{
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"antigo\"\r\n");
    lib.write(QStringLiteral("Notas/b.txt"), "\"outro\"\r\n");
}

// The library as bytes: every path under scripts with its content.
QMap<QByteArray, QByteArray> snapshot(const TempLibrary& lib)
{
    return raw::tree(lib.rawPath());
}

// A small tmpfs of the test's own, unmounted and removed at the end.
struct SmallDisk {
    QTemporaryDir dir;
    bool mounted = false;
    SmallDisk()
    {
        mounted = ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=256k") == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    // Fills what room is left, so the next write runs out of space.
    void fill() const
    {
        const int fd = ::open(QFile::encodeName(dir.path() + QStringLiteral("/.enchimento")).constData(),
                              O_WRONLY | O_CREAT, 0600);
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        ::close(fd);
    }
};

}  // namespace

class TestDataSafety : public QObject {
    Q_OBJECT
private slots:
    void everyFailingStepLeavesOldOrNewBytes_data();
    void everyFailingStepLeavesOldOrNewBytes();
    void escapeOnAQuestionNeverActs();
    void fullDiskKeepsTheScriptAndTheText();
    void linksNeverLeadAChangeOutside();
    void foreignNamesAreListedOpenedAndChangedExactly();
    void deletesGoToTheTrashOrWithoutOneForGood();
};

void TestDataSafety::everyFailingStepLeavesOldOrNewBytes_data()
{
    QTest::addColumn<int>("op");
    for (int i = 0; i < operations().size(); ++i)
        QTest::newRow(operations()[i].name) << i;
}

void TestDataSafety::everyFailingStepLeavesOldOrNewBytes()
{
    QFETCH(int, op);
    const Operation operation = operations()[op];
    // One clean run tells how many writing steps the operation takes.
    QMap<QByteArray, QByteArray> done;
    int steps = 0;
    {
        TempLibrary lib;
        makeLibrary(lib);
        MainDriver win(lib);
        ModalWatcher watcher;
        fs::testing::failStep(0);
        const QList<SeenBox> seen = operation.run(win, watcher);
        steps = fs::testing::failStep(0);
        if (!operation.success.isEmpty())
            QCOMPARE(seen.last().text, operation.success);
        done = snapshot(lib);
    }
    QVERIFY(steps >= 1);
    QVERIFY(!done.isEmpty());
    for (int k = 1; k <= steps; ++k) {
        TempLibrary lib;
        makeLibrary(lib);
        const QMap<QByteArray, QByteArray> before = snapshot(lib);
        MainDriver win(lib);
        ModalWatcher watcher;
        fs::testing::failStep(k);
        const QList<SeenBox> seen = operation.run(win, watcher);
        fs::testing::failStep(0);
        QVERIFY2(!seen.isEmpty(), qPrintable(QStringLiteral("no message at step %1").arg(k)));
        QCOMPARE(seen.last().text, operation.failure);
        // Nothing half-done: the library is as before, no temporary left over.
        QCOMPARE(snapshot(lib), before);
        QVERIFY(snapshot(lib) != done);
        expectListsMatchDisk(win, lib);
        if (operation.name == QByteArrayView("save") || operation.name == QByteArrayView("add script"))
            QCOMPARE(win.shown(), QStringLiteral("novo texto"));
    }
}

void TestDataSafety::escapeOnAQuestionNeverActs()
{
    struct Question {
        const char* button;
        std::function<void(MainDriver&)> prepare;
        QString notDone;
    };
    const auto chooseA = [](MainDriver& win) { clickItem(win.files(), QStringLiteral("a")); };
    const QList<Question> questions{
        {"btnEditText", [=](MainDriver& win) { chooseA(win); win.typeViewer(QStringLiteral("novo")); },
         QStringLiteral("Arquivo não editado")},
        {"btnEditFile", [=](MainDriver& win) { chooseA(win); win.typeName(win.fileBox(), QStringLiteral("c")); },
         QStringLiteral("Script não renomeado!")},
        {"btnDelFile", chooseA, QStringLiteral("Script não deletado!")},
        {"btnEditCat", [](MainDriver& win) {
             clickItem(win.dirs(), QStringLiteral("Notas"));
             win.typeName(win.catBox(), QStringLiteral("Outra"));
         }, QStringLiteral("Categoria não renomeada!")},
        {"btnDelCat", [](MainDriver& win) { clickItem(win.dirs(), QStringLiteral("Notas")); },
         QStringLiteral("Categoria não deletada!")},
    };
    for (const Question& q : questions) {
        TempLibrary lib;
        makeLibrary(lib);
        const QMap<QByteArray, QByteArray> before = snapshot(lib);
        MainDriver win(lib);
        ModalWatcher watcher;
        q.prepare(win);
        const QList<SeenBox> seen = win.press(watcher, q.button, {"Esc", "OK"});
        QCOMPARE(seen[1].text, q.notDone);
        QCOMPARE(snapshot(lib), before);
    }
}

void TestDataSafety::fullDiskKeepsTheScriptAndTheText()
{
    if (::geteuid() != 0)
        QSKIP("mounting a small disk needs root");
    SmallDisk disk;
    if (!disk.mounted)
        QSKIP("this system does not allow mounting a tmpfs here");
    const QString scripts = disk.dir.path() + QStringLiteral("/scripts");
    QDir().mkpath(scripts + QStringLiteral("/Notas"));
    const QByteArray old = "\"antigo\"\r\n";
    raw::write(QFile::encodeName(scripts + QStringLiteral("/Notas/a.txt")), old);
    {
        MainDriver win(scripts);
        ModalWatcher watcher;
        disk.fill();

        clickItem(win.files(), QStringLiteral("a"));
        win.typeViewer(QStringLiteral("um texto curto"));
        const auto seen = win.press(watcher, "btnEditText", {"Sim", "OK"});
        expectBox(seen[1],
                  QStringLiteral("Arquivo não editado\r\nNão foi possível gravar o script \"a\" na categoria \"Notas\". "
                                 "O texto continua no visualizador. O disco está cheio."),
                  kEditTitle);
        QCOMPARE(raw::read(QFile::encodeName(scripts + QStringLiteral("/Notas/a.txt"))), old);
        QCOMPARE(win.shown(), QStringLiteral("um texto curto"));

        win.typeName(win.fileBox(), QStringLiteral("novo"));
        expectBox(win.press(watcher, "btnAddFile")[0],
                  QStringLiteral("Script não adicionado!\r\nNão foi possível gravar o arquivo do script \"novo\". "
                                 "O disco está cheio."),
                  QStringLiteral("Adicionar Script"));
        QCOMPARE(rawEntries(QFile::encodeName(scripts + QStringLiteral("/Notas"))), QList<QByteArray>{"a.txt"});
        QCOMPARE(entries(win.files()), QStringList{"a"});
        QCOMPARE(win.shown(), QStringLiteral("um texto curto"));
        QCOMPARE(win.fileBox()->text(), QStringLiteral("novo"));
    }
}

void TestDataSafety::linksNeverLeadAChangeOutside()
{
    TempLibrary lib;
    // Beside the library, with a name that starts like it.
    const QByteArray out = QFile::encodeName(lib.scripts()) + "-fora";
    QVERIFY(::mkdir(out.constData(), 0755) == 0);
    raw::write(out + "/fora.txt", "\"de fora\"\r\n");
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"a\"\r\n");
    QVERIFY(::symlink(out.constData(), onDisk(lib, "Fora").constData()) == 0);
    QVERIFY(::symlink("Notas", onDisk(lib, "Espelho").constData()) == 0);
    QVERIFY(::symlink((out + "/fora.txt").constData(), onDisk(lib, "Notas/elo.txt").constData()) == 0);
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString outsideRefusal = QStringLiteral(" leva, por um link simbólico, para fora da pasta dos scripts; "
                                                  "por segurança, nada foi alterado.");

    // A script that leads outside is shown but never written through.
    clickItem(win.dirs(), QStringLiteral("Notas"));
    clickItem(win.files(), QStringLiteral("elo"));
    QCOMPARE(win.shown(), QStringLiteral("de fora"));
    win.typeViewer(QStringLiteral("trocado"));
    expectBox(win.press(watcher, "btnEditText", {"Sim", "OK"})[1],
              QStringLiteral("Arquivo não editado\r\nO script \"elo\"") + outsideRefusal, kEditTitle);
    // Deleting it removes the link only.
    expectBox(win.press(watcher, "btnDelFile", {"Sim", "OK"})[1], QStringLiteral("Script deletado!"),
              QStringLiteral("Deletar Script"));
    QCOMPARE(lib.entries(QStringLiteral("Notas")), QStringList{"a.txt"});

    // Nothing is added inside a category that leads outside.
    clickItem(win.dirs(), QStringLiteral("Fora"));
    win.typeViewer(QStringLiteral("novo"));
    win.typeName(win.fileBox(), QStringLiteral("novo"));
    expectBox(win.press(watcher, "btnAddFile")[0],
              QStringLiteral("Script não adicionado!\r\nA categoria \"Fora\"") + outsideRefusal,
              QStringLiteral("Adicionar Script"));

    // Deleting a linked category removes the link, never what it leads to.
    QVERIFY(showActive(&win.w));
    for (const char* category : {"Fora", "Espelho"}) {
        clickItem(win.dirs(), QLatin1String(category));
        expectBox(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1], QStringLiteral("Categoria deletada!"),
                  QStringLiteral("Deletar Categoria"));
    }
    QCOMPARE(lib.entries(), QStringList{"Notas"});
    QCOMPARE(lib.entries(QStringLiteral("Notas")), QStringList{"a.txt"});
    QCOMPARE(raw::read(out + "/fora.txt"), QByteArray("\"de fora\"\r\n"));
    QCOMPARE(entries(win.dirs()), QStringList{"Notas"});
}

void TestDataSafety::foreignNamesAreListedOpenedAndChangedExactly()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alfa"));
    QVERIFY(::mkdir(onDisk(lib, "Caf\xe9").constData(), 0755) == 0);
    raw::write(onDisk(lib, "Caf\xe9/x.txt"), "\"x\"\r\n");
    raw::write(onDisk(lib, "Alfa/ma\xe7\xe3.txt"), "\"janela\"\r\n");
    raw::write(onDisk(lib, "Alfa/ma\xc3\xa7\xc3\xa3.txt"), "\"fruta\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    QCOMPARE(entries(win.dirs()), (QStringList{"Alfa", QStringLiteral("Café")}));
    clickItem(win.dirs(), QStringLiteral("Alfa"));
    QCOMPARE(win.teste(), QStringLiteral("Alfa: 2 scripts"));
    QCOMPARE(entries(win.files()), (QStringList{QStringLiteral("maçã"), QStringLiteral("maçã")}));
    // The look-alikes stay apart: each entry opens and saves its own file.
    QStringList texts;
    for (int row : {0, 1}) {
        clickRow(win.files(), row);
        texts << win.shown();
    }
    QCOMPARE(texts.size(), 2);
    QVERIFY(texts.contains(QStringLiteral("janela")) && texts.contains(QStringLiteral("fruta")));
    const int windowRow = texts.indexOf(QStringLiteral("janela"));
    clickRow(win.files(), windowRow);
    win.typeViewer(QStringLiteral("vidro"));
    expectBox(win.press(watcher, "btnEditText", {"Sim", "OK"})[1], QStringLiteral("Arquivo editado"), kEditTitle);
    QCOMPARE(raw::read(onDisk(lib, "Alfa/ma\xe7\xe3.txt")), QByteArray("\"vidro\"\r\n"));
    QCOMPARE(raw::read(onDisk(lib, "Alfa/ma\xc3\xa7\xc3\xa3.txt")), QByteArray("\"fruta\"\r\n"));

    // Renamed as exactly that file.
    clickRow(win.files(), windowRow);
    win.typeName(win.fileBox(), QStringLiteral("janela"));
    QCOMPARE(win.press(watcher, "btnEditFile", {"Sim", "OK"})[1].text, QStringLiteral("Script renomeado!"));
    QCOMPARE(rawEntries(onDisk(lib, "Alfa")), (QList<QByteArray>{"janela.txt", "ma\xc3\xa7\xc3\xa3.txt"}));
    QCOMPARE(raw::read(onDisk(lib, "Alfa/janela.txt")), QByteArray("\"vidro\"\r\n"));

    // A category in foreign bytes is deleted whole, and says so.
    QVERIFY(showActive(&win.w));
    clickItem(win.dirs(), QStringLiteral("Café"));
    QCOMPARE(win.teste(), QStringLiteral("Café: 1 scripts"));
    QCOMPARE(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria deletada!"));
    QCOMPARE(rawEntries(QFile::encodeName(lib.scripts())), QList<QByteArray>{"Alfa"});
    // In the trash, byte for byte, with where it came from.
    const QByteArray trash = QFile::encodeName(trashPath({}));
    QCOMPARE(raw::read(trash + "files/Caf\xe9/x.txt"), QByteArray("\"x\"\r\n"));
    QVERIFY(raw::read(trash + "info/Caf\xe9.trashinfo")
                .startsWith("[Trash Info]\nPath=" + (lib.rawPath() + "/Caf\xe9").toPercentEncoding("/")
                            + "\nDeletionDate=" + QDate::currentDate().toString(Qt::ISODate).toLatin1()));
}

void TestDataSafety::deletesGoToTheTrashOrWithoutOneForGood()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"primeiro\"\r\n");
    {
        MainDriver win(lib);
        ModalWatcher watcher;
        // Two scripts of one name deleted in turn both stay in the trash.
        const QByteArray trash = QFile::encodeName(trashPath({}));
        for (const QByteArray& bytes : {QByteArray("\"primeiro\"\r\n"), QByteArray("\"segundo\"\r\n")}) {
            lib.write(QStringLiteral("Notas/a.txt"), bytes);
            QTRY_COMPARE(entries(win.files()), QStringList{"a"});  // the list follows the disk
            clickItem(win.files(), QStringLiteral("a"));
            QCOMPARE(win.press(watcher, "btnDelFile", {"Sim", "OK"})[1].text, QStringLiteral("Script deletado!"));
        }
        QCOMPARE(lib.entries(QStringLiteral("Notas")), QStringList());
        QCOMPARE(raw::read(trash + "files/a.txt"), QByteArray("\"primeiro\"\r\n"));
        QCOMPARE(raw::read(trash + "files/a.txt.2"), QByteArray("\"segundo\"\r\n"));
        raw::remove(trash + "files");
        raw::remove(trash + "info");
    }
    // On a disk of its own whose trash cannot be made, deleting is for good.
    if (::geteuid() != 0)
        QSKIP("mounting a small disk needs root");
    SmallDisk disk;
    if (!disk.mounted)
        QSKIP("this system does not allow mounting a tmpfs here");
    const QByteArray root = QFile::encodeName(disk.dir.path());
    raw::write(root + "/.Trash-0", "not a folder");
    raw::mkdir(root + "/scripts");
    raw::mkdir(root + "/scripts/Notas");
    raw::write(root + "/scripts/Notas/a.txt", "\"a\"\r\n");
    raw::mkdir(root + "/fora");
    raw::write(root + "/fora/f.txt", "\"f\"\r\n");
    QVERIFY(::symlink("../fora", (root + "/scripts/Elo").constData()) == 0);
    MainDriver win(disk.dir.path() + QStringLiteral("/scripts"));
    ModalWatcher watcher;
    // A linked category loses the link only.
    clickItem(win.dirs(), QStringLiteral("Elo"));
    QCOMPARE(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria deletada!"));
    QCOMPARE(raw::read(root + "/fora/f.txt"), QByteArray("\"f\"\r\n"));
    QVERIFY(showActive(&win.w));
    clickItem(win.dirs(), QStringLiteral("Notas"));
    clickItem(win.files(), QStringLiteral("a"));
    QCOMPARE(win.press(watcher, "btnDelFile", {"Sim", "OK"})[1].text, QStringLiteral("Script deletado!"));
    QVERIFY(showActive(&win.w));
    clickItem(win.dirs(), QStringLiteral("Notas"));
    QCOMPARE(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria deletada!"));
    QCOMPARE(rawEntries(root), (QList<QByteArray>{".Trash-0", "fora", "scripts"}));
    QCOMPARE(rawEntries(root + "/scripts"), QList<QByteArray>{});
}

QTEST_MAIN(TestDataSafety)
#include "tst_data_safety.moc"
