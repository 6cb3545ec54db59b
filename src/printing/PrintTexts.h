#pragma once

#include "printing/PrintResult.h"

#include <QDate>
#include <QString>

// What the print window says.
namespace corvane::printTexts {

QString title();
// ":: name  -  dd-mm-yyyy ::"
QString heading(const QString& scriptName, const QDate& day);
// Why a page was not printed; empty when it was.
QString failure(printing::Result result);

}  // namespace corvane::printTexts
