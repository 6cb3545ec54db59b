#pragma once

#include <QString>

// What the search panel says: its warnings and the header's lines while it is open.
namespace corvane::searchTexts {

// The title of the panel's warnings.
QString title();
// A search text of one character.
QString tooShort();
// The header's lines when the panel opens: what to do, and where it searches.
QString prompt();
QString scope();
// A long search's progress.
QString progress(qsizetype read, qsizetype total);
// The header's line after a search, finished or stopped with Esc.
QString outcome(qsizetype found, bool stopped);

}  // namespace corvane::searchTexts
