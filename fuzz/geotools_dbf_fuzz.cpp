// Any bytes as a result table given to the display, the three exports and the isolines:
// each must end with a status and never read or write outside its buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/file_io.h"
#include "common/reporter_wrapper.h"
#include "geotools/dbf_export.h"
#include "geotools/isolines.h"
#include "scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = scratchFolder() + "t.dbf";
    if (!ovd::writeFileAtomically(input, std::string(reinterpret_cast<const char*>(data), size)))
        return 0;
    ovd::NullReporter reporter;
    ovd::RunContext ctx{reporter, true};
    ovd::showDbf(input, reporter);

    ovd::DbfExportSettings s;
    s.input = input;
    s.deriveOutputNames();
    const int columns[] = {1, 2, 3, 6};
    for (int target = 0; target < 3; ++target) {
        s.target = target;
        ovd::exportDbf(s, columns, ctx);
    }

    ovd::IsolineSettings iso;
    iso.input = input;
    iso.deriveOutputNames();
    iso.column = size > 0 ? 5 + data[0] % 4 : 5;
    iso.segmentsPerSide = 6;
    iso.scaleFrom = 0;
    iso.scaleStep = 0.5;
    ovd::makeIsolines(iso, ctx);
    return 0;
}
