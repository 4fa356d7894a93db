#include "rename_together.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace ovd {

namespace {

void (*g_renameHook)() = nullptr;

// Only calls that are safe between fork() and _exit() in a threaded program.
char renameOne(const RenameStep& step)
{
    if (::rename(step.from, step.to) == 0)
        return 1;
    ::unlink(step.from);
    return 0;
}

void renameAll(const std::vector<RenameStep>& steps, std::size_t first, std::vector<char>& done, int replyFd)
{
    for (std::size_t i = first; i < steps.size(); ++i) {
        done[i] = renameOne(steps[i]);
        if (replyFd >= 0)
            (void)!::write(replyFd, &done[i], 1);
        if (g_renameHook && i + 1 < steps.size())
            g_renameHook();
    }
}

// Number of steps the child reported; the child is reaped before returning. -1: no child.
long renameInChild(const std::vector<RenameStep>& steps, std::vector<char>& done)
{
    int reply[2];
    if (::pipe2(reply, O_CLOEXEC) != 0)
        return -1;
    // The child inherits the blocked mask: a Ctrl+C or SIGTERM sent to the whole group then
    // stops this process but not the renames. The child also inherits the temporaries' open
    // descriptors, and with them their locks, so no cleaner takes a file it is about to move.
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &previous);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(reply[0]);
        renameAll(steps, 0, done, reply[1]);
        ::_exit(0);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(reply[1]);
    if (pid < 0) {
        ::close(reply[0]);
        return -1;
    }
    std::size_t got = 0;
    while (got < steps.size()) {
        const ssize_t n = ::read(reply[0], done.data() + got, steps.size() - got);
        if (n > 0)
            got += static_cast<std::size_t>(n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    ::close(reply[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    return static_cast<long>(got);
}

}  // namespace

std::vector<char> renameTogether(const std::vector<RenameStep>& steps)
{
    std::vector<char> done(steps.size(), 0);
    long reported = steps.size() > 1 ? renameInChild(steps, done) : -1;
    // A child that died before reporting every step: what it did not report is tried here
    // (a file it did move is gone and counts as a failed step, never as silently done).
    renameAll(steps, reported < 0 ? 0 : static_cast<std::size_t>(reported), done, -1);
    return done;
}

void setRenameHookForTests(void (*hook)())
{
    g_renameHook = hook;
}

}  // namespace ovd
