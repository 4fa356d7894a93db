#include "study_area.h"

#include "common/file_io.h"
#include "common/gis_services.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "gis/spatial_reference.h"
#include "inputs/binary_inputs.h"

namespace ovd {

namespace {

// The X and Y of the text file's point lines ("number, x, y, z, l;"); comment lines skipped.
PointExtent textExtent(const std::string& path)
{
    PointExtent e;
    std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes)
        return e;
    std::size_t start = 0;
    while (start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos)
            end = bytes->size();
        std::string_view line = std::string_view(*bytes).substr(start, end - start);
        start = end + 1;
        line = line.substr(0, line.find(';'));
        const std::size_t a = line.find(','), b = a == std::string_view::npos ? a : line.find(',', a + 1);
        if (b == std::string_view::npos)
            continue;
        const std::size_t c = line.find(',', b + 1);
        std::optional<double> x = parseDouble(trim(line.substr(a + 1, b - a - 1)));
        std::optional<double> y = parseDouble(trim(line.substr(b + 1, c == std::string_view::npos ? c : c - b - 1)));
        if (x && y)
            e.add(*x, *y);
    }
    return e;
}

}  // namespace

std::optional<Problem> studyAreaProblem(const SettingsFile& project, const std::string& definition)
{
    PointExtent extent;
    const std::string binary = project.readString(section::kGlobal, "VstReferBodBin");
    if (Outcome<std::vector<ReferencePoint>> points = readPointsFile(binary); fileExists(binary) && points) {
        for (const ReferencePoint& p : *points)
            extent.add(p.x, p.y);
    } else {
        extent = textExtent(project.readString(section::kGlobal, "VstReferBodTxt"));
    }
    if (extent.empty)
        return std::nullopt;
    Outcome<OGRSpatialReference> srs = spatialReference(definition);
    if (!srs)
        return std::nullopt;  // refused by the system check itself
    return areaOfUseProblem(*srs, definition, extent);
}

}  // namespace ovd
