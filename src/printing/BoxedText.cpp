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
    option.setTabStopDistance(8 * metrics.averageCharWidth());

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
