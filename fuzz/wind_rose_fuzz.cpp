// Any bytes as a wind rose file: both readers must hold up, and a table the editor read
// must write and read back to the same values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "testing/recording_reporter.h"
#include "windrose/wind_rose_reader.h"
#include "windrose/wind_rose_table_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ovd::RecordingReporter reporter;
    if (std::optional<ovd::WindRose> rose = ovd::parseWindRose(bytes, reporter)) {
        // Every value the computation gets is a finite frequency, never negative.
        for (const ovd::WindRoseRow& row : rose->rows) {
            if (row.directions.empty() || !std::isfinite(row.calm) || row.calm < 0)
                __builtin_trap();
            for (double v : row.directions)
                if (!std::isfinite(v) || v < 0)
                    __builtin_trap();
        }
        ovd::checkWindRoseSectors(*rose, 1.0, reporter);
        ovd::checkWindRoseSectors(*rose, 0.5, reporter);
    }

    ovd::WindRoseTable table;
    ovd::parseWindRoseTable(bytes, table);
    if (ovd::Outcome<std::string> written = ovd::formatWindRoseFile(table)) {
        ovd::WindRoseTable back;
        ovd::parseWindRoseTable(*written, back);
        for (std::size_t r = 0; r < ovd::kWindRoseRows; ++r)
            for (std::size_t c = 0; c < ovd::kWindRoseColumns; ++c)
                if (std::fabs(back.values[r][c] - table.values[r][c]) > 0.005 + 1e-9)
                    __builtin_trap();
    }
    return 0;
}
