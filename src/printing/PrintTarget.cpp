#include "printing/PrintTarget.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace corvane::printing {

std::unique_ptr<QPrinter> defaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

}  // namespace corvane::printing
