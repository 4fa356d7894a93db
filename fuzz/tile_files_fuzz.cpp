// Any bytes as the files of a tiled study: its list of tiles, a tile's stamp and the result
// tables the merge joins. A list that is read back writes the same text; joined tables are
// tables again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "scratch_folder.h"
#include "tiles/tile_join.h"
#include "tiles/tile_manifest.h"
#include "tiles/tile_stamp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ovd::Outcome<ovd::TileManifest> m = ovd::TileManifest::parse(bytes, "manifest.txt");
    if (m) {
        if (m->text() != bytes)
            __builtin_trap();
        long points = 0;
        for (const ovd::TileEntry& t : m->tiles)
            points += t.pointCount();
        if (points != m->points)
            __builtin_trap();
    }
    const std::string stamp = scratchFolder() + "hotovo.txt";
    ovd::writeFileAtomically(stamp, bytes);
    (void)ovd::readTileStamp(stamp);
    // The bytes as two tiles' tables, split in the middle and whole.
    const std::string half = bytes.substr(0, size / 2);
    for (const std::vector<std::string>& tables : {std::vector<std::string>{bytes, bytes}, {half, bytes}}) {
        ovd::Outcome<std::string> joined = ovd::joinDbfTables(tables, ovd::DbfDate{}, "výsledků");
        if (joined && !ovd::DbfTable::parse(*joined))
            __builtin_trap();
    }
    return 0;
}
