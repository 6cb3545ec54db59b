#pragma once

#include <QString>

// What the main window and the start-up notice say.
namespace corvane::appTexts {

QString noticeTitle();
// The scripts folder was missing and is made anew; four lines, each ending in
// a plain line break.
QString noticeText();
QString noticeWarning();

}  // namespace corvane::appTexts
