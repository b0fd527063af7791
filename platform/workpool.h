// A pool of threads kept for the whole run, for work split into many small
// parts one after another (a coverage plot hands out a block of radials at a
// time): starting threads for every block would cost more than the block.
// poolfor runs a body for every index of a range on the calling thread and
// the pool's threads, and returns when all are done. A call made while the
// pool is busy (from another thread, or from inside a body) runs on the
// calling thread alone.
#pragma once

#include <functional>

namespace zk {

// Calls body(i) for every i in [0, n), on up to `threads` threads (the
// calling thread being one of them; see workercount in parallel.h).
void poolfor(int n, const std::function<void(int)> &body, int threads);

// Calls body(from, to) for bands of rows that together cover [0, rows), a
// few bands per thread so that uneven ones even out; on one thread, one band
// of all the rows. Writers of an image's memory use it so that no two
// threads write the same row.
void poolbands(int rows, const std::function<void(int from, int to)> &body, int threads);

}  // namespace zk
