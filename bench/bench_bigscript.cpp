// Big scripts through the real main window: selecting 10 MB of many lines and of
// one line, typing into a 1 MB line, refusing 1 GB files and opening the print
// window on the largest script allowed. Each measure comes with a baseline taken
// in the same run: reading the file once, setPlainText into a bare QPlainTextEdit
// of the viewer's size, or the same action on a small script.
#include "BenchSupport.h"
#include "widgets/Texts.h"
#include "MainControls.h"
#include "app/MainWindow.h"
#include "widgets/Msg.h"
#include "widgets/TextViewer.h"
#include "library/ScriptFile.h"
#include "printing/BoxedText.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

using namespace corvane;

namespace {

constexpr int kRounds = 3;
constexpr int kKeys = 15;
constexpr qint64 kHuge = qint64(1) << 30;

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Words of 2 to 9 letters with a space or a line break between them, seeded.
QByteArray words(qint64 size, bool lines, QRandomGenerator& rng)
{
    QByteArray text;
    text.reserve(size);
    while (text.size() < size) {
        const int len = int(rng.bounded(2, 10));
        for (int i = 0; i < len; ++i)
            text.append(char('a' + rng.bounded(26)));
        text.append(lines && rng.bounded(12) == 0 ? "\r\n" : " ");
    }
    text.truncate(size);
    return text;
}

QByteArray quoted(const QByteArray& text) { return '"' + text + "\"\r\n"; }

// A 1 GB file that takes no room: `head`, then a hole.
void sparse(const QString& path, const QByteArray& head)
{
    bench::writeOrDie(path, head);
    if (::truncate(QFile::encodeName(path).constData(), kHuge) != 0) {
        std::fprintf(stderr, "cannot extend %s\n", qPrintable(path));
        std::exit(2);
    }
}

// Answers every modal window with its default or cancel button, noting when the
// first one came up, painted.
struct Answerer {
    Answerer()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            modal->repaint();
            if (shownAtMs < 0)
                shownAtMs = clock.nsecsElapsed() / 1e6;
            ++seen;
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                box->defaultButton()->click();
            else if (auto* cancel = modal->findChild<QPushButton*>(QStringLiteral("cmbCancel")))
                cancel->click();
        });
        timer.start(0);
    }
    void arm()
    {
        seen = 0;
        shownAtMs = -1;
        clock.start();
    }
    QTimer timer;
    QElapsedTimer clock;
    double shownAtMs = -1;
    int seen = 0;
};

struct Bench {
    MainWindow& window;
    const bench::MainControls c;
    QString dir;
    Answerer answerer;

    int row(const QString& name) const
    {
        return c.lstFile01->row(c.lstFile01->findItems(name, Qt::MatchExactly).first());
    }
    // Selects a script as a click would, until the viewer is painted.
    double select(const QString& name)
    {
        // From a script of a few bytes, so the old text costs little to drop.
        const QString tiny = QStringLiteral("1GB sem aspas");
        c.lstFile01->setCurrentRow(row(name == tiny ? QStringLiteral("pequeno") : tiny));
        QApplication::processEvents();
        answerer.arm();
        c.lstFile01->setCurrentRow(row(name));
        QApplication::processEvents();
        c.cxLerFile->viewport()->repaint();
        return answerer.clock.nsecsElapsed() / 1e6;
    }
    double readOnce(const QString& name) const
    {
        QElapsedTimer t;
        t.start();
        QFile f(dir + name + QStringLiteral(".txt"));
        if (!f.open(QIODevice::ReadOnly) || f.readAll().isEmpty())
            std::exit(2);
        return t.nsecsElapsed() / 1e6;
    }
};

// The floor of showing a text: a bare QPlainTextEdit of the viewer's size and wrap.
double bareSetPlainText(const QString& text, const QSize& size)
{
    QPlainTextEdit bare;
    bare.resize(size);
    bare.show();
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    bare.setPlainText(text);
    QApplication::processEvents();
    bare.viewport()->repaint();
    return t.nsecsElapsed() / 1e6;
}

// The big scripts' texts, as written into the library.
struct Texts {
    QByteArray lines10, line10, line1, largest, largestLine;
};

Texts generate(const QString& dir, QRandomGenerator& rng)
{
    QDir().mkpath(dir);
    Texts t{words(10 * 1000 * 1000, true, rng), words(10 * 1000 * 1000, false, rng), words(1000 * 1000, false, rng),
            words(script::kMaxStoredBytes, true, rng), words(script::kMaxStoredBytes, false, rng)};
    bench::writeOrDie(dir + QStringLiteral("pequeno.txt"), quoted(words(1000, false, rng)));
    bench::writeOrDie(dir + QStringLiteral("linhas 10MB.txt"), quoted(t.lines10));
    bench::writeOrDie(dir + QStringLiteral("linha 10MB.txt"), quoted(t.line10));
    bench::writeOrDie(dir + QStringLiteral("linha 1MB.txt"), quoted(t.line1));
    bench::writeOrDie(dir + QStringLiteral("maior.txt"), quoted(t.largest));
    bench::writeOrDie(dir + QStringLiteral("maior linha.txt"), quoted(t.largestLine));
    sparse(dir + QStringLiteral("1GB aspas.txt"), "\"comeco sem fim");
    sparse(dir + QStringLiteral("1GB sem aspas.txt"), "primeira linha\r\n");
    return t;
}

// Refused and first-line files first, so the peak memory they leave is theirs.
bool refusals(Bench& b)
{
    const bench::MainControls& c = b.c;
    const long startKb = peakKb();
    std::vector<double> smallMs, boxMs, quotedMs, unquotedMs;
    bool right = true;
    for (int round = 0; round < kRounds; ++round) {
        smallMs.push_back(b.select(QStringLiteral("pequeno")));
        b.answerer.arm();
        msg::ok(&b.window, texts::tooBig(QStringLiteral("1GB aspas")));
        boxMs.push_back(b.answerer.shownAtMs);
        b.select(QStringLiteral("1GB aspas"));
        quotedMs.push_back(b.answerer.shownAtMs);
        right = right && b.answerer.seen == 1 && c.cxLerFile->toPlainText().isEmpty();
        unquotedMs.push_back(b.select(QStringLiteral("1GB sem aspas")));
        right = right && b.answerer.seen == 0 && c.cxLerFile->toPlainText() == QStringLiteral("primeira linha");
    }
    const long hugeKb = peakKb();
    const double small = bench::median(smallMs), box = bench::median(boxMs);
    std::printf("1 GB quoted file refused: message after %.1f ms; the message box alone: %.1f ms; ratio %.1f "
                "(median of %d)\n",
                bench::median(quotedMs), box, bench::median(quotedMs) / box, kRounds);
    std::printf("1 GB unquoted file, first line: %.1f ms; small script: %.1f ms; ratio %.1f (median of %d); "
                "peak memory %ld MB before the 1 GB files, %ld MB after\n",
                bench::median(unquotedMs), small, bench::median(unquotedMs) / small, kRounds, startKb / 1024,
                hugeKb / 1024);
    return right;
}

// The 10 MB scripts selected, read once and marked, each round.
struct TenMb {
    QStringList names{QStringLiteral("linhas 10MB"), QStringLiteral("linha 10MB")};
    std::vector<double> selectMs[2], readMs[2], markMs[2];
    QString word;  // a word of the first, marked as a search result's would be
};

bool tenMb(Bench& b, const Texts& texts, TenMb& m)
{
    const bench::MainControls& c = b.c;
    bool right = true;
    // A result chosen in the search panel is also marked: every place of one of
    // its words, the first brought into view.
    m.word = QString::fromLatin1(texts.lines10.left(texts.lines10.indexOf(' ')));
    for (int i = 0; i < 2; ++i) {
        for (int round = 0; round < kRounds; ++round) {
            m.selectMs[i].push_back(b.select(m.names[i]));
            m.readMs[i].push_back(b.readOnce(m.names[i]));
            QElapsedTimer t;
            t.start();
            c.cxLerFile->marks().markAll(m.word);
            c.cxLerFile->viewport()->repaint();
            m.markMs[i].push_back(t.nsecsElapsed() / 1e6);
        }
        const QByteArray& bytes = i == 0 ? texts.lines10 : texts.line10;
        right = right && c.cxLerFile->rawText() == script::fromCrLf(script::decodeStored(bytes));
    }
    return right;
}

// Typing in the middle of a long line, against typing in a small script.
bool typing(Bench& b, const Texts& texts)
{
    const bench::MainControls& c = b.c;
    auto keys = [&](const QString& name) {
        b.select(name);
        c.cxLerFile->setFocus();
        QTextCursor cursor = c.cxLerFile->textCursor();
        cursor.setPosition(c.cxLerFile->document()->characterCount() / 2);
        c.cxLerFile->setTextCursor(cursor);
        QApplication::processEvents();
        std::vector<double> keyMs;
        for (int i = 0; i < kKeys; ++i) {
            QElapsedTimer t;
            t.start();
            QTest::keyClick(c.cxLerFile, Qt::Key(Qt::Key_A + i % 26));
            QApplication::processEvents();
            c.cxLerFile->viewport()->repaint();
            keyMs.push_back(t.nsecsElapsed() / 1e6);
        }
        return bench::median(keyMs);
    };
    const double keyBig = keys(QStringLiteral("linha 1MB"));
    const bool right = c.cxLerFile->rawText().size() == texts.line1.size() + kKeys;
    const double keySmall = keys(QStringLiteral("pequeno"));
    std::printf("key press in a 1 MB line: %.1f ms; in a 1 KB script: %.1f ms; ratio %.1f (median of %d keys)\n",
                keyBig, keySmall, keyBig / keySmall, kKeys);
    return right;
}

// The print window on the largest script allowed, against a small script.
bool printWindows(Bench& b)
{
    bool right = true;
    auto printWindow = [&](const QString& name) {
        std::vector<double> openMs;
        for (int round = 0; round < kRounds; ++round) {
            b.select(name);
            b.answerer.arm();
            b.c.btnPrint->click();
            right = right && b.answerer.seen == 1;
            openMs.push_back(b.answerer.shownAtMs);
        }
        return bench::median(openMs);
    };
    const double printSmall = printWindow(QStringLiteral("pequeno"));
    for (const QString& name : {QStringLiteral("maior"), QStringLiteral("maior linha")}) {
        const double printBig = printWindow(name);
        std::printf("print window on the %lld MB script %s: %.1f ms; on a 1 KB script: %.1f ms; ratio %.1f "
                    "(median of %d)\n",
                    static_cast<long long>(script::kMaxStoredBytes >> 20), qPrintable(name), printBig, printSmall,
                    printBig / printSmall, kRounds);
    }
    std::printf("peak memory after showing, typing and the print windows: %ld MB\n", peakKb() / 1024);
    return right;
}

// The bare widget's baselines come last: laying out a 10 MB line takes it
// memory the program never needs.
void bareBaselines(const Bench& b, const Texts& texts, const TenMb& m)
{
    const QSize viewerSize = b.c.cxLerFile->size();
    for (int i = 0; i < 2; ++i) {
        const QString text = script::fromCrLf(script::decodeStored(i == 0 ? texts.lines10 : texts.line10));
        std::vector<double> bareMs;
        for (int round = 0; round < kRounds; ++round)
            bareMs.push_back(bareSetPlainText(text, viewerSize));
        const double select = bench::median(m.selectMs[i]), read = bench::median(m.readMs[i]);
        const double bare = bench::median(bareMs);
        std::printf("select %s script: %.1f ms; read the file once: %.1f ms; bare setPlainText: %.1f ms; "
                    "ratios %.1f and %.2f (median of %d)\n",
                    qPrintable(m.names[i]), select, read, bare, select / read, select / bare, kRounds);
        std::printf("  chosen as a search result, \"%s\" marked too: %.1f ms more; ratio %.2f of selecting\n",
                    qPrintable(m.word), bench::median(m.markMs[i]), bench::median(m.markMs[i]) / select);
    }
}

// The printed page itself, drawn on an A4 image at 300 dpi.
void printedPages(const Texts& texts, QRandomGenerator& rng)
{
    auto page = [](const QString& text) {
        QImage image(2480, 3508, QImage::Format_RGB32);
        image.setDotsPerMeterX(11811);
        image.setDotsPerMeterY(11811);
        QPainter painter(&image);
        painter.setFont(QFont(QStringLiteral("Arial"), 10));
        QElapsedTimer t;
        t.start();
        PrintBoxedText(painter, text, 10, 10, 190, 280);
        return t.nsecsElapsed() / 1e6;
    };
    const double pageSmall = page(script::decodeFile(quoted(words(1000, true, rng))));
    for (const QByteArray* bytes : {&texts.largest, &texts.largestLine}) {
        const double pageBig = page(script::fromCrLf(script::decodeStored(*bytes)));
        std::printf("print page of the %lld MB script%s: %.1f ms; of 1 KB: %.1f ms; ratio %.1f\n",
                    static_cast<long long>(script::kMaxStoredBytes >> 20), bytes == &texts.largest ? "" : " linha",
                    pageBig, pageSmall, pageBig / pageSmall);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    const bench::WindowBench setup(argc, argv);
    const QString& scripts = setup.scripts();
    const QString dir = scripts + QStringLiteral("/Grandes/");
    QRandomGenerator rng(20240613);
    const Texts texts = generate(dir, rng);

    MainWindow window(scripts);
    bench::showLoaded(window);
    Bench b{window, bench::MainControls(window), dir, {}};
    b.c.lstDir01->setCurrentRow(0);
    QApplication::processEvents();

    TenMb m;
    bool right = refusals(b);
    right = tenMb(b, texts, m) && right;
    right = typing(b, texts) && right;
    right = printWindows(b) && right;
    bareBaselines(b, texts, m);
    printedPages(texts, rng);
    if (!right) {
        std::fprintf(stderr, "wrong result\n");
        return 1;
    }
    return 0;
}
