// The print window opened from Imprimir: what it shows, what its choices change and
// what reaches the page. Pages go to PDF files; poppler-utils reads them back.
#include "app/MainWindow.h"
#include "printing/PrintTarget.h"
#include "support/PrintDriving.h"
#include "support/PrintPages.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr int kDpi = 150;

// Every print job becomes the next PDF file of a temporary folder, on a page of
// the chosen size and margins; or there is no printer at all; or the file cannot
// be written.
class TestPrinters {
public:
    enum class Mode { Pdf, None, Broken };

    // The window's hooks: this printer, and 5 March 2007 as today.
    SystemHooks hooks()
    {
        SystemHooks hooks;
        hooks.printing.today = [] { return QDate(2007, 3, 5); };
        hooks.printing.printer = [this]() -> std::unique_ptr<QPrinter> {
            ++requests;
            if (mode == Mode::None)
                return nullptr;
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            // Like many office printers, this one starts in greyscale.
            printer->setColorMode(QPrinter::GrayScale);
            printer->setPageSize(pageSize);
            printer->setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
            // A plain file where the folder should be: no one, root included, can write there.
            const QString file = mode == Mode::Broken
                                     ? blocker() + QStringLiteral("/page.pdf")
                                     : dir.filePath(QStringLiteral("page-%1.pdf").arg(files.size() + 1));
            printer->setOutputFileName(file);
            if (mode == Mode::Pdf)
                files.append(file);
            return printer;
        };
        return hooks;
    }

    QString blocker()
    {
        const QString path = dir.filePath(QStringLiteral("not-a-folder"));
        QFile f(path);
        if (!f.exists() && f.open(QIODevice::WriteOnly))
            f.write("x");
        return path;
    }

    QTemporaryDir dir;
    Mode mode = Mode::Pdf;
    QPageSize pageSize = QPageSize(QSizeF(230, 360), QPageSize::Millimeter, QStringLiteral("Teste"));
    QStringList files;
    int requests = 0;
};

QString text1(QWidget* dialog)
{
    return control<QPlainTextEdit>(dialog, "Text1")->toPlainText();
}

QStringList chosen(QWidget* dialog)
{
    QStringList out;
    for (QRadioButton* b : dialog->findChildren<QRadioButton*>())
        if (b->isChecked())
            out.append(b->objectName());
    out.sort();
    return out;
}

#define NEED_POPPLER()                                                                                   \
    if (pdfTool("pdftoppm").isEmpty() || pdfTool("pdfinfo").isEmpty())                                  \
        QSKIP("poppler-utils is not installed (tools/cups-pdf.sh installs it)");

}  // namespace

class TestPrintWindow : public QObject {
    Q_OBJECT
private slots:
    void opensWithHeadingTextAndDefaults();
    void nameComesFromTheChosenEntry();
    void optionsThenReopeningStartsFromTheDefaults();
    void printsThePreviewAsOnePagePerClick();
    void inkSizeAndFontReachThePage();
    void eachPaperGivesItsBox();
    void noPrinterOrFailureShowsMessage();
    void noBreakSpacesReachPreviewAndPage();
};

void TestPrintWindow::opensWithHeadingTextAndDefaults()
{
    TestPrinters printers;
    Main main(QStringLiteral("Linha um\nLinha dois editada"), printers.hooks());
    ModalWatcher watcher;
    bool opened = false;
    main.print(watcher, [&](QWidget* d) {
        opened = true;
        QCOMPARE(d->objectName(), QStringLiteral("frmPrint"));
        QCOMPARE(d->windowTitle(), QStringLiteral("Corvane - Print preview"));
        QCOMPARE(QApplication::activeModalWidget(), d);
        QCOMPARE(d->size(), QSize(350, 311));
        QCOMPARE(text1(d), QStringLiteral(":: Teste  -  05-03-2007 ::\n\nLinha um\nLinha dois editada"));
        QVERIFY(!control<QPlainTextEdit>(d, "Text1")->isReadOnly());
        QCOMPARE(control<QLabel>(d, "lblArqName")->text(), QStringLiteral("Teste"));
        QVERIFY(control<QLabel>(d, "lblArqName")->font().bold());
        QCOMPARE(control<QLabel>(d, "Label1")->text(), QStringLiteral("Arquivo:"));
        QCOMPARE(chosen(d), (QStringList{"optA4", "optBlack", "optC10", "optFont1"}));

        // Captions, frames and places.
        QCOMPARE(control<QPushButton>(d, "cmbPrint")->text(), QStringLiteral("Im&primir"));
        QCOMPARE(control<QPushButton>(d, "cmbCancel")->text(), QStringLiteral("Cancelar"));
        QCOMPARE(control<QPushButton>(d, "cmbPrint")->geometry(), QRect(264, 280, 76, 22));
        QCOMPARE(control<QPlainTextEdit>(d, "Text1")->geometry(), QRect(8, 16, 330, 157));
        QStringList frames;
        for (QGroupBox* g : d->findChildren<QGroupBox*>()) {
            frames.append(g->title());
            QVERIFY(g->font().bold());
        }
        QCOMPARE(frames, (QStringList{"Cor", "Corpo", "Fonte", "Papel"}));
        QStringList captions;
        for (const char* name : {"optC10", "optC11", "optC12", "optC13", "optFont1", "optFont3", "optFont2",
                                 "optA4", "optCarta", "optOficio"}) {
            captions.append(control<QRadioButton>(d, name)->text());
            QVERIFY(!control<QRadioButton>(d, name)->font().bold());
        }
        QCOMPARE(captions.join(u','), QStringLiteral("10,11,12,13,Arial,Courier,Times,A4,Carta,Ofício"));
        QCOMPARE(control<QRadioButton>(d, "optFont2")->y(), 64);  // Times is the last of its frame
        for (const char* name : {"optBlack", "optRed", "optGreen", "optBlue"})
            QVERIFY(control<QRadioButton>(d, name)->text().isEmpty());
        QStringList swatches;
        for (const char* name : {"retBlack", "retRed", "retGreen", "Shape1"})
            swatches.append(control<QFrame>(d, name)->palette().color(QPalette::Window).name());
        QCOMPARE(swatches.join(u','), QStringLiteral("#000000,#ff0000,#00c000,#0000ff"));
    });
    QVERIFY(opened);
    QCOMPARE(watcher.unexpected, 0);
    // Looking changes nothing in the main window, and nothing was printed.
    QCOMPARE(main.viewer()->toPlainText(), QStringLiteral("Linha um\nLinha dois editada"));
    QCOMPARE(printers.requests, 0);
}

void TestPrintWindow::nameComesFromTheChosenEntry()
{
    TestPrinters printers;
    Main main(QStringLiteral("x"), printers.hooks());
    ModalWatcher watcher;
    QString heading, label;
    const auto look = [&](QWidget* d) {
        heading = text1(d).section(u'\n', 0, 0);
        label = control<QLabel>(d, "lblArqName")->text();
    };

    // In the search panel: the chosen result's script.
    main.lib.write(QStringLiteral("Misc/Minhas notas.txt"), "\"achado aqui\"\r\n");
    QTest::mouseClick(main.get("btnOpenSearch"), Qt::LeftButton);
    QTest::keyClicks(main.get("cxSearch"), QStringLiteral("achado"));
    QTest::mouseClick(main.get("btnSearch"), Qt::LeftButton);
    auto* results = main.get<QListWidget>("lstFile02");
    QCOMPARE(results->count(), 1);
    Main::choose(results, QStringLiteral("Minhas notas --> Misc"));
    main.print(watcher, look);
    QCOMPARE(heading, QStringLiteral(":: Minhas notas  -  05-03-2007 ::"));
    QCOMPARE(label, QStringLiteral("Minhas notas"));

    // The result unchosen (Ctrl+click): the window opens with an empty name.
    QTest::mouseClick(results->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      results->visualItemRect(results->item(0)).center());
    QVERIFY(results->selectedItems().isEmpty());
    main.print(watcher, look);
    QCOMPARE(heading, QStringLiteral("::   -  05-03-2007 ::"));
    QCOMPARE(label, QString());
    QCOMPARE(watcher.unexpected, 0);
}

void TestPrintWindow::optionsThenReopeningStartsFromTheDefaults()
{
    NEED_POPPLER();
    TestPrinters printers;
    Main main(kUnsavedText, printers.hooks());
    ModalWatcher watcher;
    // Options change the print settings only; then some typing and Cancelar.
    main.print(watcher, [&](QWidget* d) {
        auto* preview = control<QPlainTextEdit>(d, "Text1");
        const QString before = preview->toPlainText();
        const QFont font = preview->font();
        const QPalette palette = preview->palette();
        for (const char* name : {"optGreen", "optC13", "optFont3", "optOficio"})
            click(d, name);
        QCOMPARE(chosen(d), (QStringList{"optC13", "optFont3", "optGreen", "optOficio"}));
        click(d, "optCarta");
        click(d, "optA4");
        for (const char* name : {"optRed", "optFont2", "optCarta"})
            click(d, name);
        QCOMPARE(chosen(d), (QStringList{"optC13", "optCarta", "optFont2", "optRed"}));
        QCOMPARE(preview->toPlainText(), before);
        QCOMPARE(preview->font(), font);
        QCOMPARE(preview->palette(), palette);
        QCOMPARE(control<QFrame>(d, "retGreen")->palette().color(QPalette::Window), QColor(0, 192, 0));
        QCOMPARE(printers.requests, 0);

        preview->setFocus();
        QTest::keyClick(preview, Qt::Key_End, Qt::ControlModifier);
        typeText(preview, QStringLiteral(" mais"));
        QVERIFY(text1(d).endsWith(QStringLiteral("salvo mais")));
        click(d, "cmbCancel");
        QVERIFY(!d->isVisible());
    });
    // Then the close box, after choosing blue.
    main.print(watcher, [&](QWidget* d) {
        QCOMPARE(chosen(d), (QStringList{"optA4", "optBlack", "optC10", "optFont1"}));
        QVERIFY(!text1(d).endsWith(QStringLiteral("mais")));
        click(d, "optBlue");
        d->close();
    });
    // The next opening prints black 10 pt Arial in the A4 box.
    main.print(watcher, [&](QWidget* d) {
        QCOMPARE(chosen(d), (QStringList{"optA4", "optBlack", "optC10", "optFont1"}));
        click(d, "cmbPrint");
    });
    QCOMPARE(watcher.unexpected, 0);
    QCOMPARE(printers.files.size(), 1);
    const QImage page = renderPdf(printers.files[0], kDpi);
    QCOMPARE(inkColours(page), QList<QRgb>{qRgb(0, 0, 0)});
    QVERIFY(pdfFonts(printers.files[0]).join(u' ').contains(QStringLiteral("LiberationSans")));
}

void TestPrintWindow::printsThePreviewAsOnePagePerClick()
{
    NEED_POPPLER();
    TestPrinters printers;
    Main main(QStringLiteral("Preço & prazo\tok"), printers.hooks());
    ModalWatcher watcher;
    main.print(watcher, [&](QWidget* d) {
        auto* preview = control<QPlainTextEdit>(d, "Text1");
        preview->setFocus();
        QTest::keyClick(preview, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(preview, Qt::Key_Return);
        typeText(preview, QStringLiteral("Acrescentado na prévia"));
        click(d, "cmbPrint");
        QVERIFY(d->isVisible());
        // Alt+P prints again from the same opening, as a document of its own.
        QApplication::setActiveWindow(d);
        QVERIFY(QTest::qWaitForWindowActive(d));
        QTest::keyClick(preview, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(printers.requests, 2);  // the button takes a moment to show it is pressed
        QVERIFY(d->isVisible());
    });
    QCOMPARE(watcher.unexpected, 0);
    QCOMPARE(printers.requests, 2);
    QCOMPARE(printers.files.size(), 2);
    for (const QString& pdf : printers.files) {
        QCOMPARE(pdfPages(pdf), 1);
        QCOMPARE(pdfPageSize(pdf).section(u' ', 0, 0).toDouble(), 652.0);  // the printer keeps its 230 mm paper
        const QString text = pdfText(pdf);
        // Word by word, as pdftotext gives it back: the ampersand printed as typed.
        QCOMPARE(text.simplified(),
                 QStringLiteral(":: Teste - 05-03-2007 :: Preço & prazo ok Acrescentado na prévia"));
    }
    // The box starts 10 mm inside the 5 mm margins (give or take the PDF renderer's rounding).
    const QRect ink = inkBounds(renderPdf(printers.files[0], kDpi));
    QVERIFY2(ink.left() >= mmToPx(14.6, kDpi) && ink.left() <= mmToPx(15.6, kDpi), qPrintable(QString::number(ink.left())));
    QVERIFY2(ink.top() >= mmToPx(14.6, kDpi) && ink.top() <= mmToPx(16.5, kDpi), qPrintable(QString::number(ink.top())));
    // The script file itself was not involved.
    QCOMPARE(main.lib.read(QStringLiteral("Misc/Teste.txt")), QByteArray("\"Salvo\"\r\n"));
}

void TestPrintWindow::inkSizeAndFontReachThePage()
{
    NEED_POPPLER();
    TestPrinters printers;
    // The text repeats the heading, so the two lines must look alike on paper.
    Main main(QStringLiteral(":: Teste  -  05-03-2007 ::"), printers.hooks());
    ModalWatcher watcher;
    struct Choice {
        const char* colour;
        const char* size;
        const char* font;
        QRgb ink;
        QString family;
    };
    const QList<Choice> choices{
        {"optGreen", "optC13", "optFont3", qRgb(0, 255, 0), QStringLiteral("LiberationMono")},
        {"optRed", "optC11", "optFont2", qRgb(255, 0, 0), QStringLiteral("LiberationSerif")},
        {"optBlue", "optC12", "optFont1", qRgb(0, 0, 255), QStringLiteral("LiberationSans")},
        {"optBlack", "optC10", "optFont1", qRgb(0, 0, 0), QStringLiteral("LiberationSans")},
    };
    main.print(watcher, [&](QWidget* d) {
        for (const Choice& choice : choices) {
            for (const char* name : {choice.colour, choice.size, choice.font})
                click(d, name);
            click(d, "cmbPrint");
        }
    });
    QCOMPARE(watcher.unexpected, 0);
    QCOMPARE(printers.files.size(), choices.size());
    QList<int> heights;
    for (int i = 0; i < choices.size(); ++i) {
        const QString& pdf = printers.files[i];
        QCOMPARE(pdfFonts(pdf), QStringList{choices[i].family});
        const QImage page = renderPdf(pdf, kDpi);
        QCOMPARE(inkColours(page), QList<QRgb>{choices[i].ink});
        const QList<QPair<int, int>> bands = inkBands(page);
        QCOMPARE(bands.size(), 2);  // heading and text; the empty line between has no ink
        const QRect heading = inkBounds(page, QRect(0, bands[0].first, page.width(), 1 + bands[0].second - bands[0].first));
        const QRect text = inkBounds(page, QRect(0, bands[1].first, page.width(), 1 + bands[1].second - bands[1].first));
        QCOMPARE(heading.left(), text.left());
        QVERIFY(qAbs(heading.width() - text.width()) <= 1);
        QVERIFY(qAbs(heading.height() - text.height()) <= 1);
        heights.append(text.height());
    }
    // 13 pt Courier is taller than 11 pt Times, 12 pt Arial than 10 pt Arial.
    QVERIFY(heights[2] > heights[3]);
    QVERIFY(heights[0] > heights[3]);
}

void TestPrintWindow::eachPaperGivesItsBox()
{
    NEED_POPPLER();
    TestPrinters printers;
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines.append(QStringLiteral("i ").repeated(150));
    Main main(lines.join(u'\n'), printers.hooks());
    ModalWatcher watcher;
    main.print(watcher, [&](QWidget* d) {
        for (const char* paper : {"optCarta", "optOficio", "optA4"}) {
            click(d, paper);
            click(d, "cmbPrint");
        }
    });
    QCOMPARE(watcher.unexpected, 0);
    QCOMPARE(printers.files.size(), 3);
    const QList<QSizeF> boxes{{195, 270}, {195, 320}, {190, 280}};
    for (int i = 0; i < boxes.size(); ++i) {
        QCOMPARE(pdfPages(printers.files[i]), 1);
        const QRect ink = inkBounds(renderPdf(printers.files[i], kDpi));
        // Origin: 5 mm margin plus 10 mm; the short words fill each line to within a word
        // of the right edge, and whole lines fill the height to within a line.
        const double right = 15 + boxes[i].width(), bottom = 15 + boxes[i].height();
        QVERIFY2(ink.right() < mmToPx(right, kDpi) && ink.right() > mmToPx(right - 3, kDpi),
                 qPrintable(QStringLiteral("%1: right %2").arg(i).arg(ink.right())));
        QVERIFY2(ink.bottom() < mmToPx(bottom, kDpi) && ink.bottom() > mmToPx(bottom - 5, kDpi),
                 qPrintable(QStringLiteral("%1: bottom %2").arg(i).arg(ink.bottom())));
    }
}

void TestPrintWindow::noPrinterOrFailureShowsMessage()
{
    TestPrinters printers;
    printers.mode = TestPrinters::Mode::None;
    Main main(kUnsavedText, printers.hooks());
    ModalWatcher watcher;
    const QString noPrinter = QStringLiteral("Nenhuma impressora padrão foi encontrada. Instale uma impressora e "
                                             "defina-a como padrão para poder imprimir.");
    const QString failed = QStringLiteral("Não foi possível imprimir na impressora padrão. Verifique se ela está "
                                          "ligada e pronta e tente novamente.");
    watcher.answer(QStringLiteral("OK")).answer(QStringLiteral("OK")).answer(QStringLiteral("OK"));
    main.print(watcher, [&](QWidget* d) {
        click(d, "cmbPrint");
        QVERIFY(d->isVisible());
        // The window is still usable: another choice, another try.
        click(d, "optRed");
        QCOMPARE(chosen(d), (QStringList{"optA4", "optC10", "optFont1", "optRed"}));
        click(d, "cmbPrint");
        printers.mode = TestPrinters::Mode::Broken;
        click(d, "cmbPrint");
        QVERIFY(d->isVisible());
    });
    QCOMPARE(watcher.seen.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(watcher.seen[i].title, QStringLiteral("Corvane 1.0"));
        QCOMPARE(watcher.seen[i].buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(watcher.seen[i].text, i < 2 ? noPrinter : failed);
        QCOMPARE(watcher.seen[i].icon, i < 2 ? QMessageBox::Warning : QMessageBox::Critical);
    }
    QCOMPARE(watcher.unexpected, 0);
    QVERIFY(!QFileInfo::exists(printers.blocker() + QStringLiteral("/page.pdf")));
    QVERIFY(QApplication::overrideCursor() == nullptr);

    // The main window takes input again and opens the print window as before.
    bool again = false;
    main.print(watcher, [&](QWidget* d) { again = d->isVisible(); });
    QVERIFY(again);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestPrintWindow::noBreakSpacesReachPreviewAndPage()
{
    NEED_POPPLER();
    TestPrinters printers;
    // Two words that fit on a line one by one but not together: joined by a
    // no-break space they are cut at the edge of the box, never between them.
    const QString joined = QString(60, u'a') + QChar::Nbsp + QString(60, u'b');
    Main main(joined, printers.hooks());
    ModalWatcher watcher;
    main.print(watcher, [&](QWidget* d) {
        QVERIFY(control<QPlainTextEdit>(d, "Text1")->document()->toRawText().endsWith(joined));
        click(d, "cmbPrint");
    });
    QCOMPARE(watcher.unexpected, 0);
    QCOMPARE(printers.files.size(), 1);
    const QString page = pdfText(printers.files[0]).replace(QChar::Nbsp, u' ');
    QVERIFY2(page.contains(QStringLiteral("a b")), qPrintable(page));
}

QTEST_MAIN(TestPrintWindow)
#include "tst_print_window.moc"
