#include "browse/ListRules.h"

#include <algorithm>
#include <array>

namespace corvane::rules {
namespace {

using enum Control;

const std::array<Rule, 11> kRules{{
    {Event::Start, {ScriptName, RenameScript, DeleteScript, Save, Copy, Print}, {}},
    {Event::CategorySelected, {}, {CategoryName, ScriptName, AddScript}},
    {Event::CategoryListFocused,
     {ScriptName, DeleteScript, RenameScript, Save, Copy, Print},
     {CategoryName, DeleteCategory, RenameCategory, AddCategory, AddScript}},
    {Event::ScriptSelected,
     {DeleteCategory, RenameCategory, AddCategory, CategoryName},
     {ScriptName, DeleteScript, RenameScript, AddScript, Save, Copy, Print}},
    // Saving over a script that was never loaded would throw its text away.
    {Event::ScriptTooBig, {Save}, {}},
    {Event::ScriptDeleted, {Save, Copy, Print}, {}},
    {Event::ViewerEnlarged, {RenameScript, AddScript, DeleteScript}, {}},
    {Event::ViewerRestored, {}, {RenameScript, AddScript, DeleteScript}},
    {Event::SearchOpened,
     {AddCategory, RenameCategory, DeleteCategory, AddScript, RenameScript, DeleteScript, Save, Copy, Print},
     {}},
    {Event::SearchClosed, {}, {AddCategory, RenameCategory, DeleteCategory, AddScript, RenameScript, DeleteScript, Save}},
    {Event::ResultShown, {}, {Copy, Print}},
}};

}  // namespace

const Rule& ruleFor(Event event)
{
    const auto found = std::find_if(kRules.begin(), kRules.end(), [event](const Rule& r) { return r.event == event; });
    if (found != kRules.end())
        return *found;
    // An event without a row changes no control.
    static const Rule none{};
    return none;
}

}  // namespace corvane::rules
