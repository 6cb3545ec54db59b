#pragma once

#include "printing/PrintResult.h"
#include "printing/PrintTarget.h"

#include <QColor>
#include <QString>

namespace corvane {

// What the print window keeps "in the printer": font, size and ink.
struct PrintInk {
    QString fontName = QStringLiteral("Arial");
    int pointSize = 10;
    QColor colour = Qt::black;
};

// One page, one document: the text boxed 10 mm from the printable area's corner
// with the given box size in millimetres.
printing::Result printPage(const printing::PrinterFactory& openPrinter, const QString& text, const PrintInk& ink,
                           int boxWidthMm, int boxHeightMm);

}  // namespace corvane
