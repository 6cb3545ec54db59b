// One page through the real print system: the window's default-printer path, CUPS
// and the cups-pdf virtual printer that tools/cups-pdf.sh hands the tests as
// their default printer (PRINTER in their environment).
#include "printing/PrintTarget.h"
#include "support/PrintDriving.h"
#include "support/PrintPages.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

using namespace corvane;
using namespace corvane::test;

namespace {

// Where cups-pdf leaves its files: the Out setting (per user) and the folder for
// anonymous jobs.
QStringList cupsPdfFolders()
{
    QString out = QStringLiteral("${HOME}/PDF");
    QString anonymous = QStringLiteral("/var/spool/cups-pdf/ANONYMOUS");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        const QString text = QString::fromUtf8(conf.readAll());
        const QRegularExpression outLine(QStringLiteral("^\\s*Out\\s+(\\S+)"), QRegularExpression::MultilineOption);
        const QRegularExpression anonLine(QStringLiteral("^\\s*AnonDirName\\s+(\\S+)"),
                                          QRegularExpression::MultilineOption);
        if (const auto m = outLine.match(text); m.hasMatch())
            out = m.captured(1);
        if (const auto m = anonLine.match(text); m.hasMatch())
            anonymous = m.captured(1);
    }
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("LOGNAME"));
    out.replace(QStringLiteral("${HOME}"), QDir::homePath()).replace(QStringLiteral("${USER}"), user);
    return {out, anonymous};
}

QStringList pdfsIn(const QStringList& folders)
{
    QStringList found;
    for (const QString& folder : folders)
        for (const QFileInfo& f : QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
            found.append(f.absoluteFilePath());
    return found;
}

}  // namespace

class TestPrintCups : public QObject {
    Q_OBJECT
private slots:
    void printsOnePageOnTheDefaultPrinter();
};

void TestPrintCups::printsOnePageOnTheDefaultPrinter()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        QSKIP("no default printer (tools/cups-pdf.sh sets up a virtual PDF printer)");
    // Only a virtual PDF printer: never put real paper through a test.
    if (!printer.makeAndModel().contains(QStringLiteral("CUPS-PDF"), Qt::CaseInsensitive))
        QSKIP(qPrintable(QStringLiteral("the default printer %1 is not a CUPS-PDF queue").arg(printer.printerName())));
    if (pdfTool("pdfinfo").isEmpty() || pdfTool("pdftoppm").isEmpty())
        QSKIP("poppler-utils is not installed (tools/cups-pdf.sh installs it)");

    const QStringList folders = cupsPdfFolders();
    const QStringList before = pdfsIn(folders);

    SystemHooks hooks;
    hooks.printing.today = [] { return QDate(2007, 3, 5); };
    Main main(QStringLiteral("Impresso pelo CUPS\nem verde, Courier 12"), hooks);
    ModalWatcher watcher;
    main.print(watcher, [&](QWidget* d) {
        for (const char* name : {"optGreen", "optC12", "optFont3"})
            click(d, name);
        click(d, "cmbPrint");
    });
    QCOMPARE(watcher.unexpected, 0);  // no message: the job was handed to CUPS

    // The spooler works on its own time; wait for a new, complete PDF.
    QString pdf;
    QElapsedTimer clock;
    clock.start();
    while (pdf.isEmpty() && clock.elapsed() < 90000) {
        QTest::qWait(250);
        for (const QString& file : pdfsIn(folders))
            if (!before.contains(file) && pdfPages(file) > 0)
                pdf = file;
    }
    QVERIFY2(!pdf.isEmpty(), qPrintable(QStringLiteral("no PDF appeared in %1").arg(folders.join(u' '))));

    QCOMPARE(pdfPages(pdf), 1);
    // The print system's filters redraw the glyphs, so the page is looked at, not
    // read: heading, empty line and two lines of text, all in green.
    const QString png = QDir::temp().filePath(QStringLiteral("corvane-cups-page.png"));
    const QImage page = renderPdf(pdf, 100, png);
    QVERIFY(!page.isNull());
    // The print system smooths the glyphs: every ink pixel is green mixed with white.
    bool fullGreen = false;
    for (QRgb c : inkColours(page)) {
        QVERIFY2(qGreen(c) == 255 && qRed(c) == qBlue(c), qPrintable(QString::number(c, 16)));
        fullGreen = fullGreen || qRed(c) <= 1;
    }
    QVERIFY(fullGreen);
    QCOMPARE(inkBands(page).size(), 3);
    const QRect ink = inkBounds(page);
    // The box is measured from the corner of the printer's printable area.
    const QRectF printable = QPrinter(printer).pageLayout().paintRect(QPageLayout::Millimeter);
    qInfo("printable area from %.1f, %.1f mm; ink from %d, %d px at 100 dpi", printable.left(), printable.top(),
          ink.left(), ink.top());
    QVERIFY2(ink.left() >= mmToPx(printable.left() + 9.6, 100) && ink.left() <= mmToPx(printable.left() + 11, 100),
             qPrintable(QStringLiteral("%1 (printable area from %2 mm)").arg(ink.left()).arg(printable.left())));
    QVERIFY2(ink.top() >= mmToPx(printable.top() + 9.6, 100) && ink.top() <= mmToPx(printable.top() + 12, 100),
             qPrintable(QStringLiteral("%1 (printable area from %2 mm)").arg(ink.top()).arg(printable.top())));
    QFile::remove(png);
    QFile::remove(pdf);
}

QTEST_MAIN(TestPrintCups)
#include "tst_print_cups.moc"
