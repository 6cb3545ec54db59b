// Search over a generated library: the program's search against reading every
// file once, one at a time (the serial floor), and against grep, in the same
// run, with the page cache warm and emptied.
#include "BenchSupport.h"
#include "library/Library.h"
#include "searchcore/TextSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace corvane;

namespace {

QByteArray randomScript(QRandomGenerator& rng)
{
    static const char* const words[] = {
        "select", "from", "where", "cliente", "pedido", "valor", "data", "nome", "ação", "função",
        "relatório", "\"aspas\"", "Olá", "joão", "período", "total", "linha", "texto", "script", "update"};
    QString text;
    const int target = rng.bounded(1000, 4000);
    while (text.size() < target) {
        text += QString::fromUtf8(words[rng.bounded(20)]);
        text += rng.bounded(12) == 0 ? QStringLiteral("\r\n") : QStringLiteral(" ");
    }
    if (rng.bounded(100) == 0)
        text += QStringLiteral(" agulhaRara ");
    QByteArray bytes = QByteArray("\"");
    for (QChar c : text) {
        const char16_t u = c.unicode();
        bytes.append(u == u'"' ? '\xA4' : char(u < 256 ? u : '?'));
    }
    bytes.append("\"\r\n");
    return bytes;
}

long rssKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLong();
    return -1;
}

Items categoriesOf(const QString& root)
{
    Items names;
    for (const QString& cat : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        names.append({cat, cat.toUtf8()});
    sortForList(names);
    return names;
}

// One search in a process of its own, so its peak resident memory is its own.
int memoryRun(const QString& root, const QString& needle)
{
    Library library(root);
    const qsizetype found = search::Searcher(library).run(categoriesOf(root), search::Needle(needle)).size();
    std::printf("%lld %ld\n", qlonglong(found), rssKiB("VmHWM:"));
    return 0;
}

void generate(const QString& root, int categories, int perCategory)
{
    QRandomGenerator rng(42);
    for (int c = 0; c < categories; ++c) {
        const QString cat = QStringLiteral("Categoria %1").arg(c, 3, 10, QLatin1Char('0'));
        QDir().mkpath(root + u'/' + cat);
        for (int s = 0; s < perCategory; ++s)
            bench::writeOrDie(root + u'/' + cat + QStringLiteral("/script %1.txt").arg(s), randomScript(rng));
    }
}

// The library searched and what each way of searching it found.
struct Runs {
    Runs(const QString& root, const QString& needleText)
        : root(root)
        , needleText(needleText)
        , library(root)
        , names(categoriesOf(root))
        , paths(bench::filesUnder(root))
    {
    }
    void search(int readers, search::Searcher::Progress* progress = nullptr)
    {
        found = search::Searcher(library, readers).run(names, search::Needle(needleText), progress).size();
    }
    void grep()
    {
        QProcess grep;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        grep.setProcessEnvironment(env);
        grep.start(QStringLiteral("grep"), {"-r", "-i", "-F", "-l", needleText, root});
        grep.waitForFinished(-1);
        grepFound = grep.readAllStandardOutput().count('\n');
    }
    void floor() const { bench::readSerially(paths); }

    const QString root, needleText;
    Library library;
    const Items names;
    const std::vector<QByteArray> paths;
    qsizetype found = 0, grepFound = 0;
};

// The program against the serial floor and grep, warm and then cold.
void compare(Runs& runs, const std::vector<int>& readerCounts, bool coldCache)
{
    const int rounds = coldCache ? 3 : 7;
    // Before each timed run: the cache warmed by a read, or emptied.
    auto prepare = [&] {
        QString why;
        if (!coldCache)
            runs.floor();
        else if (!bench::dropCaches(&why))
            qFatal("%s", qPrintable(why));
    };
    std::vector<double> floor, grep;
    std::vector<std::vector<double>> program(readerCounts.size());
    for (int round = 0; round < rounds; ++round) {
        prepare();
        floor.push_back(bench::timeOf([&] { runs.floor(); }));
        for (size_t r = 0; r < readerCounts.size(); ++r) {
            prepare();
            program[r].push_back(bench::timeOf([&] { runs.search(readerCounts[r]); }));
        }
        prepare();
        grep.push_back(bench::timeOf([&] { runs.grep(); }));
    }
    const char* cache = coldCache ? "cold" : "warm";
    std::printf("%s serial floor (open/read/close each file): %s\n", cache, qPrintable(bench::runs(floor)));
    std::printf("%s grep -r -i -F -l:                         %s\n", cache, qPrintable(bench::runs(grep)));
    for (size_t r = 0; r < readerCounts.size(); ++r) {
        const double m = bench::median(program[r]);
        std::printf("%s program, %2d readers:                      %s  median %.2fx floor (goal <= %.2f), "
                    "%.2fx grep\n",
                    cache, readerCounts[r], qPrintable(bench::runs(program[r])), m / bench::median(floor),
                    coldCache ? 0.35 : 0.80, m / bench::median(grep));
    }
    std::fflush(stdout);
}

// What showing progress costs: the same search with its counters read ten
// times a second by another thread, as the window does, against without.
void progressCost(Runs& runs)
{
    std::vector<double> plain, watched;
    for (int round = 0; round < 7; ++round) {
        runs.floor();
        plain.push_back(bench::timeOf([&] { runs.search(search::Searcher::kReaders); }));
        runs.floor();
        watched.push_back(bench::timeOf([&] {
            search::Searcher::Progress progress;
            std::atomic<bool> done{false};
            std::thread reader([&] {
                while (!done) {
                    volatile qsizetype seen = progress.read.load() + progress.total.load();
                    (void)seen;
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                }
            });
            runs.search(search::Searcher::kReaders, &progress);
            done = true;
            reader.join();
        }));
    }
    std::printf("warm search with progress shown: %s  median %.3fx the same without (goal <= 1.02)\n",
                qPrintable(bench::runs(watched)), bench::median(watched) / bench::median(plain));
}

// Peak resident memory of a process doing one search; true when it found what
// the others did.
bool peakMemory(const Runs& runs)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory"), runs.root, runs.needleText});
    child.waitForFinished(-1);
    const QList<QByteArray> peak = child.readAllStandardOutput().trimmed().split(' ');
    std::printf("found %lld, grep %lld; peak resident memory of a process running one search: %.1f MiB "
                "(goal <= 64)\n",
                qlonglong(runs.found), qlonglong(runs.grepFound), peak.value(1).toLong() / 1024.0);
    return runs.found == runs.grepFound && peak.value(0).toLongLong() == runs.found;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QStringLiteral("--memory"))
        return memoryRun(args.value(2), args.value(3));
    const int categories = argc > 1 ? atoi(argv[1]) : 200;
    const int perCategory = argc > 2 ? atoi(argv[2]) : 500;
    const QString needleText = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("AGULHArara");
    const std::vector<int> readerCounts = bench::countsToCompare("CORVANE_BENCH_READERS", search::Searcher::kReaders);

    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/scripts");
    generate(root, categories, perCategory);
    Runs runs(root, needleText);

    std::printf("search %d scripts (%d categories) for \"%s\"; every run in seconds\n", int(runs.paths.size()),
                categories, qPrintable(needleText));
    QString noCold;
    const bool cold = bench::dropCaches(&noCold);
    if (!cold)
        std::printf("cold rows skipped: %s\n", qPrintable(noCold));
    compare(runs, readerCounts, false);
    if (cold)
        compare(runs, readerCounts, true);
    progressCost(runs);
    return peakMemory(runs) ? 0 : 2;
}
