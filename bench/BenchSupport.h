#pragma once

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <vector>

namespace corvane {
class MainWindow;
}

namespace corvane::bench {

// What a benchmark of the windows starts with: the application, off screen
// unless QT_QPA_PLATFORM names a platform, and an empty temporary folder whose
// "scripts" is the library to make.
class WindowBench {
public:
    WindowBench(int& argc, char** argv);
    const QString& scripts() const { return scripts_; }

private:
    static int& offscreen(int& argc);

    QApplication app_;
    QTemporaryDir temp_;
    QString scripts_;
};

// A main window as start-up leaves it: categories listed, shown, settled.
void showLoaded(MainWindow& window);

// The counts a variable lists to compare, e.g. CORVANE_BENCH_COPIERS=1,4,16,32;
// the usual count alone when it is unset.
std::vector<int> countsToCompare(const char* variable, int usual);

double median(std::vector<double> values);

// Writes a generated file; a benchmark cannot go on without it.
void writeOrDie(const QString& path, const QByteArray& bytes);

// Seconds one call of fn takes.
double timeOf(const std::function<void()>& fn);

// Writes back what is dirty and empties the page cache, so the next run reads
// from the disk. False, with why set, where the system does not allow it.
bool dropCaches(QString* why);

// Every file of every sub-folder of root, sub-folders in name order, files in
// each folder's own order.
std::vector<QByteArray> filesUnder(const QString& root);

// The floor of any search or copy: opens, reads and closes every file, one at a
// time. Returns the bytes read.
qint64 readSerially(const std::vector<QByteArray>& paths);

// "0.123 0.130 0.127": every run, in the order taken.
QString runs(const std::vector<double>& seconds);

}  // namespace corvane::bench
