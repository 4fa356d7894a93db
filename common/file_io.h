#pragma once
// Files owned by RAII objects, and data outputs that appear only when complete.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace ovd {

// A stdio file closed on every path.
class File {
public:
    File() = default;
    File(const std::string& path, const char* mode) { open(path, mode); }
    explicit File(std::FILE* adopted) : m_fp(adopted) {}
    ~File() { close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& o) noexcept : m_fp(o.m_fp) { o.m_fp = nullptr; }
    File& operator=(File&& o) noexcept;

    bool open(const std::string& path, const char* mode);
    // Closes the file; false when buffered data could not be written.
    bool close();
    bool isOpen() const { return m_fp != nullptr; }
    std::FILE* get() const { return m_fp; }
    explicit operator bool() const { return m_fp != nullptr; }

    bool write(std::string_view bytes);

private:
    std::FILE* m_fp = nullptr;
};

// Writes into a temporary file beside the target; commit() renames it over the target.
// Destroyed without commit (a failed or cancelled run), it removes the temporary file and
// leaves the previous target untouched.
class AtomicOutput {
public:
    AtomicOutput() = default;
    explicit AtomicOutput(const std::string& target) { open(target); }
    ~AtomicOutput() { discard(); }
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    bool open(const std::string& target);
    bool isOpen() const { return m_file.isOpen(); }
    std::FILE* get() const { return m_file.get(); }
    bool write(std::string_view bytes) { return m_file.write(bytes); }
    // Flushes, closes and renames; false (and the target unchanged) on any failure.
    bool commit();
    void discard();
    const std::string& target() const { return m_target; }

private:
    File m_file;
    std::string m_target;
    std::string m_temp;
};

std::optional<std::string> readFileBytes(const std::string& path);
// Replaces the file's whole content through a temporary file.
bool writeFileAtomically(const std::string& path, std::string_view bytes);
// Copies bytes; copying a file onto itself changes nothing and succeeds.
bool copyFile(const std::string& from, const std::string& to);
bool samePath(const std::string& a, const std::string& b);

}  // namespace ovd
