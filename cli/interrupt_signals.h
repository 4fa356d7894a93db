#pragma once
// Ctrl+C and SIGTERM as a request to stop: while an InterruptSignals object lives, the first
// SIGINT or SIGTERM only sets a flag (the running tool sees it through its Reporter's
// cancelled() and stops as at the "Přerušit" button); any later one has the default action,
// so a second Ctrl+C ends the program at once. A signal that was ignored when the object
// was made (a background job of a script) stays ignored. One object at a time.
// On Windows (interrupt_signals_win32.cpp) Ctrl+C and Ctrl+Break are the two signals, and
// closing the console window (or logging off) requests the stop too, with the few seconds
// Windows leaves the program before it ends it.
#include <atomic>
#include <memory>

namespace ovd {

class InterruptSignals {
public:
    InterruptSignals();
    ~InterruptSignals();  // the dispositions from before come back
    InterruptSignals(const InterruptSignals&) = delete;
    InterruptSignals& operator=(const InterruptSignals&) = delete;

    // Set by the handler; read by the reporter.
    static const std::atomic<bool>& flag();
    static bool requested() { return flag().load(); }

private:
    struct Saved;  // what the system had before, for the destructor
    std::unique_ptr<Saved> m_saved;
};

}  // namespace ovd
