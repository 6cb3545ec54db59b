#pragma once

#include <QDate>

#include <functional>
#include <memory>

#include <QPrinter>

// What printing takes from the system: the printer a page goes to and today's
// date for the preview heading. Tests point them elsewhere.
namespace corvane::printing {

using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;

// The system's default printer in colour, at its own resolution and paper;
// null when no printer is installed.
std::unique_ptr<QPrinter> defaultPrinter();

struct PrintSystem {
    PrinterFactory printer = &defaultPrinter;
    std::function<QDate()> today = &QDate::currentDate;
};

}  // namespace corvane::printing
