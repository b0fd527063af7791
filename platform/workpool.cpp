#include "workpool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace zk {

namespace {

thread_local bool t_inPool = false;

class Pool {
public:
    ~Pool()
    {
        {
            std::lock_guard<std::mutex> g(m_);
            stop_ = true;
        }
        wake_.notify_all();
        for (std::thread &t : threads_) t.join();
    }

    // Runs task on the calling thread and on `helpers` pool threads; false
    // when the pool is busy with another call.
    bool run(const std::function<void()> &task, int helpers)
    {
        std::unique_lock<std::mutex> busy(runMutex_, std::try_to_lock);
        if (!busy.owns_lock()) return false;
        {
            std::lock_guard<std::mutex> g(m_);
            while (int(threads_.size()) < helpers) {
                const int index = int(threads_.size());
                threads_.emplace_back([this, index] { work(index); });
            }
            task_ = &task;
            wanted_ = helpers;
            ++generation_;
        }
        wake_.notify_all();
        task();
        std::unique_lock<std::mutex> g(m_);
        // No thread takes the task once the caller is through it; those that
        // took it are waited for (it lives on the caller's stack).
        task_ = nullptr;
        done_.wait(g, [this] { return running_ == 0; });
        return true;
    }

private:
    void work(int index)
    {
        t_inPool = true;
        unsigned seen = 0;
        std::unique_lock<std::mutex> g(m_);
        for (;;) {
            wake_.wait(g, [&] { return stop_ || generation_ != seen; });
            if (stop_) return;
            seen = generation_;
            if (!task_ || index >= wanted_) continue;
            const std::function<void()> *task = task_;
            ++running_;
            g.unlock();
            (*task)();
            g.lock();
            if (--running_ == 0) done_.notify_all();
        }
    }

    std::mutex runMutex_;
    std::mutex m_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    const std::function<void()> *task_ = nullptr;
    int wanted_ = 0, running_ = 0;
    unsigned generation_ = 0;
    bool stop_ = false;
};

Pool &pool()
{
    static Pool p;
    return p;
}

}  // namespace

void poolfor(int n, const std::function<void(int)> &body, int threads)
{
    if (n <= 0) return;
    threads = std::max(1, std::min(threads, n));
    std::atomic<int> next{0};
    const std::function<void()> task = [&] {
        for (int i = next.fetch_add(1, std::memory_order_relaxed); i < n;
             i = next.fetch_add(1, std::memory_order_relaxed))
            body(i);
    };
    if (threads == 1 || t_inPool || !pool().run(task, threads - 1)) task();
}

void poolbands(int rows, const std::function<void(int, int)> &body, int threads)
{
    if (rows <= 0) return;
    if (threads <= 1) {
        body(0, rows);
        return;
    }
    const int bands = 4 * threads;
    const int step = (rows + bands - 1) / bands;
    poolfor(bands, [&](int b) {
        const int from = b * step, to = std::min(rows, from + step);
        if (from < to) body(from, to);
    }, threads);
}

}  // namespace zk
