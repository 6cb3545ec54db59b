#pragma once

#include <QDate>

#include <functional>
#include <memory>

class QPrinter;

// The two things printing takes from the system, each replaceable in one place:
// the printer a page goes to and today's date for the preview heading.
namespace corvane::printing {

using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;

// The system's default printer in colour, at its own resolution and paper;
// null when no printer is installed.
std::unique_ptr<QPrinter> openPrinter();

// Points printing somewhere else (a PDF file, no printer at all); an empty
// function restores the system's default printer.
void setPrinterFactory(PrinterFactory factory);

QDate today();
void setToday(std::function<QDate()> today);

}  // namespace corvane::printing
