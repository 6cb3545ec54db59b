// Changing the library through the main window: adding, renaming, deleting,
// saving and copying; each question, refusal and failure, and what an unlucky or
// hostile disk does to the user's text.
#include "library/Fs.h"
#include "support/MainDriver.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace corvane;
using namespace corvane::test;

namespace {

using Tree = QMap<QByteArray, QByteArray>;
using Prepare = std::function<void(MainDriver&, const TempLibrary&, ModalWatcher&)>;

const QString kEditTitle = QStringLiteral("Aviso edição");
const QString kOutside = QStringLiteral(" leva, por um link simbólico, para fora da pasta dos scripts; "
                                        "por segurança, nada foi alterado.");

// Alpha (selected at start) with one script; Notas with two and a stray document.
void makeLibrary(const TempLibrary& lib)
{
    lib.write(QStringLiteral("Alpha/x.txt"), "\"x\"\r\n");
    lib.write(QStringLiteral("Notas/a.txt"), "\"antigo\"\r\n");
    lib.write(QStringLiteral("Notas/b.txt"), "\"outro\"\r\n");
    lib.write(QStringLiteral("Notas/leia.doc"), "doc");
}

void onNotas(MainDriver& win)
{
    clickItem(win.dirs(), QStringLiteral("Notas"));
}

void onA(MainDriver& win)
{
    onNotas(win);
    clickItem(win.files(), QStringLiteral("a"));
}

// Moves every entry under from to under to; an empty to removes them.
void renameIn(Tree& tree, const QByteArray& from, const QByteArray& to = {})
{
    Tree out;
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        if (it.key() != from && !it.key().startsWith(from + '/'))
            out[it.key()] = it.value();
        else if (!to.isEmpty())
            out[to + it.key().mid(from.size())] = it.value();
    }
    tree = out;
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

// The five questions, each on script a or category Notas.
struct Question {
    const char* name;
    std::function<void(MainDriver&)> prepare;
    const char* button;
    QString text, title;
    QMessageBox::Icon icon;
    QString done, notDone, answerTitle;
    std::function<void(Tree&)> change;  // what Sim does on disk
};

const QByteArray kSaved = "\"novo \xA4texto\xA4\r\n\xE7\xE9 \x80\x8A\x9E\x91\x92\x9F\xA0" "fim\"\r\n";

QList<Question> allQuestions()
{
    return {
        {"save", [](MainDriver& win) { onA(win); win.typeViewer(QStringLiteral("novo \"texto\"\nçé €Šž‘’Ÿ\u00A0fim")); },
         "btnEditText", QStringLiteral("Deseja realmente alterar esse arquivo?"), kEditTitle, QMessageBox::Question,
         QStringLiteral("Arquivo editado"), QStringLiteral("Arquivo não editado"), kEditTitle,
         [](Tree& t) { t["Notas/a.txt"] = kSaved; }},
        {"rename script", [](MainDriver& win) { onA(win); win.typeName(win.fileBox(), QStringLiteral(" c ")); },
         "btnEditFile", QStringLiteral("Você tem certeza que quer renomear\r\n\"a\" para \"c\"?"),
         QStringLiteral("Renomear script"), QMessageBox::NoIcon, QStringLiteral("Script renomeado!"),
         QStringLiteral("Script não renomeado!"), QStringLiteral("renomear script"),
         [](Tree& t) { t["Notas/c.txt"] = t.take("Notas/a.txt"); }},
        {"delete script", onA, "btnDelFile", QStringLiteral("Você tem certeza que quer deletar \"a\"?"),
         QStringLiteral("Deletar script"), QMessageBox::NoIcon, QStringLiteral("Script deletado!"),
         QStringLiteral("Script não deletado!"), QStringLiteral("Deletar Script"),
         [](Tree& t) { t.remove("Notas/a.txt"); }},
        {"rename category", [](MainDriver& win) { onNotas(win); win.typeName(win.catBox(), QStringLiteral(" Receitas ")); },
         "btnEditCat", QStringLiteral("Você tem certeza que quer renomear\r\n\"Notas\" para \"Receitas\"?"),
         QStringLiteral("Renomear categoria"), QMessageBox::NoIcon, QStringLiteral("Categoria renomeada!"),
         QStringLiteral("Categoria não renomeada!"), QStringLiteral("Renomear Categoria"),
         [](Tree& t) { renameIn(t, "Notas", "Receitas"); }},
        {"delete category", onNotas, "btnDelCat",
         QStringLiteral("Você tem certeza que quer deletar \r\n\"Notas\"?\r\nTodos os scripts contidos nela\r\n"
                        "serão também deletados!"),
         QStringLiteral("Deletar categoria"), QMessageBox::NoIcon, QStringLiteral("Categoria deletada!"),
         QStringLiteral("Categoria não deletada!"), QStringLiteral("Deletar Categoria"),
         [](Tree& t) { renameIn(t, "Notas"); }},
    };
}

// What the window shows: lists, selections, viewer, name boxes.
QString state(MainDriver& win)
{
    return QStringLiteral("%1 | %2 | %3/%4 | %5 | %6/%7")
        .arg(entries(win.dirs()).join(u' '), entries(win.files()).join(u' '), win.dir(), win.file(), win.shown(),
             win.catBox()->text(), win.fileBox()->text());
}

// A press that is refused or fails: the message, then the library and the viewer
// as the press found them (but for change), the lists in line with the disk.
struct Refusal {
    const char* name;
    Prepare prepare;
    const char* button;
    QStringList answers;
    QString text, title, boxes;
    std::function<void(Tree&)> change = {};
};

Prepare typedCategory(const QString& name)
{
    return [name](MainDriver& win, const TempLibrary&, ModalWatcher&) { win.typeName(win.catBox(), name); };
}

Prepare renamedCategory(const QString& name, std::function<void(const TempLibrary&)> meanwhile = {})
{
    return [=](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
        onNotas(win);
        win.typeName(win.catBox(), name);
        if (meanwhile)
            meanwhile(lib);
    };
}

Prepare newScript(const QString& text, const QString& name, std::function<void(const TempLibrary&)> meanwhile = {})
{
    return [=](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
        onNotas(win);
        win.typeViewer(text);
        win.typeName(win.fileBox(), name);
        if (meanwhile)
            meanwhile(lib);
    };
}

Prepare onScriptA(std::function<void(MainDriver&, const TempLibrary&, ModalWatcher&)> then)
{
    return [=](MainDriver& win, const TempLibrary& lib, ModalWatcher& watcher) {
        onA(win);
        then(win, lib, watcher);
    };
}

QList<Refusal> allRefusals()
{
    const QStringList ok{"OK"}, yes{"Sim", "OK"};
    const QString addCat = QStringLiteral("Adicionar Categoria"), addScript = QStringLiteral("Adicionar Script");
    const QString renCat = QStringLiteral("Renomear Categoria"), delCat = QStringLiteral("Deletar Categoria");
    const QString delScript = QStringLiteral("Deletar Script");
    const auto gone = [](const char* path) { return [path](const TempLibrary& lib) { lib.remove(QLatin1String(path)); }; };
    return {
        {"add category: blank", typedCategory(QStringLiteral("   ")), "btnAddCat", ok,
         QStringLiteral("Você precisa colocar um nome!"), addCat, QStringLiteral("   /")},
        {"add category: taken", typedCategory(QStringLiteral("NOTAS")), "btnAddCat", ok,
         QStringLiteral("O nome \"NOTAS\" já existe!"), kAppTitle, QStringLiteral("/")},
        {"add category: a file's name", [](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
             lib.write(QStringLiteral("Leia"), "solto");
             win.typeName(win.catBox(), QStringLiteral("leia"));
         }, "btnAddCat", ok, QStringLiteral("O nome \"leia\" já existe!"), kAppTitle, QStringLiteral("/")},
        {"add category: dots", typedCategory(QStringLiteral("..")), "btnAddCat", ok,
         QStringLiteral("O nome \"..\" não pode ser usado: é formado só por pontos."), addCat, QStringLiteral("../")},
        {"add category: pasted path", [](MainDriver& win, const TempLibrary&, ModalWatcher&) {
             QGuiApplication::clipboard()->setText(QStringLiteral("../x"));
             win.catBox()->setFocus();
             QTest::keyClick(win.catBox(), Qt::Key_Insert, Qt::ShiftModifier);
         }, "btnAddCat", ok,
         QStringLiteral("O nome \"..x\" não pode ser usado: começa com ponto, o que o deixaria oculto."), addCat,
         QStringLiteral("..x/")},
        {"add category: library gone", [](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
             raw::remove(lib.rawPath());
             win.typeName(win.catBox(), QStringLiteral("Nova"));
         }, "btnAddCat", ok,
         QStringLiteral("Categoria não adicionada!\r\nNão foi possível criar a pasta \"Nova\" na pasta dos scripts."),
         addCat, QStringLiteral("Nova/")},
        {"add script: blank", newScript(QStringLiteral("meu texto"), QStringLiteral("   ")), "btnAddFile", ok,
         QStringLiteral("Você precisa colocar um nome válido!"), kAppTitle, QStringLiteral("/   ")},
        {"add script: taken", newScript(QStringLiteral("meu texto"), QStringLiteral("A")), "btnAddFile", ok,
         QStringLiteral("O nome \"A\" já existe!"), kAppTitle, QStringLiteral("/")},
        {"add script: name from another program", [](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
             lib.write(QStringLiteral("Notas/a:b.txt"), "\"de outro programa\"\r\n");
             onNotas(win);
             doubleClickItem(win.files(), QStringLiteral("a:b"));
         }, "btnAddFile", ok,
         QStringLiteral("O nome \"a:b\" não pode ser usado: contém o caractere :, que o sistema não aceita em nomes."),
         addScript, QStringLiteral("/a:b")},
        {"add script: character", newScript(QStringLiteral("neve ☃ aqui"), QStringLiteral("Inverno")), "btnAddFile", ok,
         QStringLiteral("Script não adicionado!\r\nO texto contém o caractere \"☃\" (U+2603), que não pode ser "
                        "gravado em um script."), addScript, QStringLiteral("/Inverno")},
        {"add script: category gone", newScript(QStringLiteral("texto"), QStringLiteral("novo"), gone("Notas")),
         "btnAddFile", ok, QStringLiteral("Script não adicionado!\r\nA pasta da categoria \"Notas\" não foi encontrada."),
         addScript, QStringLiteral("/novo")},
        {"rename category: blank", renamedCategory(QString()), "btnEditCat", ok,
         QStringLiteral("Voce precisa colocar um novo nome!"), renCat, QStringLiteral("/")},
        {"rename category: taken", renamedCategory(QStringLiteral("alpha")), "btnEditCat", ok,
         QStringLiteral("O nome \"alpha\" já existe!"), kAppTitle, QStringLiteral("/")},
        {"rename category: dots", renamedCategory(QStringLiteral("...")), "btnEditCat", ok,
         QStringLiteral("O nome \"...\" não pode ser usado: é formado só por pontos."), renCat, QStringLiteral("/")},
        {"rename category: gone", renamedCategory(QStringLiteral("Novo"), gone("Notas")), "btnEditCat", yes,
         QStringLiteral("Categoria não renomeada!\r\nA pasta \"Notas\" não foi encontrada."), renCat,
         QStringLiteral("/")},
        {"rename category: taken meanwhile", [](MainDriver& win, const TempLibrary& lib, ModalWatcher& watcher) {
             renamedCategory(QStringLiteral("Beta"))(win, lib, watcher);
             watcher.whileNextIsOpen([&lib] { lib.write(QStringLiteral("beta/b.txt"), "b"); });
         }, "btnEditCat", yes, QStringLiteral("Categoria não renomeada!\r\nJá existe uma pasta chamada \"Beta\"."),
         renCat, QStringLiteral("/"), [](Tree& t) { t["beta"] = "<dir>"; t["beta/b.txt"] = "b"; }},
        {"rename script: blank", onScriptA([](MainDriver&, const TempLibrary&, ModalWatcher&) {}), "btnEditFile", ok,
         QStringLiteral("Voce precisa colocar um novo nome!"), QStringLiteral("Renomear script"), QStringLiteral("/")},
        {"rename script: taken", onScriptA([](MainDriver& win, const TempLibrary&, ModalWatcher&) {
             win.typeName(win.fileBox(), QStringLiteral("B"));
         }), "btnEditFile", ok, QStringLiteral("O nome \"B\" já existe!"), kAppTitle, QStringLiteral("/")},
        {"rename script: gone", onScriptA([](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
             win.typeName(win.fileBox(), QStringLiteral("d"));
             lib.remove(QStringLiteral("Notas/a.txt"));
         }), "btnEditFile", yes,
         QStringLiteral("Script não renomeado!\r\nO script \"a\" não foi encontrado na categoria \"Notas\"."),
         QStringLiteral("renomear script"), QStringLiteral("/d")},
        {"rename script: taken meanwhile", onScriptA([](MainDriver& win, const TempLibrary& lib, ModalWatcher& watcher) {
             win.typeName(win.fileBox(), QStringLiteral("Novo"));
             watcher.whileNextIsOpen([&lib] { lib.write(QStringLiteral("Notas/novo.txt"), "alheio"); });
         }), "btnEditFile", yes, QStringLiteral("Script não renomeado!\r\nJá existe um script chamado \"Novo\"."),
         QStringLiteral("renomear script"), QStringLiteral("/Novo"), [](Tree& t) { t["Notas/novo.txt"] = "alheio"; }},
        {"delete category: sub-folder", [](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
             lib.mkdir(QStringLiteral("Notas/sub"));
             onNotas(win);
         }, "btnDelCat", ok,
         QStringLiteral("Categoria não deletada!\r\nA pasta \"Notas\" contém subpastas ou arquivos ocultos, que não "
                        "são scripts. Nada foi apagado."), delCat, QStringLiteral("/")},
        {"delete category: hidden file", [](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
             lib.write(QStringLiteral("Notas/.config"), "oculto");
             onNotas(win);
         }, "btnDelCat", ok,
         QStringLiteral("Categoria não deletada!\r\nA pasta \"Notas\" contém subpastas ou arquivos ocultos, que não "
                        "são scripts. Nada foi apagado."), delCat, QStringLiteral("/")},
        {"delete category: sub-folder meanwhile", [](MainDriver& win, const TempLibrary& lib, ModalWatcher& watcher) {
             onNotas(win);
             watcher.whileNextIsOpen([&lib] { lib.mkdir(QStringLiteral("Notas/nova")); });
         }, "btnDelCat", yes,
         QStringLiteral("Categoria não deletada!\r\nNão foi possível apagar a pasta \"Notas\" por completo."), delCat,
         QStringLiteral("/"), [](Tree& t) {
             // The scripts go as confirmed; the folder stays with what appeared.
             t.remove("Notas/a.txt");
             t.remove("Notas/b.txt");
             t.remove("Notas/leia.doc");
             t["Notas/nova"] = "<dir>";
         }},
        {"delete category: gone", [](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
             onNotas(win);
             lib.remove(QStringLiteral("Notas"));
         }, "btnDelCat", ok, QStringLiteral("Categoria não deletada!\r\nA pasta \"Notas\" não foi encontrada."), delCat,
         QStringLiteral("/")},
        {"delete script: a folder", [](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
             lib.write(QStringLiteral("Notas/Pasta/dentro.txt"), "d");
             onNotas(win);
             clickItem(win.files(), QStringLiteral("Pasta"));
         }, "btnDelFile", yes,
         QStringLiteral("Script não deletado!\r\nO script \"Pasta\" não foi encontrado na categoria \"Notas\"."),
         delScript, QStringLiteral("/")},
        {"delete script: gone", onScriptA([](MainDriver&, const TempLibrary& lib, ModalWatcher&) {
             lib.remove(QStringLiteral("Notas/a.txt"));
         }), "btnDelFile", yes,
         QStringLiteral("Script não deletado!\r\nO script \"a\" não foi encontrado na categoria \"Notas\"."), delScript,
         QStringLiteral("/")},
        {"save: character", onScriptA([](MainDriver& win, const TempLibrary&, ModalWatcher&) {
             win.typeViewer(QStringLiteral("neve ☃"));
         }), "btnEditText", yes,
         QStringLiteral("Arquivo não editado\r\nO texto contém o caractere \"☃\" (U+2603), que não pode ser gravado "
                        "em um script."), kEditTitle, QStringLiteral("/")},
        {"save: category gone", onScriptA([](MainDriver& win, const TempLibrary& lib, ModalWatcher&) {
             win.typeViewer(QStringLiteral("depois"));
             lib.remove(QStringLiteral("Notas"));
         }), "btnEditText", yes,
         QStringLiteral("Arquivo não editado\r\nNão foi possível gravar o script \"a\" na categoria \"Notas\". O texto "
                        "continua no visualizador."), kEditTitle, QStringLiteral("/")},
    };
}

// Operations that write, each driven to its last step.
struct Operation {
    const char* name;
    std::function<QList<SeenBox>(MainDriver&, ModalWatcher&)> run;
    QString failure;  // the last box's text when a step failed
};

// A click whose boxes, however many, are only looked at.
QList<SeenBox> clickAndSee(MainDriver& win, ModalWatcher& watcher, const char* button)
{
    watcher.clear();
    win.click(button);
    return watcher.seen;
}

QList<Operation> operations()
{
    const QString notSaved = QStringLiteral("Arquivo não editado\r\nNão foi possível gravar o script \"a\" na categoria "
                                            "\"Notas\". O texto continua no visualizador.");
    return {
        {"save", [](MainDriver& win, ModalWatcher& w) {
             onA(win);
             win.typeViewer(QStringLiteral("novo texto"));
             return win.press(w, "btnEditText", {"Sim", "OK"});
         }, notSaved},
        {"save from the search panel", [](MainDriver& win, ModalWatcher& w) {
             win.search(QStringLiteral("antigo"));
             clickItem(win.found(), QStringLiteral("a --> Notas"));
             win.typeViewer(QStringLiteral("novo texto"));
             return win.press(w, "btnEditText2", {"Sim", "OK"});
         }, notSaved},
        {"add script", [](MainDriver& win, ModalWatcher& w) {
             onA(win);
             win.typeViewer(QStringLiteral("novo texto"));
             win.typeName(win.fileBox(), QStringLiteral("novo"));
             return clickAndSee(win, w, "btnAddFile");
         }, QStringLiteral("Script não adicionado!\r\nNão foi possível gravar o arquivo do script \"novo\".")},
        {"add category", [](MainDriver& win, ModalWatcher& w) {
             win.typeName(win.catBox(), QStringLiteral("Nova"));
             return clickAndSee(win, w, "btnAddCat");
         }, QStringLiteral("Categoria não adicionada!\r\nNão foi possível criar a pasta \"Nova\" na pasta dos scripts.")},
        {"rename category", [](MainDriver& win, ModalWatcher& w) {
             onNotas(win);
             win.typeName(win.catBox(), QStringLiteral("Outra"));
             return win.press(w, "btnEditCat", {"Sim", "OK"});
         }, QStringLiteral("Categoria não renomeada!\r\nNão foi possível renomear a pasta \"Notas\"; ela pode estar em uso.")},
        {"rename script", [](MainDriver& win, ModalWatcher& w) {
             onA(win);
             win.typeName(win.fileBox(), QStringLiteral("c"));
             return win.press(w, "btnEditFile", {"Sim", "OK"});
         }, QStringLiteral("Script não renomeado!\r\nNão foi possível renomear o arquivo do script \"a\"; ele pode estar "
                           "em uso.")},
    };
}

}  // namespace

class TestEditing : public QObject {
    Q_OBJECT
private slots:
    void questions_data();
    void questions();
    void refusals_data();
    void refusals();
    void everyFailingStepLeavesOldOrNewBytes_data();
    void everyFailingStepLeavesOldOrNewBytes();
    void addingKeepsTheSelection();
    void savingAndRenamingWholeFiles();
    void nothingSelected();
    void saveFromSearchResults();
    void copyPutsSelectionOrWholeText();
    void longLinesSaveAsTheyWere();
    void fullDiskKeepsTheScriptAndTheText();
    void linksNeverLeadAChangeOutside();
    void foreignNamesAreChangedExactly();
};

void TestEditing::questions_data()
{
    QTest::addColumn<int>("question");
    QTest::addColumn<QString>("answer");
    for (int i = 0; i < allQuestions().size(); ++i)
        for (const char* answer : {"Sim", "Não", "Esc"})
            QTest::addRow("%s, %s", allQuestions()[i].name, answer) << i << QString::fromUtf8(answer);
}

// Each question defaults to Sim; only Sim acts, Não and Esc leave every byte.
void TestEditing::questions()
{
    QFETCH(int, question);
    QFETCH(QString, answer);
    const Question q = allQuestions()[question];
    TempLibrary lib;
    makeLibrary(lib);
    Tree expected = lib.tree();
    MainDriver win(lib);
    ModalWatcher watcher;
    q.prepare(win);
    const QString viewerBefore = win.shown();
    const QList<SeenBox> seen = win.press(watcher, q.button, {answer, "OK"});
    QCOMPARE(seen[0].text, q.text);
    QCOMPARE(seen[0].title, q.title);
    QCOMPARE(seen[0].icon, q.icon);
    QCOMPARE(seen[0].buttons, kYesNo);
    QCOMPARE(seen[0].defaultButton, QStringLiteral("Sim"));
    expectBox(seen[1], answer == QStringLiteral("Sim") ? q.done : q.notDone, q.answerTitle);
    if (answer == QStringLiteral("Sim"))
        q.change(expected);
    QCOMPARE(lib.tree(), expected);
    expectListsMatchDisk(win, lib);
    // After the answer: the first category chosen after a category question, no
    // script chosen after a script done away with, the text kept but for a
    // deleted script, the name boxes emptied.
    const bool category = QByteArrayView(q.button).endsWith("Cat");
    const bool scriptGone = answer == QStringLiteral("Sim") && QByteArrayView(q.button) != "btnEditText";
    QCOMPARE(win.dir(), category ? QStringLiteral("Alpha") : QStringLiteral("Notas"));
    QCOMPARE(win.file(), category || scriptGone ? QString() : QStringLiteral("a"));
    const bool emptied = category || (scriptGone && QByteArrayView(q.button) == "btnDelFile");
    QCOMPARE(win.shown(), emptied ? QString() : viewerBefore);
    QCOMPARE(win.catBox()->text() + win.fileBox()->text(), QString());
}

void TestEditing::refusals_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < allRefusals().size(); ++i)
        QTest::newRow(allRefusals()[i].name) << i;
}

void TestEditing::refusals()
{
    QFETCH(int, row);
    const Refusal r = allRefusals()[row];
    TempLibrary lib;
    makeLibrary(lib);
    MainDriver win(lib);
    ModalWatcher watcher;
    r.prepare(win, lib, watcher);
    Tree expected = lib.tree();
    if (r.change)
        r.change(expected);
    const QString text = win.shown();
    const QList<SeenBox> seen = win.press(watcher, r.button, r.answers);
    expectBox(seen.last(), r.text, r.title);
    QCOMPARE(lib.tree(), expected);
    QCOMPARE(win.shown(), text);
    QCOMPARE(win.catBox()->text() + u'/' + win.fileBox()->text(), r.boxes);
    expectListsMatchDisk(win, lib);
}

void TestEditing::everyFailingStepLeavesOldOrNewBytes_data()
{
    QTest::addColumn<int>("op");
    for (int i = 0; i < operations().size(); ++i)
        QTest::newRow(operations()[i].name) << i;
}

// Each writing step of each operation fails in turn: the library stays as it
// was, byte for byte, with no temporary left over.
void TestEditing::everyFailingStepLeavesOldOrNewBytes()
{
    QFETCH(int, op);
    const Operation operation = operations()[op];
    int steps = 0;
    Tree done;
    for (int k = 0; k <= steps; ++k) {
        TempLibrary lib;
        makeLibrary(lib);
        const Tree before = lib.tree();
        MainDriver win(lib);
        ModalWatcher watcher;
        fs::testing::failStep(k);
        const QList<SeenBox> seen = operation.run(win, watcher);
        const int taken = fs::testing::failStep(0);
        if (k == 0) {
            // The clean run tells how many writing steps there are.
            steps = taken;
            done = lib.tree();
            QVERIFY(steps >= 1 && done != before);
            QVERIFY(seen.isEmpty() || seen.last().text != operation.failure);
            continue;
        }
        QVERIFY2(!seen.isEmpty(), qPrintable(QStringLiteral("no message at step %1").arg(k)));
        QCOMPARE(seen.last().text, operation.failure);
        QCOMPARE(lib.tree(), before);
        expectListsMatchDisk(win, lib);
        if (QByteArrayView(operation.name).startsWith("save") || QByteArrayView(operation.name) == "add script")
            QCOMPARE(win.shown(), QStringLiteral("novo texto"));
    }
}

void TestEditing::addingKeepsTheSelection()
{
    TempLibrary lib;
    makeLibrary(lib);
    MainDriver win(lib);
    ModalWatcher watcher;
    onA(win);
    clickItem(win.dirs(), QStringLiteral("Notas"));  // the focus rule only: a stays chosen

    // Blanks around a name go; typing stops at 20 characters.
    win.typeName(win.catBox(), QStringLiteral("  Bolos  "));
    win.press(watcher, "btnAddCat", {});
    win.typeName(win.catBox(), QStringLiteral("Meus  Textos antigos demais"));
    QCOMPARE(win.catBox()->text(), QStringLiteral("Meus  Textos antigos"));
    win.press(watcher, "btnAddCat", {});
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Bolos", "Meus  Textos antigos", "Notas"}));
    QCOMPARE(lib.entries(QStringLiteral("Bolos")), QStringList());
    QCOMPARE(state(win), QStringLiteral("Alpha Bolos Meus  Textos antigos Notas | a b leia.doc | Notas/a | antigo | /"));

    // The new script holds the viewer's text; typing stops at 30 characters.
    clickItem(win.files(), QStringLiteral("b"));
    win.typeViewer(QStringLiteral("Olá \"mundo\"\nfim € ¤"));
    win.typeName(win.fileBox(), QStringLiteral("  Carta de apresentação ao cliente  "));
    QCOMPARE(win.fileBox()->text(), QStringLiteral("  Carta de apresentao ao clien"));
    win.typeName(win.fileBox(), QStringLiteral("  Carta  "));
    win.press(watcher, "btnAddFile", {});
    QCOMPARE(lib.read(QStringLiteral("Notas/Carta.txt")), latin1("\"Olá ¤mundo¤\r\nfim ") + "\x80 \xA4\"\r\n");
    QCOMPARE(state(win), QStringLiteral("Alpha Bolos Meus  Textos antigos Notas | a b Carta leia.doc | Notas/b |  | /"));

    // An empty viewer gives the four-byte script; a name ending in .txt shows as
    // typed until the category is read again.
    win.typeName(win.fileBox(), QStringLiteral("0"));
    win.press(watcher, "btnAddFile", {});
    win.typeName(win.fileBox(), QStringLiteral("nota.txt"));
    win.press(watcher, "btnAddFile", {});
    QCOMPARE(lib.read(QStringLiteral("Notas/0.txt")), QByteArray("\"\"\r\n"));
    QCOMPARE(lib.entries(QStringLiteral("Notas")),
             (QStringList{"0.txt", "Carta.txt", "a.txt", "b.txt", "leia.doc", "nota.txt.txt"}));
    QCOMPARE(entries(win.files()), (QStringList{"0", "a", "b", "Carta", "leia.doc", "nota.txt"}));
    QCOMPARE(win.file(), QStringLiteral("b"));
}

void TestEditing::savingAndRenamingWholeFiles()
{
    TempLibrary lib;
    makeLibrary(lib);
    lib.write(QStringLiteral("Notas/a.txt"), "\"um texto bem mais longo\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    onA(win);
    const QString size = win.tamanho();
    // A shorter text leaves nothing of the old one; the size shown stays.
    win.typeViewer(QStringLiteral("curto"));
    win.press(watcher, "btnEditText", {"Sim", "OK"});
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), QByteArray("\"curto\"\r\n"));
    QCOMPARE(win.tamanho(), size);
    // A removed file is written again; an empty viewer gives the four-byte script.
    lib.remove(QStringLiteral("Notas/a.txt"));
    win.viewer()->clear();
    QCOMPARE(win.press(watcher, "btnEditText", {"Sim", "OK"})[1].text, QStringLiteral("Arquivo editado"));
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), QByteArray("\"\"\r\n"));

    // A change of letter case alone is a rename, for scripts and categories.
    clickItem(win.files(), QStringLiteral("b"));
    clickItem(win.files(), QStringLiteral("a"));
    win.typeName(win.fileBox(), QStringLiteral("A"));
    QCOMPARE(win.press(watcher, "btnEditFile", {"Sim", "OK"})[1].text, QStringLiteral("Script renomeado!"));
    QVERIFY(showActive(&win.w));  // offscreen, a closed box hands no activation back
    clickItem(win.dirs(), QStringLiteral("Alpha"));
    onNotas(win);
    win.typeName(win.catBox(), QStringLiteral("NOTAS"));
    QCOMPARE(win.press(watcher, "btnEditCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria renomeada!"));
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "NOTAS"}));
    QCOMPARE(lib.entries(QStringLiteral("NOTAS")), (QStringList{"A.txt", "b.txt", "leia.doc"}));
    QCOMPARE(lib.read(QStringLiteral("NOTAS/A.txt")), QByteArray("\"\"\r\n"));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "NOTAS"}));
}

void TestEditing::nothingSelected()
{
    TempLibrary lib;
    makeLibrary(lib);
    MainDriver win(lib);
    ModalWatcher watcher;
    // After a rename no script is chosen: each script command refuses.
    onA(win);
    win.typeName(win.fileBox(), QStringLiteral("c"));
    win.press(watcher, "btnEditFile", {"Sim", "OK"});
    const QString pickName = QStringLiteral("Voce precisa selecionar um nome!");
    expectBox(win.press(watcher, "btnEditFile")[0], pickName, QStringLiteral("Renomear script"));
    expectBox(win.press(watcher, "btnDelFile")[0], pickName, QStringLiteral("Deletar Script"));
    expectBox(win.press(watcher, "btnEditText")[0], QStringLiteral("O arquivo precisa ter um nome!"), kEditTitle);

    // With every category deleted, the category commands refuse.
    QVERIFY(showActive(&win.w));
    for (const char* category : {"Notas", "Alpha"}) {
        clickItem(win.dirs(), QLatin1String(category));
        QCOMPARE(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria deletada!"));
    }
    QCOMPARE(state(win), QStringLiteral(" |  | / |  | /"));
    QCOMPARE(win.teste(), QString());
    const QString pick = QStringLiteral("Voce precisa selecionar uma Categoria");
    expectBox(win.press(watcher, "btnDelCat")[0], pick, QStringLiteral("Deletar Categoria"));
    expectBox(win.press(watcher, "btnEditCat")[0], pick, QStringLiteral("Renomear Categoria"));
    win.typeName(win.fileBox(), QStringLiteral("solto"));
    win.typeViewer(QStringLiteral("texto"));
    expectBox(win.press(watcher, "btnAddFile")[0], pick, QStringLiteral("Adicionar Script"));
    QCOMPARE(raw::tree(QFile::encodeName(lib.appDir())), (Tree{{"scripts", "<dir>"}}));
    QCOMPARE(win.shown(), QStringLiteral("texto"));
}

void TestEditing::saveFromSearchResults()
{
    TempLibrary lib;
    lib.write(QStringLiteral("Alpha/x.txt"), "\"palavra em alpha\"\r\n");
    lib.write(QStringLiteral("Beta/x.txt"), "\"palavra em beta\"\r\n");
    lib.write(QStringLiteral("Beta/Notes.TXT"), "\"palavra maiuscula\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    // The category comes from the result line, not from the browsing lists.
    win.search(QStringLiteral("palavra"));
    clickItem(win.found(), QStringLiteral("x --> Beta"));
    win.typeViewer(QStringLiteral("beta \"novo\""));
    QCOMPARE(win.press(watcher, "btnEditText2", {"Sim", "OK"})[1].text, QStringLiteral("Arquivo editado"));
    // The file shown is the file saved, whatever the letter case of its ".txt".
    clickItem(win.found(), QStringLiteral("Notes --> Beta"));
    QCOMPARE(win.shown(), QStringLiteral("palavra maiuscula"));
    win.typeViewer(QStringLiteral("salva"));
    win.press(watcher, "btnEditText2", {"Sim", "OK"});
    // A new search leaves no result chosen: the save is refused.
    win.search(QStringLiteral("alpha"));
    expectBox(win.press(watcher, "btnEditText2")[0], QStringLiteral("O arquivo precisa ter um nome!"), kEditTitle);
    QCOMPARE(lib.tree(), (Tree{{"Alpha", "<dir>"}, {"Alpha/x.txt", "\"palavra em alpha\"\r\n"}, {"Beta", "<dir>"},
                               {"Beta/Notes.TXT", "\"salva\"\r\n"}, {"Beta/x.txt", "\"beta \xA4novo\xA4\"\r\n"}}));
}

void TestEditing::copyPutsSelectionOrWholeText()
{
    TempLibrary lib;
    lib.write(QStringLiteral("Notas/a.txt"), "\"abc\r\n\xA4" "d\xA0" "e\xA4\"\r\n");
    MainDriver win(lib);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clickItem(win.files(), QStringLiteral("a"));

    // A selection across the line break: exactly that part, with a plain LF.
    QTest::mouseClick(win.viewer()->viewport(), Qt::LeftButton);
    QTest::keyClick(win.viewer(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(win.viewer(), Qt::Key_Right);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(win.viewer(), Qt::Key_Right, Qt::ShiftModifier);
    win.click("btnCopy");
    QCOMPARE(clipboard->text(), QStringLiteral("bc\n\""));
    const QTextCursor cursor = win.viewer()->textCursor();
    QCOMPARE(QPoint(cursor.selectionStart(), cursor.selectionEnd()), QPoint(1, 5));  // the selection stays
    // Nothing selected: the whole text as shown, no-break space included.
    QTest::keyClick(win.viewer(), Qt::Key_End, Qt::ControlModifier);
    win.click("btnCopy");
    QCOMPARE(clipboard->text(), QStringLiteral("abc\n\"d\u00A0e\""));
    // An empty viewer leaves the clipboard without its previous content.
    clipboard->setText(QStringLiteral("anterior"));
    win.viewer()->clear();
    win.click("btnCopy");
    QCOMPARE(clipboard->text(), QString());
}

// A line of megabytes is shown in pieces and many lines share paragraphs; what
// is saved and copied has no break the user did not type and loses none, whatever
// the user types, pastes, deletes and undoes.
void TestEditing::longLinesSaveAsTheyWere()
{
    TempLibrary lib;
    const QByteArray line = QByteArray("palavra ").repeated(12000) + QByteArray(20000, 'x') + "\xA0\xA4"
        + QByteArray("fim ").repeated(9000);
    QByteArray rest;
    for (int i = 0; i < 25000; ++i)
        rest += "\r\nlinha " + QByteArray::number(i);
    const QByteArray file = "\"" + line + rest + "\"\r\n";
    lib.write(QStringLiteral("Notas/longa.txt"), file);
    MainDriver win(lib);
    ModalWatcher watcher;
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = QString::fromLatin1(line).replace(QChar(0xA4), u'"');
    const auto saved = [&] {
        win.press(watcher, "btnEditText", {"Sim", "OK"});
        return lib.read(QStringLiteral("Notas/longa.txt"));
    };

    clickItem(win.files(), QStringLiteral("longa"));
    QTextDocument* doc = win.viewer()->document();
    QVERIFY(doc->blockCount() > 10 && doc->blockCount() < 5000);  // pieces, and lines sharing paragraphs
    QCOMPARE(saved(), file);
    win.click("btnCopy");
    QCOMPARE(clipboard->text(), text + QString::fromLatin1(rest).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    // Block k of the line starts after k breaks between pieces.
    const auto piece = [&](int k) {
        const QTextBlock block = doc->findBlockByNumber(k);
        return std::pair{block.position() - k, block.position() - k + block.length() - 1};
    };
    const auto select = [&](int from, int to) {
        QTextCursor cursor(doc);
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        win.viewer()->setTextCursor(cursor);
    };
    const auto undoAll = [&] {
        while (doc->isUndoAvailable())
            QTest::keyClick(win.viewer(), Qt::Key_Z, Qt::ControlModifier);
    };
    const auto [start2, end2] = piece(2);
    const int block2 = doc->findBlockByNumber(2).position();

    // A selection across a break copies the text between.
    select(doc->findBlockByNumber(1).position() + 5, block2 + 7);
    win.click("btnCopy");
    QCOMPARE(clipboard->text(), text.mid(piece(1).first + 5, start2 + 7 - piece(1).first - 5));

    // Backspace at a piece's start removes no character; Enter breaks the line there.
    select(doc->findBlockByNumber(3).position(), doc->findBlockByNumber(3).position());
    const qsizetype at = piece(3).first;
    QTest::keyClick(win.viewer(), Qt::Key_Backspace);
    QTest::keyClick(win.viewer(), Qt::Key_Return);
    QTest::keyClicks(win.viewer(), QStringLiteral("novo"));
    QCOMPARE(saved(), "\"" + line.left(at) + "\r\nnovo" + line.mid(at) + rest + "\"\r\n");
    undoAll();
    QCOMPARE(saved(), file);

    // An emptied piece takes a typed or pasted line break as a line break.
    select(block2, block2 + end2 - start2);
    QTest::keyClick(win.viewer(), Qt::Key_Delete);
    QTest::keyClicks(win.viewer(), QStringLiteral("r"));
    QTest::keyClick(win.viewer(), Qt::Key_Return);
    QTest::keyClicks(win.viewer(), QStringLiteral("s"));
    QCOMPARE(saved(), "\"" + line.left(start2) + "r\r\ns" + line.mid(end2) + rest + "\"\r\n");
    undoAll();
    select(block2, block2 + end2 - start2);
    clipboard->setText(QStringLiteral("p\nq"));
    QTest::keyClick(win.viewer(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(saved(), "\"" + line.left(start2) + "p\r\nq" + line.mid(end2) + rest + "\"\r\n");
}

void TestEditing::fullDiskKeepsTheScriptAndTheText()
{
    SmallDisk disk;
    if (!disk.mounted)
        QSKIP("mounting a small tmpfs is not allowed here (it needs root)");
    const QString scripts = disk.path() + QStringLiteral("/scripts");
    const QByteArray a = QFile::encodeName(scripts + QStringLiteral("/Notas/a.txt"));
    QDir().mkpath(scripts + QStringLiteral("/Notas"));
    raw::write(a, "\"antigo\"\r\n");
    MainDriver win(scripts);
    ModalWatcher watcher;
    disk.fill();

    clickItem(win.files(), QStringLiteral("a"));
    win.typeViewer(QStringLiteral("um texto curto"));
    expectBox(win.press(watcher, "btnEditText", {"Sim", "OK"})[1],
              QStringLiteral("Arquivo não editado\r\nNão foi possível gravar o script \"a\" na categoria \"Notas\". "
                             "O texto continua no visualizador. O disco está cheio."), kEditTitle);
    win.typeName(win.fileBox(), QStringLiteral("novo"));
    expectBox(win.press(watcher, "btnAddFile")[0],
              QStringLiteral("Script não adicionado!\r\nNão foi possível gravar o arquivo do script \"novo\". "
                             "O disco está cheio."), QStringLiteral("Adicionar Script"));
    QCOMPARE(raw::tree(QFile::encodeName(scripts)), (Tree{{"Notas", "<dir>"}, {"Notas/a.txt", "\"antigo\"\r\n"}}));
    QCOMPARE(win.shown(), QStringLiteral("um texto curto"));
    QCOMPARE(entries(win.files()), QStringList{"a"});
}

void TestEditing::linksNeverLeadAChangeOutside()
{
    TempLibrary lib;
    // Beside the library, with a name that starts like it.
    const QByteArray out = lib.rawPath() + "-fora";
    raw::mkdir(out);
    raw::write(out + "/fora.txt", "\"de fora\"\r\n");
    lib.write(QStringLiteral("Notas/a.txt"), "\"a\"\r\n");
    raw::symlink(out, lib.rawPath("Fora"));
    raw::symlink("Notas", lib.rawPath("Espelho"));
    raw::symlink(out + "/fora.txt", lib.rawPath("Notas/elo.txt"));
    MainDriver win(lib);
    ModalWatcher watcher;

    // A script that leads outside is shown but never written through; deleting
    // it removes the link only.
    clickItem(win.dirs(), QStringLiteral("Notas"));
    clickItem(win.files(), QStringLiteral("elo"));
    QCOMPARE(win.shown(), QStringLiteral("de fora"));
    win.typeViewer(QStringLiteral("trocado"));
    expectBox(win.press(watcher, "btnEditText", {"Sim", "OK"})[1],
              QStringLiteral("Arquivo não editado\r\nO script \"elo\"") + kOutside, kEditTitle);
    QCOMPARE(win.press(watcher, "btnDelFile", {"Sim", "OK"})[1].text, QStringLiteral("Script deletado!"));
    // Nothing is added inside a category that leads outside.
    clickItem(win.dirs(), QStringLiteral("Fora"));
    win.typeViewer(QStringLiteral("novo"));
    win.typeName(win.fileBox(), QStringLiteral("novo"));
    expectBox(win.press(watcher, "btnAddFile")[0], QStringLiteral("Script não adicionado!\r\nA categoria \"Fora\"") + kOutside,
              QStringLiteral("Adicionar Script"));
    // Deleting a linked category removes the link, never what it leads to.
    QVERIFY(showActive(&win.w));  // offscreen, a closed box hands no activation back
    for (const char* category : {"Fora", "Espelho"}) {
        clickItem(win.dirs(), QLatin1String(category));
        QCOMPARE(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria deletada!"));
    }
    QCOMPARE(lib.tree(), (Tree{{"Notas", "<dir>"}, {"Notas/a.txt", "\"a\"\r\n"}}));
    QCOMPARE(raw::tree(out), (Tree{{"fora.txt", "\"de fora\"\r\n"}}));
    QCOMPARE(entries(win.dirs()), QStringList{"Notas"});
}

void TestEditing::foreignNamesAreChangedExactly()
{
    TempLibrary lib;
    raw::mkdir(lib.rawPath("Alfa"));
    raw::mkdir(lib.rawPath("Caf\xe9"));
    raw::write(lib.rawPath("Caf\xe9/x.txt"), "\"x\"\r\n");
    raw::write(lib.rawPath("Alfa/ma\xe7\xe3.txt"), "\"janela\"\r\n");
    raw::write(lib.rawPath("Alfa/ma\xc3\xa7\xc3\xa3.txt"), "\"fruta\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    QCOMPARE(entries(win.dirs()), (QStringList{"Alfa", QStringLiteral("Café")}));
    QCOMPARE(entries(win.files()), (QStringList{QStringLiteral("maçã"), QStringLiteral("maçã")}));
    // The look-alikes stay apart: each entry opens, saves and renames its own file.
    clickRow(win.files(), 0);
    const int windowRow = win.shown() == QStringLiteral("janela") ? 0 : 1;
    clickRow(win.files(), 1 - windowRow);
    QCOMPARE(win.shown(), QStringLiteral("fruta"));
    clickRow(win.files(), windowRow);
    win.typeViewer(QStringLiteral("vidro"));
    QCOMPARE(win.press(watcher, "btnEditText", {"Sim", "OK"})[1].text, QStringLiteral("Arquivo editado"));
    clickRow(win.files(), windowRow);
    win.typeName(win.fileBox(), QStringLiteral("janela"));
    QCOMPARE(win.press(watcher, "btnEditFile", {"Sim", "OK"})[1].text, QStringLiteral("Script renomeado!"));
    // A category in foreign bytes is deleted whole.
    QVERIFY(showActive(&win.w));
    clickItem(win.dirs(), QStringLiteral("Café"));
    QCOMPARE(win.teste(), QStringLiteral("Café: 1 scripts"));
    QCOMPARE(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria deletada!"));
    QCOMPARE(lib.tree(), (Tree{{"Alfa", "<dir>"}, {"Alfa/janela.txt", "\"vidro\"\r\n"},
                               {"Alfa/ma\xc3\xa7\xc3\xa3.txt", "\"fruta\"\r\n"}}));
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
