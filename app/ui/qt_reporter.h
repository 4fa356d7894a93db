#pragma once
// The Reporter of the main program. A tool runs on a worker thread; its messages and
// questions are carried to the GUI thread (the worker waits for the answer), its status
// lines and progress are collected and shown a few times a second.
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>

#include "common/tool.h"
#include "prompter.h"

namespace ovd::mainui {

// The part of a window that shows a run: progress bar, status lines, title.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void showStatus(int line, const QString& text) = 0;
    virtual void showProgress(long value, long maximum) = 0;
    virtual void showTitle(const QString&) { }
};

class QtReporter : public Reporter {
public:
    static constexpr int kRefreshMs = 150;

    // Messages and questions go to `prompter`, progress to `view`.
    QtReporter(Prompter& prompter, ProgressView* view = nullptr)
        : m_prompter(prompter)
        , m_view(view)
    { }

    void message(Severity, std::string_view caption, std::string_view text) override;
    Answer ask(const Question&) override;
    void status(int line, std::string_view text) override;
    void progress(long value, long maximum) override;
    void title(std::string_view) override;
    bool cancelled() const override { return m_cancel.load(); }

    // Unattended: nothing is asked; an overwrite question is answered Yes, any other No.
    void setUnattended(bool on) { m_unattended = on; }
    void requestCancel() { m_cancel = true; }
    bool running() const { return m_running; }

    // Runs the work on a worker thread while the event loop keeps turning; returns its status.
    // An exception escaping the work is reported and counts as a failure.
    ToolStatus run(const std::function<ToolStatus()>& work);
    // Shows what the worker reported since the last refresh (GUI thread).
    void refresh();

private:
    template <class F> auto onGuiThread(F&& f) -> decltype(f());

    Prompter& m_prompter;
    ProgressView* m_view;
    bool m_unattended = false;
    bool m_running = false;
    std::atomic<bool> m_cancel{false};

    std::mutex m_mutex;  // guards the pending values below
    bool m_dirty = false;
    QString m_status[2];
    bool m_statusDirty[2] = {false, false};
    long m_value = 0, m_maximum = 0;
    bool m_progressDirty = false;
    QString m_title;
    bool m_titleDirty = false;
};

}  // namespace ovd::mainui
