#include "platform.h"

#include <sys/stat.h>

namespace ovd {

std::tm utcTime(std::time_t t)
{
    std::tm utc{};
    gmtime_r(&t, &utc);
    return utc;
}

std::optional<FileStamp> fileStamp(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return FileStamp{static_cast<std::int64_t>(st.st_size),
                     static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

}  // namespace ovd
