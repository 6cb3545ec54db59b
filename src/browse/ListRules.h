#pragma once

#include <QList>

namespace corvane {

// Which editing controls are usable after each event of the lists, in one table.
namespace rules {

enum class Control {
    CategoryName, AddCategory, RenameCategory, DeleteCategory,
    ScriptName, AddScript, RenameScript, DeleteScript,
    Save, Copy, Print,
};

enum class Event {
    Start,                // the window comes up, nothing chosen
    CategorySelected,     // a category is chosen
    CategoryListFocused,  // the focus moves into the category list
    ScriptSelected,       // a script is chosen
    ScriptTooBig,         // the chosen script is too big to load
    ScriptDeleted,
    ViewerEnlarged,
    ViewerRestored,
    SearchOpened,
    SearchClosed,
    ResultShown,          // a search result is in the viewer
};

struct Rule {
    Event event;
    QList<Control> off;  // made unusable first,
    QList<Control> on;   // then these made usable
};

// The event's row; one that changes nothing for an event the table lacks.
const Rule& ruleFor(Event event);

}  // namespace rules
}  // namespace corvane
