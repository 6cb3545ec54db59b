#pragma once

#include "library/Outcome.h"

#include <QString>

// Every sentence the editors show, composed from what the library's operations
// report.
namespace corvane::editing {

enum class Act { AddScript, RenameScript, DeleteScript, MoveScript, SaveScript, AddCategory, RenameCategory, DeleteCategory };

struct Words {
    QString title;          // of the refusals and the result
    QString questionTitle;  // of the confirmation
    QString notDone;        // "Script não adicionado!"
    QString done;           // "Script renomeado!"; empty where nothing is said
};
const Words& words(Act act);

// What an act concerns, as the window shows it.
struct Subject {
    QString name;      // the script or category acted on
    QString category;  // the script's category
    QString newName;   // as typed, for a rename
};
// The "not done" line and why, for an outcome that is not Done.
QString refusal(Act act, const Outcome& outcome, const Subject& subject);

QString needName();          // an empty name for a new script
QString needNewName();
QString needScript();
QString needCategory();
QString needFileName();      // saving a script with no name
QString deleteScriptQuestion(const QString& name);
QString deleteCategoryQuestion(const QString& name);
QString saveQuestion();
QString changedOnDiskQuestion(const QString& name);
QString moveQuestion(const QString& name, const QString& from, const QString& to);
QString unsavedBeforeMove(const QString& name);

}  // namespace corvane::editing
