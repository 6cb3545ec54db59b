#pragma once

#include "library/Library.h"
#include "library/Outcome.h"

namespace corvane {

// A script file to go from one category to another, all by their bytes on disk.
struct ScriptMove {
    QByteArray fileName;
    QByteArray from;
    QByteArray to;
};

// Why the move cannot be made, or Done when it can; nothing is changed. Only a
// script file moves, and only when it is there, the target category's folder
// is there, both folders lie inside the library once links are resolved, and
// the target holds no entry of the file's name in any letter case.
Outcome checkMove(const Library& library, const ScriptMove& move);
// Checks again, then moves the file with its name and bytes (a link as a link).
Outcome moveScript(const Library& library, const ScriptMove& move);

}  // namespace corvane
