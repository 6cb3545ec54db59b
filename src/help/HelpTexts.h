#pragma once

#include <QString>

// The eighteen named help strings and the three topics built from them.
namespace corvane::help {

enum class Topic { Ini, Cat, File };

// The string of the table called name ("lblIniText1" ... "lblFileText8"); empty
// for an unknown name.
QString text(const char* name);

// A topic: its strings joined by CR LF line breaks, none before the first string
// or after the last.
QString topic(Topic which);

}  // namespace corvane::help
