// Adding, renaming and deleting categories through the main window.
#include "support/MainDriver.h"

#include <QFileInfo>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

using namespace corvane;
using namespace corvane::test;

class TestEditCategories : public QObject {
    Q_OBJECT
private slots:
    void addTrimsSortsAndKeepsTheSelection();
    void addRefusals();
    void addFailureKeepsTheName();
    void renameWithYesAndNo();
    void renameRefusals();
    void renameFailures();
    void deleteWithYesAndNo();
    void deleteRefusesWhatItCannotFinish();
    void deletingTheLastCategory();
    void dotDotCategoryNeverLeavesTheLibrary();
};

void TestEditCategories::addTrimsSortsAndKeepsTheSelection()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    lib.mkdir(QStringLiteral("Receitas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"texto a\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    clickItem(win.files(), QStringLiteral("a"));
    clickItem(win.dirs(), QStringLiteral("Notas"));  // focus rule only: still selected
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("texto a"));

    win.typeName(win.catBox(), QStringLiteral("  Bolos  "));
    win.press(watcher, "btnAddCat", {});
    win.typeName(win.catBox(), QStringLiteral("Meus  Textos antigos demais"));  // cut at 20
    QCOMPARE(win.catBox()->text(), QStringLiteral("Meus  Textos antigos"));
    win.press(watcher, "btnAddCat", {});
    QCOMPARE(lib.entries(), (QStringList{"Bolos", "Meus  Textos antigos", "Notas", "Receitas"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Bolos", "Meus  Textos antigos", "Notas", "Receitas"}));
    QCOMPARE(win.catBox()->text(), QString());

    // The new entry landed before the selected one, which stays chosen with its
    // scripts and text.
    QCOMPARE(win.dir(), QStringLiteral("Notas"));
    QCOMPARE(entries(win.files()), QStringList{"a"});
    QCOMPARE(win.file(), QStringLiteral("a"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("texto a"));
}

void TestEditCategories::addRefusals()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Leia"), "arquivo solto");  // a file, not a category
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString title = QStringLiteral("Adicionar Categoria");

    // Empty or blank: the box keeps what it holds.
    for (const char* blank : {"", "   "}) {
        win.typeName(win.catBox(), QLatin1String(blank));
        expectBox(win.press(watcher, "btnAddCat")[0], QStringLiteral("Você precisa colocar um nome!"), title);
        QCOMPARE(win.catBox()->text(), QLatin1String(blank));
    }
    // Present in another case, or as a file: the box is emptied. Names the file
    // system treats specially are typeable but refused, and stay in the box.
    const struct { const char* name; QString text, title; bool kept; } refused[] = {
        {"NOTAS", QStringLiteral("O nome \"NOTAS\" já existe!"), kAppTitle, false},
        {"leia", QStringLiteral("O nome \"leia\" já existe!"), kAppTitle, false},
        {"..", QStringLiteral("O nome \"..\" não pode ser usado: é formado só por pontos."), title, true},
        {"Fim.", QStringLiteral("O nome \"Fim.\" não pode ser usado: termina com ponto ou espaço."), title, true},
    };
    for (const auto& r : refused) {
        win.typeName(win.catBox(), QLatin1String(r.name));
        expectBox(win.press(watcher, "btnAddCat")[0], r.text, r.title);
        QCOMPARE(win.catBox()->text(), r.kept ? QLatin1String(r.name) : QString());
    }

    // A pasted path loses its separator; what is left would be a hidden folder,
    // so it is refused and nothing leaves or enters the scripts folder.
    win.typeName(win.catBox(), QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("../x"));
    QTest::keyClick(win.catBox(), Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(win.catBox()->text(), QStringLiteral("..x"));
    QCOMPARE(win.press(watcher, "btnAddCat")[0].text,
             QStringLiteral("O nome \"..x\" não pode ser usado: começa com ponto, o que o deixaria oculto."));
    QCOMPARE(lib.entries(), (QStringList{"Leia", "Notas"}));
    QCOMPARE(QDir(lib.appDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"scripts"});
    QCOMPARE(entries(win.dirs()), (QStringList{"Notas"}));
}

void TestEditCategories::addFailureKeepsTheName()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"a\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    clickItem(win.files(), QStringLiteral("a"));
    clickItem(win.dirs(), QStringLiteral("Notas"));

    // The scripts folder vanishes behind the program's back: nothing to create in.
    QVERIFY(QDir(lib.scripts()).removeRecursively());
    win.typeName(win.catBox(), QStringLiteral("Nova"));
    expectBox(win.press(watcher, "btnAddCat")[0],
              QStringLiteral("Categoria não adicionada!\r\nNão foi possível criar a pasta \"Nova\" na pasta "
                             "dos scripts."),
              QStringLiteral("Adicionar Categoria"));
    QVERIFY(!QFileInfo::exists(lib.scripts()));
    QCOMPARE(win.catBox()->text(), QStringLiteral("Nova"));
    QCOMPARE(entries(win.dirs()), QStringList());  // in line with the disk
    QCOMPARE(entries(win.files()), QStringList());
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("a"));
}

void TestEditCategories::renameWithYesAndNo()
{
    TempLibrary lib;
    for (const char* c : {"Alpha", "Notas", "Zeta"})
        lib.mkdir(QLatin1String(c));
    lib.write(QStringLiteral("Notas/a.txt"), "\"a\"\r\n");
    lib.write(QStringLiteral("Notas/b.txt"), "\"b\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    clickItem(win.dirs(), QStringLiteral("Notas"));
    win.typeName(win.catBox(), QStringLiteral(" Receitas "));
    auto seen = win.press(watcher, "btnEditCat", {"Sim", "OK"});
    expectBox(seen[0], QStringLiteral("Você tem certeza que quer renomear\r\n\"Notas\" para \"Receitas\"?"),
              QStringLiteral("Renomear categoria"), kYesNo);
    QCOMPARE(seen[0].defaultButton, QStringLiteral("Sim"));
    expectBox(seen[1], QStringLiteral("Categoria renomeada!"), QStringLiteral("Renomear Categoria"));
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Receitas", "Zeta"}));
    QCOMPARE(lib.entries(QStringLiteral("Receitas")), (QStringList{"a.txt", "b.txt"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Receitas", "Zeta"}));
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));  // the first entry, wherever the new name went
    QCOMPARE(win.teste(), QStringLiteral("Alpha: 0 scripts"));
    QCOMPARE(win.catBox()->text(), QString());

    // A case-only change of the same folder is a rename.
    clickItem(win.dirs(), QStringLiteral("Receitas"));
    win.typeName(win.catBox(), QStringLiteral("RECEITAS"));
    QCOMPARE(win.press(watcher, "btnEditCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria renomeada!"));
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "RECEITAS", "Zeta"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "RECEITAS", "Zeta"}));

    // No: nothing on disk changes, the box is emptied, the first is selected.
    clickItem(win.dirs(), QStringLiteral("Zeta"));
    win.typeName(win.catBox(), QStringLiteral("Outra"));
    expectBox(win.press(watcher, "btnEditCat", {"Não", "OK"})[1], QStringLiteral("Categoria não renomeada!"),
              QStringLiteral("Renomear Categoria"));
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "RECEITAS", "Zeta"}));
    QCOMPARE(win.catBox()->text(), QString());
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));
}

void TestEditCategories::renameRefusals()
{
    TempLibrary lib;
    for (const char* c : {"Alpha", "Zeta"})
        lib.mkdir(QLatin1String(c));
    lib.write(QStringLiteral("Alpha/a.txt"), "\"a\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString title = QStringLiteral("Renomear Categoria");

    // No name, a name present in another case, a name of dots: refused before
    // any question, the box emptied, the first category selected.
    const struct { const char* name; QString text, title; } refused[] = {
        {"", QStringLiteral("Voce precisa colocar um novo nome!"), title},
        {"alpha", QStringLiteral("O nome \"alpha\" já existe!"), kAppTitle},
        {"...", QStringLiteral("O nome \"...\" não pode ser usado: é formado só por pontos."), title},
    };
    for (const auto& r : refused) {
        clickItem(win.dirs(), QStringLiteral("Zeta"));
        win.typeName(win.catBox(), QLatin1String(r.name));
        expectBox(win.press(watcher, "btnEditCat")[0], r.text, r.title);
        QCOMPARE(win.catBox()->text(), QString());
        QCOMPARE(win.dir(), QStringLiteral("Alpha"));
    }
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Zeta"}));
    QCOMPARE(lib.entries(QStringLiteral("Alpha")), QStringList{"a.txt"});
}

void TestEditCategories::renameFailures()
{
    TempLibrary lib;
    for (const char* c : {"Alpha", "Gama", "Zeta"})
        lib.mkdir(QLatin1String(c));
    lib.write(QStringLiteral("Gama/g.txt"), "\"g\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString title = QStringLiteral("Renomear Categoria");

    // The folder was removed behind the program's back.
    clickItem(win.dirs(), QStringLiteral("Zeta"));
    QVERIFY(QDir(lib.path(QStringLiteral("Zeta"))).removeRecursively());
    win.typeName(win.catBox(), QStringLiteral("Novo"));
    expectBox(win.press(watcher, "btnEditCat", {"Sim", "OK"})[1],
              QStringLiteral("Categoria não renomeada!\r\nA pasta \"Zeta\" não foi encontrada."), title);
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Gama"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Gama"}));
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));

    // Another program creates the new name while the question is open: no merge.
    clickItem(win.dirs(), QStringLiteral("Gama"));
    win.typeName(win.catBox(), QStringLiteral("Beta"));
    whileNextBoxIsOpen([&] {
        lib.mkdir(QStringLiteral("beta"));
        lib.write(QStringLiteral("beta/b.txt"), "\"b\"\r\n");
    });
    expectBox(win.press(watcher, "btnEditCat", {"Sim", "OK"})[1],
              QStringLiteral("Categoria não renomeada!\r\nJá existe uma pasta chamada \"Beta\"."), title);
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Gama", "beta"}));
    QCOMPARE(lib.entries(QStringLiteral("Gama")), QStringList{"g.txt"});
    QCOMPARE(lib.entries(QStringLiteral("beta")), QStringList{"b.txt"});
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "beta", "Gama"}));
}

void TestEditCategories::deleteWithYesAndNo()
{
    TempLibrary lib;
    for (const char* c : {"Alpha", "Notas", "Zeta"})
        lib.mkdir(QLatin1String(c));
    lib.write(QStringLiteral("Alpha/x.txt"), "\"x\"\r\n");
    lib.write(QStringLiteral("Notas/a.txt"), "\"a\"\r\n");
    lib.write(QStringLiteral("Notas/b.txt"), "\"b\"\r\n");
    lib.write(QStringLiteral("Notas/leia.doc"), "doc");
    lib.write(QStringLiteral("Notas/semponto"), "sem extensão");
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString title = QStringLiteral("Deletar Categoria");

    clickItem(win.dirs(), QStringLiteral("Notas"));
    win.typeName(win.catBox(), QStringLiteral("qualquer"));
    auto seen = win.press(watcher, "btnDelCat", {"Não", "OK"});
    expectBox(seen[0],
              QStringLiteral("Você tem certeza que quer deletar \r\n\"Notas\"?\r\nTodos os scripts contidos nela\r\n"
                             "serão também deletados!"),
              QStringLiteral("Deletar categoria"), kYesNo);
    QCOMPARE(seen[0].defaultButton, QStringLiteral("Sim"));
    expectBox(seen[1], QStringLiteral("Categoria não deletada!"), title);
    QCOMPARE(lib.entries(QStringLiteral("Notas")).size(), 4);
    QCOMPARE(win.catBox()->text(), QString());
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));

    clickItem(win.dirs(), QStringLiteral("Notas"));
    expectBox(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1], QStringLiteral("Categoria deletada!"), title);
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Zeta"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Zeta"}));
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));
    QCOMPARE(entries(win.files()), QStringList{"x"});
}

void TestEditCategories::deleteRefusesWhatItCannotFinish()
{
    TempLibrary lib;
    for (const char* c : {"Alpha", "Oculta", "Pastas", "Tarde"})
        lib.mkdir(QLatin1String(c));
    lib.mkdir(QStringLiteral("Pastas/sub"));
    lib.write(QStringLiteral("Pastas/p.txt"), "\"p\"\r\n");
    lib.write(QStringLiteral("Oculta/.config"), "oculto");
    lib.write(QStringLiteral("Oculta/o.txt"), "\"o\"\r\n");
    lib.write(QStringLiteral("Tarde/t.txt"), "\"t\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString title = QStringLiteral("Deletar Categoria");

    // A sub-folder or a hidden file: refused before the question, nothing deleted.
    for (const char* c : {"Pastas", "Oculta"}) {
        clickItem(win.dirs(), QLatin1String(c));
        expectBox(win.press(watcher, "btnDelCat")[0],
                  QStringLiteral("Categoria não deletada!\r\nA pasta \"%1\" contém subpastas ou arquivos ocultos, "
                                 "que não são scripts. Nada foi apagado.")
                      .arg(QLatin1String(c)),
                  title);
    }
    QCOMPARE(lib.entries(QStringLiteral("Pastas")), (QStringList{"p.txt", "sub"}));
    QCOMPARE(lib.entries(QStringLiteral("Oculta")), (QStringList{".config", "o.txt"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Oculta", "Pastas", "Tarde"}));

    // A sub-folder appears while the question is open: the category goes to the
    // trash whole, as confirmed, where nothing is lost.
    lib.mkdir(QStringLiteral("Tarde2"));
    lib.write(QStringLiteral("Tarde2/t.txt"), "\"t\"\r\n");
    QTRY_COMPARE(entries(win.dirs()), (QStringList{"Alpha", "Oculta", "Pastas", "Tarde", "Tarde2"}));
    clickItem(win.dirs(), QStringLiteral("Tarde2"));
    whileNextBoxIsOpen([&] { lib.mkdir(QStringLiteral("Tarde2/nova")); });
    expectBox(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1], QStringLiteral("Categoria deletada!"), title);
    QVERIFY(QFileInfo(trashPath(QStringLiteral("files/Tarde2/nova"))).isDir());
    QCOMPARE(QFileInfo(trashPath(QStringLiteral("files/Tarde2/t.txt"))).size(), 5);
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Oculta", "Pastas", "Tarde"}));
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));

    // Removed behind the program's back just before the click: refused.
    QVERIFY(showActive(&win.w));
    clickItem(win.dirs(), QStringLiteral("Tarde"));
    QVERIFY(QDir(lib.path(QStringLiteral("Tarde"))).removeRecursively());
    expectBox(win.press(watcher, "btnDelCat")[0],
              QStringLiteral("Categoria não deletada!\r\nA pasta \"Tarde\" não foi encontrada."), title);
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Oculta", "Pastas"}));
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));
}

void TestEditCategories::deletingTheLastCategory()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.mkdir(QStringLiteral("Unica"));
    lib.write(QStringLiteral("Alpha/a.txt"), "\"a\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    clickItem(win.dirs(), QStringLiteral("Unica"));
    win.press(watcher, "btnDelCat", {"Sim", "OK"});
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));
    QCOMPARE(entries(win.files()), QStringList{"a"});
    QCOMPARE(win.press(watcher, "btnDelCat", {"Sim", "OK"})[1].text, QStringLiteral("Categoria deletada!"));
    QCOMPARE(lib.entries(), QStringList());
    QCOMPARE(win.dirs()->count(), 0);
    QCOMPARE(win.files()->count(), 0);
    QCOMPARE(win.viewer()->toPlainText(), QString());
    QCOMPARE(win.teste(), QString());

    // With nothing selected every command refuses and nothing is written.
    const QString pick = QStringLiteral("Voce precisa selecionar uma Categoria");
    expectBox(win.press(watcher, "btnDelCat")[0], pick, QStringLiteral("Deletar Categoria"));
    expectBox(win.press(watcher, "btnEditCat")[0], pick, QStringLiteral("Renomear Categoria"));
    win.typeName(win.fileBox(), QStringLiteral("solto"));
    win.typeViewer(QStringLiteral("texto"));
    expectBox(win.press(watcher, "btnAddFile")[0], pick, QStringLiteral("Adicionar Script"));
    QCOMPARE(lib.entries(), QStringList());
    QCOMPARE(QDir(lib.appDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"scripts"});
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("texto"));
}

void TestEditCategories::dotDotCategoryNeverLeavesTheLibrary()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/n.txt"), "\"n\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    // The list has gone out of line with an entry naming the parent folder.
    win.dirs()->addItem(QStringLiteral(".."));
    clickItem(win.dirs(), QStringLiteral(".."));
    QCOMPARE(win.dir(), QStringLiteral(".."));
    const QString refused = QStringLiteral("O nome \"..\" não pode ser usado: é formado só por pontos.");
    expectBox(win.press(watcher, "btnDelCat")[0], refused, QStringLiteral("Deletar Categoria"));
    clickItem(win.dirs(), QStringLiteral(".."));
    win.typeName(win.catBox(), QStringLiteral("Outro"));
    expectBox(win.press(watcher, "btnEditCat")[0], refused, QStringLiteral("Renomear Categoria"));
    QCOMPARE(QDir(lib.appDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"scripts"});
    QCOMPARE(lib.entries(), QStringList{"Notas"});
    QCOMPARE(lib.read(QStringLiteral("Notas/n.txt")), QByteArray("\"n\"\r\n"));
}

QTEST_MAIN(TestEditCategories)
#include "tst_edit_categories.moc"
