#pragma once
// What a shell command prints on stdout and stderr together, and its exit status, for tests
// that read a file back with the program its users open it with (pdfinfo, pdftotext, ...).
#include <cstdio>
#include <string>

namespace ovd {

inline std::string commandOutput(const std::string& command, int& status)
{
    std::string out;
    std::FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) {
        status = -1;
        return out;
    }
    char buf[512];
    while (std::fgets(buf, sizeof buf, p))
        out += buf;
    status = ::pclose(p);
    return out;
}

}  // namespace ovd
