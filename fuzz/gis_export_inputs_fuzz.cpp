// Any bytes as the inputs of the GIS export and of the map: the first two bytes say where the
// rest splits into a result table and a binary sources file. The export either writes its
// file and says so, or reports why and leaves the previous file as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/file_io.h"
#include "gis/gdal_services.h"
#include "gis/gdal_session.h"
#include "gis/gis_export.h"
#include "gis/point_lattice.h"
#include "gis/result_points.h"
#include "scratch_folder.h"
#include "testing/recording_reporter.h"

namespace {

void exportOnce(ovd::GisExportSettings& s, ovd::GisFormat format, const std::string& column)
{
    const std::string out = scratchFolder() + "out." + std::string(ovd::gisFormatExtension(format));
    ovd::writeFileAtomically(out, "old");
    ovd::RecordingReporter rep;
    ovd::GisExportRequest q{format, out, column, std::vector<double>{1, 10, 100}};
    const ovd::ToolStatus status = ovd::exportGis(s, q, ovd::RunContext{rep, true});
    const std::optional<std::string> after = ovd::readFileBytes(out);
    if (status == ovd::ToolStatus::Done && (!after || *after == "old"))
        __builtin_trap();  // success without the file
    if (status == ovd::ToolStatus::Failed && (rep.messages.empty() || after != "old"))
        __builtin_trap();  // a failure that says nothing, or a lost previous file
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool gdal = (ovd::initGdal(), true);
    (void)gdal;
    std::size_t split = size >= 2 ? (static_cast<std::size_t>(data[0]) << 8 | data[1]) : 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string rest = size >= 2 ? bytes.substr(2) : std::string();
    split = std::min(split, rest.size());
    ovd::GisExportSettings s;
    s.input = scratchFolder() + "rocni.dbf";
    s.sources = scratchFolder() + "zdroje.bin";
    s.coordinateSystem = "EPSG:5514";
    ovd::writeFileAtomically(s.input, rest.substr(0, split));
    ovd::writeFileAtomically(s.sources, rest.substr(split));

    ovd::Outcome<ovd::ResultPoints> points = ovd::readResultPoints(s.input);
    std::string column;
    if (points)
        for (std::size_t a = 0; a < points->attributes.size(); ++a)
            if (points->attributes[a].kind != ovd::AttributeKind::Text) {
                column = points->attributes[a].name;
                ovd::Outcome<ovd::PointLattice> lattice = ovd::spreadOnLattice(*points, a);
                if (lattice && lattice->cells.size() != static_cast<std::size_t>(lattice->ncols) * lattice->nrows)
                    __builtin_trap();
            }
    exportOnce(s, ovd::GisFormat::Csv, {});
    // The study's layers (sources, isobands) only where the table itself is readable.
    if (points && points->truncated.empty() && points->points.size() <= 400)
        exportOnce(s, ovd::GisFormat::GeoPackage, column);
    return 0;
}
