#include "library/Parallel.h"

#include <system_error>
#include <thread>
#include <vector>

namespace corvane::parallel {

void forEach(qsizetype count, int threads, const std::function<void(qsizetype, int)>& work,
             const std::atomic<bool>* stop)
{
    std::atomic<qsizetype> next{0};
    const auto run = [&](int worker) {
        while (!(stop && stop->load(std::memory_order_acquire))) {
            const qsizetype index = next.fetch_add(1, std::memory_order_relaxed);
            if (index >= count)
                return;
            work(index, worker);
        }
    };
    std::vector<std::thread> pool;
    const int extra = int(qMin<qsizetype>(threads, count)) - 1;
    for (int worker = 1; worker <= extra; ++worker) {
        try {
            pool.emplace_back(run, worker);
        } catch (const std::system_error&) {
            break;  // fewer threads still do all the work
        }
    }
    run(0);
    for (std::thread& t : pool)
        t.join();
}

}  // namespace corvane::parallel
