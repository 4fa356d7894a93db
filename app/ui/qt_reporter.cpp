#include "qt_reporter.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <exception>
#include <thread>

#include "common/tool.h"
#include "prompter.h"
#include "ui_common/qt_text.h"

namespace ovd::mainui {

namespace {

bool onGuiThread()
{
    return QThread::currentThread() == qApp->thread();
}

}  // namespace

// Called on the GUI thread itself, the function runs at once (a blocking hop to our own
// thread would deadlock); from the worker, the worker waits until the GUI thread ran it.
template <class F> auto QtReporter::onGuiThread(F&& f) -> decltype(f())
{
    if (mainui::onGuiThread()) {
        refresh();
        return f();
    }
    decltype(f()) result{};
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            refresh();
            result = f();
        },
        Qt::BlockingQueuedConnection);
    return result;
}

void QtReporter::message(Severity s, std::string_view caption, std::string_view text)
{
    std::string c(caption), t(text);
    onGuiThread([&] {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        m_prompter.message(s, c, t);
        QApplication::restoreOverrideCursor();
        return 0;
    });
}

Answer QtReporter::ask(const Question& q)
{
    if (m_unattended)
        return unattendedAnswer(q);
    return onGuiThread([&] {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        Answer a = m_prompter.ask(q);
        QApplication::restoreOverrideCursor();
        return a;
    });
}

void QtReporter::status(int line, std::string_view text)
{
    if (line < 0 || line > 1)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_status[line] = qs(text);
        m_statusDirty[line] = true;
        m_dirty = true;
    }
    if (mainui::onGuiThread() && !m_running)
        refresh();
}

void QtReporter::progress(long value, long maximum)
{
    {
        std::lock_guard lock(m_mutex);
        m_value = value;
        m_maximum = maximum;
        m_progressDirty = true;
        m_dirty = true;
    }
    if (mainui::onGuiThread() && !m_running)
        refresh();
}

void QtReporter::title(std::string_view t)
{
    {
        std::lock_guard lock(m_mutex);
        m_title = qs(t);
        m_titleDirty = true;
        m_dirty = true;
    }
    if (mainui::onGuiThread() && !m_running)
        refresh();
}

void QtReporter::refresh()
{
    QString status[2], title;
    bool statusDirty[2], progressDirty, titleDirty;
    long value, maximum;
    {
        std::lock_guard lock(m_mutex);
        if (!m_dirty)
            return;
        for (int i = 0; i < 2; ++i) {
            status[i] = m_status[i];
            statusDirty[i] = m_statusDirty[i];
            m_statusDirty[i] = false;
        }
        value = m_value;
        maximum = m_maximum;
        progressDirty = m_progressDirty;
        title = m_title;
        titleDirty = m_titleDirty;
        m_progressDirty = m_titleDirty = m_dirty = false;
    }
    if (!m_view)
        return;
    for (int i = 0; i < 2; ++i)
        if (statusDirty[i])
            m_view->showStatus(i, status[i]);
    if (progressDirty)
        m_view->showProgress(value, maximum);
    if (titleDirty)
        m_view->showTitle(title);
}

ToolStatus QtReporter::run(const std::function<ToolStatus()>& work)
{
    m_cancel = false;
    m_running = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(kRefreshMs);
    QObject::connect(&timer, &QTimer::timeout, [this] { refresh(); });
    timer.start();
    ToolStatus result = ToolStatus::Failed;
    std::thread worker([&] {
        try {
            result = work();
        } catch (const std::exception& e) {
            error(std::string("Výpočet skončil neočekávanou chybou: ") + e.what());
            result = ToolStatus::Failed;
        } catch (...) {
            error("Výpočet skončil neočekávanou chybou.");
            result = ToolStatus::Failed;
        }
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    timer.stop();
    m_running = false;
    refresh();
    QApplication::restoreOverrideCursor();
    return result;
}

}  // namespace ovd::mainui
