#include "BenchSupport.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace corvane::bench {

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

}  // namespace corvane::bench
