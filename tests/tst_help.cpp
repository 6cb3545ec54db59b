// The help window's topics and the credits window's link.
#include "help/CreditsWindow.h"
#include "help/HelpTexts.h"
#include "help/HelpWindow.h"
#include "help/WebSite.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

using namespace corvane;
using namespace corvane::test;

namespace {

QList<QUrl> g_opened;
void recordOpening(const QUrl& url)
{
    g_opened.append(url);
}

const QString kIni = QStringLiteral(
    "O Corvane é baseado no armazenamento de informações em arquivos de texto puro (ASCII - txt), portanto "
    "algumas condições são importantes para evitar problemas de leitura:\r\n\r\n"
    "1 - Em nomes de 'Categorias' e 'Scripts' são permitidos espaços, porém sem possibilidade de digitação de "
    "caracteres especiais e/ou acentos.\r\n\r\n"
    "2 - Em 'Categorias', máximo de 20 caracteres. Em 'Scripts', máximo de 30 caracteres.\r\n\r\n"
    "3 - A pasta 'scripts' jamais deve ser apagada, caso contrário, o Programa não funcionará.");
const QString kCat = QStringLiteral(
    "1 - Adicionar Categoria. \r\n"
    "Clicar no box 'Categorias' e digitar o nome de sua preferência. Depois clica em 'Add'.\r\n\r\n"
    "2 - Renomear Categoria.\r\n"
    "Clicar na Categoria a ser alterada primeiro e digitar o novo nome de sua preferência. Depois clica em "
    "'Ren'.\r\n\r\n"
    "3 - Deletar Categoria.\r\n"
    "Clicar na categoria a ser deletada e depois em 'Del'. A categoria e todos os scripts pertencentes a ela "
    "serão definitivamente apagados. Tenha certeza do que está fazendo, pois esta operação é irreversível.");
const QString kFile = QStringLiteral(
    "1 - Adicionar Script.\r\n"
    "Selecionar uma categoria previamente criada. Em seguida, clicar no box 'Scripts' em digitar o nome de sua "
    "preferência. Depois clica em 'Add'. É possível já adicionar o corpo do texto clicando na janela de "
    "'Visualização' e digitando ou colando o texto.\r\n\r\n"
    "2 - Renomear Script.\r\n"
    "Clicar no script a ser alterado primeiro e digitar o novo nome de sua preferência. Depois clica em "
    "'Ren'.\r\n\r\n"
    "3 - Deletar Script.\r\n"
    "Simplesmente, clicar no script a ser deletado e depois em 'Del'. O script será definitivamente apagado. "
    "Esta operação é irreversível.\r\n\r\n"
    "4 - Editar Script.\r\n"
    "Com um script previamente selecionado, redigitar o texto referente a ele, na janela de 'Visualização'. "
    "Depois clica em 'Editar', e o texto é salvo automaticamente.");

QString lf(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QColor ink(QWidget* w)
{
    return w->palette().color(QPalette::Active, QPalette::WindowText);
}

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void topicsAreComposedExactly();
    void helpOpensAtInicioAndSwitchesTopics();
    void topicBoxesAreReadOnlyButCopyable();
    void creditsLinkColoursPointerAndOpening();
};

void TestHelp::topicsAreComposedExactly()
{
    QCOMPARE(help::topic(help::Topic::Ini), kIni);
    QCOMPARE(help::topic(help::Topic::Cat), kCat);
    QCOMPARE(help::topic(help::Topic::File), kFile);
    QCOMPARE(help::text("lblCatText1"), QStringLiteral("1 - Adicionar Categoria. "));
    QCOMPARE(help::text("semNome"), QString());
}

void TestHelp::helpOpensAtInicioAndSwitchesTopics()
{
    HelpWindow w;
    QVERIFY(showActive(&w));
    QCOMPARE(w.objectName(), QStringLiteral("frmHelp"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Corvane - Mini Help"));
    QCOMPARE(w.size(), QSize(274, 311));
    for (const char* name : {"Image1", "Image2", "Image3", "Image4", "linha1"})
        control(&w, name);

    const char* labels[] = {"lblHelpIni", "lblHelpCat", "lblHelpFile"};
    const char* boxes[] = {"txtHelpIni", "txtHelpCat", "txtHelpFile"};
    QCOMPARE(control<QLabel>(&w, labels[0])->text(), QStringLiteral("Início"));
    QCOMPARE(control<QLabel>(&w, labels[1])->text(), QStringLiteral("Categorias"));
    QCOMPARE(control<QLabel>(&w, labels[2])->text(), QStringLiteral("Scripts-Textos"));
    QCOMPARE(control<QPlainTextEdit>(&w, boxes[0])->toPlainText(), lf(kIni));
    QCOMPARE(control<QPlainTextEdit>(&w, boxes[1])->toPlainText(), lf(kCat));
    QCOMPARE(control<QPlainTextEdit>(&w, boxes[2])->toPlainText(), lf(kFile));

    const QColor red(192, 0, 0), shadow = w.palette().color(QPalette::Shadow);
    QVERIFY(red != shadow);
    auto expectShown = [&](int shown) {
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(control(&w, boxes[i])->isVisible(), i == shown);
            QCOMPARE(ink(control(&w, labels[i])), i == shown ? red : shadow);
            QVERIFY(control<QLabel>(&w, labels[i])->font().bold());
        }
    };
    expectShown(0);

    // The scroll position of a topic survives switching away and back.
    auto* files = control<QPlainTextEdit>(&w, boxes[2]);
    for (int step : {2, 1, 1, 0, 0, 2}) {
        QTest::mouseClick(control(&w, labels[step]), Qt::LeftButton, {}, QPoint(3, 3));
        expectShown(step);
    }
    QVERIFY(files->verticalScrollBar()->maximum() > 0);
    files->verticalScrollBar()->setValue(files->verticalScrollBar()->maximum());
    QTest::mouseClick(control(&w, labels[1]), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(control(&w, labels[2]), Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(files->verticalScrollBar()->value(), files->verticalScrollBar()->maximum());

    // Esc is no way out; the close box is.
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    w.close();
    QVERIFY(!w.isVisible());

    HelpWindow again;
    QVERIFY(showActive(&again));
    QVERIFY(control(&again, boxes[0])->isVisible());
    QVERIFY(!control(&again, boxes[2])->isVisible());
    QCOMPARE(control<QPlainTextEdit>(&again, boxes[2])->verticalScrollBar()->value(), 0);
}

void TestHelp::topicBoxesAreReadOnlyButCopyable()
{
    HelpWindow w;
    QVERIFY(showActive(&w));
    QTest::mouseClick(control(&w, "lblHelpCat"), Qt::LeftButton, {}, QPoint(3, 3));
    auto* box = control<QPlainTextEdit>(&w, "txtHelpCat");
    QCOMPARE(box->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(box->palette().color(QPalette::Base), w.palette().color(QPalette::Button));
    QCOMPARE(box->palette().color(QPalette::Text), w.palette().color(QPalette::WindowText));
    QCOMPARE(control(&w, "txtHelpIni")->palette().color(QPalette::Text), QColor(Qt::black));

    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(box->hasFocus());
    typeText(box, QStringLiteral("xyz"));
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->toPlainText(), lf(kCat));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), lf(kCat));
}

void TestHelp::creditsLinkColoursPointerAndOpening()
{
    // A button-text colour of its own, to tell it from black.
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::ButtonText, QColor(60, 70, 80));
    QApplication::setPalette(palette);
    g_opened.clear();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();

    auto* w = new CreditsWindow(nullptr, recordOpening);
    QVERIFY(showActive(w));
    QCOMPARE(w->objectName(), QStringLiteral("frmCredito"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Corvane - Créditos"));
    QCOMPARE(w->size(), QSize(263, 123));
    QCOMPARE(control<QLabel>(w, "lblCred1")->text(), QStringLiteral("Corvane - Versão 1.0"));
    QVERIFY(control<QLabel>(w, "lblCred1")->font().bold());
    QVERIFY(control<QLabel>(w, "lblCred2")->text().contains(QStringLiteral("Equipe Corvane")));
    QVERIFY(!control<QLabel>(w, "lblCred3")->text().isEmpty());
    auto* link = control<QLabel>(w, "lblUrl");
    QCOMPARE(link->text(), QStringLiteral("corvane.app"));
    QCOMPARE(ink(link), QColor(60, 70, 80));
    QVERIFY(!QApplication::overrideCursor());

    const QColor blue(0, 0, 255), black(0, 0, 0);
    QTest::mouseMove(link, QPoint(5, 5));
    QCOMPARE(ink(link), blue);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    // Straight onto the texts or the picture: the link stays blue.
    for (const char* other : {"lblCred3", "lblCred2", "lblCred1", "Image1"}) {
        QTest::mouseMove(control(w, other), QPoint(6, 6));
        QCOMPARE(ink(link), blue);
    }
    // The rule counts as background, as does the bare window.
    QWidget* rule = control(w, "Shape1");
    QTest::mouseMove(w, rule->geometry().center());
    QCOMPARE(ink(link), black);
    QTest::mouseMove(link, QPoint(8, 4));
    QCOMPARE(ink(link), blue);
    QTest::mouseMove(w, QPoint(w->width() - 3, w->height() - 3));
    QCOMPARE(ink(link), black);

    // Two clicks, two openings of the full address; the window stays.
    ModalWatcher watcher;
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(6, 5));
    QCOMPARE(g_opened, (QList<QUrl>{QUrl(QStringLiteral("https://corvane.app/")),
                                    QUrl(QStringLiteral("https://corvane.app/"))}));
    QVERIFY(w->isVisible());
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(w->isVisible());
    QCOMPARE(watcher.unexpected, 0);

    // The arrow outlives the window, as one override only.
    w->close();
    delete w;
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    QApplication::restoreOverrideCursor();
    QVERIFY(!QApplication::overrideCursor());
    // A cursor someone else set is turned into the arrow, not stacked on.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    useArrowPointerEverywhere();
    useArrowPointerEverywhere();
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    QApplication::restoreOverrideCursor();
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
