#include <windows.h>

#include "mapped_file.h"
#include "platform_win32.h"

namespace ovd {

MappedFile::Status MappedFile::open(const std::string& path, std::uint64_t length)
{
    close();
    const std::wstring wide = widePath(path);
    if (wide.empty())
        return Status::CannotOpen;
    // Others may go on reading, writing and renaming the file, as on POSIX.
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Status::CannotOpen;
    LARGE_INTEGER bytes{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &bytes)) {
        CloseHandle(file);
        return Status::CannotOpen;
    }
    const auto fileSize = static_cast<std::uint64_t>(bytes.QuadPart);
    const std::uint64_t size = length == 0 ? fileSize : length;
    Status status = sizeStatus(fileSize, size);
    void* at = nullptr;
    if (status == Status::Mapped) {
        // The view lives on after both handles are closed.
        HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (mapping) {
            at = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(size));
            CloseHandle(mapping);
        }
        if (!at)
            status = Status::CannotMap;
    }
    CloseHandle(file);
    return adopt(status, at, size, fileSize);
}

void MappedFile::unmapView(void* address, std::uint64_t)
{
    UnmapViewOfFile(address);
}

void MappedFile::willNeed() const
{
    if (!m_address)
        return;
    WIN32_MEMORY_RANGE_ENTRY range{m_address, static_cast<SIZE_T>(m_size)};
    PrefetchVirtualMemory(GetCurrentProcess(), 1, &range, 0);
}

}  // namespace ovd
