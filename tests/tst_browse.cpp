// The category and script lists and the viewer, driven through the main window;
// listings read afresh from disk.
#include "support/MainDriver.h"

#include <QDir>
#include <QFile>

using namespace corvane;
using namespace corvane::test;

namespace {

// The enabled controls among those the rules switch, in a fixed order.
QStringList enabledSwitches(QWidget* w)
{
    return namesWhere(w, {"cxRnmCat", "cxRnmFile", "btnAddCat", "btnEditCat", "btnDelCat", "btnAddFile",
                          "btnEditFile", "btnDelFile", "btnEditText", "btnCopy", "btnPrint"},
                      [](QWidget* c) { return c->isEnabled(); });
}

const QStringList kFocusRule{"cxRnmCat", "btnAddCat", "btnEditCat", "btnDelCat", "btnAddFile"};
const QStringList kAfterCategoryClick{"cxRnmCat", "cxRnmFile", "btnAddCat", "btnEditCat", "btnDelCat", "btnAddFile"};
const QStringList kScriptRule{"cxRnmFile", "btnAddFile", "btnEditFile", "btnDelFile", "btnEditText", "btnCopy",
                              "btnPrint"};

// Records the order in which lstDir01 gets the focus and changes its selection.
class OrderLog : public QObject {
public:
    explicit OrderLog(QListWidget* list)
    {
        list->installEventFilter(this);
        connect(list, &QListWidget::itemSelectionChanged, this, [this] { events << QStringLiteral("selection"); });
    }
    QStringList events;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn)
            events << QStringLiteral("focus");
        return false;
    }
};

}  // namespace

class TestBrowse : public QObject {
    Q_OBJECT
private slots:
    void startUpSelectsFirstThenFocuses();
    void focusAndSelectionOrder();
    void scriptSelectionShowsDecodedText();
    void missingAndOddScriptFiles();
    void unsavedEditsAreDiscarded();
    void doubleClicksFillNameBoxes();
    void listingCountAndSize();
    void removedCategoryFolderReadsEmpty();
    void countGoesPast32767();
    void hugeScripts();
};

void TestBrowse::startUpSelectsFirstThenFocuses()
{
    TempLibrary lib;
    for (const char* c : {"beta", "Alpha"})
        lib.mkdir(QLatin1String(c));
    lib.write(QStringLiteral("Alpha/um.txt"), QByteArray(1536, 'x'));
    MainDriver win(lib);
    QCOMPARE(win.dirs()->currentItem()->text(), QStringLiteral("Alpha"));
    QCOMPARE(QApplication::focusWidget(), win.dirs());
    QCOMPARE(win.teste(), QStringLiteral("Alpha: 1 scripts"));
    QCOMPARE(win.tamanho(), kb("1.5"));
    QCOMPARE(entries(win.files()), QStringList{"um"});
    QVERIFY(win.files()->selectedItems().isEmpty());
    QVERIFY(win.folderMarker());
    // Selection first, focus second: the name box of scripts ends up disabled.
    QCOMPARE(enabledSwitches(&win.w), kFocusRule);
}

void TestBrowse::focusAndSelectionOrder()
{
    TempLibrary lib;
    for (const char* c : {"Alpha", "beta", "gamma"})
        lib.mkdir(QLatin1String(c));
    lib.write(QStringLiteral("Alpha/um.txt"), "\"um\"\r\n");
    lib.write(QStringLiteral("Alpha/dois.txt"), "\"dois\"\r\n");
    MainDriver win(lib);

    // Tabbing into the script list selects nothing.
    QTest::keyClick(win.dirs(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), win.files());
    QVERIFY(win.files()->selectedItems().isEmpty());
    QCOMPARE(win.teste(), QStringLiteral("Alpha: 2 scripts"));
    QCOMPARE(enabledSwitches(&win.w), kFocusRule);

    clickItem(win.files(), QStringLiteral("um"));
    QCOMPARE(enabledSwitches(&win.w), kScriptRule);
    QVERIFY(win.pageMarker());

    // A click into the unfocused category list: focus first, selection second.
    OrderLog log(win.dirs());
    clickItem(win.dirs(), QStringLiteral("beta"));
    QCOMPARE(log.events, (QStringList{"focus", "selection"}));
    QCOMPARE(enabledSwitches(&win.w), kAfterCategoryClick);
    QCOMPARE(win.teste(), QStringLiteral("beta: 0 scripts"));
    QCOMPARE(win.tamanho(), QStringLiteral("0 bytes"));
    QVERIFY(win.folderMarker());

    // Arrow keys in the focused list run the category rule alone.
    clickItem(win.dirs(), QStringLiteral("beta"));  // already selected: no change
    QCOMPARE(log.events, (QStringList{"focus", "selection"}));
    win.get<NameBox>("cxRnmFile")->setEnabled(false);
    QTest::keyClick(win.dirs(), Qt::Key_Up);
    QCOMPARE(win.teste(), QStringLiteral("Alpha: 2 scripts"));
    QCOMPARE(enabledSwitches(&win.w), kAfterCategoryClick);
    QTest::keyClick(win.dirs(), Qt::Key_Down);
    QTest::keyClick(win.dirs(), Qt::Key_Down);
    QCOMPARE(win.teste(), QStringLiteral("gamma: 0 scripts"));

    // Ctrl+click or Ctrl+Space on the selected entry does not unselect it.
    clickItem(win.dirs(), QStringLiteral("gamma"), Qt::ControlModifier);
    QTest::keyClick(win.dirs(), Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(selectedText(win.dirs()), QStringLiteral("gamma"));

    // Tab from the script list back to the categories: the focus rule alone,
    // the script staying selected.
    clickItem(win.dirs(), QStringLiteral("Alpha"));
    clickItem(win.files(), QStringLiteral("dois"));
    QCOMPARE(enabledSwitches(&win.w), kScriptRule);
    QTest::keyClick(win.files(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), win.dirs());
    QCOMPARE(enabledSwitches(&win.w), kFocusRule);
    QCOMPARE(selectedText(win.files()), QStringLiteral("dois"));
    QCOMPARE(win.teste(), QStringLiteral("dois"));

    // A selection set by the program while the focus is elsewhere: the category
    // rule alone.
    win.viewer()->setFocus();
    clickItem(win.files(), QStringLiteral("um"));
    win.dirs()->setCurrentRow(1);
    QCOMPARE(win.teste(), QStringLiteral("beta: 0 scripts"));
    QCOMPARE(enabledSwitches(&win.w), (QStringList{"cxRnmCat", "cxRnmFile", "btnAddFile", "btnEditFile",
                                                   "btnDelFile", "btnEditText", "btnCopy", "btnPrint"}));
}

void TestBrowse::scriptSelectionShowsDecodedText()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Cartas"));
    lib.write(QStringLiteral("Cartas/Convite.txt"), latin1("\"Olá ¤amigo¤,\r\nvenha às 8h\"\r\n"));
    lib.write(QStringLiteral("Cartas/Vazio.txt"), "\"\"\r\n");
    lib.write(QStringLiteral("Cartas/Lista.txt"), "ovos, leite\r\npao\r\n");
    lib.write(QStringLiteral("Cartas/Longo.txt"), "\"" + QByteArray(2047, 'x') + "\"\r\n");
    MainDriver win(lib);

    clickItem(win.files(), QStringLiteral("Convite"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("Olá \"amigo\",\nvenha às 8h"));
    QCOMPARE(win.teste(), QStringLiteral("Convite"));
    QCOMPARE(win.tamanho(), QStringLiteral("29 bytes"));
    QVERIFY(win.pageMarker());
    QCOMPARE(enabledSwitches(&win.w), kScriptRule);
    QVERIFY(win.get<NameBox>("cxRnmCat")->text().isEmpty());

    // Arrow keys select like clicks; a file that does not open with a double
    // quote shows its first line up to the first comma.
    QTest::keyClick(win.files(), Qt::Key_Down);
    QCOMPARE(win.teste(), QStringLiteral("Lista"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("ovos"));
    QTest::keyClick(win.files(), Qt::Key_Down);
    QCOMPARE(win.viewer()->toPlainText(), QString(2047, u'x'));
    QCOMPARE(win.tamanho(), kb("2"));

    clickItem(win.files(), QStringLiteral("Vazio"));
    QCOMPARE(win.viewer()->toPlainText(), QString());
    QCOMPARE(win.tamanho(), QStringLiteral("4 bytes"));
}

void TestBrowse::missingAndOddScriptFiles()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Mista/Pasta"));
    lib.write(QStringLiteral("Mista/a.txt.txt"), "\"dobrado\"\r\n");
    lib.write(QStringLiteral("Mista/leia.doc"), "\"doc\"\r\n");
    lib.write(QStringLiteral("Mista/Some.txt"), "\"vai sumir\"\r\n");
    lib.write(QStringLiteral("Mista/Texto.txt"), "\"texto\"\r\n");
    lib.write(QStringLiteral("Mista/Zero.txt"), QByteArray());
    lib.write(QStringLiteral("Mista/Aberto.txt"), "\"sem fim\r\nlinha");
    MainDriver win(lib);
    ModalWatcher watcher;

    // Each selection starts from a script with text, so an empty viewer and
    // size below are the selection's own doing.
    const auto expectEmpty = [&](const char* name) {
        clickItem(win.files(), QStringLiteral("Texto"));
        QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("texto"));
        clickItem(win.files(), QLatin1String(name));
        QCOMPARE(win.teste(), QLatin1String(name));
        QCOMPARE(win.tamanho(), QString());
        QCOMPARE(win.viewer()->toPlainText(), QString());
        QVERIFY(win.pageMarker());
        QCOMPARE(enabledSwitches(&win.w), kScriptRule);
    };
    expectEmpty("a");       // reads a.txt, which does not exist
    expectEmpty("Pasta");   // a sub-folder
    expectEmpty("leia.doc");
    expectEmpty("Zero");    // a file of 0 bytes has no size shown
    QVERIFY(QFile::remove(lib.path(QStringLiteral("Mista/Some.txt"))));
    expectEmpty("Some");    // removed behind the program's back

    // A double quote that never closes: the text runs to the end of the file.
    clickItem(win.files(), QStringLiteral("Aberto"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("sem fim\nlinha"));
    QCOMPARE(watcher.seen.size(), 0);
}

void TestBrowse::unsavedEditsAreDiscarded()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.mkdir(QStringLiteral("Beta"));
    lib.write(QStringLiteral("Alpha/um.txt"), "\"um\"\r\n");
    lib.write(QStringLiteral("Alpha/dois.txt"), "\"dois\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    clickItem(win.files(), QStringLiteral("um"));
    QTest::mouseClick(win.viewer()->viewport(), Qt::LeftButton);
    QTest::keyClick(win.viewer(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(win.viewer(), QStringLiteral(" editado"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("um editado"));
    QCOMPARE(enabledSwitches(&win.w), kScriptRule);  // typing changes no state

    // Clicking the selected script again keeps the typed text.
    clickItem(win.files(), QStringLiteral("um"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("um editado"));

    clickItem(win.files(), QStringLiteral("dois"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("dois"));
    clickItem(win.files(), QStringLiteral("um"));
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("um"));
    QCOMPARE(lib.read(QStringLiteral("Alpha/um.txt")), QByteArray("\"um\"\r\n"));

    // Another category empties the viewer and both name boxes.
    QTest::keyClicks(win.viewer(), QStringLiteral("xyz"));
    win.get<NameBox>("cxRnmFile")->setText(QStringLiteral("novo"));
    clickItem(win.dirs(), QStringLiteral("Beta"));
    QCOMPARE(win.viewer()->toPlainText(), QString());
    QCOMPARE(win.get<NameBox>("cxRnmFile")->text(), QString());
    QCOMPARE(lib.read(QStringLiteral("Alpha/um.txt")), QByteArray("\"um\"\r\n"));
    QCOMPARE(watcher.seen.size(), 0);
}

void TestBrowse::doubleClicksFillNameBoxes()
{
    TempLibrary lib;
    const QString longCategory = QStringLiteral("Categoria de nome bem comprido");  // 30 characters
    const QString longScript = QStringLiteral("Roteiro de apresentação para o cliente");  // 38
    lib.mkdir(QStringLiteral("Alpha"));
    lib.mkdir(longCategory);
    lib.write(longCategory + u'/' + longScript + QStringLiteral(".txt"), "\"r\"\r\n");
    lib.write(longCategory + QStringLiteral("/curto.txt"), "\"c\"\r\n");
    MainDriver win(lib);
    auto* cat = win.get<NameBox>("cxRnmCat");
    auto* file = win.get<NameBox>("cxRnmFile");

    // Not yet selected: the category rule runs first, then the box is filled.
    doubleClickItem(win.dirs(), longCategory);
    QCOMPARE(cat->text(), longCategory);
    QCOMPARE(win.teste(), longCategory + QStringLiteral(": 2 scripts"));
    doubleClickItem(win.dirs(), longCategory);
    QCOMPARE(cat->text(), longCategory);

    doubleClickItem(win.files(), longScript);
    QCOMPARE(file->text(), longScript);
    QCOMPARE(cat->text(), QString());  // emptied by the script rule
    QCOMPARE(win.teste(), longScript);
    QCOMPARE(win.viewer()->toPlainText(), QStringLiteral("r"));

    // Double-clicking the category that is already selected keeps the scripts.
    doubleClickItem(win.dirs(), longCategory);
    QCOMPARE(cat->text(), longCategory);
    QCOMPARE(file->text(), longScript);
    QCOMPARE(selectedText(win.files()), longScript);
}

void TestBrowse::listingCountAndSize()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Receitas"));
    lib.write(QStringLiteral("Receitas/notas.txt"), QByteArray(1000, 'n'));
    lib.write(QStringLiteral("Receitas/Lista.txt"), QByteArray(300, 'l'));
    lib.write(QStringLiteral("Receitas/leia.doc"), QByteArray(236, 'd'));
    lib.mkdir(QStringLiteral("Só pasta/sub"));
    lib.mkdir(QStringLiteral("Mista/Pasta.txt"));
    lib.write(QStringLiteral("Mista/a.txt.txt"), "\"a\"\r\n");
    lib.write(QStringLiteral("Mista/GRANDE.TXT"), "\"G\"\r\n");
    lib.write(QStringLiteral("Mista/.oculto.txt"), QByteArray(5000, 'h'));
    lib.write(QStringLiteral("Mista/vazio.txt"), QByteArray());
    MainDriver win(lib);
    QCOMPARE(entries(win.dirs()), (QStringList{"Mista", "Receitas", "Só pasta"}));

    clickItem(win.dirs(), QStringLiteral("Receitas"));
    QCOMPARE(entries(win.files()), (QStringList{"leia.doc", "Lista", "notas"}));
    QCOMPARE(win.teste(), QStringLiteral("Receitas: 3 scripts"));
    QCOMPARE(win.tamanho(), kb("1.5"));
    QVERIFY(win.files()->selectedItems().isEmpty());

    // Sub-folders are listed but neither counted nor measured.
    clickItem(win.dirs(), QStringLiteral("Só pasta"));
    QCOMPARE(entries(win.files()), QStringList{"sub"});
    QCOMPARE(win.teste(), QStringLiteral("Só pasta: 0 scripts"));
    QCOMPARE(win.tamanho(), QStringLiteral("0 bytes"));

    // Every lower-case ".txt" goes; capitals stay; hidden files stay out.
    clickItem(win.dirs(), QStringLiteral("Mista"));
    QCOMPARE(entries(win.files()), (QStringList{"a", "GRANDE.TXT", "Pasta", "vazio"}));
    QCOMPARE(win.teste(), QStringLiteral("Mista: 3 scripts"));
    QCOMPARE(win.tamanho(), QStringLiteral("10 bytes"));
}

void TestBrowse::removedCategoryFolderReadsEmpty()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alpha"));
    lib.mkdir(QStringLiteral("Beta"));
    lib.write(QStringLiteral("Beta/um.txt"), "\"um\"\r\n");
    MainDriver win(lib);
    ModalWatcher watcher;

    clickItem(win.dirs(), QStringLiteral("Beta"));
    QCOMPARE(entries(win.files()), QStringList{"um"});
    QVERIFY(QDir(lib.path(QStringLiteral("Beta"))).removeRecursively());
    clickItem(win.files(), QStringLiteral("um"));
    QCOMPARE(win.teste(), QStringLiteral("um"));
    QCOMPARE(win.viewer()->toPlainText(), QString());

    clickItem(win.dirs(), QStringLiteral("Alpha"));
    clickItem(win.dirs(), QStringLiteral("Beta"));
    QCOMPARE(entries(win.files()), QStringList());
    QCOMPARE(win.teste(), QStringLiteral("Beta: 0 scripts"));
    QCOMPARE(win.tamanho(), QStringLiteral("0 bytes"));

    // Reloading the selected category picks up what changed on disk.
    lib.mkdir(QStringLiteral("Beta"));
    lib.write(QStringLiteral("Beta/novo.txt"), "\"n\"\r\n");
    clickItem(win.dirs(), QStringLiteral("Alpha"));
    clickItem(win.dirs(), QStringLiteral("Beta"));
    QCOMPARE(entries(win.files()), QStringList{"novo"});
    QCOMPARE(win.teste(), QStringLiteral("Beta: 1 scripts"));
    QCOMPARE(win.tamanho(), QStringLiteral("5 bytes"));
    QCOMPARE(watcher.seen.size(), 0);
}

void TestBrowse::countGoesPast32767()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Grande/sub"));
    const int files = 32770;
    for (int i = 0; i < files; ++i)
        lib.write(QStringLiteral("Grande/s%1.txt").arg(i, 5, 10, QLatin1Char('0')), "\"\"\r\n");
    MainDriver win(lib);
    QCOMPARE(win.teste(), QStringLiteral("Grande: 32770 scripts"));
    QCOMPARE(win.files()->count(), files + 1);
    QCOMPARE(win.files()->item(0)->text(), QStringLiteral("s00000"));
    QCOMPARE(win.files()->item(files)->text(), QStringLiteral("sub"));
    QCOMPARE(win.tamanho(), kb("128.01"));
}

// Sparse files: a text one byte past the limit, and a gigabyte after a first line.
void TestBrowse::hugeScripts()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Grandes"));
    lib.write(QStringLiteral("Grandes/Curto.txt"), "\"curto\"\r\n");
    lib.write(QStringLiteral("Grandes/Enorme.txt"), "\"" + QByteArray(100, 'a'));
    QVERIFY(QFile::resize(lib.path(QStringLiteral("Grandes/Enorme.txt")), 16 * 1024 * 1024 + 2));
    lib.write(QStringLiteral("Grandes/Primeira.txt"), "primeira linha\r\nsegunda\r\n");
    QVERIFY(QFile::resize(lib.path(QStringLiteral("Grandes/Primeira.txt")), qint64(1) << 30));
    const QByteArray enorme = lib.read(QStringLiteral("Grandes/Enorme.txt"));
    MainDriver win(lib);
    ModalWatcher watcher;

    clickItem(win.files(), QStringLiteral("Curto"));
    watcher.answer(QStringLiteral("OK"));
    clickItem(win.files(), QStringLiteral("Enorme"));
    QCOMPARE(watcher.seen.size(), 1);
    expectBox(watcher.seen[0],
              QStringLiteral("O script \"Enorme\" é grande demais para ser aberto: o texto passa de 16 MB. "
                             "Nada foi carregado nem alterado."),
              kAppTitle);
    QCOMPARE(win.shown(), QString());
    // Editar cannot write the empty viewer over the script.
    QVERIFY(!win.get<QPushButton>("btnEditText")->isEnabled());
    QTest::mouseClick(win.get<QPushButton>("btnEditText"), Qt::LeftButton);
    QCOMPARE(watcher.seen.size(), 1);
    QCOMPARE(lib.read(QStringLiteral("Grandes/Enorme.txt")), enorme);

    clickItem(win.files(), QStringLiteral("Primeira"));
    QCOMPARE(win.shown(), QStringLiteral("primeira linha"));
    QCOMPARE(watcher.seen.size(), 1);

    // Found by a search, it is refused the same way, and its Editar stays off.
    win.click("btnOpenSearch");
    win.search(QStringLiteral("aaaa"));
    QCOMPARE(win.results(), QStringList{"Enorme --> Grandes"});
    watcher.answer(QStringLiteral("OK"));
    win.choose(0);
    QCOMPARE(watcher.seen.size(), 2);
    QCOMPARE(watcher.seen[1].text, watcher.seen[0].text);
    QVERIFY(!win.get<QPushButton>("btnEditText2")->isEnabled());
    QCOMPARE(lib.read(QStringLiteral("Grandes/Enorme.txt")), enorme);
}

QTEST_MAIN(TestBrowse)
#include "tst_browse.moc"
