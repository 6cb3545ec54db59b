#pragma once

#include <QString>

class QPlainTextEdit;

namespace corvane {

// The box's whole text with LF line breaks. Unlike toPlainText() it keeps
// no-break spaces, which a script may hold; saving, copying and printing read it.
QString plainText(const QPlainTextEdit* box);
// The box's selected text likewise; empty without a selection.
QString plainSelection(const QPlainTextEdit* box);

}  // namespace corvane
