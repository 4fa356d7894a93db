#pragma once
// Test helpers: a temporary folder removed with everything in it.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace ovd {

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ovdtest_XXXXXX").string();
        char* made = ::mkdtemp(pattern.data());
        m_path = made ? made : "";
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return m_path + "/" + name; }
    const std::string& root() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace ovd
