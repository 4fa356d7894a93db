#include "common/parallel_for.h"

#include <algorithm>
#include <utility>

namespace ovd {

unsigned ParallelFor::threadCount(unsigned requested, std::size_t count)
{
    if (requested == 0)
        requested = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<std::size_t>(requested, std::max<std::size_t>(count, 1)));
}

ParallelFor::ParallelFor(unsigned helpers, std::size_t count, Body body)
    : m_count(count)
    , m_body(std::move(body))
{
    for (unsigned w = 1; w <= helpers; ++w)
        m_threads.emplace_back([this, w] { run(w); });
}

ParallelFor::~ParallelFor()
{
    m_stop = true;
    for (std::thread& t : m_threads)
        if (t.joinable())
            t.join();
}

void ParallelFor::run(unsigned worker)
{
    try {
        while (!m_stop) {
            const std::size_t i = m_next.fetch_add(1);
            if (i >= m_count)
                return;
            if (!m_body(i, worker)) {
                m_stop = true;
                return;
            }
        }
    } catch (...) {
        std::lock_guard lock(m_errorMutex);
        if (!m_error)
            m_error = std::current_exception();
        m_stop = true;
    }
}

void ParallelFor::work()
{
    run(0);
}

void ParallelFor::join()
{
    for (std::thread& t : m_threads)
        if (t.joinable())
            t.join();
    if (m_error)
        std::rethrow_exception(std::exchange(m_error, nullptr));
}

void parallelFor(unsigned threads, std::size_t count, const std::function<void(std::size_t, unsigned)>& body)
{
    ParallelFor pool(ParallelFor::threadCount(threads, count) - 1, count, [&](std::size_t i, unsigned worker) {
        body(i, worker);
        return true;
    });
    pool.work();
    pool.join();
}

}  // namespace ovd
