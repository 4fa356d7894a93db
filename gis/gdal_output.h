#pragma once
// A file GDAL writes by name: it is written under a temporary name in the target's folder
// (ending in the format's extension, by which some drivers choose what to write) and renamed over the
// target only when complete. Destroyed before that, it removes the temporary file, so a
// failed or cancelled export leaves the previous target as it was. The caller holds the
// target's output lock (common/file_lock.h): temporary files of the target that a killed run
// left are removed when the next one opens. A symlinked target is written through: the
// temporary file lies beside the link's final target and the link stays a link.
#include <string>

namespace ovd {

class GdalOutput {
public:
    GdalOutput() = default;
    ~GdalOutput() { discard(); }
    GdalOutput(const GdalOutput&) = delete;
    GdalOutput& operator=(const GdalOutput&) = delete;

    // Reserves a temporary name ending in "." + `extension` (whatever the target's own);
    // false when the folder is not writable or the target exists and is not a regular file.
    bool open(const std::string& target, const std::string& extension);
    // Where GDAL is to write; GDAL creates it (nothing is there yet).
    const std::string& path() const { return m_temp; }
    // Syncs the written file and renames it over the target; false leaves the target as it was.
    bool publish();
    void discard();

private:
    std::string m_target, m_temp;
};

}  // namespace ovd
