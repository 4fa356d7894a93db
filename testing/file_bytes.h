#pragma once
// A file's bytes for a test's expectations, and bytes written in place (no temporary file,
// no rename), as another program would write them.
#include <string>
#include <string_view>

#include "common/file_io.h"

namespace ovd {

inline std::string contentOf(const std::string& path)
{
    return readFileBytes(path).value_or("<unreadable>");
}

inline bool writeInPlace(const std::string& path, std::string_view bytes)
{
    File f;
    return f.open(path, "wb") && f.write(bytes) && f.close();
}

}  // namespace ovd
