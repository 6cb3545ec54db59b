#include "printing/PrintJob.h"

#include "printing/BoxedText.h"
#include "printing/PrintTarget.h"

#include <QPainter>
#include <QPrinter>

namespace corvane {

printing::Result printPage(const printing::PrinterFactory& openPrinter, const QString& text, const PrintInk& ink,
                           int boxWidthMm, int boxHeightMm)
{
    std::unique_ptr<QPrinter> printer = openPrinter();
    if (!printer || !printer->isValid())
        return printing::Result::NoPrinter;

    // The ink colours only reach the paper in colour mode; the origin stays at the
    // printable area's corner and the printer keeps its own paper size.
    printer->setColorMode(QPrinter::Color);
    printer->setFullPage(false);
    printer->setDocName(QStringLiteral("Corvane"));

    QPainter painter;
    if (!painter.begin(printer.get()))
        return printing::Result::PrintFailed;
    QFont font(ink.fontName);
    font.setPointSize(ink.pointSize);
    painter.setFont(font);
    painter.setPen(ink.colour);
    PrintBoxedText(painter, text, 10, 10, float(boxWidthMm), float(boxHeightMm));
    if (!painter.end() || printer->printerState() == QPrinter::Error)
        return printing::Result::PrintFailed;
    return printing::Result::Done;
}

}  // namespace corvane
