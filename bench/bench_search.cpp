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
    QRandomGenerator rng(42);
    for (int c = 0; c < categories; ++c) {
        const QString cat = QStringLiteral("Categoria %1").arg(c, 3, 10, QLatin1Char('0'));
        QDir().mkpath(root + u'/' + cat);
        for (int s = 0; s < perCategory; ++s)
            bench::writeOrDie(root + u'/' + cat + QStringLiteral("/script %1.txt").arg(s), randomScript(rng));
    }
    Library library(root);
    const Items names = categoriesOf(root);
    const std::vector<QByteArray> paths = bench::filesUnder(root);

    qsizetype found = 0, grepFound = 0;
    auto searchRun = [&](int readers) {
        found = search::Searcher(library, readers).run(names, search::Needle(needleText)).size();
    };
    auto grepRun = [&] {
        QProcess grep;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        grep.setProcessEnvironment(env);
        grep.start(QStringLiteral("grep"), {"-r", "-i", "-F", "-l", needleText, root});
        grep.waitForFinished(-1);
        grepFound = grep.readAllStandardOutput().count('\n');
    };
    auto floorRun = [&] { bench::readSerially(paths); };

    std::printf("search %d scripts (%d categories) for \"%s\"; every run in seconds\n", int(paths.size()),
                categories, qPrintable(needleText));
    QString noCold;
    bool cold = bench::dropCaches(&noCold);
    if (!cold)
        std::printf("cold rows skipped: %s\n", qPrintable(noCold));
    for (const bool coldCache : {false, true}) {
        if (coldCache && !cold)
            break;
        const int rounds = coldCache ? 3 : 7;
        // Before each timed run: the cache warmed by a read, or emptied.
        auto prepare = [&] {
            if (!coldCache)
                floorRun();
            else if (!bench::dropCaches(&noCold))
                qFatal("%s", qPrintable(noCold));
        };
        std::vector<double> floor, grep;
        std::vector<std::vector<double>> program(readerCounts.size());
        for (int round = 0; round < rounds; ++round) {
            prepare();
            floor.push_back(bench::timeOf(floorRun));
            for (size_t r = 0; r < readerCounts.size(); ++r) {
                prepare();
                program[r].push_back(bench::timeOf([&] { searchRun(readerCounts[r]); }));
            }
            prepare();
            grep.push_back(bench::timeOf(grepRun));
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
    {
        std::vector<double> plain, watched;
        for (int round = 0; round < 7; ++round) {
            floorRun();
            plain.push_back(bench::timeOf([&] { searchRun(search::Searcher::kReaders); }));
            floorRun();
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
                found = search::Searcher(library).run(names, search::Needle(needleText), &progress).size();
                done = true;
                reader.join();
            }));
        }
        std::printf("warm search with progress shown: %s  median %.3fx the same without (goal <= 1.02)\n",
                    qPrintable(bench::runs(watched)), bench::median(watched) / bench::median(plain));
    }

    // Peak resident memory of a process doing one search.
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory"), root, needleText});
    child.waitForFinished(-1);
    const QList<QByteArray> peak = child.readAllStandardOutput().trimmed().split(' ');
    std::printf("found %lld, grep %lld; peak resident memory of a process running one search: %.1f MiB "
                "(goal <= 64)\n",
                qlonglong(found), qlonglong(grepFound), peak.value(1).toLong() / 1024.0);
    return found == grepFound && peak.value(0).toLongLong() == found ? 0 : 2;
}
