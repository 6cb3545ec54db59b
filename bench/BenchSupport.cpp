#include "BenchSupport.h"

#include "app/MainWindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace corvane::bench {

WindowBench::WindowBench(int& argc, char** argv)
    : app_(offscreen(argc), argv)
    , scripts_(temp_.path() + QStringLiteral("/scripts"))
{
}

int& WindowBench::offscreen(int& argc)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

void showLoaded(MainWindow& window)
{
    window.loadCategories();
    window.show();
    QApplication::processEvents();
}

std::vector<int> countsToCompare(const char* variable, int usual)
{
    std::vector<int> counts;
    for (const QString& n : qEnvironmentVariable(variable).split(u',', Qt::SkipEmptyParts))
        counts.push_back(n.toInt());
    if (counts.empty())
        counts.push_back(usual);
    return counts;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void writeOrDie(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

double timeOf(const std::function<void()>& fn)
{
    QElapsedTimer t;
    t.start();
    fn();
    return t.nsecsElapsed() / 1e9;
}

bool dropCaches(QString* why)
{
    ::sync();
    QFile drop(QStringLiteral("/proc/sys/vm/drop_caches"));
    if (!drop.open(QIODevice::WriteOnly) || drop.write("3\n") != 2) {
        *why = QStringLiteral("cannot write /proc/sys/vm/drop_caches (%1); needs root")
                   .arg(drop.errorString());
        return false;
    }
    return true;
}

std::vector<QByteArray> filesUnder(const QString& root)
{
    std::vector<QByteArray> paths;
    const QStringList folders = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& folder : folders) {
        const QByteArray dir = QFile::encodeName(root + u'/' + folder) + '/';
        DIR* d = ::opendir(dir.constData());
        if (!d)
            continue;
        while (const dirent* e = ::readdir(d))
            if (e->d_type == DT_REG)
                paths.push_back(dir + e->d_name);
        ::closedir(d);
    }
    return paths;
}

qint64 readSerially(const std::vector<QByteArray>& paths)
{
    static char buffer[64 * 1024];
    qint64 total = 0;
    for (const QByteArray& p : paths) {
        const int fd = ::open(p.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            total += n;
        ::close(fd);
    }
    return total;
}

QString runs(const std::vector<double>& seconds)
{
    QStringList out;
    for (double s : seconds)
        out << QString::number(s, 'f', 3);
    return out.join(u' ');
}

}  // namespace corvane::bench
