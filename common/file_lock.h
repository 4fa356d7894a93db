#pragma once
// Advisory locks between runs of the programs: a lock file "<path>.ovdlock" beside the
// protected file exists only while it is held (a lock file left by a killed run is taken
// over). Locks are advisory: they order our own writers, nothing else.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reporter.h"
#include "tool.h"

namespace ovd {

class FileLock {
public:
    enum class Result { Locked, Busy, Unsupported };
    FileLock() = default;
    ~FileLock() { unlock(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    FileLock(FileLock&& o) noexcept
        : m_fd(o.m_fd)
        , m_lockPath(std::move(o.m_lockPath))
    {
        o.m_fd = -1;
    }

    // Locks `path` (the lock lies beside a symlink's final target): flock on POSIX,
    // LockFileEx on Windows (file_lock_posix.cpp, file_lock_win32.cpp). Unsupported where the
    // file system has no locks or the lock file cannot be made (a read-only folder: the
    // write itself then fails with the tool's own message).
    Result lock(const std::string& path, bool wait);
    void unlock();
    bool held() const { return m_fd >= 0; }

private:
    std::intptr_t m_fd = -1;  // the lock file's descriptor, on Windows its HANDLE
    std::string m_lockPath;
};

// The outputs of one tool run, locked for the run.
class OutputLock {
public:
    // False, after "Soubor ... právě zapisuje jiný běh programu." (caption "Chyba"), when
    // another run holds one of the outputs; where locks are not available it warns once
    // and returns true. Empty paths are skipped.
    bool acquire(Reporter&, const std::vector<std::string>& outputs);
    // Locks the outputs, then asks before each existing one is overwritten (empty paths are
    // skipped): the status the tool stops with (Failed, Declined), or none to go on.
    std::optional<ToolStatus> claim(const RunContext&, const std::vector<std::string>& outputs);

private:
    std::vector<FileLock> m_locks;
};

}  // namespace ovd
