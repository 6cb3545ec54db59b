#pragma once

#include "library/Fs.h"

// What the platform files of the file-system door share: the error kept for
// lastError() and the test seams. Fs.cpp holds them; nothing outside Fs*.cpp
// includes this.
namespace corvane::fs::detail {

// Keeps error for lastError() and returns false, so a failure reads
// `return fail(errno);`.
bool fail(int error);
// One writing step; false, with EIO kept, when the test seam makes this one fail.
bool step();
// Each read waits this long when a test makes the disk slow.
void readPause();
// Whether a test makes the file system keep no locks.
bool locksMissing();

}  // namespace corvane::fs::detail
