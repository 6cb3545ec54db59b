// Backing up a generated library of 100,000 small scripts: the program's copy
// against `cp -r` of the same tree, in the same run.
#include "backup/BackupCore.h"
#include "library/Library.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

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

// Writes back what earlier steps left dirty, so no run pays for another's.
void settle()
{
    QProcess::execute(QStringLiteral("sync"), {});
}

double timeCp(const QString& from, const QString& to)
{
    settle();
    QElapsedTimer t;
    t.start();
    const int rc = QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), from, to});
    const double s = t.nsecsElapsed() / 1e9;
    if (rc != 0)
        qFatal("cp -r failed");
    return s;
}

double timeBackup(const QString& scripts, const QList<QByteArray>& categories, const QString& dir, const QString& name)
{
    settle();
    QElapsedTimer t;
    t.start();
    const backup::Result r = backup::copyLibrary(scripts, categories, dir, name);
    const double s = t.nsecsElapsed() / 1e9;
    if (!r.ok || r.files != qint64(kCategories) * kScriptsPerCategory)
        qFatal("backup failed: %s", qPrintable(r.message));
    return s;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    const QString scripts = work.filePath(QStringLiteral("scripts"));
    QDir().mkpath(scripts);

    QElapsedTimer gen;
    gen.start();
    generate(scripts);
    std::printf("generated %d scripts in %.1f s\n", kCategories * kScriptsPerCategory, gen.nsecsElapsed() / 1e9);

    QList<QByteArray> categories;
    for (const Item& line : backup::sourceLines(scripts))
        categories.append(line.key);

    // Alternate the two, best of three each, so neither gains from a warmer cache.
    double cp = 1e9, ours = 1e9;
    for (int round = 0; round < 3; ++round) {
        const double c = timeCp(scripts, work.filePath(QStringLiteral("cp%1").arg(round)));
        const double o = timeBackup(scripts, categories, work.path(), QStringLiteral("bk%1").arg(round));
        std::printf("round %d: program %.2f s, cp -r %.2f s\n", round + 1, o, c);
        std::fflush(stdout);
        cp = std::min(cp, c);
        ours = std::min(ours, o);
    }
    std::printf("backup of %d scripts: program %.2f s, cp -r %.2f s, ratio %.2f (program / cp -r)\n",
                kCategories * kScriptsPerCategory, ours, cp, ours / cp);
    std::fflush(stdout);
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), work.path()});  // faster than file by file
    return 0;
}
