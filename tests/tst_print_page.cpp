// The page itself: where the boxed text lands, how it wraps and where it stops.
#include "printing/BoxedText.h"
#include "support/PrintPages.h"

#include <QFont>
#include <QPainter>
#include <QTest>

using namespace corvane;
using namespace corvane::test;

namespace {

constexpr int kDpi = 300;

struct Printed {
    QImage page;
    float bottomMm = 0;
};

// Draws like the print job does: the font and ink set on the painter, then the box.
Printed print(const QString& text, QRectF boxMm, const QColor& ink = Qt::black,
              const QString& family = QStringLiteral("Arial"), int points = 10,
              QSizeF pageMm = QSizeF(230, 360), int dpi = kDpi)
{
    Printed out{blankPage(pageMm.width(), pageMm.height(), dpi), 0};
    QPainter painter(&out.page);
    QFont font(family);
    font.setPointSize(points);
    painter.setFont(font);
    painter.setPen(ink);
    out.bottomMm = PrintBoxedText(painter, text, float(boxMm.x()), float(boxMm.y()), float(boxMm.width()),
                                  float(boxMm.height()));
    return out;
}

QRect boxPx(QRectF mm)
{
    return QRect(mmToPx(mm.x(), kDpi), mmToPx(mm.y(), kDpi), mmToPx(mm.width(), kDpi),
                 mmToPx(mm.height(), kDpi));
}

const QRectF kA4Box(10, 10, 190, 280);

}  // namespace

class TestPrintPage : public QObject {
    Q_OBJECT
private slots:
    void textStartsAtTheBoxCorner();
    void returnsThePositionBelowTheText();
    void wrapsBetweenWordsInsideTheBox();
    void breaksAtEachLineBreak();
    void longTextStopsAtTheBoxBottom();
    void inkIsTheChosenColour();
    void tabsExpandAndAmpersandsPrint();
};

void TestPrintPage::textStartsAtTheBoxCorner()
{
    // 10 mm from the corner is pixel 118 at 300 dpi; an H starts a hair after it.
    const Printed at10 = print(QStringLiteral("H"), kA4Box);
    const QRect ink = at10.page.isNull() ? QRect() : inkBounds(at10.page);
    QVERIFY(!ink.isNull());
    QVERIFY2(ink.left() >= 118 && ink.left() <= 118 + 6, qPrintable(QString::number(ink.left())));
    QVERIFY2(ink.top() >= 118 && ink.top() <= 118 + 12, qPrintable(QString::number(ink.top())));

    // Another corner moves the text by exactly the difference.
    const QRect moved = inkBounds(print(QStringLiteral("H"), QRectF(25, 40, 100, 100)).page);
    QCOMPARE(moved.topLeft() - ink.topLeft(), QPoint(mmToPx(25, kDpi) - 118, mmToPx(40, kDpi) - 118));
    QCOMPARE(moved.size(), ink.size());
}

void TestPrintPage::returnsThePositionBelowTheText()
{
    const float one = print(QStringLiteral("Uma linha"), kA4Box).bottomMm;
    const float three = print(QStringLiteral("Uma\nduas\ntrês"), kA4Box).bottomMm;
    const float line = one - 10;
    // 10 pt Arial: ascent plus descent is a little over 11 pt, about 3.9 mm.
    QVERIFY2(line > 3.5f && line < 4.5f, qPrintable(QString::number(line)));
    QVERIFY(qAbs((three - 10) - 3 * line) < 0.01f);
    // Bigger type, taller lines.
    const float big = print(QStringLiteral("Uma linha"), kA4Box, Qt::black, QStringLiteral("Arial"), 13).bottomMm;
    QVERIFY(qAbs((big - 10) - line * 1.3f) < 0.2f);
    // The result is measured from the given top.
    QVERIFY(qAbs(print(QStringLiteral("Uma linha"), QRectF(10, 50, 190, 100)).bottomMm - (50 + line)) < 0.01f);
    // An empty text leaves no ink and counts as one empty line.
    const Printed empty = print(QString(), kA4Box);
    QVERIFY(inkBounds(empty.page).isNull());
    QCOMPARE(empty.bottomMm, one);
}

void TestPrintPage::wrapsBetweenWordsInsideTheBox()
{
    // One "WWWW" is about 13 mm wide, two with a blank about 28 mm: a 20 mm box
    // holds one word per line, and every line looks the same.
    const QRectF narrow(10, 10, 20, 100);
    const Printed words = print(QStringLiteral("WWWW WWWW WWWW"), narrow);
    const QList<QPair<int, int>> bands = inkBands(words.page);
    QCOMPARE(bands.size(), 3);
    const auto row = [&](const QPair<int, int>& band) {
        return QRect(0, band.first, words.page.width(), 1 + band.second - band.first);
    };
    const QRect first = inkBounds(words.page, row(bands[0]));
    for (const auto& band : bands) {
        const QRect ink = inkBounds(words.page, row(band));
        QCOMPARE(ink.left(), first.left());
        QCOMPARE(ink.width(), first.width());
        QCOMPARE(words.page.copy(ink), words.page.copy(first));
    }

    // Ordinary prose stays between the box's edges, over several lines.
    const QString prose = QStringLiteral("O rato roeu a roupa do rei de Roma e a rainha, com raiva, resolveu remendar. ")
                              .repeated(6);
    const QRectF box(10, 10, 60, 200);
    const Printed wrapped = print(prose, box);
    const QRect ink = inkBounds(wrapped.page);
    QVERIFY(ink.left() >= boxPx(box).left());
    QVERIFY(ink.right() < boxPx(box).right() + 1);
    QVERIFY(ink.right() > boxPx(box).right() - mmToPx(10, kDpi));  // lines are filled, not cut short
    QVERIFY(inkBands(wrapped.page).size() > 6);

    // A word longer than the whole line goes on at the next line instead of being lost.
    const Printed longWord = print(QStringLiteral("x").repeated(60), QRectF(10, 10, 30, 100));
    QVERIFY(inkBounds(longWord.page).right() < boxPx(QRectF(10, 10, 30, 100)).right() + 1);
    QVERIFY(inkBands(longWord.page).size() >= 2);
}

void TestPrintPage::breaksAtEachLineBreak()
{
    const float lf = print(QStringLiteral("A\nB\nC"), kA4Box).bottomMm;
    QCOMPARE(inkBands(print(QStringLiteral("A\nB\nC"), kA4Box).page).size(), 3);
    // CR LF is one break, not two; an empty line still takes its height.
    QCOMPARE(print(QStringLiteral("A\r\nB\r\nC"), kA4Box).bottomMm, lf);
    const Printed gap = print(QStringLiteral("A\r\n\r\nB"), kA4Box);
    QCOMPARE(gap.bottomMm, lf);
    QCOMPARE(inkBands(gap.page).size(), 2);
    // Each line starts at the left edge.
    const Printed lines = print(QStringLiteral("Hx\nHy"), kA4Box);
    const auto bands = inkBands(lines.page);
    QCOMPARE(bands.size(), 2);
    QCOMPARE(inkBounds(lines.page, QRect(0, bands[0].first, 2000, 1 + bands[0].second - bands[0].first)).left(),
             inkBounds(lines.page, QRect(0, bands[1].first, 2000, 1 + bands[1].second - bands[1].first)).left());
}

void TestPrintPage::longTextStopsAtTheBoxBottom()
{
    QStringList many;
    for (int i = 1; i <= 200; ++i)
        many.append(QStringLiteral("Linha %1 de um texto comprido").arg(i));
    const QString text = many.join(u'\n');
    for (const QRectF box : {QRectF(10, 10, 190, 280), QRectF(10, 10, 195, 270), QRectF(10, 10, 195, 320)}) {
        const Printed printed = print(text, box);
        const QRect ink = inkBounds(printed.page);
        const QRect limit = boxPx(box);
        const float line = print(QStringLiteral("Linha"), box).bottomMm - 10;
        QVERIFY2(ink.bottom() < limit.bottom() + 1, qPrintable(QString::number(ink.bottom())));
        // Only whole lines: the last one ends less than a line above the bottom.
        QVERIFY(printed.bottomMm <= float(box.bottom()));
        QVERIFY(printed.bottomMm > float(box.bottom()) - line);
        QCOMPARE(inkBands(printed.page).size(), int((box.height()) / line));
    }

    // A paragraph of megabytes fills the page exactly as its start does, words
    // wrapped or, with no blank, cut anywhere.
    for (const QString& word : {QStringLiteral("palavra "), QStringLiteral("x")}) {
        const QString huge = word.repeated(4 * 1024 * 1024 / word.size());
        QCOMPARE(print(huge, kA4Box).page, print(huge.first(60000), kA4Box).page);
    }
}

void TestPrintPage::inkIsTheChosenColour()
{
    const QList<QColor> inks{QColor(0, 0, 0), QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};
    for (const QColor& ink : inks) {
        const Printed printed = print(QStringLiteral("Tinta colorida\nSegunda linha"), kA4Box, ink);
        const QList<QRgb> colours = inkColours(printed.page);
        QVERIFY(colours.contains(ink.rgb()));
        // Smoothed edges mix the ink with the white paper and nothing else.
        for (QRgb c : colours) {
            for (int channel : {0, 1, 2}) {
                const int inkValue = channel == 0 ? ink.red() : channel == 1 ? ink.green() : ink.blue();
                const int value = channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
                if (inkValue == 255)
                    QCOMPARE(value, 255);
            }
            if (ink.red() == ink.blue())
                QCOMPARE(qRed(c), qBlue(c));
        }
    }
}

void TestPrintPage::tabsExpandAndAmpersandsPrint()
{
    // Tabs go to fixed stops several characters apart, the same on paper at any
    // resolution: a short word before a tab does not move what follows it.
    const auto hAt = [](const QString& text, int dpi) {
        const QImage page = print(text, kA4Box, Qt::black, QStringLiteral("Arial"), 10, QSizeF(100, 40), dpi).page;
        // The last ink column run is the H; measure its left edge in millimetres.
        const QRect all = inkBounds(page);
        int x = all.right();
        while (x > all.left() && !inkBounds(page, QRect(x - 1, 0, 1, page.height())).isNull())
            --x;
        return x * 25.4 / dpi;
    };
    const double plain = hAt(QStringLiteral("H"), kDpi);
    const double oneTab = hAt(QStringLiteral("\tH"), kDpi) - plain;
    QVERIFY2(oneTab > 13 && oneTab < 19, qPrintable(QString::number(oneTab)));  // eight average characters
    QVERIFY(qAbs(hAt(QStringLiteral("abc\tH"), kDpi) - plain - oneTab) < 0.2);
    QVERIFY(qAbs(hAt(QStringLiteral("\t\tH"), kDpi) - plain - 2 * oneTab) < 0.2);
    QVERIFY(qAbs(hAt(QStringLiteral("\tH"), 1200) - hAt(QStringLiteral("H"), 1200) - oneTab) < 0.2);

    // "&" is the user's text, not a mnemonic: alone it leaves ink, and "A&B" is
    // wider than "AB" with no underline below the B.
    QVERIFY(!inkBounds(print(QStringLiteral("&"), kA4Box).page).isNull());
    const QRect withAmp = inkBounds(print(QStringLiteral("A&B"), kA4Box).page);
    const QRect without = inkBounds(print(QStringLiteral("AB"), kA4Box).page);
    QVERIFY(withAmp.width() > without.width() + mmToPx(1.5, kDpi));
    QCOMPARE(withAmp.bottom(), without.bottom());
    QVERIFY(inkBounds(print(QStringLiteral("A&&B"), kA4Box).page).width() > withAmp.width() + mmToPx(1.5, kDpi));
}

QTEST_MAIN(TestPrintPage)
#include "tst_print_page.moc"
