#include "printing/BoxedText.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>

namespace corvane {
namespace {

constexpr double kMmPerInch = 25.4;

int roundHalfEven(double value)
{
    // nearbyint follows the default rounding mode, which is to nearest, ties to even.
    return int(std::nearbyint(value));
}

// Windows-style line breaks count once; a lone CR is a break too.
QStringList paragraphs(const QString& text)
{
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(u'\r', u'\n');
    unified.replace(QChar::LineSeparator, u'\n');
    unified.replace(QChar::ParagraphSeparator, u'\n');
    return unified.split(u'\n');
}

// Tab stops a layout should get for stops `wanted` device pixels apart: laid out
// for a printer, QTextLayout scales tab distances by the device's resolution, so
// measure what one stop becomes and undo that.
qreal tabStopFor(qreal wanted, const QFont& font, QPaintDevice* device)
{
    constexpr qreal probe = 100;
    QTextLayout layout(QStringLiteral("\tx"), font, device);
    QTextOption option;
    option.setTabStopDistance(probe);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    const qreal measured = line.cursorToX(1);
    return measured > 0 ? wanted * probe / measured : wanted;
}

}  // namespace

int mmToDeviceX(const QPainter& painter, double mm)
{
    return roundHalfEven(mm * painter.device()->logicalDpiX() / kMmPerInch);
}

int mmToDeviceY(const QPainter& painter, double mm)
{
    return roundHalfEven(mm * painter.device()->logicalDpiY() / kMmPerInch);
}

float PrintBoxedText(QPainter& painter, const QString& strTextToPrint, float sngX, float sngY,
                     float sngMaxWith, float sngMaxHeight)
{
    QPaintDevice* device = painter.device();
    if (!device)
        return sngY;

    const int width = mmToDeviceX(painter, sngMaxWith);
    const int x = mmToDeviceX(painter, sngX);
    const int y = mmToDeviceY(painter, sngY);
    const int height = mmToDeviceY(painter, sngMaxHeight);
    const QRect box(x, y, width, height);

    // Metrics of the font as it will be on this device, not on the screen.
    const QFont font(painter.font(), device);
    const QFontMetricsF metrics(font, device);

    QTextOption option(Qt::AlignLeft);
    // Long unbroken words (addresses, paths) go on at the next line instead of
    // being cut at the right edge.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Eight average characters apart, as text tools have always expanded tabs.
    option.setTabStopDistance(tabStopFor(8 * metrics.averageCharWidth(), font, device));

    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setFont(font);

    qreal top = box.top();
    bool full = false;
    for (const QString& paragraph : paragraphs(strTextToPrint)) {
        QTextLayout layout(paragraph, font, device);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (top + line.height() > box.bottom() + 1) {
                full = true;
                break;
            }
            line.setPosition(QPointF(0, 0));
            line.draw(&painter, QPointF(box.left(), top));
            top += line.height();
        }
        layout.endLayout();
        if (full)
            break;
    }
    painter.restore();

    const qreal drawn = top - box.top();
    return sngY + float(drawn * kMmPerInch / device->logicalDpiY());
}

}  // namespace corvane
