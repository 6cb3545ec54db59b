// Saving the viewer's text with "Editar" (both views) and copying it.
#include "support/MainDriver.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace corvane;
using namespace corvane::test;

namespace {

const QString kTitle = QStringLiteral("Aviso edição");
const QString kQuestion = QStringLiteral("Deseja realmente alterar esse arquivo?");

// Opens the search panel, searches and chooses a result, as a user does.
void searchAndChoose(MainDriver& win, const QString& text, const QString& result)
{
    if (win.get("btnOpenSearch")->isVisible())
        win.click("btnOpenSearch");
    win.search(text);
    if (!result.isEmpty())
        clickItem(win.found(), result);
}

}  // namespace

class TestEditText : public QObject {
    Q_OBJECT
private slots:
    void saveWritesTheWholeFile();
    void saveRefusalsAndFailures();
    void saveFromSearchResults();
    void copyPutsSelectionOrWholeText();
    void longLinesSaveAsTheyWere();
};

void TestEditText::saveWritesTheWholeFile()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"um texto mais longo\"\r\n");
    lib.write(QStringLiteral("Notas/b.txt"), "\"b\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    clickItem(win.files(), QStringLiteral("a"));
    const QString size = win.get<QLabel>("lblTamanho")->text();
    win.typeViewer(QStringLiteral("linha 1\nlinha \"2\""));
    const auto seen = win.press(watcher, "btnEditText", {"Sim", "OK"});
    QCOMPARE(seen[0].text, kQuestion);
    QCOMPARE(seen[0].title, kTitle);
    QCOMPARE(seen[0].icon, QMessageBox::Question);
    QCOMPARE(seen[0].buttons, kYesNo);
    QCOMPARE(seen[0].defaultButton, QStringLiteral("Sim"));
    expectBox(seen[1], QStringLiteral("Arquivo editado"), kTitle);
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), latin1("\"linha 1\r\nlinha ¤2¤\"\r\n"));
    // A shorter text leaves nothing of the old one, and no temporary file stays.
    QCOMPARE(lib.entries(QStringLiteral("Notas")), (QStringList{"a.txt", "b.txt"}));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("linha 1\nlinha \"2\""));
    QCOMPARE(win.file(), QStringLiteral("a"));
    QCOMPARE(win.get<QLabel>("lblTamanho")->text(), size);

    // No writes nothing.
    win.typeViewer(QStringLiteral("outro"));
    QCOMPARE(win.press(watcher, "btnEditText", {"Não", "OK"})[1].text, QStringLiteral("Arquivo não editado"));
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), latin1("\"linha 1\r\nlinha ¤2¤\"\r\n"));

    // Accents, the euro sign and a no-break space keep their Windows-1252 bytes.
    win.typeViewer(QStringLiteral("ação\u00A0€"));
    win.press(watcher, "btnEditText", {"Sim", "OK"});
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), QByteArray("\"a\xE7\xE3o\xA0\x80\"\r\n"));

    // An empty viewer writes the four-byte script; a removed file is created again.
    QVERIFY(QFile::remove(lib.path(QStringLiteral("Notas/a.txt"))));
    win.viewer()->clear();
    QCOMPARE(win.press(watcher, "btnEditText", {"Sim", "OK"})[1].text, QStringLiteral("Arquivo editado"));
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), QByteArray("\"\"\r\n"));
}

void TestEditText::saveRefusalsAndFailures()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"antes\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    // A character Windows-1252 cannot hold: named, and nothing written.
    clickItem(win.dirs(), QStringLiteral("Notas"));
    clickItem(win.files(), QStringLiteral("a"));
    win.typeViewer(QStringLiteral("neve ☃"));
    expectBox(win.press(watcher, "btnEditText", {"Sim", "OK"})[1],
              QStringLiteral("Arquivo não editado\r\nO texto contém o caractere \"☃\" (U+2603), que não pode ser "
                             "gravado em um script."),
              kTitle);
    QCOMPARE(lib.read(QStringLiteral("Notas/a.txt")), QByteArray("\"antes\"\r\n"));
    QCOMPARE(lib.entries(QStringLiteral("Notas")), QStringList{"a.txt"});
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("neve ☃"));

    // The category folder was removed: told, not re-created, the text kept and
    // the lists brought in line.
    win.typeViewer(QStringLiteral("depois"));
    QVERIFY(QDir(lib.path(QStringLiteral("Notas"))).removeRecursively());
    QCOMPARE(win.press(watcher, "btnEditText", {"Sim", "OK"})[1].text,
             QStringLiteral("Arquivo não editado\r\nNão foi possível gravar o script \"a\" na categoria \"Notas\". "
                            "O texto continua no visualizador."));
    QCOMPARE(lib.entries(), QStringList{"Alpha"});
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("depois"));
    QCOMPARE(entries(win.dirs()), QStringList{"Alpha"});
    QCOMPARE(entries(win.files()), QStringList());

    // Nothing selected any more.
    expectBox(win.press(watcher, "btnEditText")[0], QStringLiteral("O arquivo precisa ter um nome!"), kTitle);
}

void TestEditText::saveFromSearchResults()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.mkdir(QStringLiteral("Beta"));
    lib.write(QStringLiteral("Alpha/x.txt"), "\"palavra em alpha\"\r\n");
    lib.write(QStringLiteral("Beta/x.txt"), "\"palavra em beta\"\r\n");
    lib.write(QStringLiteral("Beta/Notes.TXT"), "\"palavra maiuscula\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    QCOMPARE(win.dir(), QStringLiteral("Alpha"));

    // The category comes from the result line, not from the browsing lists.
    searchAndChoose(win, QStringLiteral("palavra"), QStringLiteral("x --> Beta"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("palavra em beta"));
    win.typeViewer(QStringLiteral("beta \"novo\""));
    const auto seen = win.press(watcher, "btnEditText2", {"Sim", "OK"});
    QCOMPARE(seen[0].text, kQuestion);
    QCOMPARE(seen[1].text, QStringLiteral("Arquivo editado"));
    QCOMPARE(lib.read(QStringLiteral("Beta/x.txt")), latin1("\"beta ¤novo¤\"\r\n"));
    QCOMPARE(lib.read(QStringLiteral("Alpha/x.txt")), QByteArray("\"palavra em alpha\"\r\n"));

    // The file shown is the file saved, whatever the letter case of its ".txt".
    clickItem(win.found(), QStringLiteral("Notes --> Beta"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("palavra maiuscula"));
    win.typeViewer(QStringLiteral("palavra salva"));
    win.press(watcher, "btnEditText2", {"Sim", "OK"});
    QCOMPARE(lib.read(QStringLiteral("Beta/Notes.TXT")), QByteArray("\"palavra salva\"\r\n"));
    QCOMPARE(lib.entries(QStringLiteral("Beta")), (QStringList{"Notes.TXT", "x.txt"}));

    // A second search leaves no result chosen: the save is refused.
    searchAndChoose(win, QStringLiteral("alpha"), QString());
    expectBox(win.press(watcher, "btnEditText2")[0], QStringLiteral("O arquivo precisa ter um nome!"), kTitle);
    QCOMPARE(lib.read(QStringLiteral("Alpha/x.txt")), QByteArray("\"palavra em alpha\"\r\n"));
}

void TestEditText::copyPutsSelectionOrWholeText()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"abc\r\n\xA4""d\xA0""e\xA4\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;
    QClipboard* clipboard = QGuiApplication::clipboard();

    clickItem(win.files(), QStringLiteral("a"));
    const QString whole = QStringLiteral("abc\n\"d\u00A0e\"");
    QCOMPARE(win.viewer()->toPlainText().size(), whole.size());

    // A selection across the line break: exactly that part, with a plain LF.
    QTest::mouseClick(win.viewer()->viewport(), Qt::LeftButton);
    QTest::keyClick(win.viewer(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(win.viewer(), Qt::Key_Right);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(win.viewer(), Qt::Key_Right, Qt::ShiftModifier);
    win.click("btnCopy");
    QCOMPARE(clipboard->text(), QStringLiteral("bc\n\""));
    QCOMPARE(win.viewer()->textCursor().selectionStart(), 1);
    QCOMPARE(win.viewer()->textCursor().selectionEnd(), 5);

    // Nothing selected: the whole text as shown, double quotes and no-break
    // space included.
    QTest::keyClick(win.viewer(), Qt::Key_End, Qt::ControlModifier);
    win.click("btnCopy");
    QCOMPARE(clipboard->text(), whole);
    QCOMPARE(win.viewer()->toPlainText().size(), whole.size());

    // An empty viewer leaves the clipboard without its previous content.
    clipboard->setText(QStringLiteral("anterior"));
    win.viewer()->clear();
    win.click("btnCopy");
    QCOMPARE(clipboard->text(), QString());
    QCOMPARE(watcher.seen.size(), 0);
}

// A line of megabytes is shown in pieces and many lines share paragraphs; what
// is saved and copied has no break the user did not type and loses none, whatever
// the user types, pastes, deletes and undoes.
void TestEditText::longLinesSaveAsTheyWere()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
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

    // A selection across a break copies the text between.
    const auto [start2, end2] = piece(2);
    select(doc->findBlockByNumber(1).position() + 5, doc->findBlockByNumber(2).position() + 7);
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
    select(doc->findBlockByNumber(2).position(), doc->findBlockByNumber(2).position() + end2 - start2);
    QTest::keyClick(win.viewer(), Qt::Key_Delete);
    QTest::keyClicks(win.viewer(), QStringLiteral("r"));
    QTest::keyClick(win.viewer(), Qt::Key_Return);
    QTest::keyClicks(win.viewer(), QStringLiteral("s"));
    QCOMPARE(saved(), "\"" + line.left(start2) + "r\r\ns" + line.mid(end2) + rest + "\"\r\n");
    undoAll();
    select(doc->findBlockByNumber(2).position(), doc->findBlockByNumber(2).position() + end2 - start2);
    clipboard->setText(QStringLiteral("p\nq"));
    QTest::keyClick(win.viewer(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(saved(), "\"" + line.left(start2) + "p\r\nq" + line.mid(end2) + rest + "\"\r\n");
}

QTEST_MAIN(TestEditText)
#include "tst_edit_text.moc"
