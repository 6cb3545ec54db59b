// Search over a generated library: the program's search against merely reading
// every file once (the floor) and against grep, in the same run.
#include "library/Library.h"
#include "search/TextSearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
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

double seconds(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e9;
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

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int categories = argc > 1 ? atoi(argv[1]) : 200;
    const int perCategory = argc > 2 ? atoi(argv[2]) : 500;

    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/scripts");
    QRandomGenerator rng(42);
    Items names;
    for (int c = 0; c < categories; ++c) {
        const QString cat = QStringLiteral("Categoria %1").arg(c, 3, 10, QLatin1Char('0'));
        names.append({cat, cat.toUtf8()});
        QDir().mkpath(root + u'/' + cat);
        for (int s = 0; s < perCategory; ++s) {
            QFile f(root + u'/' + cat + QStringLiteral("/script %1.txt").arg(s));
            if (!f.open(QIODevice::WriteOnly))
                return 1;
            f.write(randomScript(rng));
        }
    }
    Library library(root);
    sortForList(names);

    // The floor: open, read and close every file once, paths known beforehand.
    std::vector<QByteArray> paths;
    for (const Item& item : names) {
        QDirIterator it(root + u'/' + item.shown, QDir::Files);
        while (it.hasNext())
            paths.push_back(QFile::encodeName(it.next()));
    }
    std::vector<char> buffer(1 << 16);
    auto floorRun = [&] {
        size_t total = 0;
        for (const QByteArray& p : paths) {
            std::FILE* f = std::fopen(p.constData(), "rb");
            if (!f)
                continue;
            total += std::fread(buffer.data(), 1, buffer.size(), f);
            std::fclose(f);
        }
        return total;
    };
    const QString needleText = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("AGULHArara");
    auto searchRun = [&] {
        search::Searcher searcher(library);
        return searcher.run(names, search::Needle(needleText)).size();
    };
    auto grepRun = [&] {
        QProcess grep;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        grep.setProcessEnvironment(env);
        grep.start(QStringLiteral("grep"), {"-r", "-i", "-F", "-l", needleText, root});
        grep.waitForFinished(-1);
        return grep.readAllStandardOutput().count('\n');
    };

    floorRun();  // warm the cache for everyone
    double best[3] = {1e9, 1e9, 1e9};
    qsizetype found = 0, grepFound = 0;
    for (int round = 0; round < 9; ++round) {
        QElapsedTimer t;
        t.start();
        floorRun();
        best[0] = std::min(best[0], seconds(t));
        t.restart();
        found = searchRun();
        best[1] = std::min(best[1], seconds(t));
        t.restart();
        grepFound = grepRun();
        best[2] = std::min(best[2], seconds(t));
    }

    // Peak memory of one search: reset the high-water mark where the system allows.
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    const bool reset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    clear.close();
    const long before = rssKiB("VmRSS:");
    searchRun();
    const long peak = rssKiB("VmHWM:");

    const int files = int(paths.size());
    std::printf("search %d scripts (%d categories): program %.3f s, floor (read every file once) %.3f s, "
                "grep -r -i -F -l %.3f s\n",
                files, categories, best[1], best[0], best[2]);
    std::printf("search ratio: %.2fx the floor (goal <= 1.30), %.2fx grep (goal < 1.00); found %lld, grep %lld\n",
                best[1] / best[0], best[1] / best[2], qlonglong(found), qlonglong(grepFound));
    if (reset && before > 0 && peak > 0)
        std::printf("search peak memory: %.1f MiB above the %.1f MiB resident before it\n",
                    (peak - before) / 1024.0, before / 1024.0);
    return found == grepFound ? 0 : 2;
}
