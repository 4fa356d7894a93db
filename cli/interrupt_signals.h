#pragma once
// Ctrl+C and SIGTERM as a request to stop: while an InterruptSignals object lives, the first
// SIGINT or SIGTERM only sets a flag (the running tool sees it through its Reporter's
// cancelled() and stops as at the "Přerušit" button); any later one has the default action,
// so a second Ctrl+C ends the program at once. A signal that was ignored when the object
// was made (a background job of a script) stays ignored. One object at a time.
#include <atomic>
#include <signal.h>

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
    struct sigaction m_previous[2];
    bool m_installed[2] = {false, false};
};

}  // namespace ovd
