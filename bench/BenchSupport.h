#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace corvane::bench {

double median(std::vector<double> values);

// Writes a generated file; a benchmark cannot go on without it.
void writeOrDie(const QString& path, const QByteArray& bytes);

}  // namespace corvane::bench
