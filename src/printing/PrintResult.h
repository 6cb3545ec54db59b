#pragma once

namespace corvane::printing {

// What sending a page to the printer came to.
enum class Result {
    Done,
    NoPrinter,    // no default printer is installed
    PrintFailed,  // the printer would not take the page
};

}  // namespace corvane::printing
