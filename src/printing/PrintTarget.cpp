#include "printing/PrintTarget.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace corvane::printing {
namespace {

PrinterFactory& factory()
{
    static PrinterFactory f;
    return f;
}

std::function<QDate()>& todaySource()
{
    static std::function<QDate()> f;
    return f;
}

std::unique_ptr<QPrinter> systemDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

}  // namespace

std::unique_ptr<QPrinter> openPrinter()
{
    return factory() ? factory()() : systemDefaultPrinter();
}

void setPrinterFactory(PrinterFactory f)
{
    factory() = std::move(f);
}

QDate today()
{
    return todaySource() ? todaySource()() : QDate::currentDate();
}

void setToday(std::function<QDate()> f)
{
    todaySource() = std::move(f);
}

}  // namespace corvane::printing
