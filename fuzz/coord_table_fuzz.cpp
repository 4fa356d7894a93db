// Any bytes as a binary conversion table, and as coordinates in degrees/minutes/seconds:
// decoding must refuse or accept cleanly and an accepted table must answer every point.
#include <cstddef>
#include <cstdint>
#include <string>

#include "geotools/coord_recompute.h"
#include "geotools/coord_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ovd::parseDegrees(bytes);
    auto table = ovd::CoordTable::decode(bytes);
    if (!table)
        return 0;
    double probes[] = {-1e300, -1, 0, 0.5, 1, 10, 1e300};
    for (double u : probes)
        for (double v : probes)
            table->convert(u, v);
    if (ovd::encodeCoordTable({}).size() != ovd::kCoordTableHeader)
        __builtin_trap();
    return 0;
}
