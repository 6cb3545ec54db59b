#pragma once

#include <QtGlobal>

#include <atomic>
#include <functional>

namespace corvane::parallel {

// Calls work(index, worker) for every index below count on up to `threads`
// threads, the calling one among them; worker numbers the thread from 0, so
// each can keep a buffer of its own. Indexes are handed out one at a time in
// increasing order, so when one is handed out every smaller one already has a
// thread. Once *stop is true no further index is handed out. Returns when every
// handed-out call has returned.
void forEach(qsizetype count, int threads, const std::function<void(qsizetype index, int worker)>& work,
             const std::atomic<bool>* stop = nullptr);

}  // namespace corvane::parallel
