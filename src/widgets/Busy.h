#pragma once

#include <functional>

namespace corvane {

// Runs work on a thread of its own under the busy cursor while this thread keeps
// the windows painted, so a long search or copy never leaves a frozen ghost
// behind. Clicks and keys wait until work is done: nothing can change under it.
void runBusy(const std::function<void()>& work);

// The same for work that can be stopped: while it runs, tick is called on this
// thread every tenth of a second, and Esc calls stop, also on this thread; any
// other click or key is dropped.
void runStoppable(const std::function<void()>& work, const std::function<void()>& tick,
                  const std::function<void()>& stop);

}  // namespace corvane
