#include <windows.h>

#include "interrupt_signals.h"

namespace ovd {

namespace {

std::atomic<bool> g_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// Windows runs the handler on a thread of its own.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        // The first one only asks for the stop; a later one goes on to the default handler,
        // which ends the program at once.
        return g_requested.exchange(true) ? FALSE : TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // Windows ends the program when the handler returns (or after about 5 s): the tool
        // gets that time to stop as asked and write its checkpoint; the process ends with it.
        g_requested.store(true);
        Sleep(4500);
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

struct InterruptSignals::Saved {
    bool installed = false;
};

InterruptSignals::InterruptSignals()
    : m_saved(std::make_unique<Saved>())
{
    g_requested.store(false);
    // A program started with Ctrl+C ignored (a detached job) does not get it: it stays ignored.
    m_saved->installed = SetConsoleCtrlHandler(onConsoleEvent, TRUE) != 0;
}

InterruptSignals::~InterruptSignals()
{
    if (m_saved->installed)
        SetConsoleCtrlHandler(onConsoleEvent, FALSE);
}

const std::atomic<bool>& InterruptSignals::flag()
{
    return g_requested;
}

}  // namespace ovd
