#pragma once

#include "library/Library.h"
#include "library/Outcome.h"
#include "library/ScriptFile.h"

#include <optional>

// What may be done to a script, checked and done in one call each. A category
// and a script are named by their bytes on disk, a new name as typed. The checks
// run again when the change is made: the disk may have changed while the user
// was asked.
namespace corvane::scripts {

// A new script of that name and text in the category. NameTaken (any letter
// case), FolderMissing, OutsideLibrary, Unencodable or WriteFailed.
Outcome add(const Library& library, const QByteArray& category, const QString& name, QStringView text);

// Whether the entry may take the new name before asking: NameTaken when another
// entry has it in any letter case (a case-only change of the same file is free).
Outcome checkRename(const Library& library, const QByteArray& category, const QByteArray& entry,
                    const QString& newName);
// NotFound (the entry is no script file, or gone), OutsideLibrary, NameTaken or
// WriteFailed. A link is renamed as a link.
Outcome rename(const Library& library, const QByteArray& category, const QByteArray& entry, const QString& newName);

// To the trash, or for good where there is none. NotFound (no script file, a
// folder of that name is left alone), OutsideLibrary or WriteFailed. A link
// loses the link only.
Outcome remove(const Library& library, const QByteArray& category, const QByteArray& entry);

// Before replacing a script's text: OutsideLibrary when its category or its link
// leads outside the library, ChangedOnDisk when another program changed the file
// since loaded was taken (a file removed meanwhile is simply written again).
Outcome checkSave(const Library& library, const ScriptRef& script, const std::optional<script::Snapshot>& loaded);
// Replaces the whole file (where a link leads, inside the library) through a
// temporary: OutsideLibrary, Unencodable or WriteFailed, the old bytes kept.
Outcome save(const Library& library, const ScriptRef& script, QStringView text, script::Snapshot* written = nullptr);

}  // namespace corvane::scripts
