#include "termination.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace ovd {

namespace {

int g_pipe[2] = {-1, -1};
std::function<void()> g_onRequest;

extern "C" void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(g_pipe[0], &byte, 1);
    errno = saved;
}

constexpr int kRetryMs = 250;

}  // namespace

void onTerminationRequest(std::function<void()> onRequest)
{
    g_onRequest = std::move(onRequest);
    if (g_pipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pipe) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;  // the default handlers stay: the program still ends on the signal
    }
    auto* notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char buffer[16];
        while (::read(g_pipe[1], buffer, sizeof buffer) > 0) { }
        if (g_onRequest)
            g_onRequest();
    });
    struct sigaction action { };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

void closeWhenFree(QWidget* window)
{
    static bool waiting = false;
    if (!window || waiting)
        return;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) {
        if (qobject_cast<QMessageBox*>(modal))
            return;
        waiting = true;
        QTimer::singleShot(kRetryMs, window, [w = QPointer<QWidget>(window)] {
            waiting = false;
            closeWhenFree(w);
        });
        return;
    }
    window->close();
}

}  // namespace ovd
