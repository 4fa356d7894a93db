#include <io.h>
#include <windows.h>

#include "file_sync.h"
#include "platform_win32.h"

namespace ovd {

bool syncFile(const std::string& path)
{
    const std::wstring wide = widePath(path);
    if (wide.empty())
        return false;
    // FlushFileBuffers needs a handle with write access.
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = FlushFileBuffers(h) != 0;
    CloseHandle(h);
    return ok;
}

bool syncOpenFile(std::FILE* fp)
{
    const intptr_t h = _get_osfhandle(_fileno(fp));
    return h != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(h)) != 0;
}

// A folder cannot be flushed on Windows; the renames into it go with MOVEFILE_WRITE_THROUGH,
// which returns only once the rename is on the disk.
void syncFolderOf(const std::string&) {}

}  // namespace ovd
