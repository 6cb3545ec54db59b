// Adding, renaming and deleting categories through the main window.
#include "support/MainDriver.h"

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
    win.click("btnAddCat");
    win.typeName(win.catBox(), QStringLiteral("Meus  Textos antigos demais"));  // cut at 20
    QCOMPARE(win.catBox()->text(), QStringLiteral("Meus  Textos antigos"));
    win.click("btnAddCat");
    QCOMPARE(watcher.seen.size(), 0);
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
    watcher.answer("OK").answer("OK");
    win.click("btnAddCat");
    win.typeName(win.catBox(), QStringLiteral("   "));
    win.click("btnAddCat");
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[0], QStringLiteral("Você precisa colocar um nome!"), title);
    expectBox(watcher.seen[1], QStringLiteral("Você precisa colocar um nome!"), title);
    QCOMPARE(win.catBox()->text(), QStringLiteral("   "));

    // Present in another case, or as a file: the box is emptied.
    watcher.clear();
    for (const char* name : {"NOTAS", "leia"}) {
        watcher.answer("OK");
        win.typeName(win.catBox(), QLatin1String(name));
        win.click("btnAddCat");
        QCOMPARE(win.catBox()->text(), QString());
    }
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[0], QStringLiteral("O nome \"NOTAS\" já existe!"), kAppTitle);
    expectBox(watcher.seen[1], QStringLiteral("O nome \"leia\" já existe!"), kAppTitle);

    // Names the file system treats specially are typeable but refused.
    watcher.clear();
    for (const char* name : {"..", "Fim."}) {
        watcher.answer("OK");
        win.typeName(win.catBox(), QLatin1String(name));
        win.click("btnAddCat");
        QCOMPARE(win.catBox()->text(), QLatin1String(name));
    }
    QCOMPARE(watcher.texts(),
             (QStringList{"O nome \"..\" não pode ser usado: é formado só por pontos.",
                          "O nome \"Fim.\" não pode ser usado: termina com ponto ou espaço."}));
    QCOMPARE(watcher.seen[1].title, title);

    // A pasted path loses its separator; what is left would be a hidden folder,
    // so it is refused and nothing leaves or enters the scripts folder.
    watcher.clear();
    win.typeName(win.catBox(), QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("../x"));
    QTest::keyClick(win.catBox(), Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(win.catBox()->text(), QStringLiteral("..x"));
    watcher.answer("OK");
    win.click("btnAddCat");
    QCOMPARE(watcher.texts(),
             QStringList{QStringLiteral("O nome \"..x\" não pode ser usado: começa com ponto, o que o deixaria oculto.")});
    QCOMPARE(lib.entries(), (QStringList{"Leia", "Notas"}));
    QCOMPARE(QDir(lib.appDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"scripts"});
    QCOMPARE(entries(win.dirs()), (QStringList{"Notas"}));
    QCOMPARE(watcher.unexpected, 0);
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
    watcher.answer("OK");
    win.click("btnAddCat");
    QCOMPARE(watcher.seen.size(), 1);
    expectBox(watcher.seen[0],
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
    watcher.answer("Sim").answer("OK");
    win.click("btnEditCat");
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[0], QStringLiteral("Você tem certeza que quer renomear\r\n\"Notas\" para \"Receitas\"?"),
              QStringLiteral("Renomear categoria"), kYesNo);
    QCOMPARE(watcher.seen[0].defaultButton, QStringLiteral("Sim"));
    expectBox(watcher.seen[1], QStringLiteral("Categoria renomeada!"), QStringLiteral("Renomear Categoria"));
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Receitas", "Zeta"}));
    QCOMPARE(lib.entries(QStringLiteral("Receitas")), (QStringList{"a.txt", "b.txt"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Receitas", "Zeta"}));
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));  // the first entry, wherever the new name went
    QCOMPARE(win.teste(), QStringLiteral("Alpha: 0 scripts"));
    QCOMPARE(win.catBox()->text(), QString());

    // A case-only change of the same folder is a rename.
    watcher.clear();
    clickItem(win.dirs(), QStringLiteral("Receitas"));
    win.typeName(win.catBox(), QStringLiteral("RECEITAS"));
    watcher.answer("Sim").answer("OK");
    win.click("btnEditCat");
    QCOMPARE(watcher.texts().last(), QStringLiteral("Categoria renomeada!"));
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "RECEITAS", "Zeta"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "RECEITAS", "Zeta"}));

    // No: nothing on disk changes, the box is emptied, the first is selected.
    watcher.clear();
    clickItem(win.dirs(), QStringLiteral("Zeta"));
    win.typeName(win.catBox(), QStringLiteral("Outra"));
    watcher.answer("Não").answer("OK");
    win.click("btnEditCat");
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[1], QStringLiteral("Categoria não renomeada!"), QStringLiteral("Renomear Categoria"));
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

    clickItem(win.dirs(), QStringLiteral("Zeta"));
    watcher.answer("OK");
    win.click("btnEditCat");  // empty name: no question, the first category selected
    QCOMPARE(watcher.seen.size(), 1);
    expectBox(watcher.seen[0], QStringLiteral("Voce precisa colocar um novo nome!"), title);
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));

    // Onto another category in another case: refused before any question.
    watcher.clear();
    clickItem(win.dirs(), QStringLiteral("Zeta"));
    win.typeName(win.catBox(), QStringLiteral("alpha"));
    watcher.answer("OK");
    win.click("btnEditCat");
    QCOMPARE(watcher.seen.size(), 1);
    expectBox(watcher.seen[0], QStringLiteral("O nome \"alpha\" já existe!"), kAppTitle);
    QCOMPARE(win.catBox()->text(), QString());
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Zeta"}));
    QCOMPARE(lib.entries(QStringLiteral("Alpha")), QStringList{"a.txt"});

    watcher.clear();
    clickItem(win.dirs(), QStringLiteral("Zeta"));
    win.typeName(win.catBox(), QStringLiteral("..."));
    watcher.answer("OK");
    win.click("btnEditCat");
    QCOMPARE(watcher.seen.size(), 1);
    expectBox(watcher.seen[0], QStringLiteral("O nome \"...\" não pode ser usado: é formado só por pontos."),
              title);
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Zeta"}));
    QCOMPARE(watcher.unexpected, 0);
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
    watcher.answer("Sim").answer("OK");
    win.click("btnEditCat");
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[1], QStringLiteral("Categoria não renomeada!\r\nA pasta \"Zeta\" não foi encontrada."),
              title);
    QCOMPARE(lib.entries(), (QStringList{"Alpha", "Gama"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Gama"}));
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));

    // Another program creates the new name while the question is open: no merge.
    watcher.clear();
    clickItem(win.dirs(), QStringLiteral("Gama"));
    win.typeName(win.catBox(), QStringLiteral("Beta"));
    whileNextBoxIsOpen([&] {
        lib.mkdir(QStringLiteral("beta"));
        lib.write(QStringLiteral("beta/b.txt"), "\"b\"\r\n");
    });
    watcher.answer("Sim").answer("OK");
    win.click("btnEditCat");
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[1], QStringLiteral("Categoria não renomeada!\r\nJá existe uma pasta chamada \"Beta\"."),
              title);
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
    watcher.answer("Não").answer("OK");
    win.click("btnDelCat");
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[0],
              QStringLiteral("Você tem certeza que quer deletar \r\n\"Notas\"?\r\nTodos os scripts contidos nela\r\n"
                             "serão também deletados!"),
              QStringLiteral("Deletar categoria"), kYesNo);
    QCOMPARE(watcher.seen[0].defaultButton, QStringLiteral("Sim"));
    expectBox(watcher.seen[1], QStringLiteral("Categoria não deletada!"), title);
    QCOMPARE(lib.entries(QStringLiteral("Notas")).size(), 4);
    QCOMPARE(win.catBox()->text(), QString());
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));

    watcher.clear();
    clickItem(win.dirs(), QStringLiteral("Notas"));
    watcher.answer("Sim").answer("OK");
    win.click("btnDelCat");
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[1], QStringLiteral("Categoria deletada!"), title);
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
        watcher.clear();
        clickItem(win.dirs(), QLatin1String(c));
        watcher.answer("OK");
        win.click("btnDelCat");
        QCOMPARE(watcher.seen.size(), 1);
        expectBox(watcher.seen[0],
                  QStringLiteral("Categoria não deletada!\r\nA pasta \"%1\" contém subpastas ou arquivos ocultos, "
                                 "que não são scripts. Nada foi apagado.")
                      .arg(QLatin1String(c)),
                  title);
    }
    QCOMPARE(lib.entries(QStringLiteral("Pastas")), (QStringList{"p.txt", "sub"}));
    QCOMPARE(lib.entries(QStringLiteral("Oculta")), (QStringList{".config", "o.txt"}));
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Oculta", "Pastas", "Tarde"}));

    // A sub-folder appears while the question is open: the scripts go as
    // confirmed, the folder stays and so does its entry.
    watcher.clear();
    clickItem(win.dirs(), QStringLiteral("Tarde"));
    whileNextBoxIsOpen([&] { lib.mkdir(QStringLiteral("Tarde/nova")); });
    watcher.answer("Sim").answer("OK");
    win.click("btnDelCat");
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[1],
              QStringLiteral("Categoria não deletada!\r\nNão foi possível apagar a pasta \"Tarde\" por completo."),
              title);
    QCOMPARE(lib.entries(QStringLiteral("Tarde")), QStringList{"nova"});
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Oculta", "Pastas", "Tarde"}));
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));

    // Removed behind the program's back: the list is brought in line.
    watcher.clear();
    clickItem(win.dirs(), QStringLiteral("Tarde"));
    QVERIFY(QDir(lib.path(QStringLiteral("Tarde"))).removeRecursively());
    watcher.answer("OK");
    win.click("btnDelCat");
    QCOMPARE(watcher.seen.size(), 1);
    expectBox(watcher.seen[0], QStringLiteral("Categoria não deletada!\r\nA pasta \"Tarde\" não foi encontrada."),
              title);
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "Oculta", "Pastas"}));
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));
    QCOMPARE(watcher.unexpected, 0);
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
    watcher.answer("Sim").answer("OK");
    win.click("btnDelCat");
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));
    QCOMPARE(entries(win.files()), QStringList{"a"});
    watcher.answer("Sim").answer("OK");
    win.click("btnDelCat");
    QCOMPARE(watcher.texts().last(), QStringLiteral("Categoria deletada!"));
    QCOMPARE(lib.entries(), QStringList());
    QCOMPARE(win.dirs()->count(), 0);
    QCOMPARE(win.files()->count(), 0);
    QCOMPARE(win.viewer()->toPlainText(), QString());
    QCOMPARE(win.teste(), QString());

    // With nothing selected every command refuses and nothing is written.
    watcher.clear();
    watcher.answer("OK").answer("OK").answer("OK");
    win.click("btnDelCat");
    win.click("btnEditCat");
    win.typeName(win.fileBox(), QStringLiteral("solto"));
    win.typeViewer(QStringLiteral("texto"));
    win.click("btnAddFile");
    QCOMPARE(watcher.seen.size(), 3);
    expectBox(watcher.seen[0], QStringLiteral("Voce precisa selecionar uma Categoria"),
              QStringLiteral("Deletar Categoria"));
    expectBox(watcher.seen[1], QStringLiteral("Voce precisa selecionar uma Categoria"),
              QStringLiteral("Renomear Categoria"));
    expectBox(watcher.seen[2], QStringLiteral("Voce precisa selecionar uma Categoria"),
              QStringLiteral("Adicionar Script"));
    QCOMPARE(lib.entries(), QStringList());
    QCOMPARE(QDir(lib.appDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"scripts"});
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("texto"));
    QCOMPARE(watcher.unexpected, 0);
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
    watcher.answer("OK");
    win.click("btnDelCat");
    clickItem(win.dirs(), QStringLiteral(".."));
    win.typeName(win.catBox(), QStringLiteral("Outro"));
    watcher.answer("OK");
    win.click("btnEditCat");
    const QString refused = QStringLiteral("O nome \"..\" não pode ser usado: é formado só por pontos.");
    QCOMPARE(watcher.texts(), (QStringList{refused, refused}));
    QCOMPARE(watcher.seen[0].title, QStringLiteral("Deletar Categoria"));
    QCOMPARE(watcher.seen[1].title, QStringLiteral("Renomear Categoria"));
    QCOMPARE(QDir(lib.appDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"scripts"});
    QCOMPARE(lib.entries(), QStringList{"Notas"});
    QCOMPARE(lib.read(QStringLiteral("Notas/n.txt")), QByteArray("\"n\"\r\n"));
    QCOMPARE(watcher.unexpected, 0);
}

QTEST_MAIN(TestEditCategories)
#include "tst_edit_categories.moc"
