#pragma once
// Test helpers: a temporary folder removed with everything in it.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <vector>

namespace ovd {

// Sets a variable of this process's environment, or removes it when `value` is empty.
inline void setEnvironment(const char* name, const std::string& value)
{
#ifdef _WIN32
    ::_putenv_s(name, value.c_str());
#else
    if (value.empty())
        ::unsetenv(name);
    else
        ::setenv(name, value.c_str(), 1);
#endif
}

class TempDir {
public:
    // A new folder of a random name (mkdtemp's way, which Windows lacks): made, never reused.
    TempDir()
    {
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        std::random_device seed;
        std::mt19937_64 random(seed());
        const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
            std::string name = "ovdtest_";
            for (int i = 0; i < 10; ++i)
                name += letters[random() % (sizeof letters - 1)];
            std::error_code ec;
            if (std::filesystem::create_directory(base / name, ec))
                m_path = (base / name).generic_string();
        }
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
