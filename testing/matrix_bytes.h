#pragma once
// A coefficient matrix file written byte by byte (row and column counts, then the values),
// independent of the writer it tests.
#include <cstdint>
#include <string>
#include <vector>

#include "common/le_io.h"

namespace ovd {

inline std::string matrixBytes(std::int32_t rows, std::int32_t columns, const std::vector<float>& values)
{
    std::string out;
    putI32(out, rows);
    putI32(out, columns);
    for (float v : values)
        putF32(out, v);
    return out;
}

}  // namespace ovd
