// Start-up with 2,000 categories: the program's start (window, scripts folder
// check, category list, first category selected, shown) against a bare listing of
// the scripts folder, in the same run.
#include "BenchSupport.h"
#include "MainControls.h"
#include "app/MainWindow.h"
#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

using namespace corvane;

namespace {

constexpr int kCategories = 2000;
constexpr int kRounds = 7;

size_t bareListing(const std::filesystem::path& dir)
{
    size_t folders = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::error_code ec;
        folders += entry.is_directory(ec) ? 1 : 0;
    }
    return folders;
}

}  // namespace

int main(int argc, char* argv[])
{
    const bench::WindowBench setup(argc, argv);
    const QString& scripts = setup.scripts();
    for (int i = 0; i < kCategories; ++i) {
        const QString cat = scripts + QStringLiteral("/Categoria %1").arg(kCategories - i, 4, 10, QLatin1Char('0'));
        QDir().mkpath(cat);
        for (int s = 0; s < 5; ++s) {
            QFile f(cat + QStringLiteral("/script %1.txt").arg(s));
            if (!f.open(QIODevice::WriteOnly))
                return 2;
            f.write("\"texto de exemplo\"\r\n");
        }
    }

    std::vector<double> startMs, listMs;
    size_t listed = 0;
    int shownCategories = 0;
    const std::filesystem::path root = scripts.toStdU16String();
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        t.start();
        {
            MainWindow window(scripts);
            if (!prepareScriptsFolder({scripts, true}, &window))
                return 2;
            window.loadCategories();
            window.show();
            QApplication::processEvents();
            startMs.push_back(t.nsecsElapsed() / 1e6);
            shownCategories = bench::MainControls(window).lstDir01->count();
        }
        QApplication::processEvents();
        t.restart();
        listed = bareListing(root);
        listMs.push_back(t.nsecsElapsed() / 1e6);
    }
    if (shownCategories != kCategories || listed != size_t(kCategories)) {
        std::fprintf(stderr, "listed %d categories, expected %d\n", shownCategories, kCategories);
        return 1;
    }
    const double start = bench::median(startMs), list = bench::median(listMs);
    std::printf("start-up with %d categories: %.1f ms; bare listing of the scripts folder: %.1f ms; "
                "ratio %.1f (median of %d)\n",
                kCategories, start, list, start / list, kRounds);
    return 0;
}
