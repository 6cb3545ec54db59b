#pragma once

#include "library/Fs.h"

namespace corvane {

// Moves a file, a link or a category's folder to the trash, so the user can
// restore it; only where no trash can take it is it deleted for good (a link as
// a link, a folder's files then the folder). False when anything is left; the
// system's code of the failed step is in fs::lastError().
bool discard(const fs::Path& path);

}  // namespace corvane
