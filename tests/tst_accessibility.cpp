// Every control a user can reach has a name a screen reader can speak.
#include "app/MainWindow.h"
#include "app/NoticeDialog.h"
#include "widgets/Picture.h"
#include "backup/BackupWindow.h"
#include "help/CreditsWindow.h"
#include "help/HelpWindow.h"
#include "printing/PrintDialog.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <initializer_list>

using namespace corvane;

namespace {

QStringList unnamedControls(QWidget* window)
{
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w)
            || qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QComboBox*>(w)
            || (qobject_cast<Picture*>(w) && !w->toolTip().trimmed().isEmpty());
        if (!control || !w->isVisibleTo(window) || w->objectName().isEmpty() || w->objectName().startsWith(u"qt_"))
            continue;
        if (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget()))
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        const QString name = face ? face->text(QAccessible::Name).remove(u'&').trimmed() : QString();
        if (name.isEmpty() || name == w->objectName())
            unnamed << w->objectName();
    }
    return unnamed;
}

}  // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void everyWindowNamesItsControls();
};

void TestAccessibility::everyWindowNamesItsControls()
{
    test::TempLibrary lib;
    MainWindow main(lib.scripts());
    NoticeDialog notice;
    HelpWindow help;
    CreditsWindow credits;
    BackupWindow backup(lib.scripts());
    BackHelpWindow backHelp;
    PrintDialog print(QStringLiteral("Teste"), QStringLiteral("texto"));
    for (QWidget* window : std::initializer_list<QWidget*>{&main, &notice, &help, &credits, &backup, &backHelp, &print}) {
        window->show();
        QCOMPARE(unnamedControls(window).join(u", "), QString());
        window->hide();
    }
    // The search panel's controls, once opened.
    QVERIFY(test::showActive(&main));
    QTest::mouseClick(test::control(&main, "btnOpenSearch"), Qt::LeftButton);
    QVERIFY(test::control(&main, "lstFile02")->isVisible());
    QCOMPARE(unnamedControls(&main).join(u", "), QString());
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
