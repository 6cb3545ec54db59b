// Selecting a category of 20,000 scripts through the real main window, against a
// bare directory walk that lists and measures the same folder, in the same run.
#include "BenchSupport.h"
#include "MainControls.h"
#include "app/MainWindow.h"
#include "library/Library.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace corvane;

namespace {

constexpr int kScripts = 20000;
constexpr int kRounds = 7;

QString randomName(QRandomGenerator& rng)
{
    static const char* const words[] = {"Relatorio", "cliente", "Pedido", "consulta", "backup", "Vendas",
                                        "estoque", "nota", "Fiscal", "ajuste", "tabela", "indice"};
    return QString::fromLatin1(words[rng.bounded(12)]) + u' ' + QString::fromLatin1(words[rng.bounded(12)])
        + u' ' + QString::number(rng.bounded(1000000));
}

// The floor: list the folder and take each entry's kind and length, nothing else.
qint64 bareWalk(const std::filesystem::path& dir, size_t* entries)
{
    std::vector<std::filesystem::path> names;
    qint64 bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename());
        std::error_code ec;
        if (entry.is_regular_file(ec)) {
            const auto size = entry.file_size(ec);
            if (!ec)
                bytes += qint64(size);
        }
    }
    *entries = names.size();
    return bytes;
}

}  // namespace

int main(int argc, char* argv[])
{
    const bench::WindowBench setup(argc, argv);
    const QString& scripts = setup.scripts();
    QDir().mkpath(scripts + QStringLiteral("/Grande"));
    QDir().mkpath(scripts + QStringLiteral("/Pequena"));
    bench::writeOrDie(scripts + QStringLiteral("/Pequena/um.txt"), "\"um\"\r\n");
    QRandomGenerator rng(20240611);
    int written = 0;
    while (written < kScripts) {
        const QString path = scripts + QStringLiteral("/Grande/") + randomName(rng) + QStringLiteral(".txt");
        if (QFile::exists(path))
            continue;
        bench::writeOrDie(path, "\"" + QByteArray(rng.bounded(20, 600), 'a' + char(rng.bounded(26))) + "\"\r\n");
        ++written;
    }

    MainWindow window(scripts);
    bench::showLoaded(window);
    const bench::MainControls c(window);
    const int big = c.lstDir01->row(c.lstDir01->findItems(QStringLiteral("Grande"), Qt::MatchExactly).first());
    const int small = 1 - big;

    std::vector<double> selectMs, walkMs;
    size_t entries = 0;
    qint64 walkBytes = 0;
    const std::filesystem::path bigDir = QString(scripts + QStringLiteral("/Grande")).toStdU16String();
    for (int round = 0; round < kRounds; ++round) {
        c.lstDir01->setCurrentRow(small);
        QApplication::processEvents();

        QElapsedTimer t;
        t.start();
        c.lstDir01->setCurrentRow(big);
        QApplication::processEvents();  // the list laid out and painted
        selectMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        walkBytes = bareWalk(bigDir, &entries);
        walkMs.push_back(t.nsecsElapsed() / 1e6);
    }

    const QString expected = QStringLiteral("Grande: %1 scripts").arg(kScripts);
    if (c.lblTeste->text() != expected || c.lstFile01->count() != kScripts || int(entries) != kScripts) {
        std::fprintf(stderr, "wrong result: %s, %d entries\n", qPrintable(c.lblTeste->text()), c.lstFile01->count());
        return 1;
    }
    const double select = bench::median(selectMs), walk = bench::median(walkMs);
    std::printf("select category of %d scripts: %.1f ms; bare walk listing+stat: %.1f ms (%lld bytes); "
                "ratio %.1f (median of %d)\n",
                kScripts, select, walk, static_cast<long long>(walkBytes), select / walk, kRounds);
    return 0;
}
