#pragma once

#include <QString>

#include <cstdio>

// The library from a terminal or a desktop shortcut: the same folder, the same
// reading and searching as the window, and nothing is ever written.
namespace corvane::cli {

// Prints a line "name --> category" for each script whose text holds text, in
// the window's order. 0 when something was found, 1 when nothing, 2 when the
// text cannot be searched or the library cannot be read.
int search(const QString& scriptsDir, const QString& text, std::FILE* out, std::FILE* err);

// Prints the text of the script "CATEGORY/NAME" as the viewer shows it (line
// breaks of the system, no line added). 0 when shown, 1 when there is no such
// script or it cannot be read.
int show(const QString& scriptsDir, const QString& what, std::FILE* out, std::FILE* err);

}  // namespace corvane::cli
