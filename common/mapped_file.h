#pragma once
// A file's bytes mapped read-only into memory (mapped_file_posix.cpp, mapped_file_win32.cpp).
#include <cstdint>
#include <string>

namespace ovd {

class MappedFile {
public:
    enum class Status {
        Mapped,
        CannotOpen,  // missing, no permission, or not a regular file (a FIFO is not waited for)
        Empty,       // nothing to map
        TooShort,    // shorter than the length asked for
        CannotMap,   // the system refused the mapping
    };

    MappedFile() = default;
    ~MappedFile() { close(); }
    MappedFile(MappedFile&& o) noexcept { *this = std::move(o); }
    MappedFile& operator=(MappedFile&& o) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the first `length` bytes of `path`, the whole file when `length` is 0; the file may
    // change or go afterwards without the mapping failing as long as it is not shortened.
    Status open(const std::string& path, std::uint64_t length = 0);
    void close();

    const unsigned char* data() const { return static_cast<const unsigned char*>(m_address); }
    std::uint64_t size() const { return m_size; }          // the bytes mapped
    std::uint64_t fileSize() const { return m_fileSize; }  // the file's, when it was opened
    // Asks the system to read the mapped bytes ahead (a hint; nothing happens where none is).
    void willNeed() const;

private:
    // Empty or TooShort when a file of `fileSize` bytes cannot give `size`; else Mapped.
    static Status sizeStatus(std::uint64_t fileSize, std::uint64_t size);
    // Keeps the view `at` when the opening went well; the status either way.
    Status adopt(Status status, void* at, std::uint64_t size, std::uint64_t fileSize);
    // The system's side: releases a view its `open` made.
    static void unmapView(void* address, std::uint64_t size);

    void* m_address = nullptr;
    std::uint64_t m_size = 0;
    std::uint64_t m_fileSize = 0;
};

}  // namespace ovd
