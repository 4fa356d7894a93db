#pragma once
// Files owned by RAII objects, and data outputs that appear only when complete.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovd {

// A stdio file closed on every path.
class File {
public:
    File() = default;
    File(const std::string& path, const char* mode) { open(path, mode); }
    explicit File(std::FILE* adopted)
        : m_fp(adopted)
    { }
    ~File() { close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& o) noexcept
        : m_fp(o.m_fp)
    {
        o.m_fp = nullptr;
    }
    File& operator=(File&& o) noexcept;

    bool open(const std::string& path, const char* mode);
    // Opens an input for binary reading; refuses (errno EINVAL) anything that is not a
    // regular file, without blocking on a FIFO.
    bool openInput(const std::string& path);
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
// leaves the previous target untouched. A symlinked target is written through: the
// temporary file lies beside the link's final target and the link stays a link. An
// existing target that is not a regular file (device, FIFO, socket, folder) is never
// replaced: open() fails. The temporary file is locked while it is written, so temporary
// files of the same target left by a killed run are recognised and removed.
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
    // Flushes, syncs, closes and renames; false (and the target unchanged) on any failure.
    bool commit() { return prepare() && publish(); }
    // The two halves of commit(): prepare() puts every byte on the disk, publish() renames
    // the file over the target and syncs the folder.
    bool prepare();
    bool publish();
    void discard();
    const std::string& target() const { return m_target; }

private:
    friend bool publishTogether(const std::vector<AtomicOutput*>&);
    // After the rename: closes the file; false if the rename or the close failed.
    bool finishPublish();

private:
    File m_file;
    std::string m_target;  // as given
    std::string m_final;   // where the rename lands (symlinks followed)
    std::string m_temp;
    bool m_prepared = false;
    bool m_renamed = false;
};

// publish() for files that belong together: all are prepared, then renamed together (a kill
// of this process during the renames does not stop them), then closed and their folders
// synced; false if any step failed.
bool publishTogether(const std::vector<AtomicOutput*>& outputs);

// Outputs that belong together (a converted points and sources pair, .shp/.shx/.dbf):
// commit() writes and syncs every one before the first rename, so a failure before the
// renames leaves all the old files as they were.
class OutputSet {
public:
    AtomicOutput& add(const std::string& target);
    bool allOpen() const;
    bool commit();
    void discard();

private:
    std::vector<std::unique_ptr<AtomicOutput>> m_outputs;
};

// Removes temporary files of `target`'s own naming that no live writer holds.
void removeStaleTemporaries(const std::string& target);

// The whole content of a regular file; nullopt (errno set) for a missing or unreadable
// file and for anything that is not a regular file (a device or FIFO would never end).
std::optional<std::string> readFileBytes(const std::string& path);
// Replaces the file's whole content through a temporary file.
bool writeFileAtomically(const std::string& path, std::string_view bytes);
// Copies bytes; copying a file onto itself changes nothing and succeeds.
bool copyFile(const std::string& from, const std::string& to);
// True when both paths name the same file: the same device and inode where both exist,
// else the same resolved absolute path (so it also works before the files are created).
bool samePath(const std::string& a, const std::string& b);

}  // namespace ovd
