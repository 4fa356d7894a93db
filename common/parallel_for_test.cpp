#include "common/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace ovd {
namespace {

TEST(ParallelFor, EveryIndexOnceOnEachWorkersOwnSlot)
{
    for (unsigned threads : {1u, 2u, 5u}) {
        std::vector<std::atomic<int>> seen(1000);
        std::vector<std::atomic<int>> byWorker(threads);
        parallelFor(threads, seen.size(), [&](std::size_t i, unsigned worker) {
            ++seen[i];
            ASSERT_LT(worker, threads);
            ++byWorker[worker];
        });
        int total = 0;
        for (const auto& s : seen)
            EXPECT_EQ(s.load(), 1);
        for (const auto& w : byWorker)
            total += w.load();
        EXPECT_EQ(total, 1000);
    }
    parallelFor(3, 0, [](std::size_t, unsigned) { FAIL() << "no index to hand out"; });
}

TEST(ParallelFor, AnExceptionReachesTheCallerAndStopsTheHandOut)
{
    std::atomic<int> calls{0};
    EXPECT_THROW(parallelFor(2, 100000,
                             [&](std::size_t i, unsigned) {
                                 ++calls;
                                 if (i == 10)
                                     throw std::runtime_error("stop");
                                 // Slow enough that the other worker cannot run through every
                                 // index while the thrower waits for a processor.
                                 std::this_thread::sleep_for(std::chrono::microseconds(20));
                             }),
                 std::runtime_error);
    EXPECT_LT(calls.load(), 100000);
}

// A body that answers false ends the hand-out: the helpers stop, join returns.
TEST(ParallelFor, FalseEndsTheHandOut)
{
    std::atomic<int> calls{0};
    ParallelFor pool(3, 1000000, [&](std::size_t i, unsigned) {
        ++calls;
        if (i >= 20)  // slow after the first false, so that no worker runs far before the stop is seen
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        return i < 20;
    });
    pool.join();
    EXPECT_LT(calls.load(), 1000);
    EXPECT_GE(calls.load(), 21);
}

}  // namespace
}  // namespace ovd
