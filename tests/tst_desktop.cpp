// The main window among other programs: lists that follow the disk, and names
// too long for their list shown whole.
#include "support/MainDriver.h"

#include <QDir>
#include <QHelpEvent>
#include <QToolTip>

using namespace corvane;
using namespace corvane::test;

namespace {

// The tool tip a user resting the pointer on an entry sees; empty for none.
QString tipOf(QListWidget* list, const QString& entry)
{
    QToolTip::hideText();
    for (int i = 0; i < 100 && QToolTip::isVisible(); ++i)
        QTest::qWait(20);
    QListWidgetItem* item = itemNamed(list, entry);
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QApplication::sendEvent(list->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

}  // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void listsFollowTheDiskLeavingTheViewerAlone();
    void cutNamesShowWholeAsToolTips();
};

void TestDesktop::listsFollowTheDiskLeavingTheViewerAlone()
{
    TempLibrary lib;
    lib.mkdir(QStringLiteral("Notas"));
    lib.mkdir(QStringLiteral("Receitas"));
    lib.write(QStringLiteral("Notas/a.txt"), "\"aaaa\"\r\n");
    lib.write(QStringLiteral("Notas/b.txt"), "\"bb\"\r\n");
    MainDriver win(lib);
    clickItem(win.files(), QStringLiteral("b"));
    win.typeViewer(QStringLiteral("ainda digitando"));

    // Another program adds, removes and renames; a sync tool leaves a conflict copy.
    const QString conflict = QStringLiteral("b.sync-conflict-20261207-101010-ABCDEFG");
    lib.write(QStringLiteral("Notas/") + conflict + QStringLiteral(".txt"), "\"bb?\"\r\n");
    QVERIFY(QFile::remove(lib.path(QStringLiteral("Notas/a.txt"))));
    lib.mkdir(QStringLiteral("Nova"));
    QVERIFY(QDir(lib.scripts()).rename(QStringLiteral("Receitas"), QStringLiteral("Receitas 2")));
    QTRY_COMPARE(entries(win.dirs()), (QStringList{"Notas", "Nova", "Receitas 2"}));
    QTRY_COMPARE(entries(win.files()), (QStringList{"b", conflict}));
    QCOMPARE(win.dir(), QStringLiteral("Notas"));
    QCOMPARE(win.file(), QStringLiteral("b"));
    QCOMPARE(win.shown(), QStringLiteral("ainda digitando"));
    QCOMPARE(win.teste(), QStringLiteral("b"));

    // With the category chosen, its count and size follow too.
    QTest::keyClick(win.files(), Qt::Key_Backtab, Qt::ShiftModifier);
    clickItem(win.dirs(), QStringLiteral("Nova"));
    clickItem(win.dirs(), QStringLiteral("Notas"));
    QCOMPARE(win.teste(), QStringLiteral("Notas: 2 scripts"));
    win.typeViewer(QStringLiteral("outro texto"));
    lib.write(QStringLiteral("Notas/c.txt"), QByteArray(1024 - 12, 'c'));
    QTRY_COMPARE(win.teste(), QStringLiteral("Notas: 3 scripts"));
    QCOMPARE(win.tamanho(), QStringLiteral("1 Kb"));
    QCOMPARE(entries(win.files()), (QStringList{"b", conflict, "c"}));

    // The chosen category goes: nothing is chosen, the text stays.
    QVERIFY(QDir(lib.path(QStringLiteral("Notas"))).removeRecursively());
    QTRY_COMPARE(entries(win.dirs()), (QStringList{"Nova", "Receitas 2"}));
    QCOMPARE(win.files()->count(), 0);
    QCOMPARE(win.teste(), QString());
    QCOMPARE(win.shown(), QStringLiteral("outro texto"));
}

void TestDesktop::cutNamesShowWholeAsToolTips()
{
    const QString category = QStringLiteral("Modelos de Contratos");      // 20 characters, the most
    const QString script = QStringLiteral("Carta de apresentacao completa");  // 30
    const QString wide = QString(30, u'W');
    TempLibrary lib;
    lib.mkdir(category);
    lib.mkdir(QStringLiteral("Alfa"));
    lib.write(category + QStringLiteral("/") + script + QStringLiteral(".txt"), "\"prezados\"\r\n");
    lib.write(category + QStringLiteral("/") + wide + QStringLiteral(".txt"), "\"largo\"\r\n");
    lib.write(category + QStringLiteral("/curto.txt"), "\"prezados\"\r\n");
    MainDriver win(lib);

    QCOMPARE(tipOf(win.dirs(), category), category);
    QCOMPARE(tipOf(win.dirs(), QStringLiteral("Alfa")), QString());
    clickItem(win.dirs(), category);
    QCOMPARE(tipOf(win.files(), script), script);
    QCOMPARE(tipOf(win.files(), QStringLiteral("curto")), QString());

    // The name above the lists, when it does not fit.
    clickItem(win.files(), wide);
    QCOMPARE(win.get<QLabel>("lblTeste")->toolTip(), wide);
    clickItem(win.files(), QStringLiteral("curto"));
    QCOMPARE(win.get<QLabel>("lblTeste")->toolTip(), QString());

    // And the search results.
    win.click("btnOpenSearch");
    win.search(QStringLiteral("prezados"));
    const QString line = script + QStringLiteral(" --> ") + category;
    QCOMPARE(win.results(), (QStringList{line, QStringLiteral("curto --> ") + category}));
    QCOMPARE(tipOf(win.found(), line), line);
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
