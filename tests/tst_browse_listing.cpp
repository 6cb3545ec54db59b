// Listing a category: entries, shown names, count and size, read afresh from disk.
#include "support/MainDriver.h"

#include <QDir>

using namespace corvane;
using namespace corvane::test;


class TestBrowseListing : public QObject {
    Q_OBJECT
private slots:
    void listingCountAndSize();
    void removedCategoryFolderReadsEmpty();
    void countGoesPast32767();
};

void TestBrowseListing::listingCountAndSize()
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

void TestBrowseListing::removedCategoryFolderReadsEmpty()
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
    win.w.browser()->categorySelected();
    QCOMPARE(entries(win.files()), QStringList{"novo"});
    QCOMPARE(win.teste(), QStringLiteral("Beta: 1 scripts"));
    QCOMPARE(win.tamanho(), QStringLiteral("5 bytes"));
    QCOMPARE(watcher.seen.size(), 0);
}

void TestBrowseListing::countGoesPast32767()
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

QTEST_MAIN(TestBrowseListing)
#include "tst_browse_listing.moc"
