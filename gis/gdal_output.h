#pragma once
// A file GDAL writes by name. GDAL writes it into memory (under the target's file name with the
// format's extension, by which some drivers choose what to write), and only the complete
// bytes go to the disk, through the atomic output layer: every write, the flush and the sync
// are checked before the file is renamed over the target. Many drivers do not check their
// own writes, so a full disk would otherwise become a truncated file reported as written.
// Destroyed before publish(), it forgets the memory copy and the previous target stays as it
// was. The caller holds the target's output lock (common/file_lock.h). A symlinked target is
// written through and the link stays a link.
#include <string>

namespace ovd {

class GdalOutput {
public:
    GdalOutput() = default;
    ~GdalOutput() { discard(); }
    GdalOutput(const GdalOutput&) = delete;
    GdalOutput& operator=(const GdalOutput&) = delete;

    // Reserves the memory name ending in "." + `extension` (whatever the target's own);
    // false when the target exists and is not a regular file, or its folder does not exist.
    bool open(const std::string& target, const std::string& extension);
    // Where GDAL is to write; GDAL creates it (nothing is there yet).
    const std::string& path() const { return m_memory; }
    // Writes what GDAL wrote (every dataset on path() closed by now) over the target; false
    // leaves the target as it was, and error() says why.
    bool publish();
    void discard();
    // Why publish() failed: empty, or a short Czech reason ("na disku není dost místa").
    const std::string& error() const { return m_error; }

private:
    std::string m_target, m_folder, m_memory, m_error;
};

}  // namespace ovd
