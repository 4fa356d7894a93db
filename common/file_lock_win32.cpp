#include <windows.h>

#include "file_lock.h"
#include "paths.h"
#include "platform_win32.h"

namespace ovd {

namespace {

// The lock file, deleted by Windows when its last handle closes.
HANDLE openLockFile(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

bool deletePending(HANDLE h)
{
    FILE_STANDARD_INFO info;
    return GetFileInformationByHandleEx(h, FileStandardInfo, &info, sizeof info) && info.DeletePending;
}

}  // namespace

FileLock::Result FileLock::lock(const std::string& path, bool wait)
{
    unlock();
    const std::string lockPath = followLinks(path) + ".ovdlock";
    const std::wstring wide = widePath(lockPath);
    if (wide.empty())
        return Result::Unsupported;
    // A lock file whose holder has just closed it is being deleted: it is refused or, once
    // locked, protects nothing; the next one made is the one to lock.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        HANDLE h = openLockFile(wide);
        if (h == INVALID_HANDLE_VALUE) {
            if (GetLastError() != ERROR_ACCESS_DENIED || GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES)
                return Result::Unsupported;
            Sleep(1);
            continue;
        }
        OVERLAPPED whole{};
        const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
        if (!LockFileEx(h, flags, 0, 1, 0, &whole)) {
            const DWORD err = GetLastError();
            CloseHandle(h);
            return err == ERROR_LOCK_VIOLATION || err == ERROR_IO_PENDING ? Result::Busy : Result::Unsupported;
        }
        if (!deletePending(h)) {
            m_fd = reinterpret_cast<std::intptr_t>(h);
            m_lockPath = lockPath;
            return Result::Locked;
        }
        CloseHandle(h);
    }
    return Result::Busy;
}

void FileLock::unlock()
{
    if (m_fd < 0)
        return;
    CloseHandle(reinterpret_cast<HANDLE>(m_fd));  // deletes the lock file
    m_fd = -1;
    m_lockPath.clear();
}

}  // namespace ovd
