// Any bytes as a terrain text grid: the check and the conversion of all three element
// types must end cleanly, and a matrix they write must open and answer lookups. Input
// beginning with "L" gets its first line stretched beyond the longest line the reader takes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/file_io.h"
#include "common/text.h"
#include "inputs/terrain_conversion.h"
#include "inputs/terrain_matrix.h"
#include "scratch_folder.h"
#include "testing/recording_reporter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 200000)
        return 0;
    const std::string text = scratchFolder() + "grid.txt", binary = scratchFolder() + "grid.bin";
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!bytes.empty() && bytes[0] == 'L')
        bytes.insert(1, ovd::kMaxLineBytes, ' ');
    ovd::writeFileAtomically(text, bytes);
    ovd::RecordingReporter checkReporter;
    ovd::checkTerrainText(text, checkReporter);
    for (int type = 0; type <= 2; ++type) {
        ::unlink(binary.c_str());
        ovd::RecordingReporter r;
        ovd::TerrainSettings s{text, binary, static_cast<ovd::TerrainElement>(type)};
        ovd::ToolStatus status = ovd::convertTerrain(s, ovd::RunContext{r, true});
        bool exists = ::access(binary.c_str(), F_OK) == 0;
        if ((status == ovd::ToolStatus::Done) != exists)
            __builtin_trap();  // an output only after a whole conversion
        if (!exists)
            continue;
        auto m = ovd::TerrainMatrix::open(binary);
        if (!m)
            __builtin_trap();
        const ovd::TerrainHeader& h = m->header();
        double xs[] = {h.xOrigin, h.xOrigin + h.ncols * h.cellSize, h.xOrigin + h.cellSize * 1.5};
        double ys[] = {h.yOrigin, h.yOrigin + h.nrows * h.cellSize, h.yOrigin + h.cellSize * 0.7};
        for (double x : xs)
            for (double y : ys) {
                m->lookup(x, y, true);
                m->lookup(x, y, false);
            }
    }
    return 0;
}
