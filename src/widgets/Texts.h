#pragma once

#include <QString>

// The sentences the program says about its library, composed from what the
// operations report.
namespace corvane::texts {

QString quoted(const QString& name);

// The refusal of a name that must not reach the file system, or empty when it is
// safe. A script's name is judged as the file name it becomes.
QString unsafeName(const QString& name);
QString unsafeScriptName(const QString& name);

// "Você tem certeza que quer renomear" the old name to the new one.
QString renameQuestion(const QString& oldName, const QString& newName);
// 'O nome "x" já existe!'
QString alreadyPresent(const QString& name);

// A refusal after the confirmation: the usual "not done" line, then why.
QString notDone(const QString& result, const QString& reason);
QString unencodable(char32_t c);
// Why a write failed: a full disk is named as such.
QString writeFailure(const QString& what, int error);
// The refusal of a change that links would carry outside the library.
QString outsideLibrary(const QString& what);
// The refusal of a script whose text is too big to open.
QString tooBig(const QString& name);

// The enlarging magnifiers pressed with no file chosen, and that warning's title.
QString fileNeeded();
QString viewingTitle();
// The viewer's magnifiers: the tool tip and the name a screen reader reads.
QString magnifierTip(bool larger);
QString magnifierName(bool larger);
// An empty name box or search box.
QString nameNeeded();

}  // namespace corvane::texts
