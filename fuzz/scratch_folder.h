#pragma once
// The folder a fuzz target writes its files into: made once per process, in memory where
// possible, so that the code under test and not the disk is what runs.
#include <unistd.h>

#include <string>

inline const std::string& scratchFolder()
{
    static const std::string path = [] {
        char shm[] = "/dev/shm/ovd_fuzz_XXXXXX";
        char tmp[] = "/tmp/ovd_fuzz_XXXXXX";
        const char* made = ::mkdtemp(shm);
        if (!made)
            made = ::mkdtemp(tmp);
        return std::string(made ? made : "/tmp") + "/";
    }();
    return path;
}
