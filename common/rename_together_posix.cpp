#include "rename_journal.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "file_sync.h"

namespace ovd {

namespace {

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
        if (renameHook() && i + 1 < steps.size())
            renameHook()();
    }
}

// Number of steps the child reported; the child is reaped before returning. -1: no child.
long renameInChild(const std::vector<RenameStep>& steps, std::vector<char>& done,
                   const std::vector<const char*>& journals)
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
        // The set is whole: its journals are done with, also when the parent is gone.
        for (const char* j : journals)
            ::unlink(j);
        // Straight to the kernel: a sanitizer's _exit would look for leaks first, which in the
        // child of a threaded process can wait for threads the child does not have.
        ::syscall(SYS_exit_group, 0);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    ::close(reply[1]);
    if (pid < 0) {
        ::close(reply[0]);
        return -1;
    }
    // A child that reports no step for a minute is stuck (a rename takes no time): it is
    // stopped, and what it did not report is tried by the caller.
    std::size_t got = 0;
    while (got < steps.size()) {
        pollfd ready{reply[0], POLLIN, 0};
        const int polled = ::poll(&ready, 1, 60'000);
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0) {
            ::kill(pid, SIGKILL);
            break;
        }
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

// The journals of one set, locked and on the disk while its renames run.
class Journals {
public:
    explicit Journals(const std::vector<RenameStep>& steps)
    {
        const std::string text = journalText(steps);
        for (const RenameStep& s : steps) {
            const std::string path = journalOf(s.to);
            int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
            if (fd < 0)
                continue;  // best effort: the child still finishes a set of a killed parent
            ::flock(fd, LOCK_EX | LOCK_NB);
            if (::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()))
                ::fsync(fd);
            m_fds.push_back(fd);
            m_paths.push_back(path);
        }
        if (!m_paths.empty())
            syncFolderOf(m_paths.front());
    }
    ~Journals()
    {
        for (const std::string& p : m_paths)
            ::unlink(p.c_str());  // before the locks go
        for (int fd : m_fds)
            ::close(fd);
    }
    Journals(const Journals&) = delete;
    Journals& operator=(const Journals&) = delete;
    std::vector<const char*> paths() const
    {
        std::vector<const char*> out;
        for (const std::string& p : m_paths)
            out.push_back(p.c_str());
        return out;
    }

private:
    std::vector<int> m_fds;
    std::vector<std::string> m_paths;
};

}  // namespace

void finishInterruptedRenames(const std::string& target)
{
    const std::string path = journalOf(target);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > (1 << 20) ||
        ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);  // a live run's, or not ours
        return;
    }
    std::string text(static_cast<std::size_t>(st.st_size), '\0');
    const ssize_t got = ::read(fd, text.data(), text.size());
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    const auto [steps, valid] = readJournalText(text);
    // Every temporary file was complete on the disk before the journal: the set goes forward.
    if (valid)
        for (const auto& [from, to] : steps) {
            // A temporary file a live writer holds (a new run's of the same name) is not the set's.
            int tfd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
            struct stat f;
            if (tfd >= 0 && ::fstat(tfd, &f) == 0 && S_ISREG(f.st_mode) && ::flock(tfd, LOCK_EX | LOCK_NB) == 0 &&
                ::rename(from.c_str(), to.c_str()) == 0)
                syncFolderOf(to);
            if (tfd >= 0)
                ::close(tfd);
        }
    for (const auto& step : steps)
        if (journalOf(step.second) != path)
            ::unlink(journalOf(step.second).c_str());
    ::unlink(path.c_str());
    ::close(fd);
}

std::vector<char> renameTogether(const std::vector<RenameStep>& steps)
{
    std::vector<char> done(steps.size(), 0);
    std::optional<Journals> journals;
    if (steps.size() > 1)
        journals.emplace(steps);
    long reported = steps.size() > 1 ? renameInChild(steps, done, journals->paths()) : -1;
    // A child that died before reporting every step: what it did not report is tried here
    // (a file it did move is gone and counts as a failed step, never as silently done).
    renameAll(steps, reported < 0 ? 0 : static_cast<std::size_t>(reported), done, -1);
    return done;
}

}  // namespace ovd
