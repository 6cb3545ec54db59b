// The search panel driven like a user: open, search, choose, enlarge, close.
#include "library/ScriptFile.h"
#include "support/MainDriver.h"

#include <QDir>
#include <QFile>

using namespace corvane;
using namespace corvane::test;

class TestSearchPanel : public QObject {
    Q_OBJECT
private slots:
    void openingSwitchesTheFace();
    void refusalsKeepEverything();
    void findsByStoredTextIgnoringCaseNotAccents();
    void resultsFollowTheCategoryList();
    void choosingShowsTheScript();
    void eachResultOpensAndSavesItsOwnFile();
    void enlargedViewAndBack();
    void closingBringsBrowsingBack();
    void closingWithoutScriptsKeepsButtons();
};

void TestSearchPanel::openingSwitchesTheFace()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Cat"));
    lib.write(QStringLiteral("Cat/a.txt"), "\"texto\"\r\n");
    MainDriver p(lib);
    clickItem(p.files(), QStringLiteral("a"));
    QCOMPARE(p.shown(), QStringLiteral("texto"));
    p.click("btnOpenSearch");

    for (const char* hidden : {"lstDir01", "lstFile01", "cxRnmCat", "cxRnmFile", "btnEditText", "Image4", "Image5",
                               "lblNameDir", "lblNameFile", "imgMenos", "imgMais", "imageTit1", "imageTit2",
                               "btnOpenSearch"})
        QVERIFY2(!p.get(hidden)->isVisible(), hidden);
    for (const char* off : {"btnAddCat", "btnEditCat", "btnDelCat", "btnAddFile", "btnEditFile", "btnDelFile",
                            "btnEditText", "btnCopy", "btnPrint", "btnEditText2"})
        QVERIFY2(!p.get(off)->isEnabled(), off);
    for (const char* shown : {"lstFile02", "cxSearch", "btnSearch", "btnCloseSearch", "btnEditText2", "imgMenos2",
                              "imgMais2"})
        QVERIFY2(p.get(shown)->isVisible(), shown);
    QCOMPARE(p.shown(), QString());
    QCOMPARE(p.files()->count(), 0);
    QCOMPARE(p.teste(), QStringLiteral("Digite sua busca abaixo"));
    QCOMPARE(p.get("lblTeste")->x(), 16);
    QCOMPARE(p.tamanho(), QStringLiteral("Buscando em todas as categorias"));
    QCOMPARE(p.get("lblTamanho")->geometry(), tw(1150, 3970, 3000, 255));
    QCOMPARE(p.get("cxLerFile")->geometry(), tw(4560, 840, 3495, 3285));
    // The result list lies over the label's upper part.
    QVERIFY(p.get("lstFile02")->geometry().intersects(p.get("lblTamanho")->geometry()));
    QVERIFY(p.w.children().indexOf(p.get("lstFile02")) > p.w.children().indexOf(p.get("lblTamanho")));
}

void TestSearchPanel::refusalsKeepEverything()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Cat"));
    lib.write(QStringLiteral("Cat/a.txt"), "\"abacate\"\r\n");
    MainDriver p(lib);
    p.click("btnOpenSearch");
    p.search(QStringLiteral("ab"));
    QCOMPARE(p.results(), QStringList{QStringLiteral("a --> Cat")});
    p.choose(0);

    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK")).answer(QStringLiteral("OK"));
    p.search(QStringLiteral("   "));
    QCOMPARE(p.get<QLineEdit>("cxSearch")->text(), QString());
    p.search(QStringLiteral(" a "));
    QCOMPARE(p.get<QLineEdit>("cxSearch")->text(), QStringLiteral(" a "));
    QCOMPARE(watcher.seen.size(), 2);
    expectBox(watcher.seen[0], QStringLiteral("Você precisa colocar um nome!"), QStringLiteral("Aviso Busca"));
    expectBox(watcher.seen[1], QStringLiteral("Só nomes a partir de 2 caracteres"), QStringLiteral("Aviso Busca"));
    // Results, the chosen script and the caption stay.
    QCOMPARE(p.results(), QStringList{QStringLiteral("a --> Cat")});
    QCOMPARE(p.shown(), QStringLiteral("abacate"));
    QCOMPARE(p.teste(), QStringLiteral("Encontrados 1 arquivos"));

    // Enter in the box starts nothing; blanks around the text are dropped.
    p.get<QLineEdit>("cxSearch")->clear();
    typeText(p.get("cxSearch"), QStringLiteral(" zz "));
    QTest::keyClick(p.get("cxSearch"), Qt::Key_Return);
    QCOMPARE(p.results(), QStringList{QStringLiteral("a --> Cat")});
    p.click("btnSearch");
    QCOMPARE(p.results(), QStringList());
    QCOMPARE(p.teste(), QStringLiteral("Não foi encontrado nenhum arquivo"));
    QCOMPARE(watcher.unexpected, 0);
}

void TestSearchPanel::findsByStoredTextIgnoringCaseNotAccents()
{
    // The matching rules are the search core's; here the panel's own part: typed
    // text in, result lines out, a result opening whatever its extension's case.
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Misc"));
    QCOMPARE(script::writeFile(fs::fromQString(lib.path(QStringLiteral("Misc/acento.txt"))), QStringLiteral("uma ação")).code,
             Outcome::Code::Done);
    lib.write(QStringLiteral("Misc/Notes.TXT"), "\"nota em maiusculas\"\r\n");
    MainDriver p(lib);
    ModalWatcher watcher;
    p.click("btnOpenSearch");
    p.search(QStringLiteral("AÇÃO"));
    QCOMPARE(p.results(), QStringList{QStringLiteral("acento --> Misc")});
    p.search(QStringLiteral("neve ☃"));
    QCOMPARE(p.results(), QStringList());
    p.search(QStringLiteral("MAIUSC"));
    QCOMPARE(p.results(), QStringList{QStringLiteral("Notes --> Misc")});
    p.choose(0);
    QCOMPARE(p.shown(), QStringLiteral("nota em maiusculas"));
    QCOMPARE(watcher.seen.size(), 0);
}

void TestSearchPanel::resultsFollowTheCategoryList()
{
    TempLibrary lib;
    for (const char* cat : {"beta", "Alfa", "gama"})
        lib.mkdir(QString::fromLatin1(cat));
    lib.write(QStringLiteral("gama/g.txt"), "\"alvo\"\r\n");
    lib.write(QStringLiteral("Alfa/a1.txt"), "\"ALVO\"\r\n");
    lib.write(QStringLiteral("beta/b.txt"), "\"o alvo\"\r\n");
    lib.write(QStringLiteral("beta/outro.doc"), "\"alvo\"\r\n");
    MainDriver p(lib);
    // Created after start-up: not in the category list, so not searched.
    lib.mkdir(QStringLiteral("nova"));
    lib.write(QStringLiteral("nova/n.txt"), "\"alvo\"\r\n");
    // Gone behind the program's back: skipped without a message.
    QDir(lib.path(QStringLiteral("gama"))).removeRecursively();
    ModalWatcher watcher;
    p.click("btnOpenSearch");
    p.search(QStringLiteral("alvo"));
    QCOMPARE(p.results(), (QStringList{"a1 --> Alfa", "b --> beta"}));
    QCOMPARE(p.teste(), QStringLiteral("Encontrados 2 arquivos"));
    QCOMPARE(watcher.seen.size(), 0);
}

void TestSearchPanel::choosingShowsTheScript()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("A"));
    lib.mkdir(QStringLiteral("B"));
    QCOMPARE(script::writeFile(fs::fromQString(lib.path(QStringLiteral("A/um.txt"))), QStringLiteral("linha \"1\"\nlinha 2")).code,
             Outcome::Code::Done);
    lib.write(QStringLiteral("B/dois.txt"), "\"linha\"\r\n");
    MainDriver p(lib);
    p.click("btnOpenSearch");
    p.search(QStringLiteral("linha"));
    QCOMPARE(p.results(), (QStringList{"um --> A", "dois --> B"}));
    p.choose(0);
    QCOMPARE(p.shown(), QStringLiteral("linha \"1\"\nlinha 2"));
    for (const char* on : {"btnCopy", "btnPrint", "btnEditText2"})
        QVERIFY2(p.get(on)->isEnabled(), on);
    QCOMPARE(p.teste(), QStringLiteral("Encontrados 2 arquivos"));
    QCOMPARE(p.tamanho(), QStringLiteral("Buscando em todas as categorias"));
    p.choose(1);
    QCOMPARE(p.shown(), QStringLiteral("linha"));

    // A second search selects nothing, empties the viewer, leaves the buttons.
    p.search(QStringLiteral("linha 2"));
    QCOMPARE(p.results(), QStringList{QStringLiteral("um --> A")});
    QVERIFY(p.found()->selectedItems().isEmpty());
    QCOMPARE(p.shown(), QString());
    for (const char* on : {"btnCopy", "btnPrint", "btnEditText2"})
        QVERIFY2(p.get(on)->isEnabled(), on);

    // A result whose file vanished shows an empty viewer.
    QFile::remove(lib.path(QStringLiteral("A/um.txt")));
    p.choose(0);
    QCOMPARE(p.shown(), QString());
}

void TestSearchPanel::eachResultOpensAndSavesItsOwnFile()
{
    // The same shown name twice (Windows-1252 and UTF-8 bytes), and a name that
    // holds the result line's own separator.
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Alfa"));
    QMap<QByteArray, QByteArray> disk{{lib.rawPath("Alfa/ma\xe7\xe3.txt"), "\"texto latino\"\r\n"},
                                      {lib.rawPath("Alfa/ma\xc3\xa7\xc3\xa3.txt"), "\"texto unicode\"\r\n"},
                                      {lib.rawPath("Alfa/a --> b.txt"), "\"texto da seta\"\r\n"}};
    for (auto it = disk.begin(); it != disk.end(); ++it)
        raw::write(it.key(), it.value());
    MainDriver p(lib);
    ModalWatcher watcher;
    p.click("btnOpenSearch");
    p.search(QStringLiteral("TEXTO"));
    QStringList sorted = p.results();
    sorted.sort();
    QCOMPARE(sorted, (QStringList{"a --> b --> Alfa", "maçã --> Alfa", "maçã --> Alfa"}));

    QStringList shown;
    for (int row = 0; row < 3; ++row) {
        p.choose(row);
        shown << p.shown();
        const QByteArray file = disk.key("\"" + latin1(p.shown().toUtf8().constData()) + "\"\r\n");
        QVERIFY2(!file.isEmpty(), qPrintable(p.shown()));
        QCOMPARE(p.results()[row].startsWith(QStringLiteral("a --> b")), file.endsWith("a --> b.txt"));
        if (file.endsWith("a --> b.txt"))
            continue;  // '>' cannot be saved in a name; opening is what counts here
        p.viewer()->setFocus();
        QTest::keyClick(p.viewer(), Qt::Key_End, Qt::ControlModifier);
        typeText(p.viewer(), QStringLiteral(" é"));
        QCOMPARE(p.press(watcher, "btnEditText2", {"Sim", "OK"}).value(1).text, QStringLiteral("Arquivo editado"));
        disk[file].insert(disk[file].size() - 3, " \xe9");
        for (auto it = disk.begin(); it != disk.end(); ++it)
            QCOMPARE(raw::read(it.key()), it.value());
    }
    shown.sort();
    QCOMPARE(shown, (QStringList{"texto da seta", "texto latino", "texto unicode"}));
}

void TestSearchPanel::enlargedViewAndBack()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("A"));
    lib.write(QStringLiteral("A/um.txt"), "\"abc\"\r\n");
    MainDriver p(lib);
    p.click("btnOpenSearch");
    p.search(QStringLiteral("abc"));

    ModalWatcher watcher;
    watcher.answer(QStringLiteral("OK")).answer(QStringLiteral("OK"));
    p.clickPicture("imgMais2");
    p.clickPicture("imgMenos2");
    QCOMPARE(watcher.seen.size(), 2);
    for (const SeenBox& box : watcher.seen)
        expectBox(box, QStringLiteral("Você precisa selecionar um arquivo!"), QStringLiteral("Aviso visualização"));
    QVERIFY(p.get("lstFile02")->isVisible());
    QCOMPARE(p.get("cxLerFile")->geometry(), tw(4560, 840, 3495, 3285));

    p.choose(0);
    p.viewer()->appendPlainText(QStringLiteral("não salvo"));
    for (int twice = 0; twice < 2; ++twice) {
        p.clickPicture("imgMais2");
        for (const char* hidden : {"lstFile02", "cxSearch", "btnSearch", "btnCloseSearch", "lblTamanho"})
            QVERIFY2(!p.get(hidden)->isVisible(), hidden);
        QCOMPARE(p.get("cxLerFile")->geometry(), tw(240, 840, 7815, 3285));
        QCOMPARE(p.get("Image6")->x(), 16);
        QCOMPARE(p.get("Label1")->x(), qRound(590 / 15.0));
        QCOMPARE(p.label("Label1"), QStringLiteral("Visualizando ampliado"));
        QVERIFY(p.get("btnEditText2")->isEnabled());
    }
    for (int twice = 0; twice < 2; ++twice) {
        p.clickPicture("imgMenos2");
        for (const char* shown : {"lstFile02", "cxSearch", "btnSearch", "btnCloseSearch", "lblTamanho"})
            QVERIFY2(p.get(shown)->isVisible(), shown);
        QCOMPARE(p.get("cxLerFile")->geometry(), tw(4560, 840, 3495, 3285));
        QCOMPARE(p.get("Image6")->x(), qRound(4580 / 15.0));
        QCOMPARE(p.get("Label1")->x(), 323);
        QCOMPARE(p.label("Label1"), QStringLiteral("Visualização"));
    }
    QCOMPARE(p.shown(), QStringLiteral("abc\nnão salvo"));
    QVERIFY(p.found()->item(0)->isSelected());
    QCOMPARE(watcher.unexpected, 0);
}

void TestSearchPanel::closingBringsBrowsingBack()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("A"));
    lib.mkdir(QStringLiteral("B"));
    lib.write(QStringLiteral("A/primeiro.txt"), "\"um\"\r\n");
    lib.write(QStringLiteral("A/segundo.txt"), "\"dois\"\r\n");
    lib.write(QStringLiteral("B/b.txt"), "\"um\"\r\n");
    MainDriver p(lib);  // A is already selected: closing must still refill its list
    p.click("btnOpenSearch");
    p.search(QStringLiteral("um"));
    p.choose(1);
    p.click("btnCloseSearch");

    for (const char* shown : {"lstDir01", "lstFile01", "cxRnmCat", "cxRnmFile", "btnEditText", "Image4", "Image5",
                              "lblNameDir", "lblNameFile", "imgMenos", "imgMais", "btnOpenSearch", "imageTit2"})
        QVERIFY2(p.get(shown)->isVisible(), shown);
    for (const char* hidden : {"lstFile02", "cxSearch", "btnSearch", "btnCloseSearch", "btnEditText2", "imgMenos2",
                               "imgMais2", "imageTit1"})
        QVERIFY2(!p.get(hidden)->isVisible(), hidden);
    QVERIFY(!p.get("btnEditText2")->isEnabled());
    QCOMPARE(p.dir(), QStringLiteral("A"));
    QCOMPARE(p.files()->count(), 2);
    QCOMPARE(p.file(), QStringLiteral("primeiro"));
    QCOMPARE(p.shown(), QStringLiteral("um"));
    QCOMPARE(p.teste(), QStringLiteral("primeiro"));
    QCOMPARE(p.get("lblTeste")->x(), 39);
    QCOMPARE(p.get("lblTamanho")->geometry(), tw(3690, 180, 855, 255));
    for (const char* on : {"btnEditText", "btnCopy", "btnPrint", "btnEditFile", "btnDelFile"})
        QVERIFY2(p.get(on)->isEnabled(), on);

    // Opened again, the panel starts empty.
    p.click("btnOpenSearch");
    QCOMPARE(p.results(), QStringList());
    QCOMPARE(p.get<QLineEdit>("cxSearch")->text(), QString());
}

void TestSearchPanel::closingWithoutScriptsKeepsButtons()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Vazia"));
    lib.mkdir(QStringLiteral("Z"));
    lib.write(QStringLiteral("Z/z.txt"), "\"zz\"\r\n");
    MainDriver p(lib);
    p.click("btnOpenSearch");
    p.search(QStringLiteral("zz"));
    p.choose(0);
    p.click("btnCloseSearch");
    QCOMPARE(p.dir(), QStringLiteral("Vazia"));
    QCOMPARE(p.files()->count(), 0);
    QCOMPARE(p.teste(), QStringLiteral("Vazia: 0 scripts"));
    QCOMPARE(p.shown(), QString());
    // Copy and print keep what the chosen result gave them.
    QVERIFY(p.get("btnCopy")->isEnabled());
    QVERIFY(p.get("btnPrint")->isEnabled());

    // With no category at all the panel still closes cleanly.
    TempLibrary none;
    MainDriver empty(none);
    empty.click("btnOpenSearch");
    empty.click("btnCloseSearch");
    QCOMPARE(empty.teste(), QStringLiteral("Selecione uma categoria"));
    QVERIFY(empty.get("lstDir01")->isVisible());
}

QTEST_MAIN(TestSearchPanel)
#include "tst_search_panel.moc"
