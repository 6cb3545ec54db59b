#pragma once

#include <QString>
#include <QStringView>

namespace corvane::names {

inline constexpr int kCategoryMax = 20;
inline constexpr int kScriptMax = 30;

// The 66 characters a typed name may hold.
const QString& allowedSet();
bool isAllowed(QChar c);

// Key filter of the name boxes: the decimal text of the code to pass on, or "0"
// for a refused key. Backspace (8) always passes.
QString SoNumeros(int keyCode);

// Text without the space characters at its start and end; other blanks stay.
QString trimBlanks(QStringView text);

// The allowed characters of text, in order; what a paste or a drop may insert.
QString filtered(QStringView text);

// Why a name cannot be used as a folder or file name in the library. Guards
// names that arrive unfiltered (double-click, other programs) before they reach
// the file system.
struct Problem {
    enum Kind { None, Empty, Separator, Control, Forbidden, OnlyDots, LeadingDot, TrailingDotOrSpace,
                LeadingSpace, Reserved, TooLong };
    Kind kind = None;
    QChar character;  // for Forbidden
    explicit operator bool() const { return kind != None; }
};
Problem problemOf(const QString& name);

}  // namespace corvane::names
