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

#include <unistd.h>

using namespace corvane;
using namespace corvane::test;

namespace {

using Tree = QMap<QByteArray, QByteArray>;

const QString kEditTitle = QStringLiteral("Aviso edição");
const QString kMoveTitle = QStringLiteral("Mover Script");
const QString kOutside = QStringLiteral(" leva, por um link simbólico, para fora da pasta dos scripts; "
                                        "por segurança, nada foi alterado.");
const QString kNotSaved = QStringLiteral("Arquivo não editado\r\nNão foi possível gravar o script \"a\" na categoria "
                                         "\"Notas\". O texto continua no visualizador.");
const QString kNotDeleted = QStringLiteral("Categoria não deletada!\r\nA pasta \"Notas\" contém subpastas ou arquivos "
                                           "ocultos, que não são scripts. Nada foi apagado.");

// Alpha (selected at start) with one script; Notas with two and a stray document.
const Tree kLibrary{{"Alpha", "<dir>"}, {"Alpha/x.txt", "\"x\"\r\n"}, {"Notas", "<dir>"},
                    {"Notas/a.txt", "\"antigo\"\r\n"}, {"Notas/b.txt", "\"outro\"\r\n"}, {"Notas/leia.doc", "doc"}};

struct Session {
    TempLibrary lib;
    MainDriver win;
    ModalWatcher watcher;
    std::unique_ptr<SmallDisk> disk;
    explicit Session(const std::function<void(const TempLibrary&)>& more = {})
        : win(made(lib, more))
    {
    }
    static const TempLibrary& made(const TempLibrary& lib, const std::function<void(const TempLibrary&)>& more)
    {
        for (auto it = kLibrary.begin(); it != kLibrary.end(); ++it)
            it.value() == "<dir>" ? raw::mkdir(lib.rawPath(it.key())) : raw::write(lib.rawPath(it.key()), it.value());
        if (more)
            more(lib);
        return lib;
    }

    // What a user does, steps apart by ';': "dir=" clicks a category, "pick=" a
    // script, "open=" double-clicks one, "text=" types the viewer ("\n" is Enter),
    // "cat=" and "file=" type the name boxes, "paste=" pastes into the category
    // box, "search=" and "found=" use the search panel, "press=" presses a button
    // that asks nothing, "yes=" one that asks and is answered Sim, "active" brings
    // the window back to the front (offscreen, a closed box hands no activation
    // back). What happens behind the program's back: "rm=", "mk=", "put=" (a file
    // holding x), "mount=" (a small disk as a new category); "later:" puts it off
    // until the next question is open.
    void act(const QString& steps)
    {
        const QHash<QString, std::function<void(const QString&)>> actions{
            {"rm", [this](const QString& path) { lib.remove(path); }},
            {"mk", [this](const QString& path) { lib.mkdir(path); }},
            {"put", [this](const QString& path) { lib.write(path, "x"); }},
            {"mount", [this](const QString& path) {
                 lib.mkdir(path);
                 disk = std::make_unique<SmallDisk>(QStringLiteral("256k"), lib.path(path));
                 win.w.loadCategories();
             }},
            {"dir", [this](const QString& name) { clickItem(win.dirs(), name); }},
            {"pick", [this](const QString& name) { clickItem(win.files(), name); }},
            {"open", [this](const QString& name) { doubleClickItem(win.files(), name); }},
            {"text", [this](const QString& text) { win.typeViewer(text); }},
            {"cat", [this](const QString& name) { win.typeName(win.catBox(), name); }},
            {"file", [this](const QString& name) { win.typeName(win.fileBox(), name); }},
            {"search", [this](const QString& text) { win.search(text); }},
            {"found", [this](const QString& line) { clickItem(win.found(), line); }},
            {"yes", [this](const QString& button) { win.press(watcher, qPrintable(button), {"Sim", "OK"}); }},
            {"press", [this](const QString& button) { win.press(watcher, qPrintable(button), {}); }},
            {"active", [this](const QString&) { QVERIFY(showActive(&win.w)); }},
            {"paste", [this](const QString& text) { paste(win.catBox(), text); }}};
        for (const QString& step : steps.split(u';')) {
            if (step.isEmpty())
                continue;
            const QString what = step.section(u'=', 0, 0), arg = step.mid(what.size() + 1);
            const auto action = actions.value(QString(what).remove(QStringLiteral("later:")));
            if (!action)
                qFatal("no step %s", qPrintable(step));
            if (what.startsWith(QStringLiteral("later:")))
                watcher.whileNextIsOpen([action, arg] { action(arg); });
            else
                action(arg);
        }
    }

    // The lists show what is on disk: the categories, and the chosen one's entries.
    void expectListsMatchDisk()
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

    // Lists, choices, viewer and name boxes as the user sees them.
    QString state()
    {
        return QStringLiteral("%1 | %2 | %3/%4 | %5 | %6/%7")
            .arg(entries(win.dirs()).join(u' '), entries(win.files()).join(u' '), win.dir(), win.file(), win.shown(),
                 win.catBox()->text(), win.fileBox()->text());
    }
};

// Entries changed by a press: "-path" gone, "+path" a folder, "+path=bytes" a file.
Tree changed(Tree tree, const QString& changes)
{
    for (const QString& change : changes.split(u' ')) {
        if (change.isEmpty())
            continue;
        const QString path = change.mid(1).section(u'=', 0, 0);
        if (change.startsWith(u'-'))
            tree.remove(path.toUtf8());
        else
            tree[path.toUtf8()] = change.contains(u'=') ? change.mid(path.size() + 2).toUtf8() : "<dir>";
    }
    return tree;
}

const QByteArray kSaved = "\"novo \xA4texto\xA4\r\n\xE7\xE9 \x80\x8A\x9E\x91\x92\x9F\xA0" "fim\"\r\n";

}  // namespace

class TestEditing : public QObject {
    Q_OBJECT
private slots:
    void questions_data();
    void questions();
    void refusals_data();
    void refusals();
    void everyFailingStepLeavesTheOldBytes_data();
    void everyFailingStepLeavesTheOldBytes();
    void addingKeepsTheChoice();
    void longLinesSaveAsTheyWere();
    void fullDiskKeepsTheScriptAndTheText();
    void hostileNamesAndLinks();
    void movingFollowsTheDisk();
    void aStickPulledOut();
};

void TestEditing::questions_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("outcome");  // after Sim, after Não; their title
    QTest::addColumn<Tree>("done");
    QTest::addColumn<QString>("after");  // after Sim, after Não
    const auto rows = [](const char* name, const QString& steps, const QString& button, const QString& question,
                         const QString& title, const QStringList& outcome, const Tree& done, const QStringList& after) {
        for (const char* answer : {"Sim", "Não", "Esc"}) {
            const bool yes = qstrcmp(answer, "Sim") == 0;
            QTest::addRow("%s, %s", name, answer) << steps << button << question << title
                << QStringList{outcome[yes ? 0 : 1], outcome[2], QString::fromUtf8(answer)}
                << (yes ? done : kLibrary) << after[yes ? 0 : 1];
        }
    };
    Tree saved = kLibrary;
    saved["Notas/a.txt"] = kSaved;
    const QString notasGone = QStringLiteral("-Notas -Notas/a.txt -Notas/b.txt -Notas/leia.doc");
    const QString notas = QStringLiteral("Alpha Notas | a b leia.doc | Notas/");
    rows("save", "dir=Notas;pick=a;text=novo \"texto\"\nçé €Šž‘’Ÿ\u00A0fim", "btnEditText",
         "Deseja realmente alterar esse arquivo?", kEditTitle, {"Arquivo editado", "Arquivo não editado", kEditTitle},
         saved, {notas + "a | novo \"texto\"\nçé €Šž‘’Ÿ fim | /", notas + "a | novo \"texto\"\nçé €Šž‘’Ÿ fim | /"});
    rows("rename script", "dir=Notas;pick=a;file= c ", "btnEditFile",
         "Você tem certeza que quer renomear\r\n\"a\" para \"c\"?", "Renomear script",
         {"Script renomeado!", "Script não renomeado!", "renomear script"},
         changed(kLibrary, "-Notas/a.txt +Notas/c.txt=\"antigo\"\r\n"),
         {"Alpha Notas | b c leia.doc | Notas/ | antigo | /", notas + "a | antigo | /"});
    rows("delete script", "dir=Notas;pick=a", "btnDelFile", "Você tem certeza que quer deletar \"a\"?",
         "Deletar script", {"Script deletado!", "Script não deletado!", "Deletar Script"},
         changed(kLibrary, "-Notas/a.txt"), {"Alpha Notas | b leia.doc | Notas/ |  | /", notas + "a | antigo | /"});
    rows("move script", "dir=Notas", "drag:a>Alpha",
         "Deseja realmente mover o script \"a\" da categoria \"Notas\" para a categoria \"Alpha\"?", "Mover script",
         {"Script movido!", "Script não movido!", kMoveTitle}, changed(kLibrary, "-Notas/a.txt +Alpha/a.txt=\"antigo\"\r\n"),
         {"Alpha Notas | b leia.doc | Notas/ |  | /", notas + "a | antigo | /"});
    rows("rename category", "dir=Notas;cat= Receitas ", "btnEditCat",
         "Você tem certeza que quer renomear\r\n\"Notas\" para \"Receitas\"?", "Renomear categoria",
         {"Categoria renomeada!", "Categoria não renomeada!", "Renomear Categoria"},
         changed(kLibrary, notasGone + " +Receitas +Receitas/a.txt=\"antigo\"\r\n +Receitas/b.txt=\"outro\"\r\n "
                                       "+Receitas/leia.doc=doc"),
         {"Alpha Receitas | x | Alpha/ |  | /", "Alpha Notas | x | Alpha/ |  | /"});
    rows("delete category", "dir=Notas", "btnDelCat",
         "Você tem certeza que quer deletar \r\n\"Notas\"?\r\nTodos os scripts contidos nela\r\n"
         "serão também deletados!",
         "Deletar categoria", {"Categoria deletada!", "Categoria não deletada!", "Deletar Categoria"},
         changed(kLibrary, notasGone), {"Alpha | x | Alpha/ |  | /", "Alpha Notas | x | Alpha/ |  | /"});
}

// Each question defaults to Sim; only Sim acts, Não and Esc leave every byte.
void TestEditing::questions()
{
    QFETCH(QString, steps);
    QFETCH(QString, button);
    QFETCH(QString, question);
    QFETCH(QString, title);
    QFETCH(QStringList, outcome);
    QFETCH(Tree, done);
    QFETCH(QString, after);
    Session s;
    s.act(steps);
    const QList<SeenBox> seen = s.win.press(s.watcher, qPrintable(button), {outcome[2], "OK"});
    QCOMPARE(seen[0].text, question);
    QCOMPARE(seen[0].title, title);
    QCOMPARE(seen[0].icon, button == QStringLiteral("btnEditText") ? QMessageBox::Question : QMessageBox::NoIcon);
    QCOMPARE(seen[0].buttons, kYesNo);
    QCOMPARE(seen[0].defaultButton, QStringLiteral("Sim"));
    QCOMPARE(seen[1], okBox(outcome[0], outcome[1]));
    QCOMPARE(s.lib.tree(), done);
    QCOMPARE(s.state(), after);
    // On a stick, what a delete took is in the stick's own trash, byte for byte.
    const bool deleted = s.lib.stick() && title.startsWith(u"Deletar") && outcome[2] == u"Sim";
    const Tree trash = raw::tree(QFile::encodeName((s.lib.appDir() + "/.Trash-%1/files").arg(::getuid())));
    for (auto it = kLibrary.begin(); deleted && it != kLibrary.end(); ++it)
        if (!done.contains(it.key()))
            QCOMPARE(trash.value(button == u"btnDelFile" ? it.key().mid(6) : it.key()), it.value());
}

void TestEditing::refusals_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("asked");  // a question answered Sim comes first
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<QString>("changes");
    const auto row = [](const char* name, const QString& steps, const QString& button, const QString& text,
                        const QString& title, const QString& boxes = "/", bool asked = false, const QString& changes = {}) {
        QTest::newRow(name) << steps << button << asked << text << title << boxes << changes;
    };
    const QString addCat = QStringLiteral("Adicionar Categoria"), addScript = QStringLiteral("Adicionar Script");
    const QString renCat = QStringLiteral("Renomear Categoria"), renScript = QStringLiteral("renomear script");
    const QString delCat = QStringLiteral("Deletar Categoria"), delScript = QStringLiteral("Deletar Script");
    const QString dots = QStringLiteral("não pode ser usado: é formado só por pontos.");
    const QString character = QStringLiteral("O texto contém o caractere \"%1\" (U+%2), que não pode ser gravado em "
                                             "um script.");
    const QString noScript = QStringLiteral("O script \"%1\" não foi encontrado na categoria \"Notas\".");
    row("add category: blank", "cat=   ", "btnAddCat", "Você precisa colocar um nome!", addCat, "   /");
    row("add category: taken", "cat=NOTAS", "btnAddCat", "O nome \"NOTAS\" já existe!", kAppTitle);
    row("add category: dots", "cat=..", "btnAddCat", "O nome \"..\" " + dots, addCat, "../");
    row("add category: reserved", "cat=Lpt1", "btnAddCat",
        "O nome \"Lpt1\" não pode ser usado: é um nome reservado pelo sistema.", addCat, "Lpt1/");
    row("add category: last dot", "cat=Fim.", "btnAddCat",
        "O nome \"Fim.\" não pode ser usado: termina com ponto ou espaço.", addCat, "Fim./");
    row("add category: pasted path", "paste=../x", "btnAddCat",
        "O nome \"..x\" não pode ser usado: começa com ponto, o que o deixaria oculto.", addCat, "..x/");
    row("add category: library gone", "rm=;cat=Nova", "btnAddCat",
        "Categoria não adicionada!\r\nNão foi possível criar a pasta \"Nova\" na pasta dos scripts.", addCat, "Nova/");
    row("add script: blank", "dir=Notas;text=meu;file=   ", "btnAddFile", "Você precisa colocar um nome válido!", kAppTitle,
        "/   ");
    row("add script: taken", "dir=Notas;text=meu;file=A", "btnAddFile", "O nome \"A\" já existe!", kAppTitle);
    row("add script: name from elsewhere", "put=Notas/a:b.txt;dir=Notas;open=a:b", "btnAddFile",
        "O nome \"a:b\" não pode ser usado: contém o caractere :, que o sistema não aceita em nomes.", addScript, "/a:b");
    row("delete script: blanks from elsewhere", "put=Notas/ b .txt;dir=Notas;pick= b ", "btnDelFile",
        "O nome \" b \" não pode ser usado: termina com ponto ou espaço.", delScript);
    row("add script: character", "dir=Notas;text=rir 😀 aqui;file=Riso", "btnAddFile",
        "Script não adicionado!\r\n" + character.arg(QStringLiteral("😀"), QStringLiteral("1F600")), addScript, "/Riso");
    row("add script: category gone", "dir=Notas;text=meu;file=novo;rm=Notas", "btnAddFile",
        "Script não adicionado!\r\nA pasta da categoria \"Notas\" não foi encontrada.", addScript, "/novo");
    row("rename category: blank", "dir=Notas;cat=", "btnEditCat", "Voce precisa colocar um novo nome!", renCat);
    row("rename category: taken", "dir=Notas;cat=alpha", "btnEditCat", "O nome \"alpha\" já existe!", kAppTitle);
    row("rename category: dots", "dir=Notas;cat=...", "btnEditCat", "O nome \"...\" " + dots, renCat);
    row("rename category: gone", "dir=Notas;cat=Novo;rm=Notas", "btnEditCat",
        "Categoria não renomeada!\r\nA pasta \"Notas\" não foi encontrada.", renCat, "/", true);
    row("rename category: taken meanwhile", "dir=Notas;cat=Beta;later:put=beta/b.txt", "btnEditCat",
        "Categoria não renomeada!\r\nJá existe uma pasta chamada \"Beta\".", renCat, "/", true, "+beta +beta/b.txt=x");
    row("rename script: blank", "dir=Notas;pick=a", "btnEditFile", "Voce precisa colocar um novo nome!", "Renomear script");
    row("rename script: taken", "dir=Notas;pick=a;file=B", "btnEditFile", "O nome \"B\" já existe!", kAppTitle);
    row("rename script: gone", "dir=Notas;pick=a;file=d;rm=Notas/a.txt", "btnEditFile",
        "Script não renomeado!\r\n" + noScript.arg(QStringLiteral("a")), renScript, "/d", true);
    row("rename script: taken meanwhile", "dir=Notas;pick=a;file=Novo;later:put=Notas/novo.txt", "btnEditFile",
        "Script não renomeado!\r\nJá existe um script chamado \"Novo\".", renScript, "/Novo", true, "+Notas/novo.txt=x");
    row("delete category: sub-folder", "mk=Notas/sub;dir=Notas", "btnDelCat", kNotDeleted, delCat);
    row("delete category: hidden file", "put=Notas/.config;dir=Notas", "btnDelCat", kNotDeleted, delCat);
    row("delete category: gone", "dir=Notas;rm=Notas", "btnDelCat",
        "Categoria não deletada!\r\nA pasta \"Notas\" não foi encontrada.", delCat);
    row("delete script: a folder", "put=Notas/Pasta/d.txt;dir=Notas;pick=Pasta", "btnDelFile",
        "Script não deletado!\r\n" + noScript.arg(QStringLiteral("Pasta")), delScript, "/", true);
    row("delete script: gone", "dir=Notas;pick=a;rm=Notas/a.txt", "btnDelFile",
        "Script não deletado!\r\n" + noScript.arg(QStringLiteral("a")), delScript, "/", true);
    const QString renamed = QStringLiteral("dir=Notas;pick=a;file=c;yes=btnEditFile");
    const QString pickName = QStringLiteral("Voce precisa selecionar um nome!");
    const QString noName = QStringLiteral("O arquivo precisa ter um nome!");
    row("rename script: none chosen", renamed, "btnEditFile", pickName, "Renomear script");
    row("delete script: none chosen", renamed, "btnDelFile", pickName, delScript);
    row("save: none chosen", renamed, "btnEditText", noName, kEditTitle);
    row("save from the panel: none chosen", "search=antigo;found=a --> Notas;search=antigo", "btnEditText2", noName,
        kEditTitle);
    const QString none = QStringLiteral("dir=Notas;yes=btnDelCat;yes=btnDelCat");
    const QString pickCategory = QStringLiteral("Voce precisa selecionar uma Categoria");
    row("delete category: none left", none, "btnDelCat", pickCategory, delCat);
    row("rename category: none left", none, "btnEditCat", pickCategory, renCat);
    row("add script: no category", none + ";file=solto;text=texto", "btnAddFile", pickCategory, addScript, "/solto");
    const QString notMoved = QStringLiteral("Script não movido!\r\n");
    row("move: name taken", "put=Alpha/A.txt;dir=Notas;pick=a", "drag:a>Alpha",
        notMoved + "Já existe um script chamado \"A\" na categoria \"Alpha\".", kMoveTitle);
    row("move: no script", "dir=Notas;pick=leia.doc", "drag:leia.doc>Alpha",
        notMoved + "O item \"leia.doc\" não é um script; só scripts podem ser movidos.", kMoveTitle);
    row("move: unsaved text", "dir=Notas;pick=a;text=novo", "drag:a>Alpha",
        notMoved + "O texto do script \"a\" foi alterado e não foi salvo; salve-o com Editar antes de movê-lo.",
        kMoveTitle);
    row("move: category gone", "dir=Notas;pick=a;later:rm=Alpha", "drag:a>Alpha",
        notMoved + "A pasta da categoria \"Alpha\" não foi encontrada.", kMoveTitle, "/", true, "-Alpha -Alpha/x.txt");
    row("save: character", "dir=Notas;pick=a;text=neve ☃", "btnEditText",
        "Arquivo não editado\r\n" + character.arg(QStringLiteral("☃"), QStringLiteral("2603")), kEditTitle, "/", true);
    row("save: category gone", "dir=Notas;pick=a;text=depois;rm=Notas", "btnEditText", kNotSaved, kEditTitle, "/", true);
}

// A press refused or failing: its message, the library as the press found it
// (but for what the program was told to change), the text kept, the lists in
// line with the disk.
void TestEditing::refusals()
{
    QFETCH(QString, steps);
    QFETCH(QString, button);
    QFETCH(bool, asked);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QString, boxes);
    QFETCH(QString, changes);
    Session s;
    if (s.lib.stick() && steps.contains(QStringLiteral("a:b")))
        QSKIP("FAT and exFAT take no ':' in a name");
    s.act(steps);
    const Tree expected = changed(s.lib.tree(), changes);
    const QString shown = s.win.shown();
    const QStringList answers = asked ? QStringList{"Sim", "OK"} : QStringList{"OK"};
    QCOMPARE(s.win.press(s.watcher, qPrintable(button), answers).last(), okBox(text, title));
    QCOMPARE(s.lib.tree(), expected);
    QCOMPARE(s.win.shown(), shown);
    QCOMPARE(s.win.catBox()->text() + u'/' + s.win.fileBox()->text(), boxes);
    s.expectListsMatchDisk();
}

void TestEditing::everyFailingStepLeavesTheOldBytes_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("failure");
    QTest::newRow("save") << "dir=Notas;pick=a;text=novo texto" << "btnEditText" << kNotSaved;
    QTest::newRow("save from the search panel") << "search=antigo;found=a --> Notas;text=novo texto" << "btnEditText2"
                                                << kNotSaved;
    QTest::newRow("add script") << "dir=Notas;pick=a;text=novo texto;file=novo" << "btnAddFile"
                                << "Script não adicionado!\r\nNão foi possível gravar o arquivo do script \"novo\".";
    QTest::newRow("rename category") << "dir=Notas;cat=Outra" << "btnEditCat"
                                     << "Categoria não renomeada!\r\nNão foi possível renomear a pasta \"Notas\"; ela "
                                        "pode estar em uso.";
    QTest::newRow("rename script") << "dir=Notas;pick=a;file=c" << "btnEditFile"
                                   << "Script não renomeado!\r\nNão foi possível renomear o arquivo do script \"a\"; "
                                      "ele pode estar em uso.";
    const QString notMoved = QStringLiteral("Script não movido!\r\nNão foi possível mover o arquivo do script \"a\"; "
                                            "ele pode estar em uso.");
    QTest::newRow("move script") << "dir=Notas;pick=a" << "drag:a>Alpha" << notMoved;
    // A small disk on an empty category: the move copies, flushes, then removes.
    QTest::newRow("move script to another disk") << "mount=Disco;dir=Notas;pick=a" << "drag:a>Disco" << notMoved;
}

// Each writing step of each operation fails in turn: the library stays as it
// was, byte for byte, with no temporary left over, and the text stays shown.
void TestEditing::everyFailingStepLeavesTheOldBytes()
{
    QFETCH(QString, steps);
    QFETCH(QString, button);
    QFETCH(QString, failure);
    int count = 0;
    for (int k = 0; k <= count; ++k) {
        Session s;
        s.act(steps);
        if (s.disk && !s.disk->mounted)
            QSKIP("mounting a small tmpfs is not allowed here (it needs root)");
        const QString shown = s.win.shown();
        const Tree before = s.lib.tree();
        fs::testing::failStep(k);
        s.watcher.answer(QStringLiteral("Sim")).answer(QStringLiteral("OK"));
        s.win.use(button);
        const int taken = fs::testing::failStep(0);
        const QStringList texts = s.watcher.texts();
        if (k == 0) {
            // The clean run tells how many writing steps there are.
            count = taken;
            QVERIFY(count >= 1 && s.lib.tree() != before && !texts.contains(failure));
            continue;
        }
        QCOMPARE(QString::number(k) + u' ' + texts.value(texts.size() - 1), QString::number(k) + u' ' + failure);
        QCOMPARE(s.lib.tree(), before);
        QCOMPARE(s.win.shown(), shown);
        s.expectListsMatchDisk();
    }
}

void TestEditing::addingKeepsTheChoice()
{
    Session s;
    // Blanks around a name go; the script chosen stays.
    s.act("dir=Notas;pick=a;dir=Notas;cat=  Bolos  ;press=btnAddCat;cat=Meus  Textos antigos;press=btnAddCat");
    QCOMPARE(s.state(), QStringLiteral("Alpha Bolos Meus  Textos antigos Notas | a b leia.doc | Notas/a | antigo | /"));
    // The new script holds the viewer's text.
    s.act("pick=b;text=Olá \"mundo\"\nfim € ¤;file=  Carta  ;press=btnAddFile");
    QCOMPARE(s.state(), QStringLiteral("Alpha Bolos Meus  Textos antigos Notas | a b Carta leia.doc | Notas/b |  | /"));
    // An empty viewer gives the four-byte script; a name ending in .txt is kept
    // whole, read again from the disk and opened.
    s.act("file=0;press=btnAddFile;text=só a nota;file=nota.txt;press=btnAddFile;dir=Alpha;dir=Notas;pick=nota.txt");
    QCOMPARE(entries(s.win.files()).join(u' ') + u'/' + s.win.shown(),
             QStringLiteral("0 a b Carta leia.doc nota.txt/só a nota"));
    Tree added = kLibrary;
    added.insert({{"Bolos", "<dir>"}, {"Meus  Textos antigos", "<dir>"}, {"Notas/0.txt", "\"\"\r\n"},
                  {"Notas/nota.txt.txt", latin1("\"só a nota\"\r\n")},
                  {"Notas/Carta.txt", latin1("\"Olá ¤mundo¤\r\nfim ") + "\x80 \xA4\"\r\n"}});
    QCOMPARE(s.lib.tree(), added);
}

// A line of megabytes is shown in pieces and many lines share paragraphs; what
// is saved and copied (quotes and no-break spaces as shown) has no break the user
// did not type and loses none, whatever the user types, pastes, deletes and undoes.
void TestEditing::longLinesSaveAsTheyWere()
{
    Session s;
    const QByteArray line = QByteArray("palavra ").repeated(12000) + QByteArray(20000, 'x') + "\xA0\xA4"
        + QByteArray("fim ").repeated(9000);
    QByteArray rest;
    for (int i = 0; i < 25000; ++i)
        rest += "\r\nlinha " + QByteArray::number(i);
    const QByteArray file = "\"" + line + rest + "\"\r\n";
    s.lib.write(QStringLiteral("Notas/a.txt"), file);
    s.act("dir=Notas;pick=a");
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = QString::fromLatin1(line).replace(QChar(0xA4), u'"');
    const auto saved = [&] {
        s.win.press(s.watcher, "btnEditText", {"Sim", "OK"});
        return s.lib.read(QStringLiteral("Notas/a.txt"));
    };
    const auto with = [&](qsizetype at, qsizetype to, const QByteArray& typed) {
        return "\"" + line.left(at) + typed + line.mid(to) + rest + "\"\r\n";
    };
    QTextDocument* doc = s.win.viewer()->document();
    QVERIFY(doc->blockCount() > 10 && doc->blockCount() < 5000);  // pieces, and lines sharing paragraphs
    QCOMPARE(saved(), file);
    s.win.click("btnCopy");
    QCOMPARE(clipboard->text(), text + QString::fromLatin1(rest).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    // Block k of the line starts after k breaks between pieces.
    const auto start = [&](int k) { return doc->findBlockByNumber(k).position(); };
    const auto select = [&](int from, int to) {
        QTextCursor cursor(doc);
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        s.win.viewer()->setTextCursor(cursor);
    };
    const auto undoAll = [&] {
        while (doc->isUndoAvailable())
            QTest::keyClick(s.win.viewer(), Qt::Key_Z, Qt::ControlModifier);
    };
    const int s1 = start(1), s2 = start(2), s3 = start(3), length2 = doc->findBlockByNumber(2).length() - 1;
    // A selection across a break copies the text between.
    select(s1 + 5, s2 + 7);
    s.win.click("btnCopy");
    QCOMPARE(clipboard->text(), text.mid(s1 - 1 + 5, s2 - s1 + 1));
    // Backspace at a piece's start removes no character; Enter breaks the line there.
    select(s3, s3);
    QTest::keyClick(s.win.viewer(), Qt::Key_Backspace);
    QTest::keyClick(s.win.viewer(), Qt::Key_Return);
    QTest::keyClicks(s.win.viewer(), QStringLiteral("novo"));
    QCOMPARE(saved(), with(s3 - 3, s3 - 3, "\r\nnovo"));
    undoAll();
    QCOMPARE(saved(), file);
    // An emptied piece takes a typed or pasted line break as a line break.
    select(s2, s2 + length2);
    QTest::keyClick(s.win.viewer(), Qt::Key_Delete);
    QTest::keyClicks(s.win.viewer(), QStringLiteral("r"));
    QTest::keyClick(s.win.viewer(), Qt::Key_Return);
    QTest::keyClicks(s.win.viewer(), QStringLiteral("s"));
    QCOMPARE(saved(), with(s2 - 2, s2 - 2 + length2, "r\r\ns"));
    undoAll();
    select(s2, s2 + length2);
    clipboard->setText(QStringLiteral("p\nq"));
    QTest::keyClick(s.win.viewer(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(saved(), with(s2 - 2, s2 - 2 + length2, "p\r\nq"));
    // Copying an empty viewer leaves the clipboard empty too.
    s.win.viewer()->clear();
    s.win.click("btnCopy");
    QCOMPARE(clipboard->text(), QString());
}

void TestEditing::fullDiskKeepsTheScriptAndTheText()
{
    SmallDisk disk;
    if (!disk.mounted)
        QSKIP("mounting a small tmpfs is not allowed here (it needs root)");
    const QString scripts = disk.path() + QStringLiteral("/scripts");
    QDir().mkpath(scripts + QStringLiteral("/Notas"));
    raw::write(QFile::encodeName(scripts + QStringLiteral("/Notas/a.txt")), "\"antigo\"\r\n");
    MainDriver win(scripts);
    ModalWatcher watcher;
    disk.fill();
    clickItem(win.files(), QStringLiteral("a"));
    win.typeViewer(QStringLiteral("um texto curto"));
    QCOMPARE(win.press(watcher, "btnEditText", {"Sim", "OK"})[1],
             okBox(QStringLiteral("Arquivo não editado\r\nNão foi possível gravar o script \"a\" na categoria "
                                  "\"Notas\". O texto continua no visualizador. O disco está cheio."), kEditTitle));
    win.typeName(win.fileBox(), QStringLiteral("novo"));
    QCOMPARE(win.press(watcher, "btnAddFile")[0],
             okBox(QStringLiteral("Script não adicionado!\r\nNão foi possível gravar o arquivo do script \"novo\". "
                                  "O disco está cheio."), QStringLiteral("Adicionar Script")));
    QCOMPARE(raw::tree(QFile::encodeName(scripts)), (Tree{{"Notas", "<dir>"}, {"Notas/a.txt", "\"antigo\"\r\n"}}));
    QCOMPARE(win.shown(), QStringLiteral("um texto curto"));
}

// Links in and out of the library and names in foreign bytes: a change never
// leads outside, and each look-alike entry stays its own file.
void TestEditing::hostileNamesAndLinks()
{
    QByteArray out;
    Session s([&out](const TempLibrary& lib) {
        out = lib.rawPath() + "-fora";  // beside the library, with a name that starts like it
        raw::mkdir(out);
        raw::write(out + "/fora.txt", "\"de fora\"\r\n");
        raw::symlink(out, lib.rawPath("Fora"));
        raw::symlink("Notas", lib.rawPath("Espelho"));
        raw::symlink(out + "/fora.txt", lib.rawPath("Notas/elo.txt"));
        raw::mkdir(lib.rawPath("Caf\xe9"));
        raw::write(lib.rawPath("Caf\xe9/x.txt"), "\"x\"\r\n");
        raw::write(lib.rawPath("Alpha/ma\xe7\xe3.txt"), "\"janela\"\r\n");
        raw::write(lib.rawPath("Alpha/ma\xc3\xa7\xc3\xa3.txt"), "\"fruta\"\r\n");
    });
    QCOMPARE(entries(s.win.dirs()), (QStringList{"Alpha", QStringLiteral("Café"), "Espelho", "Fora", "Notas"}));
    QCOMPARE(entries(s.win.files()), (QStringList{QStringLiteral("maçã"), QStringLiteral("maçã"), "x"}));
    // The look-alikes stay apart: each entry opens, saves and renames its own file.
    clickRow(s.win.files(), 0);
    const int windowRow = s.win.shown() == QStringLiteral("janela") ? 0 : 1;
    clickRow(s.win.files(), 1 - windowRow);
    QCOMPARE(s.win.shown(), QStringLiteral("fruta"));
    clickRow(s.win.files(), windowRow);
    s.act("text=vidro;yes=btnEditText");
    clickRow(s.win.files(), windowRow);
    s.act("file=janela;yes=btnEditFile");
    // A script that leads outside is shown but never written through; deleting
    // it removes the link only.
    s.act("dir=Notas;pick=elo");
    QCOMPARE(s.win.shown(), QStringLiteral("de fora"));
    s.act("text=trocado");
    QCOMPARE(s.win.press(s.watcher, "btnEditText", {"Sim", "OK"})[1],
             okBox(QStringLiteral("Arquivo não editado\r\nO script \"elo\"") + kOutside, kEditTitle));
    s.act("yes=btnDelFile;active;dir=Notas");
    // No script moves onto itself through a linked category.
    QCOMPARE(s.win.press(s.watcher, "drag:b>Espelho")[0],
             okBox("Script não movido!\r\nJá existe um script chamado \"b\" na categoria \"Espelho\".", kMoveTitle));
    // Deleting a linked category removes the link, never what it leads to; one
    // in foreign bytes goes whole.
    s.act("active;dir=Fora;yes=btnDelCat;dir=Espelho;yes=btnDelCat;active;dir=Café;yes=btnDelCat");
    QCOMPARE(s.watcher.texts().last(), QStringLiteral("Categoria deletada!"));
    Tree expected = kLibrary;
    expected.insert({{"Alpha/janela.txt", "\"vidro\"\r\n"}, {"Alpha/ma\xc3\xa7\xc3\xa3.txt", "\"fruta\"\r\n"}});
    QCOMPARE(s.lib.tree(), expected);
    QCOMPARE(raw::tree(out), (Tree{{"fora.txt", "\"de fora\"\r\n"}}));
}

// After a move the lists, count and size are the disk's, and go on following it.
void TestEditing::movingFollowsTheDisk()
{
    Session s;
    s.act("dir=Notas;pick=b");
    s.win.press(s.watcher, "drag:a>Alpha", {"Sim", "OK"});
    QCOMPARE(s.win.caption() + u'|' + s.win.shown(), QStringLiteral("Notas: 2 scripts/12 bytes|"));
    s.act("put=Notas/c.txt");
    QTRY_COMPARE(entries(s.win.files()), (QStringList{"b", "c", "leia.doc"}));
    s.act("dir=Alpha;pick=a");
    QCOMPARE(entries(s.win.files()).join(u' ') + u'|' + s.win.shown(), QStringLiteral("a x|antigo"));
}

// A stick pulled out while the program runs: the next save says it failed and
// keeps the text; plugged in again, the stick holds what it held.
void TestEditing::aStickPulledOut()
{
    Session s;
    if (!s.lib.stick())
        QSKIP("for a library on a stick (CORVANE_TEST_STICK)");
    s.act("dir=Notas;pick=a;text=novo texto");
    s.lib.stick()->tool("out");
    QCOMPARE(s.win.press(s.watcher, "btnEditText", {"Sim", "OK"})[1], okBox(kNotSaved, kEditTitle));
    QCOMPARE(s.win.shown() + s.lib.stick()->tool("in"), QStringLiteral("novo texto"));
    QCOMPARE(s.lib.tree(), kLibrary);
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
