#pragma once

#include "library/Library.h"
#include "library/Outcome.h"

// What may be done to a category, checked and done in one call each. A category
// is named by its folder's bytes on disk, a new name as typed. The checks run
// again when the change is made: the disk may have changed while the user was
// asked.
namespace corvane::categories {

// A new folder in the scripts folder: NameTaken (any letter case) or WriteFailed.
Outcome add(const Library& library, const QString& name);

// Whether the category may take the new name before asking: NameTaken when
// another entry has it in any letter case (a case-only change is free).
Outcome checkRename(const Library& library, const QByteArray& category, const QString& newName);
// NotFound, NameTaken or WriteFailed. A link is renamed as a link.
Outcome rename(const Library& library, const QByteArray& category, const QString& newName);

// Whether the folder may go as a whole: NotFound, Unreadable, or NotOnlyScripts
// when it holds sub-folders or hidden files, which are no scripts.
Outcome checkRemove(const Library& library, const QByteArray& category);
// To the trash, whole, or for good where there is none (a link as a link):
// WriteFailed when anything is left.
Outcome remove(const Library& library, const QByteArray& category);

}  // namespace corvane::categories
