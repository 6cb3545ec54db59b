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

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// The paragraph that starts at `from`, moving `from` past its line break, or to
// past the end after the last paragraph. Windows-style line breaks count once; a
// lone CR is a break too. Paragraphs are taken one at a time, as the box takes
// them, so a long text is not split up for a page that shows its start.
QStringView nextParagraph(QStringView text, qsizetype& from)
{
    qsizetype end = from;
    while (end < text.size() && !isLineBreak(text[end]))
        ++end;
    const QStringView paragraph = text.sliced(from, end - from);
    const bool pair = end + 1 < text.size() && text[end] == u'\r' && text[end + 1] == u'\n';
    from = end + (pair ? 2 : 1);
    return paragraph;
}

// A paragraph longer than this is laid out by its start, growing until the box is
// full within it: the page shows only its start, and a paragraph of megabytes
// would otherwise be shaped whole.
constexpr qsizetype kFirstTake = 64 * 1024;
// Lines ending this close to the end of a start laid out alone may break
// differently in the whole paragraph.
constexpr qsizetype kTakeMargin = 256;

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

// Draws the whole lines of paragraph that fit in box from top down, moving top
// past them; true when the box is full.
bool drawParagraph(QPainter& painter, QStringView paragraph, const QFont& font, const QTextOption& option,
                   const QRect& box, qreal& top)
{
    QPaintDevice* device = painter.device();
    bool full = false;
    for (qsizetype take = qMin(paragraph.size(), kFirstTake);; take = qMin(paragraph.size(), take * 4)) {
        const bool whole = take == paragraph.size();
        QTextLayout layout(paragraph.first(take).toString(), font, device);
        layout.setTextOption(option);
        layout.beginLayout();
        QList<QTextLine> lines;
        qreal bottom = top;
        bool cut = false;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(box.width());
            if (!whole && line.textStart() + line.textLength() > take - kTakeMargin) {
                cut = true;
                break;
            }
            if (bottom + line.height() > box.bottom() + 1) {
                full = true;
                break;
            }
            line.setPosition(QPointF(0, 0));
            lines.append(line);
            bottom += line.height();
        }
        layout.endLayout();
        if (cut)
            continue;
        for (const QTextLine& line : lines) {
            line.draw(&painter, QPointF(box.left(), top));
            top += line.height();
        }
        return full;
    }
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

float PrintBoxedText(QPainter& painter, const QString& text, float leftMm, float topMm,
                     float maxWidthMm, float maxHeightMm)
{
    QPaintDevice* device = painter.device();
    if (!device)
        return topMm;

    const int width = mmToDeviceX(painter, maxWidthMm);
    const int x = mmToDeviceX(painter, leftMm);
    const int y = mmToDeviceY(painter, topMm);
    const int height = mmToDeviceY(painter, maxHeightMm);
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
    for (qsizetype from = 0; !full && from <= text.size();)
        full = drawParagraph(painter, nextParagraph(text, from), font, option, box, top);
    painter.restore();

    const qreal drawn = top - box.top();
    return topMm + float(drawn * kMmPerInch / device->logicalDpiY());
}

}  // namespace corvane
