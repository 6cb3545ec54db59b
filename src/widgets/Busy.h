#pragma once

#include <functional>

namespace corvane {

// Runs work on a thread of its own under the busy cursor while this thread keeps
// the windows painted, so a long search or copy never leaves a frozen ghost
// behind. Clicks and keys wait until work is done: nothing can change under it.
void runBusy(const std::function<void()>& work);

}  // namespace corvane
