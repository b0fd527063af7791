// Work split across the machine's cores: parallelfor runs a body for every
// index of a range on a few threads and returns when all are done. The body
// must not touch widgets or anything another index writes; the callers
// compute in parallel and paint afterwards on the calling thread.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

namespace zk {

// The number of threads a computation may use: the machine's hardware
// threads, or ZK_THREADS when set (1 runs everything on the calling thread).
inline int workercount()
{
    if (const char *e = std::getenv("ZK_THREADS")) {
        const int n = std::atoi(e);
        if (n >= 1) return std::min(n, 256);
    }
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

// Calls body(i) for every i in [0, n), on up to `threads` threads (the
// calling thread being one of them). Indices are handed out one at a time,
// so uneven work spreads evenly.
template <typename Body>
void parallelfor(int n, Body &&body, int threads = workercount())
{
    if (n <= 0) return;
    threads = std::clamp(threads, 1, n);
    if (threads == 1) {
        for (int i = 0; i < n; ++i) body(i);
        return;
    }
    std::atomic<int> next{0};
    auto work = [&]() {
        for (int i = next.fetch_add(1, std::memory_order_relaxed); i < n;
             i = next.fetch_add(1, std::memory_order_relaxed))
            body(i);
    };
    std::vector<std::thread> pool;
    pool.reserve(size_t(threads - 1));
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread &t : pool) t.join();
}

}  // namespace zk
