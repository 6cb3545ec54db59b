#pragma once
// Looking at printed pages: ink on images, and PDF files read with poppler-utils.

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cmath>

namespace corvane::test {

inline int mmToPx(double mm, int dpi)
{
    return int(std::nearbyint(mm * dpi / 25.4));
}

// A white page of the given size in millimetres at the given resolution.
inline QImage blankPage(double widthMm, double heightMm, int dpi)
{
    QImage page(mmToPx(widthMm, dpi), mmToPx(heightMm, dpi), QImage::Format_RGB32);
    page.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    page.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    page.fill(Qt::white);
    return page;
}

inline bool isInk(QRgb pixel)
{
    return (pixel & 0xFFFFFF) != 0xFFFFFF;
}

// The smallest rectangle holding every non-white pixel (null when the page is blank).
inline QRect inkBounds(const QImage& page, QRect within = QRect())
{
    if (within.isNull())
        within = page.rect();
    within &= page.rect();
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = within.left(); x <= within.right(); ++x) {
            if (isInk(line[x])) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Runs of rows with ink, top to bottom: one per printed line of text.
inline QList<QPair<int, int>> inkBands(const QImage& page)
{
    QList<QPair<int, int>> bands;
    int start = -1;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        bool ink = false;
        for (int x = 0; x < page.width() && !ink; ++x)
            ink = isInk(line[x]);
        if (ink && start < 0)
            start = y;
        if (!ink && start >= 0) {
            bands.append({start, y - 1});
            start = -1;
        }
    }
    if (start >= 0)
        bands.append({start, page.height() - 1});
    return bands;
}

// Every distinct non-white colour on the page.
inline QList<QRgb> inkColours(const QImage& page)
{
    QList<QRgb> colours;
    for (int y = 0; y < page.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000;
            if (isInk(c) && !colours.contains(c))
                colours.append(c);
        }
    }
    return colours;
}

// Path of a poppler-utils program, empty when it is not installed.
inline QString pdfTool(const char* name)
{
    return QStandardPaths::findExecutable(QLatin1String(name));
}

inline QByteArray runTool(const QString& program, const QStringList& args, int timeoutMs = 60000)
{
    QProcess p;
    p.setStandardErrorFile(QProcess::nullDevice());  // poppler can be chatty about redrawn fonts
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        return QByteArray();
    }
    return p.exitCode() == 0 ? p.readAllStandardOutput() : QByteArray();
}

inline int pdfPages(const QString& pdf)
{
    const QString info = QString::fromUtf8(runTool(pdfTool("pdfinfo"), {pdf}));
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"),
                                                         QRegularExpression::MultilineOption).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Page size in PostScript points as pdfinfo reports it, e.g. "595.276 x 841.89".
inline QString pdfPageSize(const QString& pdf)
{
    const QString info = QString::fromUtf8(runTool(pdfTool("pdfinfo"), {pdf}));
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^Page size:\\s+([0-9.]+ x [0-9.]+)"),
                                                         QRegularExpression::MultilineOption).match(info);
    return m.captured(1);
}

inline QString pdfText(const QString& pdf)
{
    return QString::fromUtf8(runTool(pdfTool("pdftotext"), {QStringLiteral("-nopgbrk"), pdf, QStringLiteral("-")}));
}

// Names of the fonts embedded in the PDF, subset prefixes removed.
inline QStringList pdfFonts(const QString& pdf)
{
    const QStringList lines = QString::fromUtf8(runTool(pdfTool("pdffonts"), {pdf})).split(u'\n');
    QStringList names;
    for (int i = 2; i < lines.size(); ++i) {
        QString name = lines[i].section(u' ', 0, 0);
        name = name.mid(name.indexOf(u'+') + 1);
        if (!name.isEmpty())
            names.append(name);
    }
    return names;
}

// The first page at the given resolution, without smoothing so ink keeps its
// exact colour.
inline QImage renderPdf(const QString& pdf, int dpi, const QString& png = QString())
{
    const QString base = png.isEmpty() ? pdf + QStringLiteral(".render") : png.chopped(4);
    runTool(pdfTool("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-aa"),
                                  QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                                  QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

}  // namespace corvane::test
