#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

namespace corvane {

class MainWindow;

namespace edit {

// The message for the first name that must not reach the file system, or empty.
QString unsafeCategory(const QString& category);
QString unsafeScript(const QString& name);

// Inserts name at its sorted place; the selection stays on its entry and no
// selection rule runs.
void insertSorted(QListWidget* list, const QString& name);
// Removes the selected entry and leaves nothing selected, running no rule.
void removeSelected(QListWidget* list);

// Rereads both lists from the disk after a failure, keeping the selected entries
// where they still exist. No selection rule runs, so the viewer keeps its text.
void resyncLists(MainWindow& window);

// Rereads the category list and selects its first entry, which reloads the
// scripts; with no category left, the script side is emptied.
void reloadCategories(MainWindow& window);
// Selects the first category (the rule runs only when that is a change); with
// the list empty, empties the script side.
void selectFirstCategory(MainWindow& window);

// A refusal after the confirmation: the usual "not done" line, then why.
QString notDone(const QString& result, const QString& reason);
QString unencodableReason(char32_t c);
// Why a write failed, for the user: a full disk is named as such.
QString writeFailure(const QString& what, int error);
// The refusal of a change that links would carry outside the library.
QString outsideLibrary(const QString& what);

}  // namespace edit
}  // namespace corvane
