#pragma once

#include "editing/EditingTexts.h"
#include "library/Library.h"

#include <QObject>

class QWidget;

namespace corvane {

class KeyedList;
class NameBox;
class TextViewer;

// Adding, renaming and deleting scripts: the name typed in the script name box,
// the selected entries and the viewer's text.
class ScriptEditor : public QObject {
    Q_OBJECT
public:
    ScriptEditor(const Library& library, QWidget* window, const KeyedList& categories, KeyedList& scripts,
                 NameBox& name, TextViewer& viewer);

    void add();
    void rename();
    void remove();
    // Moves the script entry into the category entry, after a question.
    void move(const Item& script, const Item& category);

signals:
    // The lists no longer match the disk: reread them, keeping the choices.
    void listsStale();
    void scriptDeleted();
    // The script left the chosen category; chosen tells whether it was the one shown.
    void scriptMoved(bool chosen);

private:
    // A box titled for the act.
    void say(const QString& text, editing::Act act) const;
    const Library& library_;
    QWidget* window_;
    const KeyedList& categories_;
    KeyedList& scripts_;
    NameBox& name_;
    TextViewer& viewer_;
};

}  // namespace corvane
