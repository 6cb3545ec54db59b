// Adding and renaming a script in a category of 20,000 scripts through the real
// main window, against a bare directory walk plus the same file operation, in
// the same run. The message boxes are answered with their default button.
#include "BenchSupport.h"
#include "MainControls.h"
#include "app/MainWindow.h"
#include "widgets/NameBox.h"
#include "widgets/TextViewer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace corvane;

namespace {

constexpr int kScripts = 20000;
constexpr int kRounds = 7;

// The floor of every editing command: one look at each entry of the folder.
size_t bareWalk(const std::filesystem::path& dir)
{
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        entries += entry.path().filename().empty() ? 0 : 1;
    return entries;
}

struct Times {
    std::vector<double> addMs, addBaseMs, renameMs, renameBaseMs;
};

// Each round adds a script and renames an old one through the window, then does
// the same to the folder by hand.
Times measure(const bench::MainControls& c, const std::filesystem::path& bigDir)
{
    Times times;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        c.cxRnmFile->setText(QStringLiteral("novo %1").arg(round));
        c.cxLerFile->setPlainText(QStringLiteral("texto novo"));
        t.start();
        c.btnAddFile->click();
        times.addMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        bareWalk(bigDir);
        std::ofstream(bigDir / ("base " + std::to_string(round) + ".txt"), std::ios::binary) << "\"texto\"\r\n";
        times.addBaseMs.push_back(t.nsecsElapsed() / 1e6);

        c.lstFile01->setCurrentRow(c.lstFile01->count() - 1 - round);  // one of the old scripts
        c.cxRnmFile->setText(QStringLiteral("renomeado %1").arg(round));
        t.restart();
        c.btnEditFile->click();
        times.renameMs.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        bareWalk(bigDir);
        std::filesystem::rename(bigDir / ("base " + std::to_string(round) + ".txt"),
                                bigDir / ("base r" + std::to_string(round) + ".txt"));
        times.renameBaseMs.push_back(t.nsecsElapsed() / 1e6);
    }
    return times;
}

}  // namespace

int main(int argc, char* argv[])
{
    const bench::WindowBench setup(argc, argv);
    const QString& scripts = setup.scripts();
    const QString big = scripts + QStringLiteral("/Grande/");
    QDir().mkpath(big);
    QRandomGenerator rng(20240612);
    for (int i = 0; i < kScripts; ++i)
        bench::writeOrDie(big + QStringLiteral("script %1.txt").arg(i, 5, 10, QLatin1Char('0')),
                  "\"" + QByteArray(rng.bounded(20, 600), 'a' + char(rng.bounded(26))) + "\"\r\n");

    MainWindow window(scripts);
    bench::showLoaded(window);
    const bench::MainControls c(window);

    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->defaultButton()->click();
    });
    answerer.start(0);

    const std::filesystem::path bigDir = big.toStdU16String();
    const Times times = measure(c, bigDir);

    const int expected = kScripts + 2 * kRounds;
    const qsizetype renamed = QDir(big).entryList({QStringLiteral("renomeado *.txt")}, QDir::Files).size();
    if (int(bareWalk(bigDir)) != expected || renamed != kRounds) {
        std::fprintf(stderr, "wrong result: %zu entries\n", bareWalk(bigDir));
        return 1;
    }
    const double add = bench::median(times.addMs), addBase = bench::median(times.addBaseMs);
    const double rename = bench::median(times.renameMs), renameBase = bench::median(times.renameBaseMs);
    std::printf("add script to a category of %d: %.1f ms; bare walk + write: %.1f ms; ratio %.1f (median of %d)\n",
                kScripts, add, addBase, add / addBase, kRounds);
    std::printf("rename script in a category of %d, two message boxes: %.1f ms; bare walk + rename: %.1f ms; "
                "ratio %.1f (median of %d)\n",
                kScripts, rename, renameBase, rename / renameBase, kRounds);
    return 0;
}
