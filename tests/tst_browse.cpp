// Browsing without writing: the lists, the viewer, the enlarged view and the
// search panel, driven through the main window; listings read afresh from disk.
#include "support/MainDriver.h"

#include "library/Fs.h"

#include <QClipboard>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTimer>

using namespace corvane;
using namespace corvane::test;

namespace {

QStringList enabledSwitches(MainDriver& win)
{
    return win.enabled({"cxRnmCat", "cxRnmFile", "btnAddCat", "btnEditCat", "btnDelCat", "btnAddFile",
                        "btnEditFile", "btnDelFile", "btnEditText", "btnCopy", "btnPrint", "btnEditText2"});
}

QStringList without(QStringList names, const QStringList& gone)
{
    for (const QString& name : gone)
        names.removeAll(name);
    return names;
}

const QStringList kFocusRule{"cxRnmCat", "btnAddCat", "btnEditCat", "btnDelCat", "btnAddFile"};
const QStringList kCategoryRule{"cxRnmCat", "cxRnmFile", "btnAddCat", "btnEditCat", "btnDelCat", "btnAddFile"};
const QStringList kScriptRule{"cxRnmFile", "btnAddFile", "btnEditFile", "btnDelFile", "btnEditText", "btnCopy",
                              "btnPrint"};
const QString kLongCategory = QStringLiteral("Categoria de nome bem comprido");
const QString kLongScript = QStringLiteral("Roteiro de apresentação para o cliente");
const QString kPickAFile = QStringLiteral("Você precisa selecionar um arquivo!");

// One user action of a rules row: "dir X", "file X" (either after "dbl" or "ctrl"),
// "key Shift+Tab", "name BOX TEXT",
// "press BUTTON ANSWER,ANSWER", "click BUTTON", "search TEXT",
// "choose ROW", or "answer BUTTON" for the box the next action brings.
void act(MainDriver& win, ModalWatcher& watcher, const QString& step)
{
    QString verb = step.section(u' ', 0, 0), arg = step.section(u' ', 1);
    const bool twice = verb == u"dbl", ctrl = verb == u"ctrl";  // "dbl dir X", "ctrl file X"
    if (twice || ctrl)
        std::tie(verb, arg) = std::pair(arg.section(u' ', 0, 0), arg.section(u' ', 1));
    const QString rest = arg.section(u' ', 1);
    const QByteArray first = arg.section(u' ', 0, 0).toUtf8();
    QListWidget* list = verb == u"dir" ? win.dirs() : win.files();
    if (twice)
        doubleClickItem(list, arg);
    else if (verb == u"dir" || verb == u"file")
        clickItem(list, arg, ctrl ? Qt::ControlModifier : Qt::NoModifier);
    else if (verb == u"key")
        QTest::keyClick(QApplication::focusWidget(), QKeySequence(arg)[0].key(), QKeySequence(arg)[0].keyboardModifiers());
    else if (verb == u"name")
        win.typeName(win.get<QLineEdit>(first), rest);
    else if (verb == u"press")
        win.press(watcher, first, rest.split(u','));
    else if (verb == u"click")  // a button or a picture
        QTest::mouseClick(win.get(first), Qt::LeftButton, {}, QPoint(3, 3));
    else if (verb == u"search")
        win.search(arg);
    else if (verb == u"choose")
        win.choose(arg.toInt());
    else
        watcher.answer(arg);
    if (!watcher.seen.isEmpty())  // offscreen, a closed box hands no activation back
        showActive(&win.w);
}

// The names among names whose controls are hidden.
QStringList hidden(MainDriver& win, std::initializer_list<const char*> names)
{
    return namesWhere(&win.w, names, [](QWidget* c) { return !c->isVisible(); });
}

// The viewer's marks in order of place, as "start+length", the current one in
// brackets, and whether the current one is in view; the caret holds no selection.
QStringList marksOf(QPlainTextEdit* viewer)
{
    QMap<int, QString> byPlace;
    for (const QTextEdit::ExtraSelection& mark : viewer->extraSelections()) {
        const QTextCursor& c = mark.cursor;
        const QString place = QStringLiteral("%1+%2").arg(c.selectionStart()).arg(c.selectionEnd() - c.selectionStart());
        const bool current = mark.format.foreground() == QBrush(Qt::black);
        byPlace[c.selectionStart()] = current ? u'[' + place + u']' : place;
        if (current && !viewer->viewport()->rect().contains(viewer->cursorRect()))
            byPlace[-1] = QStringLiteral("current out of view");
    }
    if (viewer->textCursor().hasSelection())
        byPlace[-2] = QStringLiteral("selected");
    return byPlace.values();
}

}  // namespace

class TestBrowse : public QObject {
    Q_OBJECT
private slots:
    void listsCountsAndSizes();
    void rulesAfterEveryEvent_data();
    void rulesAfterEveryEvent();
    void scriptsShowTheirText();
    void hugeScriptsAreRefused();
    void enlargedViewer();
    void searchPanel();
    void eachResultOpensAndSavesItsOwnFile();
    void aLongSearchShowsWhereItIsAndStopsOnEsc();
    void matchesMarkedAndSteppedThroughWithF3();
};

void TestBrowse::listsCountsAndSizes()
{
    TempLibrary lib{{"beta/", {}}, {".oculta/", {}}, {"Só pasta/sub/", {}}, {"Mista/Pasta.txt/", {}},
                    {"Alpha/um.txt", QByteArray(1024, 'x')}, {"Receitas/notas.txt", QByteArray(1000, 'n')},
                    {"Receitas/Lista.txt", QByteArray(300, 'l')}, {"Receitas/leia.doc", QByteArray(236, 'd')},
                    {"Mista/a.txt.txt", "\"a\"\r\n"}, {"Mista/GRANDE.TXT", "\"G\"\r\n"},
                    {"Mista/.oculto.txt", QByteArray(5000, 'h')}, {"Mista/vazio.txt", {}}};
    // Sizes at the limits of their units, in sparse files.
    for (const qint64 bytes : {1023, 1024, 1048575, 1073741824}) {
        lib.write(QStringLiteral("Z%1/s.txt").arg(bytes), {});
        QVERIFY(QFile::resize(lib.path(QStringLiteral("Z%1/s.txt").arg(bytes)), bytes));
    }
    MainDriver win(lib);
    QCOMPARE(entries(win.dirs()), (QStringList{"Alpha", "beta", "Mista", "Receitas", "Só pasta", "Z1023", "Z1024",
                                               "Z1048575", "Z1073741824"}));
    QCOMPARE(QApplication::focusWidget(), win.dirs());
    QVERIFY(win.get("imageTit1")->isVisible() && !win.get("imageTit2")->isVisible());

    // Sub-folders are listed but neither counted nor measured; a script's final
    // lower-case ".txt" goes from its name, any other name shows whole, hidden
    // files stay out.
    const struct { const char* category; QStringList files; QString caption; } expected[] = {
        {"Receitas", {"leia.doc", "Lista", "notas"}, "Receitas: 3 scripts/" + kb("1.5")},
        {"Só pasta", {"sub"}, "Só pasta: 0 scripts/0 bytes"},
        {"Mista", {"a.txt", "GRANDE.TXT", "Pasta.txt", "vazio"}, "Mista: 3 scripts/10 bytes"},
        {"Z1023", {"s"}, "Z1023: 1 scripts/1023 bytes"}, {"Z1024", {"s"}, "Z1024: 1 scripts/1 Kb"},
        {"Z1048575", {"s"}, "Z1048575: 1 scripts/1024 Kb"}, {"Z1073741824", {"s"}, "Z1073741824: 1 scripts/1 Gb"},
    };
    for (const auto& e : expected) {
        clickItem(win.dirs(), QString::fromUtf8(e.category));
        QCOMPARE(entries(win.files()), e.files);
        QCOMPARE(win.caption(), e.caption);
    }
    // Removed behind the program's back: the category reads empty.
    lib.remove(QStringLiteral("Receitas"));
    clickItem(win.dirs(), QStringLiteral("Receitas"));
    QCOMPARE(entries(win.files()), QStringList());
    QCOMPARE(win.caption(), QStringLiteral("Receitas: 0 scripts/0 bytes"));
}

// Which controls are usable, and what the lists, name boxes, viewer and labels
// hold, after each event of the rules table and each editing command.
void TestBrowse::rulesAfterEveryEvent_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("enabled");
    // Categories, scripts, the chosen pair, the name boxes, then viewer and labels.
    QTest::addColumn<QList<QStringList>>("state");
    const QString cat = kLongCategory, script = kLongScript;  // past the typing limits
    const QStringList dirs{"Alpha", "Beta", cat, "Grande"}, alpha{"dois", "um"}, none{"", ""}, noScript{"Alpha", ""};
    const QList<QStringList> start{dirs, alpha, noScript, none, {"", "Alpha: 2 scripts", "14 bytes"}},
        beta{dirs, {"tres"}, {"Beta", ""}, none, {"", "Beta: 1 scripts", "8 bytes"}},
        um{dirs, alpha, {"Alpha", "um"}, none, {"um", "um", "6 bytes"}},
        longOne{dirs, {script}, {cat, script}, {"", script}, {"r", script, "5 bytes"}};
    // The state with one part replaced.
    const auto but = [](QList<QStringList> state, int part, const QStringList& value) {
        state[part] = value;
        return state;
    };
    const QStringList tooBig{"answer OK", "dir Grande", "file Enorme"}, search{"search tres", "choose 0"};
    const auto row = [](const char* name, const QStringList& steps) -> QTestData& {
        return QTest::newRow(name) << steps;
    };
    row("start", {}) << kFocusRule << start;
    row("category clicked", {"file um", "dir Beta"}) << kCategoryRule << beta;
    row("arrow key in the categories", {"key Down"}) << kCategoryRule << beta;
    row("Ctrl+click on the chosen category", {"ctrl dir Alpha"}) << kFocusRule << start;
    row("category list focused", {"file um", "key Shift+Tab"}) << kFocusRule << um;
    row("tabbed into the scripts", {"key Tab"}) << kFocusRule << start;
    row("script chosen", {"file um"}) << kScriptRule << um;
    row("script too big", tooBig) << without(kScriptRule, {"btnEditText"})
        << QList<QStringList>{dirs, {"Enorme"}, {"Grande", "Enorme"}, none, {"", "Enorme", "16 Mb"}};
    row("after one too big", tooBig + QStringList{"dir Alpha", "file um"}) << kScriptRule << um;
    row("category double-clicked", {"dbl dir " + cat}) << kCategoryRule
        << QList<QStringList>{dirs, {script}, {cat, ""}, {cat, ""}, {"", cat + ": 1 scripts", "5 bytes"}};
    row("script double-clicked", {"dir " + cat, "dbl file " + script}) << kScriptRule << longOne;
    row("chosen category double-clicked", {"dir " + cat, "dbl file " + script, "dbl dir " + cat}) << kFocusRule
        << but(longOne, 3, {cat, script});
    row("script deleted", {"file um", "press btnDelFile Sim,OK"})
        << without(kScriptRule, {"btnEditText", "btnCopy", "btnPrint"})
        << QList<QStringList>{dirs, {"dois"}, noScript, none, {"", "um", "6 bytes"}};
    row("script renamed", {"file um", "name cxRnmFile cinco", "press btnEditFile Sim,OK"}) << kScriptRule
        << but(but(um, 1, {"cinco", "dois"}), 2, noScript);
    row("script added", {"file um", "name cxRnmFile novo", "click btnAddFile"}) << kScriptRule
        << but(but(um, 1, {"dois", "novo", "um"}), 4, {"", "um", "6 bytes"});
    row("category deleted", {"dir Beta", "press btnDelCat Sim,OK"}) << kCategoryRule
        << but(start, 0, {"Alpha", cat, "Grande"});
    row("category renamed", {"dir Beta", "name cxRnmCat Zeta", "press btnEditCat Sim,OK"}) << kCategoryRule
        << but(start, 0, {"Alpha", cat, "Grande", "Zeta"});
    row("category added", {"name cxRnmCat Nova", "click btnAddCat"}) << kFocusRule
        << but(start, 0, {"Alpha", "Beta", cat, "Grande", "Nova"});
    row("viewer enlarged", {"file um", "click imgMais"}) << without(kScriptRule, {"btnAddFile", "btnEditFile", "btnDelFile"})
                                                       << um;
    row("viewer restored", {"file um", "click imgMais", "click imgMenos"}) << kScriptRule << um;
    const QString searching = QStringLiteral("Buscando em todas as categorias");
    row("search opened", {"file um", "click btnOpenSearch"}) << QStringList{"cxRnmFile"}
        << QList<QStringList>{dirs, {}, noScript, none, {"", "Digite sua busca abaixo", searching}};
    row("search result chosen", search) << QStringList{"cxRnmCat", "btnCopy", "btnPrint", "btnEditText2"}
        << QList<QStringList>{dirs, {}, noScript, none, {"tres", "Encontrados 1 arquivos", searching}};
    row("search closed", search + QStringList{"click btnCloseSearch"}) << kScriptRule
        << QList<QStringList>{dirs, alpha, {"Alpha", "dois"}, none, {"dois", "dois", "8 bytes"}};
}

void TestBrowse::rulesAfterEveryEvent()
{
    QFETCH(QStringList, steps);
    TempLibrary lib{{"Alpha/um.txt", "\"um\"\r\n"}, {"Alpha/dois.txt", "\"dois\"\r\n"},
                    {"Beta/tres.txt", "\"tres\"\r\n"}, {"Grande/Enorme.txt", "\"a"},
                    {kLongCategory + u'/' + kLongScript + QStringLiteral(".txt"), "\"r\"\r\n"}};
    QVERIFY(QFile::resize(lib.path(QStringLiteral("Grande/Enorme.txt")), 16 * 1024 * 1024 + 2));
    MainDriver win(lib);
    ModalWatcher watcher;
    for (const QString& step : steps)
        act(win, watcher, step);
    QTEST(enabledSwitches(win), "enabled");
    QTEST((QList<QStringList>{entries(win.dirs()), entries(win.files()), {win.dir(), win.file()},
                              {win.catBox()->text(), win.fileBox()->text()}, {win.shown(), win.teste(), win.tamanho()}}),
          "state");
    QCOMPARE(watcher.unexpected, 0);
}

void TestBrowse::scriptsShowTheirText()
{
    TempLibrary lib{{"Beta/", {}}, {"Cartas/Pasta/", {}}, {"Cartas/Aberto.txt", "\"sem fim\r\nlinha"},
                    {"Cartas/Convite.txt", latin1("\"Olá ¤amigo¤,\r\nvenha às 8h\"\r\n")},
                    {"Cartas/Lista.txt", "ovos, leite\r\npao\r\n"}, {"Cartas/Vazio.txt", "\"\"\r\n"},
                    {"Cartas/Longo.txt", "\"" + QByteArray(2047, 'x') + "\"\r\n"}, {"Cartas/a.txt.txt", "\"a\"\r\n"},
                    {"Cartas/a.txt", "\"o outro\"\r\n"},
                    {"Cartas/nota.doc", "\"doc\"\r\n"}, {"Cartas/Some.txt", "\"vai sumir\"\r\n"},
                    {"Cartas/Zero.txt", {}}, {"Cartas/velho.txt.doc", "\"velho\"\r\n"}};
    MainDriver win(lib);
    ModalWatcher watcher;
    clickItem(win.dirs(), QStringLiteral("Cartas"));
    // An unquoted file shows its first line up to a comma; a.txt.txt and a.txt
    // are two entries, each showing its own text. Arrow keys select like clicks.
    const QList<QStringList> texts{{"Convite", "29 bytes", "Olá \"amigo\",\nvenha às 8h"}, {"Lista", "18 bytes", "ovos"},
                                   {"Longo", kb("2"), QString(2047, u'x')}, {"Vazio", "4 bytes", ""},
                                   {"Aberto", "15 bytes", "sem fim\nlinha"}, {"a.txt", "5 bytes", "a"},
                                   {"a", "11 bytes", "o outro"}};
    for (const QStringList& text : texts) {
        text[0] == u"Lista" ? QTest::keyClick(win.files(), Qt::Key_Down) : clickItem(win.files(), text[0]);
        QCOMPARE((QStringList{win.teste(), win.tamanho(), win.shown()}), text);
    }
    // What is no script file shows nothing; each starts from a shown text.
    lib.remove(QStringLiteral("Cartas/Some.txt"));
    for (const char* name : {"Pasta", "nota.doc", "velho.txt.doc", "Zero", "Some"}) {
        clickItem(win.files(), QStringLiteral("Convite"));
        clickItem(win.files(), QLatin1String(name));
        QCOMPARE(win.caption() + u'/' + win.shown(), QLatin1String(name) + QStringLiteral("//"));
        QCOMPARE(enabledSwitches(win), kScriptRule);
    }

    // Unsaved edits: clicking the chosen script keeps them, another script
    // drops them, another category empties the viewer and both name boxes.
    clickItem(win.files(), QStringLiteral("Aberto"));
    win.typeViewer(QStringLiteral("editado"));
    QCOMPARE(enabledSwitches(win), kScriptRule);
    clickItem(win.files(), QStringLiteral("Aberto"));
    QCOMPARE(win.shown(), QStringLiteral("editado"));
    clickItem(win.files(), QStringLiteral("Vazio"));
    clickItem(win.files(), QStringLiteral("Aberto"));
    QCOMPARE(win.shown(), QStringLiteral("sem fim\nlinha"));
    win.typeViewer(QStringLiteral("xyz"));
    win.typeName(win.fileBox(), QStringLiteral("novo"));
    clickItem(win.dirs(), QStringLiteral("Beta"));
    QCOMPARE(win.shown() + u'/' + win.fileBox()->text(), QStringLiteral("/"));
    QCOMPARE(lib.read(QStringLiteral("Cartas/Aberto.txt")), QByteArray("\"sem fim\r\nlinha"));
    QCOMPARE(watcher.seen.size(), 0);
}

// Sparse files: a text one byte past the limit, and a gigabyte after a first line.
void TestBrowse::hugeScriptsAreRefused()
{
    TempLibrary lib{{"Grandes/Enorme.txt", "\"" + QByteArray(100, 'a')},
                    {"Grandes/Primeira.txt", "primeira linha\r\nsegunda\r\n"}};
    QVERIFY(QFile::resize(lib.path(QStringLiteral("Grandes/Enorme.txt")), 16 * 1024 * 1024 + 2));
    QVERIFY(QFile::resize(lib.path(QStringLiteral("Grandes/Primeira.txt")), qint64(1) << 30));
    const QByteArray enorme = lib.read(QStringLiteral("Grandes/Enorme.txt"));
    MainDriver win(lib);
    ModalWatcher watcher;
    const QString refusal = QStringLiteral("O script \"Enorme\" é grande demais para ser aberto: o texto passa de "
                                           "16 MB. Nada foi carregado nem alterado.");
    watcher.answer(QStringLiteral("OK"));
    clickItem(win.files(), QStringLiteral("Enorme"));
    QCOMPARE(watcher.seen.value(0), okBox(refusal, kAppTitle));
    clickItem(win.files(), QStringLiteral("Primeira"));
    QCOMPARE(win.shown(), QStringLiteral("primeira linha"));
    // Found by a search, it is refused the same way, and its Editar stays off.
    win.search(QStringLiteral("aaaa"));
    QCOMPARE(win.results(), QStringList{"Enorme --> Grandes"});
    watcher.answer(QStringLiteral("OK"));
    win.choose(0);
    QCOMPARE(watcher.texts(), (QStringList{refusal, refusal}));
    QVERIFY(!win.get("btnEditText2")->isEnabled());
    QCOMPARE(lib.read(QStringLiteral("Grandes/Enorme.txt")), enorme);
}

void TestBrowse::enlargedViewer()
{
    TempLibrary lib{{"Alpha/um.txt", "\"linha um\"\r\n"}};
    MainDriver win(lib);
    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK")).answer(QStringLiteral("OK"));
    win.clickPicture("imgMais");
    win.clickPicture("imgMenos");
    QCOMPARE(watcher.seen, QList<SeenBox>(2, okBox(kPickAFile, QStringLiteral("Aviso visualização"))));
    QVERIFY(showActive(&win.w));  // offscreen, a closed box hands no activation back

    clickItem(win.files(), QStringLiteral("um"));
    win.typeViewer(QStringLiteral("linha um mudada"));
    const QRect normal = win.viewer()->geometry();
    const auto view = [&] {
        return hidden(win, {"lstDir01", "lstFile01", "cxRnmCat", "cxRnmFile", "lblNameDir", "lblNameFile", "Image4",
                            "Image5", "btnOpenSearch", "cxLerFile"}).join(u' ') + u'/' + win.label("Label1") + u'/'
            + win.enabled({"btnAddFile", "btnEditFile", "btnDelFile", "btnEditText", "btnCopy", "btnPrint"}).join(u' ');
    };
    for (int twice = 0; twice < 2; ++twice) {
        win.clickPicture("imgMais");
        QCOMPARE(view(), QStringLiteral("lstDir01 lstFile01 cxRnmCat cxRnmFile lblNameDir lblNameFile Image4 Image5 "
                                        "btnOpenSearch/Visualizando ampliado/btnEditText btnCopy btnPrint"));
        QCOMPARE(win.viewer()->geometry().right(), normal.right());
        QVERIFY(win.viewer()->width() > 2 * normal.width());
    }
    QTest::keyClicks(win.viewer(), QStringLiteral("!"));
    for (int twice = 0; twice < 2; ++twice) {
        win.clickPicture("imgMenos");
        QCOMPARE(view(), QStringLiteral("/Visualização/btnAddFile btnEditFile btnDelFile btnEditText btnCopy "
                                        "btnPrint"));
        QCOMPARE(win.viewer()->geometry(), normal);
    }
    QCOMPARE(win.shown(), QStringLiteral("linha um mudada!"));
    QCOMPARE(win.caption() + u'/' + win.dir() + u'/' + win.file(), QStringLiteral("um/12 bytes/Alpha/um"));

    // The focus goes to the viewer, never through the category list, whose focus
    // rule would switch the category buttons on and the script ones off.
    for (const char* focused : {"lstFile01", "cxRnmFile", "btnAddFile", "btnOpenSearch"}) {
        win.get(focused)->setFocus();
        win.clickPicture("imgMais");
        QCOMPARE(QApplication::focusWidget(), win.viewer());
        QCOMPARE(win.enabled({"btnDelCat", "btnEditText"}), QStringList{"btnEditText"});
        win.clickPicture("imgMenos");
    }
    QCOMPARE(lib.read(QStringLiteral("Alpha/um.txt")), QByteArray("\"linha um\"\r\n"));
    QCOMPARE(watcher.unexpected, 0);
}

void TestBrowse::searchPanel()
{
    TempLibrary lib{{"A/primeiro.txt", "\"um\"\r\n"}, {"A/segundo.txt", "\"dois\"\r\n"}, {"gama/g.txt", "\"alvo\"\r\n"},
                    {"B/b.txt", latin1("\"um AÇÃO\"\r\n")}, {"B/Notes.TXT", "\"o alvo\"\r\n"},
                    {"B/outro.doc", "\"alvo\"\r\n"}, {"B/aspas.txt", latin1("\"diga ¤oi¤ agora\"\r\n")}};
    MainDriver win(lib);  // A is already selected: closing must still refill its list
    ModalWatcher watcher;
    clickItem(win.files(), QStringLiteral("segundo"));
    const std::initializer_list<const char*> browsing{"lstDir01", "lstFile01", "cxRnmCat", "cxRnmFile",
                                                      "btnEditText", "lblNameDir", "lblNameFile", "imgMenos",
                                                      "imgMais", "btnOpenSearch"};
    const std::initializer_list<const char*> panel{"lstFile02", "cxSearch", "btnSearch", "btnCloseSearch",
                                                   "btnEditText2", "imgMenos2", "imgMais2"};
    win.click("btnOpenSearch");
    QCOMPARE(hidden(win, browsing).size(), 10);
    QCOMPARE(hidden(win, panel), QStringList());
    watcher.answer(QStringLiteral("OK"));
    win.clickPicture("imgMais2");  // the enlarged view needs a chosen result
    QCOMPARE(watcher.texts(), QStringList{kPickAFile});

    // Made after start-up: not in the category list, so not searched. Gone
    // behind the program's back: skipped without a message. Letter case aside.
    lib.write(QStringLiteral("nova/n.txt"), "\"alvo\"\r\n");
    lib.remove(QStringLiteral("gama"));
    win.search(QStringLiteral("ALVO"));
    QCOMPARE(win.results(), QStringList{"Notes --> B"});
    QCOMPARE(win.teste(), QStringLiteral("Encontrados 1 arquivos"));  // plural even for one
    // The double quote the viewer shows is found as typed, or as it is stored.
    for (const char* text : {"\"OI\" a", "¤oi¤"}) {
        win.search(QString::fromUtf8(text));
        QCOMPARE(win.results(), QStringList{"aspas --> B"});
    }
    win.search(QStringLiteral("um"));
    QCOMPARE(win.results(), (QStringList{"primeiro --> A", "b --> B"}));
    QCOMPARE(win.teste(), QStringLiteral("Encontrados 2 arquivos"));
    win.choose(1);
    QCOMPARE(win.shown(), QStringLiteral("um AÇÃO"));
    // Refused searches keep the results, the chosen script and the caption;
    // Enter in the box starts nothing.
    watcher.clear();
    watcher.answer(QStringLiteral("OK")).answer(QStringLiteral("OK"));
    win.search(QStringLiteral("   "));
    QCOMPARE(win.get<QLineEdit>("cxSearch")->text(), QString());
    win.search(QStringLiteral(" a "));
    QTest::keyClick(win.get("cxSearch"), Qt::Key_Return);
    QCOMPARE(watcher.texts(), (QStringList{"Você precisa colocar um nome!", "Só nomes a partir de 2 caracteres"}));
    QCOMPARE(watcher.seen[1].title, QStringLiteral("Aviso Busca"));
    QCOMPARE(win.results().size(), 2);
    QCOMPARE(win.shown() + u'/' + win.teste(), QStringLiteral("um AÇÃO/Encontrados 2 arquivos"));
    // The enlarged view keeps the chosen result and the unsaved text.
    win.viewer()->appendPlainText(QStringLiteral("não salvo"));
    win.clickPicture("imgMais2");
    QCOMPARE(hidden(win, {"lstFile02", "cxSearch", "btnSearch", "btnCloseSearch", "lblTamanho"}).size(), 5);
    win.clickPicture("imgMenos2");
    QCOMPARE(hidden(win, panel), QStringList());
    QCOMPARE(win.shown(), QStringLiteral("um AÇÃO\nnão salvo"));
    QVERIFY(win.found()->item(1)->isSelected());

    // Accents count; a character no script can hold finds nothing; a new search
    // chooses nothing; a result whose file vanished shows an empty viewer.
    win.search(QStringLiteral(" ação "));
    QCOMPARE(win.results(), QStringList{"b --> B"});
    QCOMPARE(win.shown(), QString());
    for (const char* text : {"acao", "neve ☃"}) {
        win.search(QString::fromUtf8(text));
        QCOMPARE(win.results(), QStringList());
        QCOMPARE(win.teste(), QStringLiteral("Não foi encontrado nenhum arquivo"));
    }
    win.search(QStringLiteral("alvo"));
    lib.remove(QStringLiteral("B/Notes.TXT"));
    win.choose(0);
    QCOMPARE(win.shown(), QString());

    // Closing brings browsing back; opened again, the panel starts empty.
    win.click("btnCloseSearch");
    QCOMPARE(hidden(win, browsing), QStringList());
    QCOMPARE(hidden(win, panel).size(), 7);
    win.click("btnOpenSearch");
    QCOMPARE(win.results(), QStringList());
    QCOMPARE(win.get<QLineEdit>("cxSearch")->text(), QString());
    QCOMPARE(watcher.unexpected, 0);
}

// The same shown name twice (Windows-1252 and UTF-8 bytes), a.txt beside
// a.txt.txt, a name that holds the result line's own separator, and a capital
// ".TXT" in a category that is not the one chosen for browsing.
void TestBrowse::eachResultOpensAndSavesItsOwnFile()
{
    TempLibrary lib{{"Alfa/", {}}, {"Beta/Notes.TXT", "\"texto maiusculo\"\r\n"}};
    QMap<QByteArray, QByteArray> disk{{"Alfa/ma\xe7\xe3.txt", "\"texto latino\"\r\n"},
                                      {"Alfa/a.txt", "\"texto simples\"\r\n"},
                                      {"Alfa/a.txt.txt", "\"texto dobrado\"\r\n"},
                                      {"Alfa/ma\xc3\xa7\xc3\xa3.txt", "\"texto unicode\"\r\n"},
                                      {"Alfa/a --> b.txt", "\"texto da seta\"\r\n"}};
    for (auto it = disk.begin(); it != disk.end(); ++it)
        raw::write(lib.rawPath(it.key()), it.value());
    disk = lib.tree();
    MainDriver win(lib);
    ModalWatcher watcher;
    win.search(QStringLiteral("TEXTO"));
    QStringList sorted = win.results();
    sorted.sort();
    QCOMPARE(sorted, (QStringList{"Notes --> Beta", "a --> Alfa", "a --> b --> Alfa", "a.txt --> Alfa",
                                  "maçã --> Alfa", "maçã --> Alfa"}));
    for (int row = 0; row < sorted.size(); ++row) {
        win.choose(row);
        const QByteArray file = disk.key("\"" + latin1(win.shown().toUtf8().constData()) + "\"\r\n");
        QCOMPARE(win.results()[row].startsWith(QStringLiteral("a --> b")), file.endsWith("a --> b.txt"));
        if (file.endsWith("a --> b.txt"))
            continue;  // '>' cannot be saved in a name; opening is what counts here
        win.viewer()->setFocus();
        QTest::keyClick(win.viewer(), Qt::Key_End, Qt::ControlModifier);
        typeText(win.viewer(), QStringLiteral(" é"));
        QCOMPARE(win.press(watcher, "btnEditText2", {"Sim", "OK"}).value(1).text, QStringLiteral("Arquivo editado"));
        disk[file].insert(disk[file].size() - 3, " \xe9");
        QCOMPARE(lib.tree(), disk);
    }
}

void TestBrowse::aLongSearchShowsWhereItIsAndStopsOnEsc()
{
    TempLibrary lib;
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 200; ++i)
            lib.write(QStringLiteral("C%1/s%2.txt").arg(c).arg(i), "\"alvo\"\r\n");
    MainDriver win(lib);
    win.search(QStringLiteral("alvo"));
    const QStringList all = win.results();
    QCOMPARE(all.size(), 800);

    // A slow disk: 800 reads of a tenth of a second, 32 at a time. Once the
    // search says where it is, a typed letter is dropped and Esc stops it.
    fs::testing::slowReads(100);
    const auto fast = qScopeGuard([] { fs::testing::slowReads(0); });
    QStringList lines;
    QTimer user;
    connect(&user, &QTimer::timeout, &user, [&] {
        lines << win.teste();
        if (!win.teste().startsWith(QStringLiteral("Lidos")))
            return;
        user.stop();
        QTest::keyClick(win.get("cxSearch"), Qt::Key_X);
        QTest::keyClick(win.get("cxSearch"), Qt::Key_Escape);
    });
    user.start(20);
    win.search(QStringLiteral("alvo"));
    user.stop();
    const QStringList stopped = win.results();
    QVERIFY2(!stopped.isEmpty() && stopped.size() < all.size(), qPrintable(QString::number(stopped.size())));
    QCOMPARE(stopped, all.mid(0, stopped.size()));
    QCOMPARE(win.teste(), QStringLiteral("Busca parada: %1 arquivos").arg(stopped.size()));
    QCOMPARE(win.get<QLineEdit>("cxSearch")->text(), QStringLiteral("alvo"));
    // Nothing new within the first half second; then reads of all the scripts.
    lines.removeAll(QStringLiteral("Encontrados 800 arquivos"));
    const QRegularExpression reading(QStringLiteral("^Lidos \\d+ de 800 scripts$"));
    QVERIFY2(!lines.isEmpty() && reading.match(lines.last()).hasMatch(), qPrintable(lines.join(u'|')));
}

void TestBrowse::matchesMarkedAndSteppedThroughWithF3()
{
    QByteArray text = latin1("\"Alvo no início,");
    for (int i = 0; i < 20; ++i)  // more lines than the viewer shows
        text += "\r\nlinha " + QByteArray::number(i);
    text += latin1("\r\noutro ALVO aqui ¤alvo¤ fim\"\r\n");
    TempLibrary lib{{"A/longo.txt", text}, {"B/curto.txt", "\"nada de alvo\"\r\n"}};
    MainDriver win(lib);
    ModalWatcher watcher;
    win.search(QStringLiteral("alvo"));
    QCOMPARE(win.results(), (QStringList{"longo --> A", "curto --> B"}));
    win.choose(0);
    const qsizetype last = win.shown().size();
    const QString first = QStringLiteral("0+4"), second = QString::number(last - 20) + QStringLiteral("+4"),
                  third = QString::number(last - 9) + QStringLiteral("+4");
    QCOMPARE(marksOf(win.viewer()), (QStringList{u'[' + first + u']', second, third}));
    // F3 forwards and Shift+F3 back, round at the ends, each brought into view.
    const QList<std::pair<Qt::KeyboardModifiers, QStringList>> steps{
        {Qt::NoModifier, {first, u'[' + second + u']', third}},
        {Qt::NoModifier, {first, second, u'[' + third + u']'}},
        {Qt::NoModifier, {u'[' + first + u']', second, third}},
        {Qt::ShiftModifier, {first, second, u'[' + third + u']'}},
    };
    for (const auto& [modifiers, marks] : steps) {
        QTest::keyClick(win.found(), Qt::Key_F3, modifiers);
        QCOMPARE(marksOf(win.viewer()), marks);
    }
    // Marking changes nothing the user copies or saves.
    win.click("btnCopy");
    QCOMPARE(QGuiApplication::clipboard()->text(), win.shown());
    QCOMPARE(win.press(watcher, "btnEditText2", {"Sim", "OK"}).value(1).text, QStringLiteral("Arquivo editado"));
    QCOMPARE(lib.read(QStringLiteral("A/longo.txt")), text);
    // A typed double quote meets the stored one only; an edit, another result
    // and closing the panel take the marks away.
    win.search(QStringLiteral("\"alvo\""));
    win.choose(0);
    QCOMPARE(marksOf(win.viewer()), QStringList{u'[' + QString::number(last - 10) + QStringLiteral("+6]")});
    typeText(win.viewer(), QStringLiteral("x"));
    QCOMPARE(marksOf(win.viewer()), QStringList());
    win.search(QStringLiteral("alvo"));
    win.choose(1);
    QCOMPARE(marksOf(win.viewer()), QStringList{QStringLiteral("[8+4]")});
    QTest::keyClick(win.found(), Qt::Key_F3);
    QCOMPARE(marksOf(win.viewer()), QStringList{QStringLiteral("[8+4]")});
    win.click("btnCloseSearch");
    QCOMPARE(marksOf(win.viewer()), QStringList());
    QCOMPARE(watcher.unexpected, 0);
}

QTEST_MAIN(TestBrowse)
#include "tst_browse.moc"
