#pragma once

#include <QString>

class QPainter;

namespace corvane {

// Draws text word-wrapped into a box given in millimetres from the top-left corner
// of the painter's device (a printer's printable area, a PDF page, an image), in
// the painter's font and pen colour. Breaks at each line break and between words,
// left-aligned; only whole lines that fit inside the box are drawn, so nothing is
// printed past its edges and nothing flows onto another page. Tabs are expanded and
// '&' is drawn as written. Returns topMm plus the height of the drawn lines, in mm.
float PrintBoxedText(QPainter& painter, const QString& text, float leftMm, float topMm,
                     float maxWidthMm, float maxHeightMm);

// Millimetres to device pixels, rounded to the nearest whole pixel, ties to even.
int mmToDeviceX(const QPainter& painter, double mm);
int mmToDeviceY(const QPainter& painter, double mm);

}  // namespace corvane
