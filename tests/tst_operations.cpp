// The library's operations without a window: each rule once, what lands on the
// disk byte for byte, and every writing step failing in turn.
#include "library/CategoryOps.h"
#include "library/ScriptMove.h"
#include "library/ScriptOps.h"
#include "searchcore/TextSearch.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QTest>

#include <unistd.h>

using namespace corvane;
using namespace corvane::test;
using Code = Outcome::Code;
using Tree = QMap<QByteArray, QByteArray>;
Q_DECLARE_METATYPE(corvane::Outcome::Code)

namespace {

const QByteArray kOld = "\"um texto antigo, mais longo\"\r\n";  // longer than the new one
const QByteArray kB = "\"bê\"\r\n";
const QByteArray kNew = "\"novo texto\"\r\n";
const QByteArray kOutside = "\"de fora\"\r\n";

// Notas holds two scripts, a paper that is no script and a folder named like a
// script; Fora is a link to a folder beside the library.
struct Fixture {
    TempLibrary lib{{"Notas/a.txt", kOld}, {"Notas/b.txt", kB}, {"Notas/leia.doc", "papel"},
                    {"Notas/pasta.txt/", {}}, {"Alpha/", {}}};
    Library library{lib.scripts()};
    QByteArray outside() const { return QFile::encodeName(lib.appDir()) + "/fora"; }
    Fixture()
    {
        raw::mkdir(outside());
        raw::write(outside() + "/c.txt", kOutside);
        if (!lib.stick())
            raw::symlink("../fora", lib.rawPath("Fora"));
    }
    // Beside the library, but for a stick's own trash.
    Tree all() const
    {
        Tree tree = raw::tree(QFile::encodeName(lib.appDir()));
        tree.removeIf([](auto entry) { return entry.key().startsWith(".Trash"); });
        return tree;
    }
};

// What the trash holds, but for its two folders themselves.
Tree trash()
{
    Tree tree = raw::tree(QFile::encodeName(trashPath({})));
    tree.remove("files");
    tree.remove("info");
    return tree;
}

// Each run starts from the same trash, so its steps are the same in each.
void emptyTrash()
{
    raw::remove(QFile::encodeName(trashPath(QStringLiteral("files"))));
    raw::remove(QFile::encodeName(trashPath(QStringLiteral("info"))));
}

// One operation by name, as a row gives it.
Outcome run(const Library& library, const QString& op, const QByteArray& category, const QByteArray& entry,
            const QString& name)
{
    const QString text = name == QStringLiteral("emoji") ? QStringLiteral("ok 😀") : QStringLiteral("novo texto");
    if (op == "addScript")
        return scripts::add(library, category, name, text);
    if (op == "renameScript")
        return scripts::rename(library, category, entry, name);
    if (op == "removeScript")
        return scripts::remove(library, category, entry);
    if (op == "saveScript")
        return scripts::save(library, {name, fs::shownName(category), category, entry}, text);
    if (op == "moveScript")
        return moveScript(library, {entry, category, name.toUtf8()});
    if (op == "addCategory")
        return categories::add(library, name);
    if (op == "renameCategory")
        return categories::rename(library, category, name);
    if (op == "removeCategory") {
        const Outcome blocker = categories::checkRemove(library, category);
        return blocker.done() ? categories::remove(library, category) : blocker;
    }
    qFatal("no operation %s", qPrintable(op));
}

// The tree with changes applied: "<gone>" removes an entry and all beneath it.
Tree applied(Tree tree, const Tree& changes)
{
    for (auto c = changes.begin(); c != changes.end(); ++c) {
        if (c.value() != "<gone>") {
            tree.insert(c.key(), c.value());
            continue;
        }
        for (auto it = tree.begin(); it != tree.end();)
            it = it.key() == c.key() || it.key().startsWith(c.key() + '/') ? tree.erase(it) : std::next(it);
    }
    return tree;
}

}  // namespace

class TestOperations : public QObject {
    Q_OBJECT
private slots:
    void rules_data();
    void rules();
    void savingSeesAnotherProgramsEdit();
    void theTrashKeepsEveryDeletedScript();
    void everyFailingStepKeepsTheOldState_data();
    void everyFailingStepKeepsTheOldState();
    void aSaveKilledHalfWay();
};

void TestOperations::rules_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<QByteArray>("category");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Code>("code");
    QTest::addColumn<QString>("named");  // the outcome's name, or its category
    QTest::addColumn<Tree>("changes");   // beneath the application folder
    QTest::addColumn<Tree>("trashed");   // in the trash's files/

    const auto row = [](const char* what, const char* op, const QByteArray& category, const QByteArray& entry,
                        const char* name, Code code, const char* named, const Tree& changes = {},
                        const Tree& trashed = {}) {
        QTest::newRow(what) << QString(op) << category << entry << QString::fromUtf8(name) << code
                            << QString::fromUtf8(named) << changes << trashed;
    };
    row("add a script", "addScript", "Notas", {}, "novo", Code::Done, "", {{"scripts/Notas/novo.txt", kNew}});
    row("add: a name taken in another case", "addScript", "Notas", {}, "A", Code::NameTaken, "a.txt");
    row("add: a name taken by a folder", "addScript", "Notas", {}, "pasta", Code::NameTaken, "pasta.txt");
    row("add: the folder is gone", "addScript", "Sumiu", {}, "novo", Code::FolderMissing, "Sumiu");
    row("add: through a link outside", "addScript", "Fora", {}, "novo", Code::OutsideLibrary, "Fora");
    row("add: a character no script holds", "addScript", "Notas", {}, "emoji", Code::Unencodable, "");
    row("rename a script", "renameScript", "Notas", "a.txt", "c", Code::Done, "",
        {{"scripts/Notas/a.txt", "<gone>"}, {"scripts/Notas/c.txt", kOld}});
    row("rename: case only", "renameScript", "Notas", "a.txt", "A", Code::Done, "",
        {{"scripts/Notas/a.txt", "<gone>"}, {"scripts/Notas/A.txt", kOld}});
    row("rename: onto another script", "renameScript", "Notas", "a.txt", "B", Code::NameTaken, "b.txt");
    row("rename: the script is gone", "renameScript", "Notas", "z.txt", "c", Code::NotFound, "z");
    row("rename: no script file", "renameScript", "Notas", "leia.doc", "c", Code::NotFound, "leia.doc");
    row("rename: a folder named like a script", "renameScript", "Notas", "pasta.txt", "c", Code::NotFound, "pasta");
    row("rename: through a link outside", "renameScript", "Fora", "c.txt", "d", Code::OutsideLibrary, "Fora");
    row("delete a script into the trash", "removeScript", "Notas", "a.txt", "", Code::Done, "",
        {{"scripts/Notas/a.txt", "<gone>"}}, {{"a.txt", kOld}});
    row("delete: a folder named like a script", "removeScript", "Notas", "pasta.txt", "", Code::NotFound, "pasta");
    row("delete: no script file", "removeScript", "Notas", "leia.doc", "", Code::NotFound, "leia.doc");
    row("delete: through a link outside", "removeScript", "Fora", "c.txt", "", Code::OutsideLibrary, "Fora");
    row("save a script", "saveScript", "Notas", "a.txt", "a", Code::Done, "", {{"scripts/Notas/a.txt", kNew}});
    row("save: a script removed meanwhile is written again", "saveScript", "Notas", "z.txt", "z", Code::Done, "",
        {{"scripts/Notas/z.txt", kNew}});
    row("save: through a link outside", "saveScript", "Fora", "c.txt", "c", Code::OutsideLibrary, "c");
    row("move a script", "moveScript", "Notas", "a.txt", "Alpha", Code::Done, "",
        {{"scripts/Notas/a.txt", "<gone>"}, {"scripts/Alpha/a.txt", kOld}});
    row("move: no script file", "moveScript", "Notas", "leia.doc", "Alpha", Code::NotScript, "leia.doc");
    row("move: the script is gone", "moveScript", "Notas", "z.txt", "Alpha", Code::NotFound, "z");
    row("move: the category is gone", "moveScript", "Notas", "a.txt", "Sumiu", Code::FolderMissing, "Sumiu");
    row("move: onto a script of its name", "moveScript", "Notas", "a.txt", "Notas", Code::NameTaken, "a.txt");
    row("move: into a link outside", "moveScript", "Notas", "a.txt", "Fora", Code::OutsideLibrary, "Fora");
    row("move: out of a link outside", "moveScript", "Fora", "c.txt", "Notas", Code::OutsideLibrary, "Fora");
    row("add a category", "addCategory", {}, {}, "Nova", Code::Done, "", {{"scripts/Nova", "<dir>"}});
    row("add: a category taken in another case", "addCategory", {}, {}, "notas", Code::NameTaken, "Notas");
    row("rename a category", "renameCategory", "Alpha", {}, "Beta", Code::Done, "",
        {{"scripts/Alpha", "<gone>"}, {"scripts/Beta", "<dir>"}});
    row("rename a category: case only", "renameCategory", "Alpha", {}, "ALPHA", Code::Done, "",
        {{"scripts/Alpha", "<gone>"}, {"scripts/ALPHA", "<dir>"}});
    row("rename: onto another category", "renameCategory", "Alpha", {}, "NOTAS", Code::NameTaken, "Notas");
    row("rename: the category is gone", "renameCategory", "Sumiu", {}, "Beta", Code::NotFound, "Sumiu");
    row("delete a category into the trash", "removeCategory", "Alpha", {}, "", Code::Done, "",
        {{"scripts/Alpha", "<gone>"}}, {{"Alpha", "<dir>"}});
    row("delete: a category holding a folder", "removeCategory", "Notas", {}, "", Code::NotOnlyScripts, "Notas");
    row("delete: the category is gone", "removeCategory", "Sumiu", {}, "", Code::NotFound, "Sumiu");
    row("delete: a category that is a link loses the link", "removeCategory", "Fora", {}, "", Code::Done, "",
        {{"scripts/Fora", "<gone>"}}, {{"Fora", ""}});
}

void TestOperations::rules()
{
    QFETCH(QString, op);
    QFETCH(QByteArray, category);
    QFETCH(QByteArray, entry);
    QFETCH(QString, name);
    QFETCH(Code, code);
    QFETCH(QString, named);
    QFETCH(Tree, changes);
    QFETCH(Tree, trashed);
    Fixture f;
    if (f.lib.stick() && (category == "Fora" || name == "Fora" || entry.contains("pasta")))
        QSKIP("a stick holds no links");
    const Tree before = f.all(), trashBefore = trash();
    const Outcome outcome = run(f.library, op, category, entry, name);
    QCOMPARE(outcome.code, code);
    QCOMPARE(outcome.name.isEmpty() ? outcome.category : outcome.name, named);
    QCOMPARE(f.all(), applied(before, changes));
    if (f.lib.stick())
        return;  // a stick has a trash of its own
    Tree inTrash;
    for (auto [path, bytes] : trash().asKeyValueRange()) {
        if (!trashBefore.contains(path) && path.startsWith("files/"))
            inTrash.insert(path.mid(6), bytes.startsWith("-> ") ? QByteArray() : bytes);
    }
    QCOMPARE(inTrash, trashed);
    emptyTrash();
}

// The check before a save tells another program's edit from the bytes that were
// loaded, whatever the times and sizes say.
void TestOperations::savingSeesAnotherProgramsEdit()
{
    Fixture f;
    const ScriptRef a{QStringLiteral("a"), QStringLiteral("Notas"), "Notas", "a.txt"};
    const script::ReadResult loaded = script::read(f.library.pathOf(a));
    QCOMPARE(scripts::checkSave(f.library, a, loaded.snapshot).code, Code::Done);
    QCOMPARE(scripts::checkSave(f.library, a, std::nullopt).code, Code::Done);
    f.lib.write(QStringLiteral("Notas/a.txt"), "\"ANTIGO\"\r\n");  // same size
    QCOMPARE(scripts::checkSave(f.library, a, loaded.snapshot).code, Code::ChangedOnDisk);
    script::Snapshot written;
    QVERIFY(scripts::save(f.library, a, u"novo texto", &written).done());
    QCOMPARE(f.lib.read(QStringLiteral("Notas/a.txt")), kNew);
    QCOMPARE(scripts::checkSave(f.library, a, written).code, Code::Done);
    f.lib.remove(QStringLiteral("Notas/a.txt"));
    QCOMPARE(scripts::checkSave(f.library, a, written).code, Code::Done);
}

// A script deleted, written again and deleted again: both are in the trash, each
// with the record of where it came from.
void TestOperations::theTrashKeepsEveryDeletedScript()
{
    Fixture f;
    emptyTrash();
    // A file another program left in the trash without its record keeps its name.
    raw::mkdir(QFile::encodeName(trashPath(QStringLiteral("files"))));
    raw::write(QFile::encodeName(trashPath(QStringLiteral("files/a.txt"))), "alheio");
    QVERIFY(scripts::remove(f.library, "Notas", "a.txt").done());
    f.lib.write(QStringLiteral("Notas/a.txt"), kNew);
    QVERIFY(scripts::remove(f.library, "Notas", "a.txt").done());
    const Tree inTrash = trash();
    QCOMPARE(inTrash.value("files/a.txt") + inTrash.value("files/a.txt.2") + inTrash.value("files/a.txt.3"),
             "alheio" + kOld + kNew);
    const QByteArray from = "Path=" + QFile::encodeName(f.lib.path(QStringLiteral("Notas/a.txt"))) + '\n';
    QVERIFY(!inTrash.contains("info/a.txt.trashinfo"));
    QVERIFY(inTrash.value("info/a.txt.2.trashinfo").contains(from));
    QVERIFY(inTrash.value("info/a.txt.3.trashinfo").contains(from));
}

void TestOperations::everyFailingStepKeepsTheOldState_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<QByteArray>("category");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("noTrash");  // the library on a disk where no trash can be made
    const auto row = [](const char* what, const char* op, const QByteArray& category, const QByteArray& entry,
                        const char* name, bool noTrash = false) {
        QTest::newRow(what) << op << category << entry << name << noTrash;
    };
    row("save", "saveScript", "Notas", "a.txt", "a");
    row("add a script", "addScript", "Notas", {}, "novo");
    row("rename a script", "renameScript", "Notas", "a.txt", "c");
    row("delete a script", "removeScript", "Notas", "a.txt", "");
    row("delete a script without a trash", "removeScript", "Notas", "a.txt", "", true);
    row("move a script", "moveScript", "Notas", "a.txt", "Alpha");
    row("add a category", "addCategory", {}, {}, "Nova");
    row("rename a category", "renameCategory", "Notas", {}, "Outra");
    row("delete a category", "removeCategory", "Cheia", {}, "");
    row("delete a category without a trash", "removeCategory", "Cheia", {}, "", true);
}

// Each writing step fails in turn: the operation says so, and every file holds
// its old bytes (or, said done, the change is whole); only a category deleted for good may have lost some of its
// scripts, never its folder. Nothing reaches the trash that is not whole there.
void TestOperations::everyFailingStepKeepsTheOldState()
{
    QFETCH(QString, op);
    QFETCH(QByteArray, category);
    QFETCH(QByteArray, entry);
    QFETCH(QString, name);
    QFETCH(bool, noTrash);
    int count = 0;
    Tree done;  // what the clean run left
    for (int k = 0; k <= count; ++k) {
        Fixture f;
        emptyTrash();
        std::unique_ptr<SmallDisk> disk;
        QString scripts = f.lib.scripts();
        if (noTrash) {
            disk = std::make_unique<SmallDisk>(QStringLiteral("1m"));
            if (!disk->mounted)
                QSKIP("mounting a small tmpfs is not allowed here (it needs root)");
            // A file where the disk's trash folder would go: no trash can be made.
            raw::write(QFile::encodeName(disk->path()) + "/.Trash-" + QByteArray::number(::getuid()), "");
            scripts = disk->path() + QStringLiteral("/scripts");
            QVERIFY(QDir().mkpath(scripts + QStringLiteral("/Notas")) && QDir().mkpath(scripts + "/Alpha"));
            raw::write(QFile::encodeName(scripts) + "/Notas/a.txt", kOld);
        }
        raw::mkdir(QFile::encodeName(scripts) + "/Cheia");
        for (const char* script : {"/Cheia/1.txt", "/Cheia/2.txt", "/Cheia/3.txt"})
            raw::write(QFile::encodeName(scripts) + script, kB);
        const Library library(scripts);
        const Tree before = raw::tree(QFile::encodeName(scripts)), trashBefore = trash();
        fs::testing::failStep(k);
        const Outcome outcome = run(library, op, category, entry, name);
        const int steps = fs::testing::failStep(0);
        const Tree after = raw::tree(QFile::encodeName(scripts));
        if (k == 0) {
            count = steps;  // the clean run tells how many writing steps there are
            done = after;
            QVERIFY2(outcome.done() && count >= 1 && after != before, qPrintable(op));
            QCOMPARE(trash() != trashBefore, op.startsWith(QStringLiteral("remove")) && !noTrash);
            continue;
        }
        // A last flush may fail once the change is made: then it is whole.
        if (outcome.done()) {
            QCOMPARE(after, done);
            QCOMPARE(trash() != trashBefore, op.startsWith(QStringLiteral("remove")) && !noTrash);
            continue;
        }
        QCOMPARE(trash(), trashBefore);
        if (op == QStringLiteral("removeCategory") && noTrash) {
            // One script that would not go stops none of the others; the folder stays.
            QVERIFY(after.contains("Cheia"));
            qsizetype left = 0;
            for (auto [path, bytes] : after.asKeyValueRange()) {
                QCOMPARE(bytes, before.value(path));
                left += path.startsWith("Cheia/");
            }
            QCOMPARE(left, k < count ? 1 : 0);
            continue;
        }
        QCOMPARE(after, before);
    }
}

// A program killed at each writing step of a save, then started again: the
// script holds its old bytes or its new ones, and nothing else is listed or found.
void TestOperations::aSaveKilledHalfWay()
{
    const ScriptRef a{QStringLiteral("a"), QStringLiteral("Notas"), "Notas", "a.txt"};
    int count = 0;
    {
        Fixture f;
        fs::testing::failStep(0);
        QVERIFY(scripts::save(f.library, a, u"novo texto").done());
        count = fs::testing::failStep(0);
    }
    for (int k = 1; k <= count; ++k) {
        Fixture f;
        QProcess saving;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TST_SAVE_AND_HANG"), f.lib.scripts() + u'|' + QString::number(k));
        env.insert(QStringLiteral("CORVANE_TEST_DATA_HOME"), qEnvironmentVariable("XDG_DATA_HOME"));
        saving.setProcessEnvironment(env);
        saving.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(saving.waitForReadyRead(10000));
        QCOMPARE(saving.readAllStandardOutput(), QByteArray("hanging\n"));
        saving.kill();
        QVERIFY(saving.waitForFinished(10000));

        const Library library(f.lib.scripts());
        QStringList listed;
        for (const Item& item : library.readCategory("Notas").items)
            listed << item.shown;
        QCOMPARE(listed, (QStringList{"a", "b", "leia.doc", "pasta.txt"}));
        const QByteArray bytes = f.lib.read(QStringLiteral("Notas/a.txt"));
        QVERIFY2(bytes == kOld || bytes == kNew, qPrintable(QStringLiteral("step %1: ").arg(k) + bytes));
        const auto hits = search::Searcher(library).run(library.categories(), search::Needle(u"novo"));
        QCOMPARE(hits.size(), bytes == kNew ? 1 : 0);
    }
}

// Run again by aSaveKilledHalfWay: saves a script and hangs at the given step.
int saveAndHang(const QString& how)
{
    const Library library(how.section(u'|', 0, 0));
    fs::testing::hangAtStep(how.section(u'|', 1).toInt(), [] {
        std::fputs("hanging\n", stdout);
        std::fflush(stdout);
    });
    scripts::save(library, {QStringLiteral("a"), QStringLiteral("Notas"), "Notas", "a.txt"}, u"novo texto");
    return 3;  // never reached when the step was one of the save's
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsSet("TST_SAVE_AND_HANG"))
        return saveAndHang(qEnvironmentVariable("TST_SAVE_AND_HANG"));
    QCoreApplication app(argc, argv);
    TestOperations test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_operations.moc"
