#include <signal.h>

#include "interrupt_signals.h"

namespace ovd {

namespace {

constexpr int kSignals[2] = {SIGINT, SIGTERM};

// The handler may run on any thread of the process and may only touch lock-free atomics.
std::atomic<bool> g_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int)
{
    g_requested.store(true);
    // From now on both signals end the program (sigaction is async-signal-safe); one that
    // was left ignored stays ignored.
    struct sigaction dfl { };
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    for (int s : kSignals) {
        struct sigaction now { };
        if (sigaction(s, nullptr, &now) == 0 && now.sa_handler == onInterrupt)
            sigaction(s, &dfl, nullptr);
    }
}

}  // namespace

struct InterruptSignals::Saved {
    struct sigaction previous[2];
    bool installed[2] = {false, false};
};

InterruptSignals::InterruptSignals()
    : m_saved(std::make_unique<Saved>())
{
    g_requested.store(false);
    struct sigaction act { };
    act.sa_handler = onInterrupt;
    sigemptyset(&act.sa_mask);
    for (int s : kSignals)
        sigaddset(&act.sa_mask, s);
    // No SA_RESTART: a question waiting on the terminal returns at once instead of
    // blocking the stop. Reads and writes of regular files are never interrupted.
    act.sa_flags = 0;
    for (int i = 0; i < 2; ++i) {
        if (sigaction(kSignals[i], nullptr, &m_saved->previous[i]) != 0)
            continue;
        if (m_saved->previous[i].sa_handler == SIG_IGN)
            continue;
        m_saved->installed[i] = sigaction(kSignals[i], &act, nullptr) == 0;
    }
}

InterruptSignals::~InterruptSignals()
{
    for (int i = 0; i < 2; ++i)
        if (m_saved->installed[i])
            sigaction(kSignals[i], &m_saved->previous[i], nullptr);
}

const std::atomic<bool>& InterruptSignals::flag()
{
    return g_requested;
}

}  // namespace ovd
