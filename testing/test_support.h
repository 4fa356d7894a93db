#pragma once
// Test helpers: a temporary folder removed with everything in it.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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
    // The names of the files in the folder, sorted.
    std::vector<std::string> names() const
    {
        std::vector<std::string> found;
        for (const auto& e : std::filesystem::directory_iterator(m_path))
            found.push_back(e.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::string m_path;
};

}  // namespace ovd
