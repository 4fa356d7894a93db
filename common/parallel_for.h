#pragma once
// Indexes 0 .. count - 1 handed out in ascending order to a few threads, each index once.
// Which thread takes which index varies from run to run, so a body must not let its result
// depend on that (the worker number only selects the thread's own scratch space).
#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ovd {

class ParallelFor {
public:
    // body(index, worker) returns false to hand out no further index (to any thread).
    using Body = std::function<bool(std::size_t index, unsigned worker)>;

    // Starts `helpers` threads, workers 1 to helpers.
    ParallelFor(unsigned helpers, std::size_t count, Body body);
    ~ParallelFor();
    ParallelFor(const ParallelFor&) = delete;
    ParallelFor& operator=(const ParallelFor&) = delete;

    // Waits for every thread; an exception thrown by a body is thrown here (the first one;
    // the hand-out stops with it).
    void join();
    // The calling thread takes indexes too, as worker 0, until none is left.
    void work();

    // `requested` threads (0: one per core), but not more than there are indexes.
    static unsigned threadCount(unsigned requested, std::size_t count);

private:
    void run(unsigned worker);

    std::size_t m_count;
    Body m_body;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_errorMutex;
    std::exception_ptr m_error;
    std::vector<std::thread> m_threads;
};

// The calling thread works as worker 0 beside threads - 1 more (0: one per core) and
// returns when every index is done; a body's exception is thrown here.
void parallelFor(unsigned threads, std::size_t count, const std::function<void(std::size_t index, unsigned worker)>&);

}  // namespace ovd
