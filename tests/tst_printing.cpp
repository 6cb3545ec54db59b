// Printing: where the boxed text lands on a page, the print window opened from
// Imprimir and what its choices put on paper, and one page through the real print
// system. Pages go to PDF files; poppler-utils reads them back.
#include "printing/BoxedText.h"
#include "printing/PrintTarget.h"
#include "support/MainDriver.h"

#include <QDir>
#include <QDirIterator>
#include <QDeadlineTimer>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>

#include <cmath>

using namespace corvane;
using namespace corvane::test;

namespace {

int mmToPx(double mm, int dpi)
{
    return int(std::nearbyint(mm * dpi / 25.4));
}

// Every pixel that is not white, as its colour.
template <typename Fn>
void forInk(const QImage& page, QRect within, Fn fn)
{
    within = (within.isNull() ? page.rect() : within) & page.rect();
    for (int y = within.top(); y <= within.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = within.left(); x <= within.right(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF)
                fn(x, y, line[x] | 0xFF000000);
    }
}

// The smallest rectangle holding every non-white pixel (null when the page is blank).
QRect inkBounds(const QImage& page, QRect within = QRect())
{
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    forInk(page, within, [&](int x, int y, QRgb) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    });
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The ink of each printed line, top to bottom: one rectangle per run of rows with ink.
QList<QRect> inkLines(const QImage& page)
{
    QList<QRect> lines;
    int start = -1;
    for (int y = 0; y <= page.height(); ++y) {
        const bool ink = y < page.height() && !inkBounds(page, QRect(0, y, page.width(), 1)).isNull();
        if (ink && start < 0)
            start = y;
        if (!ink && start >= 0) {
            lines.append(inkBounds(page, QRect(0, start, page.width(), y - start)));
            start = -1;
        }
    }
    return lines;
}

QList<QRgb> inkColours(const QImage& page)
{
    QList<QRgb> colours;
    forInk(page, {}, [&](int, int, QRgb c) {
        if (!colours.contains(c))
            colours.append(c);
    });
    return colours;
}

QString poppler(const char* tool, QStringList args)
{
    const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
    if (program.isEmpty())
        return {};
    QProcess p;
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, args);
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A line of pdfinfo's report, e.g. "Pages" or "Page size".
QString pdfInfo(const QString& pdf, const QString& field)
{
    const QRegularExpression line(u'^' + field + QStringLiteral(":\\s+(.*)$"), QRegularExpression::MultilineOption);
    return line.match(poppler("pdfinfo", {pdf})).captured(1).trimmed();
}

int pdfPages(const QString& pdf)
{
    return pdfInfo(pdf, QStringLiteral("Pages")).toInt();
}

// Names of the fonts embedded in the PDF, subset prefixes removed.
QStringList pdfFonts(const QString& pdf)
{
    QStringList names;
    for (const QString& line : poppler("pdffonts", {pdf}).split(u'\n').mid(2))
        if (const QString name = line.section(u' ', 0, 0); !name.isEmpty())
            names.append(name.mid(name.indexOf(u'+') + 1));
    return names;
}

// The box poppler gives the first word that is text, in points.
QRectF wordBox(const QString& pdf, const QString& text)
{
    const QRegularExpression word(QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                                 "yMax=\"([\\d.]+)\">") + text + QStringLiteral("</word>"));
    const auto m = word.match(poppler("pdftotext", {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
}

// The first page, without smoothing so ink keeps its exact colour.
QImage renderPdf(const QString& pdf, int dpi)
{
    poppler("pdftoppm", {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-aa"), QStringLiteral("no"),
                         QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-singlefile"),
                         QStringLiteral("-png"), pdf, pdf});
    const QImage page = QImage(pdf + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    QFile::remove(pdf + QStringLiteral(".png"));
    return page;
}

// A page drawn like the print job does: the font set on the painter, then the box.
constexpr int kDpi = 300;
const QRectF kA4Box(10, 10, 190, 280);
QImage print(const QString& text, QRectF boxMm = kA4Box, int dpi = kDpi, QSizeF pageMm = {230, 360})
{
    QImage page(mmToPx(pageMm.width(), dpi), mmToPx(pageMm.height(), dpi), QImage::Format_RGB32);
    page.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    page.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    page.fill(Qt::white);
    QPainter painter(&page);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    painter.setFont(font);
    PrintBoxedText(painter, text, float(boxMm.x()), float(boxMm.y()), float(boxMm.width()), float(boxMm.height()));
    return page;
}

QRect boxPx(QRectF mm)
{
    return QRect(mmToPx(mm.x(), kDpi), mmToPx(mm.y(), kDpi), mmToPx(mm.width(), kDpi), mmToPx(mm.height(), kDpi));
}

// A main window showing script Teste with edits not yet saved. Every print job
// becomes the next PDF file of a temporary folder, on a page of its own size and
// margins, starting in greyscale like many office printers; or there is no
// printer at all; or the file cannot be written; or the job goes to the
// system's default printer.
struct Window {
    enum class Printer { Pdf, None, Broken, System };
    TempLibrary lib{{"Misc/Teste.txt", "\"Salvo\"\r\n"}};
    QTemporaryDir dir;
    Printer printer = Printer::Pdf;
    QStringList files;
    int requests = 0;
    MainDriver win;
    ModalWatcher watcher;

    explicit Window(const QString& text = QStringLiteral("Texto ainda não salvo"), Printer kind = Printer::Pdf)
        : printer(kind)
        , win(lib, kind == Printer::System ? SystemHooks{} : hooks())
    {
        clickItem(win.files(), QStringLiteral("Teste"));
        win.viewer()->setPlainText(text);
    }
    // This printer, and 5 March 2007 as today.
    SystemHooks hooks()
    {
        SystemHooks hooks;
        hooks.printing.today = [] { return QDate(2007, 3, 5); };
        hooks.printing.printer = [this]() -> std::unique_ptr<QPrinter> {
            ++requests;
            if (printer == Printer::None)
                return nullptr;
            auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
            pdf->setOutputFormat(QPrinter::PdfFormat);
            pdf->setColorMode(QPrinter::GrayScale);
            pdf->setPageSize(QPageSize(QSizeF(230, 360), QPageSize::Millimeter, QStringLiteral("Teste")));
            pdf->setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
            // A plain file where the folder should be: no one, root included, can write there.
            raw::write(QFile::encodeName(dir.filePath(QStringLiteral("arquivo"))), "x");
            const QString name = QStringLiteral("page-%1.pdf").arg(files.size() + 1);
            pdf->setOutputFileName(dir.filePath(printer == Printer::Broken ? QStringLiteral("arquivo/p.pdf") : name));
            if (printer == Printer::Pdf)
                files.append(pdf->outputFileName());
            return pdf;
        };
        return hooks;
    }
    // False when a check inside failed, for PRINT to stop the caller.
    bool print(std::function<void(QWidget*)> inspect) { return win.print(watcher, std::move(inspect)); }
};

QStringList chosen(QWidget* dialog)
{
    QStringList out;
    for (QRadioButton* b : dialog->findChildren<QRadioButton*>())
        if (b->isChecked())
            out.append(b->objectName());
    out.sort();
    return out;
}

// The colour frame row by row, left to right: each option, then its swatch's colour.
QStringList colourRows(QWidget* dialog)
{
    QMap<std::pair<int, int>, QString> byPlace;
    for (QWidget* w : control(dialog, "optBlack")->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        byPlace[{w->geometry().center().y() / 10, w->x()}] =
            qobject_cast<QRadioButton*>(w) ? w->objectName() : w->palette().color(QPalette::Window).name();
    return byPlace.values();
}

void click(QWidget* dialog, const char* name) { clickAtLeft(control<QAbstractButton>(dialog, name)); }

const QStringList kDefaults{"optA4", "optBlack", "optC10", "optFont1"};

// Opens the print window and runs inspect in it; a check that failed there ends the test.
#define PRINT(window, ...) do { if (!(window).print(__VA_ARGS__)) return; } while (false)

#define NEED_POPPLER()                                                                                   \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())                            \
        QSKIP("poppler-utils is not installed (tools/cups-pdf.sh installs it)");

}  // namespace

class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void wrapsBreaksAndStopsInsideTheBox();
    void tabsExpandAndAmpersandsPrint();
    void windowShowsTheTextAndChoicesLastOneOpening();
    void printsThePreviewAsOnePagePerClick();
    void everyOptionReachesThePage_data();
    void everyOptionReachesThePage();
    void noPrinterOrFailureShowsMessage();
    void printsOnePageOnTheDefaultPrinter();
};

void TestPrinting::wrapsBreaksAndStopsInsideTheBox()
{
    // One "WWWW" is about 13 mm wide, two with a blank about 28 mm: a 20 mm box
    // holds one word per line, every line alike and starting at the left edge.
    const QImage words = print(QStringLiteral("WWWW WWWW WWWW"), QRectF(10, 10, 20, 100));
    const QList<QRect> lines = inkLines(words);
    QCOMPARE(lines.size(), 3);
    for (const QRect& l : lines)
        QCOMPARE(words.copy(l), words.copy(lines[0]));
    // Prose stays between the box's edges over several lines, which are filled;
    // a word longer than the whole line goes on at the next one.
    const QRectF box(10, 10, 60, 200);
    const QImage prose = print(QStringLiteral("O rato roeu a roupa do rei de Roma e a rainha, com raiva, resolveu "
                                              "remendar. ").repeated(6), box);
    QVERIFY(inkBounds(prose).left() >= boxPx(box).left() && inkBounds(prose).right() <= boxPx(box).right());
    QVERIFY(inkBounds(prose).right() > boxPx(box).right() - mmToPx(10, kDpi));
    QVERIFY(inkLines(prose).size() > 6);
    const QImage longWord = print(QStringLiteral("x").repeated(60), QRectF(10, 10, 30, 100));
    QVERIFY(inkBounds(longWord).right() <= boxPx(QRectF(10, 10, 30, 100)).right());
    QVERIFY(inkLines(longWord).size() >= 2);
    // CR LF is one break, not two; an empty line keeps its height.
    QCOMPARE(print(QStringLiteral("A\r\nB\r\nC")), print(QStringLiteral("A\nB\nC")));
    QCOMPARE(inkLines(print(QStringLiteral("A\r\n\r\nC"))).last(), inkLines(print(QStringLiteral("A\nB\nC"))).last());

    // A paragraph of megabytes fills the page exactly as its start does, words
    // wrapped or, with no blank, cut anywhere.
    for (const QString& word : {QStringLiteral("palavra "), QStringLiteral("x")}) {
        const QString huge = word.repeated(4 * 1024 * 1024 / word.size());
        QCOMPARE(print(huge), print(huge.first(60000)));
    }
}

void TestPrinting::tabsExpandAndAmpersandsPrint()
{
    // Tabs go to fixed stops eight average characters apart, the same on paper
    // at any resolution: a short word before a tab does not move what follows.
    const auto hAt = [](const QString& text, int dpi) {
        const QImage page = print(text, QRectF(10, 10, 80, 20), dpi, QSizeF(100, 40));
        const QRect all = inkBounds(page);
        int x = all.right();  // the left edge of the last run of ink columns: the H
        while (x > all.left() && !inkBounds(page, QRect(x - 1, 0, 1, page.height())).isNull())
            --x;
        return x * 25.4 / dpi;
    };
    const double plain = hAt(QStringLiteral("H"), kDpi);
    const double oneTab = hAt(QStringLiteral("\tH"), kDpi) - plain;
    QVERIFY2(oneTab > 13 && oneTab < 19, qPrintable(QString::number(oneTab)));
    QVERIFY(qAbs(hAt(QStringLiteral("abc\tH"), kDpi) - plain - oneTab) < 0.2);
    QVERIFY(qAbs(hAt(QStringLiteral("\t\tH"), kDpi) - plain - 2 * oneTab) < 0.2);
    QVERIFY(qAbs(hAt(QStringLiteral("\tH"), 1200) - hAt(QStringLiteral("H"), 1200) - oneTab) < 0.2);

    // "&" is the user's text, not a mnemonic: "A&B" is wider than "AB", with no
    // underline below the B.
    const QRect withAmp = inkBounds(print(QStringLiteral("A&B")));
    const QRect without = inkBounds(print(QStringLiteral("AB")));
    QVERIFY(withAmp.width() > without.width() + mmToPx(1.5, kDpi));
    QCOMPARE(withAmp.bottom(), without.bottom());
    QVERIFY(inkBounds(print(QStringLiteral("A&&B"))).width() > withAmp.width() + mmToPx(1.5, kDpi));
}

// The window shows the heading and the viewer's text; its choices change the
// print settings only, and last for one opening.
void TestPrinting::windowShowsTheTextAndChoicesLastOneOpening()
{
    Window main(QStringLiteral("Linha um\nLinha dois editada"));
    PRINT(main, [&](QWidget* d) {
        QCOMPARE(QApplication::activeModalWidget(), d);
        auto* text = control<QPlainTextEdit>(d, "Text1");
        QCOMPARE(text->toPlainText(), QStringLiteral(":: Teste  -  05-03-2007 ::\n\nLinha um\nLinha dois editada"));
        QCOMPARE(control<QLabel>(d, "lblArqName")->text(), QStringLiteral("Teste"));
        QCOMPARE(chosen(d), kDefaults);
        const QStringList swatches{"optBlack", "#000000", "optRed", "#ff0000", "optGreen", "#00c000", "optBlue", "#0000ff"};
        QCOMPARE(colourRows(d), swatches);
        const QFont font = text->font();
        for (const char* name : {"optGreen", "optC13", "optFont3", "optOficio"})
            click(d, name);
        QCOMPARE(chosen(d), (QStringList{"optC13", "optFont3", "optGreen", "optOficio"}));
        QCOMPARE(text->font(), font);
        QCOMPARE(colourRows(d), swatches);  // the swatches never change
        text->setFocus();
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        typeText(text, QStringLiteral(" mais"));
        QVERIFY(text->toPlainText().endsWith(QStringLiteral("editada mais")));
        click(d, "cmbCancel");
        QVERIFY(!d->isVisible());
    });
    // Then the close box, after choosing blue; the next opening starts afresh.
    PRINT(main, [&](QWidget* d) {
        QCOMPARE(chosen(d), kDefaults);
        QVERIFY(control<QPlainTextEdit>(d, "Text1")->toPlainText().endsWith(QStringLiteral("editada")));
        click(d, "optBlue");
        d->close();
    });
    PRINT(main, [&](QWidget* d) { QCOMPARE(chosen(d), kDefaults); });
    QCOMPARE(main.watcher.unexpected, 0);
    // Looking changes nothing in the main window, and nothing was printed.
    QCOMPARE(main.win.shown(), QStringLiteral("Linha um\nLinha dois editada"));
    QCOMPARE(main.requests, 0);
}

void TestPrinting::printsThePreviewAsOnePagePerClick()
{
    NEED_POPPLER();
    Window main(QStringLiteral("Preço & prazo\tok"));
    PRINT(main, [&](QWidget* d) {
        auto* text = control<QPlainTextEdit>(d, "Text1");
        text->setFocus();
        QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(text, Qt::Key_Return);
        typeText(text, QStringLiteral("Acrescentado na prévia"));
        click(d, "cmbPrint");
        QVERIFY(d->isVisible());
        // Alt+P prints again from the same opening, as a document of its own.
        QApplication::setActiveWindow(d);
        QVERIFY(QTest::qWaitForWindowActive(d));
        QTest::keyClick(text, Qt::Key_P, Qt::AltModifier);
        QTRY_COMPARE(main.requests, 2);  // the button takes a moment to show it is pressed
        QVERIFY(d->isVisible());
    });
    QCOMPARE(main.watcher.unexpected, 0);
    QCOMPARE(main.files.size(), 2);
    // Black 10 pt Arial unless chosen otherwise.
    QCOMPARE(inkColours(renderPdf(main.files[0], 150)), QList<QRgb>{qRgb(0, 0, 0)});
    QCOMPARE(pdfFonts(main.files[0]), QStringList{"LiberationSans"});
    for (const QString& pdf : main.files) {
        QCOMPARE(pdfPages(pdf), 1);
        QCOMPARE(pdfInfo(pdf, QStringLiteral("Page size")).section(u' ', 0, 0).toDouble(), 652.0);  // 230 mm
        QCOMPARE(poppler("pdftotext", {QStringLiteral("-nopgbrk"), pdf, QStringLiteral("-")}).simplified(),
                 QStringLiteral(":: Teste - 05-03-2007 :: Preço & prazo ok Acrescentado na prévia"));
    }
    // The box starts 10 mm inside the 5 mm margins (give or take the renderer's rounding).
    const QRect ink = inkBounds(renderPdf(main.files[0], 150));
    QVERIFY2(ink.left() >= mmToPx(14.6, 150) && ink.left() <= mmToPx(15.6, 150), qPrintable(QString::number(ink.x())));
    QVERIFY2(ink.top() >= mmToPx(14.6, 150) && ink.top() <= mmToPx(16.5, 150), qPrintable(QString::number(ink.y())));
    QCOMPARE(main.lib.read(QStringLiteral("Misc/Teste.txt")), QByteArray("\"Salvo\"\r\n"));

    // Two words that fit on a line one by one but not together: joined by a
    // no-break space they are cut at the edge of the box, never between them.
    main.win.viewer()->setPlainText(QString(60, u'a') + QChar::Nbsp + QString(60, u'b'));
    PRINT(main, [&](QWidget* d) { click(d, "cmbPrint"); });
    QCOMPARE(main.files.size(), 3);
    const QString page = poppler("pdftotext", {main.files[2], QStringLiteral("-")}).replace(QChar::Nbsp, u' ');
    QVERIFY2(page.contains(QStringLiteral("a b")), qPrintable(page));
}

// Each option alone, printed from a printer that starts in greyscale: its font,
// size, ink and box on the page, and the other settings still at their defaults.
void TestPrinting::everyOptionReachesThePage_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<uint>("ink");
    QTest::addColumn<QSizeF>("box");  // millimetres
    const char* sans = "LiberationSans";
    const QRgb black = qRgb(0, 0, 0);
    const QSizeF a4(190, 280);
    using Row = std::tuple<const char*, const char*, int, QRgb, QSizeF>;
    for (const auto& [option, family, points, ink, box] : std::initializer_list<Row>{
             {"optBlack", sans, 10, black, a4}, {"optRed", sans, 10, qRgb(255, 0, 0), a4},
             {"optGreen", sans, 10, qRgb(0, 255, 0), a4}, {"optBlue", sans, 10, qRgb(0, 0, 255), a4},
             {"optC10", sans, 10, black, a4}, {"optC11", sans, 11, black, a4}, {"optC12", sans, 12, black, a4},
             {"optC13", sans, 13, black, a4}, {"optFont1", sans, 10, black, a4},
             {"optFont2", "LiberationSerif", 10, black, a4}, {"optFont3", "LiberationMono", 10, black, a4},
             {"optA4", sans, 10, black, a4}, {"optCarta", sans, 10, black, {195, 270}},
             {"optOficio", sans, 10, black, {195, 320}}})
        QTest::newRow(option) << QString::fromLatin1(option) << QString::fromLatin1(family) << points << uint(ink)
                              << box;
}

void TestPrinting::everyOptionReachesThePage()
{
    NEED_POPPLER();
    QFETCH(QString, option);
    QFETCH(int, points);
    QFETCH(QSizeF, box);
    // Short words that fill the box: it shows where the page's ink stops.
    Window main(QStringList(150, QStringLiteral("i ").repeated(150)).join(u'\n'));
    PRINT(main, [&](QWidget* d) {
        // Another choice first, so that the option's own takes effect.
        click(d, option == u"optBlack" ? "optRed" : option == u"optC10" ? "optC11" : option == u"optFont1" ? "optFont2"
                                                                          : option == u"optA4" ? "optCarta" : "optBlack");
        click(d, qPrintable(option));
        click(d, "cmbPrint");
    });
    QCOMPARE(main.watcher.unexpected, 0);
    QCOMPARE(main.files.size(), 1);
    const QString pdf = main.files[0];
    QTEST(pdfFonts(pdf).join(u','), "family");
    const QImage page = renderPdf(pdf, 150);
    QTEST(uint(inkColours(page).value(0)), "ink");
    QCOMPARE(inkColours(page).size(), 1);
    // A word's box is its font's height: a little more than the size in points.
    const double height = wordBox(pdf, QStringLiteral("Teste")).height() / points;
    QVERIFY2(height > 1.08 && height < 1.16, qPrintable(QString::number(height)));
    // From the 5 mm margin plus 10 mm; the short words fill each line to within
    // a word of the right edge, and the lines fill the height to within a line.
    const QRect ink = inkBounds(page);
    const double right = 15 + box.width(), bottom = 15 + box.height(), slack = points > 10 ? 6 : 3;
    QVERIFY2(ink.right() < mmToPx(right, 150) && ink.right() > mmToPx(right - slack, 150),
             qPrintable(QStringLiteral("right %1").arg(ink.right())));
    QVERIFY2(ink.bottom() < mmToPx(bottom, 150) && ink.bottom() > mmToPx(bottom - slack - 2, 150),
             qPrintable(QStringLiteral("bottom %1").arg(ink.bottom())));
}

void TestPrinting::noPrinterOrFailureShowsMessage()
{
    Window main;
    main.printer = Window::Printer::None;
    const QString noPrinter = QStringLiteral("Nenhuma impressora padrão foi encontrada. Instale uma impressora e "
                                             "defina-a como padrão para poder imprimir.");
    const QString failed = QStringLiteral("Não foi possível imprimir na impressora padrão. Verifique se ela está "
                                          "ligada e pronta e tente novamente.");
    main.watcher.answer(QStringLiteral("OK")).answer(QStringLiteral("OK")).answer(QStringLiteral("OK"));
    PRINT(main, [&](QWidget* d) {
        click(d, "cmbPrint");
        // The window is still usable: another choice, another try.
        click(d, "optRed");
        click(d, "cmbPrint");
        main.printer = Window::Printer::Broken;
        click(d, "cmbPrint");
        QVERIFY(d->isVisible());
    });
    const SeenBox none = okBox(noPrinter, kAppTitle, {"OK"}, QMessageBox::Warning);
    QCOMPARE(main.watcher.seen, (QList<SeenBox>{none, none, okBox(failed, kAppTitle, {"OK"}, QMessageBox::Critical)}));
    QCOMPARE(main.watcher.unexpected, 0);
    QVERIFY(!QApplication::overrideCursor());
    // The main window takes input again and opens the print window as before.
    bool again = false;
    PRINT(main, [&](QWidget* d) { again = d->isVisible(); });
    QVERIFY(again);
}

// One page through the window's default-printer path, CUPS and the cups-pdf
// virtual printer that tools/cups-pdf.sh hands the tests (PRINTER in their
// environment).
void TestPrinting::printsOnePageOnTheDefaultPrinter()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        QSKIP("no default printer (tools/cups-pdf.sh sets up a virtual PDF printer)");
    // Only a virtual PDF printer: never put real paper through a test.
    if (!printer.makeAndModel().contains(QStringLiteral("CUPS-PDF"), Qt::CaseInsensitive))
        QSKIP(qPrintable(QStringLiteral("the default printer %1 is not a CUPS-PDF queue").arg(printer.printerName())));
    NEED_POPPLER();
    // Where cups-pdf leaves its files by default: the user's PDF folder or its spool.
    const auto pdfs = [] {
        QStringList found;
        for (const QString& folder : {QDir::homePath() + QStringLiteral("/PDF"), QStringLiteral("/var/spool/cups-pdf")})
            for (QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files, QDirIterator::Subdirectories);
                 it.hasNext();)
                found.append(it.next());
        return found;
    };
    const QStringList before = pdfs();

    Window main(QStringLiteral("Impresso pelo CUPS\nem verde, Courier 12"), Window::Printer::System);
    PRINT(main, [&](QWidget* d) {
        for (const char* name : {"optGreen", "optC12", "optFont3", "cmbPrint"})
            click(d, name);
    });
    QCOMPARE(main.watcher.unexpected, 0);  // no message: the job was handed to CUPS
    // The spooler works on its own time; wait for a new, complete PDF.
    QString pdf;
    for (QDeadlineTimer deadline(30000); pdf.isEmpty() && !deadline.hasExpired();) {
        QTest::qWait(250);
        for (const QString& file : pdfs())
            if (!before.contains(file) && pdfPages(file) > 0)
                pdf = file;
    }
    QVERIFY2(!pdf.isEmpty(), "no PDF appeared in ~/PDF or /var/spool/cups-pdf");
    const auto removePdf = qScopeGuard([&] { QFile::remove(pdf); });
    QCOMPARE(pdfPages(pdf), 1);
    // The print system's filters redraw and smooth the glyphs, so the page is
    // looked at, not read: heading, empty line and two lines of text, every ink
    // pixel green mixed with white.
    const QImage page = renderPdf(pdf, 100);
    bool fullGreen = false;
    for (QRgb c : inkColours(page)) {
        QVERIFY2(qGreen(c) == 255 && qRed(c) == qBlue(c), qPrintable(QString::number(c, 16)));
        fullGreen = fullGreen || qRed(c) <= 1;
    }
    QVERIFY(fullGreen);
    QCOMPARE(inkLines(page).size(), 3);
    // The box is measured from the corner of the printer's printable area.
    const QRect ink = inkBounds(page);
    const QRectF printable = QPrinter(printer).pageLayout().paintRect(QPageLayout::Millimeter);
    QVERIFY2(ink.left() >= mmToPx(printable.left() + 9.6, 100) && ink.left() <= mmToPx(printable.left() + 11, 100),
             qPrintable(QStringLiteral("%1 (printable area from %2 mm)").arg(ink.left()).arg(printable.left())));
    QVERIFY2(ink.top() >= mmToPx(printable.top() + 9.6, 100) && ink.top() <= mmToPx(printable.top() + 12, 100),
             qPrintable(QStringLiteral("%1 (printable area from %2 mm)").arg(ink.top()).arg(printable.top())));
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
