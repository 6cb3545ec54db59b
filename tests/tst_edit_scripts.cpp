// Adding, renaming and deleting scripts through the main window.
#include "support/MainDriver.h"

#include <QDir>
#include <QFile>

using namespace corvane;
using namespace corvane::test;

namespace {

QStringList enabledViewerButtons(MainDriver& win)
{
    return namesWhere(&win.w, {"btnEditText", "btnCopy", "btnPrint", "btnDelFile", "btnEditFile", "btnAddFile"},
                      [](QWidget* c) { return c->isEnabled(); });
}

}  // namespace

class TestEditScripts : public QObject {
    Q_OBJECT
private slots:
    void addWritesTheViewerText();
    void addRefusals();
    void addFailuresKeepTheText();
    void renameWithYesAndNo();
    void renameRefusalsAndFailures();
    void deleteWithYesAndNo();
    void deleteFailures();
};

void TestEditScripts::addWritesTheViewerText()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/b.txt"), "\"b\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    clickItem(win.dirs(), QStringLiteral("Notas"));
    win.typeViewer(QStringLiteral("Olá \"mundo\"\nfim € ¤"));
    win.typeName(win.fileBox(), QStringLiteral("  Carta  "));
    win.press(watcher, "btnAddFile", {});
    QCOMPARE(lib.read(QStringLiteral("Notas/Carta.txt")), latin1("\"Olá ¤mundo¤\r\nfim ") + "\x80 \xA4\"\r\n");
    QCOMPARE(entries(win.files()), (QStringList{"b", "Carta"}));
    QCOMPARE(win.fileBox()->text(), QString());
    QCOMPARE(win.viewer()->toPlainText(), QString());

    // An empty viewer gives the four-byte script; the selection is kept when the
    // new entry lands before it.
    clickItem(win.files(), QStringLiteral("b"));
    win.viewer()->clear();
    win.typeName(win.fileBox(), QStringLiteral("a"));
    win.press(watcher, "btnAddFile", {});
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), QByteArray("\"\"\r\n"));
    QCOMPARE(entries(win.files()), (QStringList{"a", "b", "Carta"}));
    QCOMPARE(win.file(), QStringLiteral("b"));
    QCOMPARE(win.teste(), QStringLiteral("b"));

    // A name ending in .txt shows as typed until the category is read again.
    win.typeName(win.fileBox(), QStringLiteral("nota.txt"));
    win.press(watcher, "btnAddFile", {});
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"Carta.txt", "a.txt", "b.txt", "nota.txt.txt"}));
    QCOMPARE(entries(win.files()), (QStringList{"a", "b", "Carta", "nota.txt"}));
}

void TestEditScripts::addRefusals()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/Carta.txt"), "\"c\"\r\n");
    lib.write(QStringLiteral("Notas/a:b.txt"), "\"de outro programa\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    clickItem(win.dirs(), QStringLiteral("Notas"));
    win.typeViewer(QStringLiteral("meu texto"));

    for (const char* blank : {"", "   "}) {
        win.typeName(win.fileBox(), QLatin1String(blank));
        expectBox(win.press(watcher, "btnAddFile")[0], QStringLiteral("Você precisa colocar um nome válido!"),
                  kAppTitle);
        QCOMPARE(win.fileBox()->text(), QLatin1String(blank));
    }

    // Present in another case: nothing written, the viewer keeps its text.
    win.typeName(win.fileBox(), QStringLiteral("CARTA"));
    expectBox(win.press(watcher, "btnAddFile")[0], QStringLiteral("O nome \"CARTA\" já existe!"), kAppTitle);
    QCOMPARE(win.fileBox()->text(), QString());
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("meu texto"));
    QCOMPARE(lib.read(QStringLiteral("Notas/Carta.txt")), QByteArray("\"c\"\r\n"));

    // A double-clicked name made by another program is checked before it reaches
    // the disk (pasted paths are the category box's test: both are name boxes).
    doubleClickItem(win.files(), QStringLiteral("a:b"));
    QCOMPARE(win.fileBox()->text(), QStringLiteral("a:b"));
    expectBox(win.press(watcher, "btnAddFile")[0],
              QStringLiteral("O nome \"a:b\" não pode ser usado: contém o caractere :, que o sistema não aceita "
                             "em nomes."),
              QStringLiteral("Adicionar Script"));
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"Carta.txt", "a:b.txt"}));
    QCOMPARE(QDir(lib.appDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"scripts"});
}

void TestEditScripts::addFailuresKeepTheText()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/n.txt"), "\"n\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString title = QStringLiteral("Adicionar Script");

    // A character Windows-1252 cannot hold: nothing written, nothing lost.
    clickItem(win.dirs(), QStringLiteral("Notas"));
    win.typeViewer(QStringLiteral("neve ☃ aqui"));
    win.typeName(win.fileBox(), QStringLiteral("Inverno"));
    expectBox(win.press(watcher, "btnAddFile")[0],
              QStringLiteral("Script não adicionado!\r\nO texto contém o caractere \"☃\" (U+2603), que não pode "
                             "ser gravado em um script."),
              title);
    QCOMPARE(lib.entries(QStringLiteral("Notas")), QStringList{"n.txt"});
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("neve ☃ aqui"));
    QCOMPARE(win.fileBox()->text(), QStringLiteral("Inverno"));
    QCOMPARE(entries(win.files()), QStringList{"n"});

    // The category folder was removed behind the program's back.
    QVERIFY(QDir(lib.path(QStringLiteral("Notas"))).removeRecursively());
    win.typeViewer(QStringLiteral("texto"));
    expectBox(win.press(watcher, "btnAddFile")[0],
              QStringLiteral("Script não adicionado!\r\nA pasta da categoria \"Notas\" não foi encontrada."), title);
    QCOMPARE(lib.entries(), QStringList{"Alpha"});
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("texto"));
    QCOMPARE(win.fileBox()->text(), QStringLiteral("Inverno"));
    QCOMPARE(entries(win.dirs()), QStringList{"Alpha"});
    QCOMPARE(entries(win.files()), QStringList());
    QCOMPARE(win.teste(), QString());  // no longer names the vanished category
}

void TestEditScripts::renameWithYesAndNo()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    for (const char* n : {"a", "b", "c"})
        lib.write(QStringLiteral("Notas/%1.txt").arg(QLatin1String(n)), QByteArray("\"") + n + "\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    clickItem(win.files(), QStringLiteral("b"));
    win.typeName(win.fileBox(), QStringLiteral(" Zeta "));
    const auto seen = win.press(watcher, "btnEditFile", {"Sim", "OK"});
    expectBox(seen[0], QStringLiteral("Você tem certeza que quer renomear\r\n\"b\" para \"Zeta\"?"),
              QStringLiteral("Renomear script"), kYesNo);
    QCOMPARE(seen[0].defaultButton, QStringLiteral("Sim"));
    expectBox(seen[1], QStringLiteral("Script renomeado!"), QStringLiteral("renomear script"));
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"Zeta.txt", "a.txt", "c.txt"}));
    QCOMPARE(lib.read(QStringLiteral("Notas/Zeta.txt")), QByteArray("\"b\"\r\n"));
    QCOMPARE(entries(win.files()), (QStringList{"a", "c", "Zeta"}));
    QVERIFY(win.files()->selectedItems().isEmpty());
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("b"));
    QCOMPARE(win.teste(), QStringLiteral("b"));
    QCOMPARE(win.fileBox()->text(), QString());

    // Nothing selected now: a second rename is refused.
    expectBox(win.press(watcher, "btnEditFile")[0], QStringLiteral("Voce precisa selecionar um nome!"),
              QStringLiteral("Renomear script"));
    QCOMPARE(lib.read(QStringLiteral("Notas/Zeta.txt")), QByteArray("\"b\"\r\n"));

    // A case-only change of the same file is a rename.
    clickItem(win.files(), QStringLiteral("a"));
    win.typeName(win.fileBox(), QStringLiteral("A"));
    QCOMPARE(win.press(watcher, "btnEditFile", {"Sim", "OK"})[1].text, QStringLiteral("Script renomeado!"));
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"A.txt", "Zeta.txt", "c.txt"}));

    // No: nothing changes but the name box.
    clickItem(win.files(), QStringLiteral("c"));
    win.typeName(win.fileBox(), QStringLiteral("d"));
    expectBox(win.press(watcher, "btnEditFile", {"Não", "OK"})[1], QStringLiteral("Script não renomeado!"),
              QStringLiteral("renomear script"));
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"A.txt", "Zeta.txt", "c.txt"}));
    QCOMPARE(win.file(), QStringLiteral("c"));
    QCOMPARE(win.fileBox()->text(), QString());
}

void TestEditScripts::renameRefusalsAndFailures()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    for (const char* n : {"a", "b", "c"})
        lib.write(QStringLiteral("Notas/%1.txt").arg(QLatin1String(n)), QByteArray("\"") + n + "\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString title = QStringLiteral("Renomear script");

    clickItem(win.files(), QStringLiteral("a"));
    expectBox(win.press(watcher, "btnEditFile")[0], QStringLiteral("Voce precisa colocar um novo nome!"), title);
    win.typeName(win.fileBox(), QStringLiteral("B"));
    expectBox(win.press(watcher, "btnEditFile")[0], QStringLiteral("O nome \"B\" já existe!"), kAppTitle);
    QCOMPARE(win.fileBox()->text(), QString());
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), QByteArray("\"a\"\r\n"));
    QCOMPARE(lib.read(QStringLiteral("Notas/b.txt")), QByteArray("\"b\"\r\n"));

    // Removed behind the program's back: the list is brought in line and the
    // viewer keeps the text.
    clickItem(win.files(), QStringLiteral("c"));
    win.typeViewer(QStringLiteral("c editado"));
    QVERIFY(QFile::remove(lib.path(QStringLiteral("Notas/c.txt"))));
    win.typeName(win.fileBox(), QStringLiteral("d"));
    expectBox(win.press(watcher, "btnEditFile", {"Sim", "OK"})[1],
              QStringLiteral("Script não renomeado!\r\nO script \"c\" não foi encontrado na categoria \"Notas\"."),
              QStringLiteral("renomear script"));
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"a.txt", "b.txt"}));
    QCOMPARE(entries(win.files()), (QStringList{"a", "b"}));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("c editado"));

    // Another program takes the new name while the question is open: no overwrite.
    clickItem(win.files(), QStringLiteral("a"));
    win.typeName(win.fileBox(), QStringLiteral("Novo"));
    whileNextBoxIsOpen([&] { lib.write(QStringLiteral("Notas/novo.txt"), "\"alheio\"\r\n"); });
    expectBox(win.press(watcher, "btnEditFile", {"Sim", "OK"})[1],
              QStringLiteral("Script não renomeado!\r\nJá existe um script chamado \"Novo\"."),
              QStringLiteral("renomear script"));
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), QByteArray("\"a\"\r\n"));
    QCOMPARE(lib.read(QStringLiteral("Notas/novo.txt")), QByteArray("\"alheio\"\r\n"));
    QCOMPARE(entries(win.files()), (QStringList{"a", "b", "novo"}));
    QCOMPARE(win.file(), QStringLiteral("a"));
}

void TestEditScripts::deleteWithYesAndNo()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    for (const char* n : {"a", "b", "c"})
        lib.write(QStringLiteral("Notas/%1.txt").arg(QLatin1String(n)), QByteArray("\"") + n + "\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString title = QStringLiteral("Deletar Script");

    clickItem(win.files(), QStringLiteral("b"));
    win.typeName(win.fileBox(), QStringLiteral("xyz"));
    const auto seen = win.press(watcher, "btnDelFile", {"Não", "OK"});
    expectBox(seen[0], QStringLiteral("Você tem certeza que quer deletar \"b\"?"), QStringLiteral("Deletar script"),
              kYesNo);
    expectBox(seen[1], QStringLiteral("Script não deletado!"), title);
    QCOMPARE(lib.entries(QStringLiteral("Notas")).size(), 3);
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("b"));
    QCOMPARE(win.fileBox()->text(), QString());

    win.typeName(win.fileBox(), QStringLiteral("xyz"));
    expectBox(win.press(watcher, "btnDelFile", {"Sim", "OK"})[1], QStringLiteral("Script deletado!"), title);
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"a.txt", "c.txt"}));
    QCOMPARE(entries(win.files()), (QStringList{"a", "c"}));
    QVERIFY(win.files()->selectedItems().isEmpty());
    QCOMPARE(win.viewer()->toPlainText(), QString());
    QCOMPARE(win.fileBox()->text(), QString());
    QCOMPARE(enabledViewerButtons(win), (QStringList{"btnDelFile", "btnEditFile", "btnAddFile"}));

    expectBox(win.press(watcher, "btnDelFile")[0], QStringLiteral("Voce precisa selecionar um nome!"), title);
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"a.txt", "c.txt"}));
}

void TestEditScripts::deleteFailures()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas/Pasta"));
    lib.write(QStringLiteral("Notas/Pasta/dentro.txt"), "\"d\"\r\n");
    lib.write(QStringLiteral("Notas/a.txt"), "\"a\"\r\n");
    lib.write(QStringLiteral("Notas/b.txt"), "\"b\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString title = QStringLiteral("Deletar Script");

    // A sub-folder listed among the scripts is no script file: left alone.
    clickItem(win.files(), QStringLiteral("Pasta"));
    expectBox(win.press(watcher, "btnDelFile", {"Sim", "OK"})[1],
              QStringLiteral("Script não deletado!\r\nO script \"Pasta\" não foi encontrado na categoria \"Notas\"."),
              title);
    QCOMPARE(lib.entries(QStringLiteral("Notas/Pasta")), QStringList{"dentro.txt"});
    QCOMPARE(entries(win.files()), (QStringList{"a", "b", "Pasta"}));

    // Removed behind the program's back: the entry goes, the viewer keeps its text.
    clickItem(win.files(), QStringLiteral("b"));
    QVERIFY(QFile::remove(lib.path(QStringLiteral("Notas/b.txt"))));
    expectBox(win.press(watcher, "btnDelFile", {"Sim", "OK"})[1],
              QStringLiteral("Script não deletado!\r\nO script \"b\" não foi encontrado na categoria \"Notas\"."),
              title);
    QCOMPARE(entries(win.files()), (QStringList{"a", "Pasta"}));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("b"));
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"Pasta", "a.txt"}));
}

QTEST_MAIN(TestEditScripts)
#include "tst_edit_scripts.moc"
