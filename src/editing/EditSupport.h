#pragma once

#include <QString>
#include <QStringList>

class QListWidget;

namespace corvane {

class MainWindow;

namespace edit {

// The entry of dir (hidden and system ones included) whose name equals name
// ignoring case, other than the entry named exactly except; empty for none.
// Guards every rename and add against replacing or merging into another entry.
QString entryTaken(const QString& dir, const QString& name, const QString& except = {});

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

}  // namespace edit
}  // namespace corvane
