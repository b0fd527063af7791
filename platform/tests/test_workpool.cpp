// The pool of threads: every index of a range is run exactly once, on as
// many threads as asked, also when a body calls the pool again; bands of
// rows cover every row exactly once and never overlap.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "workpool.h"

namespace {

TEST(WorkPool, EveryIndexOnceOnSeveralThreads)
{
    for (int threads : {1, 2, 4, 8})
        for (int n : {0, 1, 3, 100, 5000}) {
            std::vector<std::atomic<int>> hits(static_cast<size_t>(n));
            std::mutex m;
            std::set<std::thread::id> seen;
            zk::poolfor(n, [&](int i) {
                hits[size_t(i)].fetch_add(1);
                // Long enough for the other threads to take some.
                volatile double x = 0;
                for (int k = 0; k < 2000; ++k) x = x + k;
                std::lock_guard<std::mutex> g(m);
                seen.insert(std::this_thread::get_id());
            }, threads);
            for (int i = 0; i < n; ++i) EXPECT_EQ(hits[size_t(i)].load(), 1) << i << " of " << n;
            EXPECT_LE(int(seen.size()), threads);
            if (threads == 1 && n > 0) EXPECT_EQ(seen, std::set<std::thread::id>{std::this_thread::get_id()});
        }
}

TEST(WorkPool, CallFromInsideABodyRunsWhole)
{
    std::atomic<int> inner{0};
    zk::poolfor(8, [&](int) { zk::poolfor(10, [&](int) { inner.fetch_add(1); }, 4); }, 4);
    EXPECT_EQ(inner.load(), 80);
}

TEST(WorkPool, BandsCoverEveryRowOnce)
{
    for (int threads : {1, 2, 3, 8})
        for (int rows : {0, 1, 7, 31, 32, 33, 1001}) {
            std::vector<std::atomic<int>> hits(static_cast<size_t>(rows));
            std::atomic<int> bands{0};
            zk::poolbands(rows, [&](int from, int to) {
                EXPECT_LT(from, to);
                EXPECT_GE(from, 0);
                EXPECT_LE(to, rows);
                bands.fetch_add(1);
                for (int r = from; r < to; ++r) hits[size_t(r)].fetch_add(1);
            }, threads);
            for (int r = 0; r < rows; ++r) EXPECT_EQ(hits[size_t(r)].load(), 1) << "row " << r << " of " << rows;
            if (threads == 1) EXPECT_EQ(bands.load(), rows > 0 ? 1 : 0);
            else EXPECT_LE(bands.load(), 4 * threads);
        }
}

}  // namespace
