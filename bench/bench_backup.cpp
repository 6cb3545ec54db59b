// Backing up a generated library of 100,000 small scripts: the program's copy
// against `cp -r` of the same tree and against reading every file once, in the
// same run, with the page cache warm and emptied.
#include "BenchSupport.h"
#include "backupcore/BackupCore.h"
#include "library/Library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace corvane;

namespace {

constexpr int kCategories = 200;
constexpr int kScriptsPerCategory = 500;

void generate(const QString& scripts)
{
    QRandomGenerator rng(20261205);
    QByteArray body(4096, 'x');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char('a' + rng.bounded(26));
    QDir root(scripts);
    for (int c = 0; c < kCategories; ++c) {
        const QString category = QStringLiteral("Categoria %1").arg(c, 3, 10, QLatin1Char('0'));
        root.mkdir(category);
        const QString folder = root.filePath(category) + u'/';
        for (int s = 0; s < kScriptsPerCategory; ++s) {
            // Plain stdio: QFile's checks would make generating slower than the copies.
            const QByteArray path = QFile::encodeName(folder + QStringLiteral("script %1.txt").arg(s));
            std::FILE* f = std::fopen(path.constData(), "wb");
            if (!f)
                qFatal("cannot write %s", path.constData());
            const int size = rng.bounded(100, 2000);
            std::fputc('"', f);
            std::fwrite(body.constData() + rng.bounded(body.size() - size), 1, size_t(size), f);
            std::fputs("\"\r\n", f);
            std::fclose(f);
        }
    }
}

// The library copied and what every copy of it is compared with.
struct Copies {
    QString work, scripts;
    QList<QByteArray> categories;
    std::vector<QByteArray> paths;
    int copyNumber = 0;  // copies are named apart, as none is removed between runs

    QString nextName(const char* kind) { return QLatin1String(kind) + QString::number(++copyNumber); }
};

// The program against the serial floor and cp -r, warm or cold.
void compare(Copies& copies, const std::vector<int>& copierCounts, bool coldCache)
{
    // Before each timed run: what earlier runs left dirty written back, then
    // the sources read into the cache or the cache emptied.
    auto prepare = [&] {
        QString why;
        if (!coldCache) {
            QProcess::execute(QStringLiteral("sync"), {});
            bench::readSerially(copies.paths);
        } else if (!bench::dropCaches(&why)) {
            qFatal("%s", qPrintable(why));
        }
    };
    std::vector<double> floor, cp;
    std::vector<std::vector<double>> program(copierCounts.size());
    for (int round = 0; round < 3; ++round) {
        prepare();
        floor.push_back(bench::timeOf([&] { bench::readSerially(copies.paths); }));
        const QString cpTarget = copies.work + u'/' + copies.nextName("cp");
        prepare();
        cp.push_back(bench::timeOf([&] {
            if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), copies.scripts, cpTarget}) != 0)
                qFatal("cp -r failed");
        }));
        for (size_t c = 0; c < copierCounts.size(); ++c) {
            const QString name = copies.nextName("bk");
            prepare();
            backup::Result r;
            program[c].push_back(bench::timeOf([&] {
                r = backup::copyLibrary(copies.scripts, copies.categories, copies.work, name, copierCounts[c]);
            }));
            if (!r.done())
                qFatal("backup failed: %s", qPrintable(r.names.join(u' ')));
        }
    }
    const char* cache = coldCache ? "cold" : "warm";
    std::printf("%s serial floor (open/read/close each file): %s\n", cache, qPrintable(bench::runs(floor)));
    std::printf("%s cp -r:                                    %s\n", cache, qPrintable(bench::runs(cp)));
    for (size_t c = 0; c < copierCounts.size(); ++c) {
        const double m = bench::median(program[c]);
        std::printf("%s program, %2d copiers:                      %s  median %.2fx cp -r (goal <= %.2f), "
                    "%.2fx floor\n",
                    cache, copierCounts[c], qPrintable(bench::runs(program[c])), m / bench::median(cp),
                    coldCache ? 0.5 : 1.0, m / bench::median(floor));
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    Copies copies{work.path(), work.filePath(QStringLiteral("scripts")), {}, {}};
    QDir().mkpath(copies.scripts);
    const std::vector<int> copierCounts = bench::countsToCompare("CORVANE_BENCH_COPIERS", backup::kCopiers);

    const double generating = bench::timeOf([&] { generate(copies.scripts); });
    std::printf("backup of %d scripts (generated in %.1f s); every run in seconds\n",
                kCategories * kScriptsPerCategory, generating);
    for (const Item& line : backup::sources(copies.scripts))
        copies.categories.append(line.key);
    copies.paths = bench::filesUnder(copies.scripts);

    QString noCold;
    const bool cold = bench::dropCaches(&noCold);
    if (!cold)
        std::printf("cold rows skipped: %s\n", qPrintable(noCold));
    compare(copies, copierCounts, false);
    if (cold)
        compare(copies, copierCounts, true);
    // Copies are removed only now: ext4 passes over the inodes of files deleted
    // in the last minutes when it makes new ones, which would slow every run
    // after a removal.
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), work.path()});  // faster than file by file
    return 0;
}
