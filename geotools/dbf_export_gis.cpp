#include <algorithm>

#include "common/numbers.h"
#include "dbf_export.h"
#include "dbf_input.h"
#include "projection_file.h"
#include "shapefile_writer.h"

namespace ovd {

namespace {

constexpr std::string_view kNotDone = "Export do souborů pro GIS neproveden.";
// Where a coordinate field may start within a record (the deletion flag counts).
constexpr std::size_t kCoordinateReach = 1024;

struct ShapePoint {
    double x = 0, y = 0;
};

// The coordinate rounded to three decimals, as the shapefile has always stored it.
double roundedToThousandths(double v)
{
    return parseDouble(cformat("%.3f", v)).value_or(0.0);
}

}  // namespace

std::optional<double> decodeFixedWidthNumber(std::string_view text, int decimals)
{
    int length = static_cast<int>(text.size());
    decimals = std::clamp(decimals, 0, length);
    // Without decimals there is no point: every position is an integer place.
    int integerWidth = decimals == 0 ? length : std::max(0, length - decimals - 1);
    bool negative = false;
    double value = 0;
    auto digit = [&](char c) -> std::optional<int> {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c == ' ')
            return 0;
        if (c == '-') {
            negative = true;
            return 0;
        }
        return std::nullopt;
    };
    double place = 1;
    for (int i = 1; i < integerWidth; ++i)
        place *= 10;
    for (int i = 0; i < integerWidth; ++i, place /= 10) {
        std::optional<int> d = digit(text[static_cast<std::size_t>(i)]);
        if (!d)
            return std::nullopt;
        value += *d * place;
    }
    place = 0.1;
    for (int i = integerWidth + 1; i < length && i <= integerWidth + decimals; ++i, place /= 10) {
        std::optional<int> d = digit(text[static_cast<std::size_t>(i)]);
        if (!d)
            return std::nullopt;
        value += *d * place;
    }
    return negative ? -value : value;
}

namespace {

// The points of the live records, rounded to thousandths, and their bounding box; nullopt
// on a bad coordinate (after its message) or when the user cancels.
struct PointSet {
    std::vector<ShapePoint> points;
    ShapeBox box;
};

std::optional<PointSet> readPoints(const DbfTable& t, std::size_t fx, std::size_t fy,
                                   const std::vector<std::size_t>& live, Reporter& r)
{
    PointSet out;
    out.points.reserve(live.size());
    const long total = static_cast<long>(t.fields().size() + live.size());
    for (std::size_t i = 0; i < live.size(); ++i) {
        std::optional<double> x = decodeFixedWidthNumber(t.fieldText(live[i], fx), t.fields()[fx].decimals);
        std::optional<double> y = decodeFixedWidthNumber(t.fieldText(live[i], fy), t.fields()[fy].decimals);
        if (!x || !y) {
            r.error(cformat("Záznam %zu obsahuje neplatnou souřadnici %s (\"%s\")!", live[i] + 1, x ? "Y" : "X",
                            std::string(t.fieldText(live[i], x ? fy : fx)).c_str()));
            r.error(kNotDone);
            return std::nullopt;
        }
        ShapePoint p{roundedToThousandths(*x), roundedToThousandths(*y)};
        ShapeBox& box = out.box;
        if (out.points.empty()) {
            box = {p.x, p.y, p.x, p.y};
        } else {
            box.xmin = std::min(box.xmin, p.x);
            box.ymin = std::min(box.ymin, p.y);
            box.xmax = std::max(box.xmax, p.x);
            box.ymax = std::max(box.ymax, p.y);
        }
        out.points.push_back(p);
        if (i % 1024 == 0) {
            if (r.cancelled())
                return std::nullopt;
            r.progress(static_cast<long>(t.fields().size() + i), total);
        }
    }
    return out;
}

// The points as the SHP and SHX files, published together with the projection file; on any
// failure or a cancel the previous files stay.
ToolStatus writeShapefile(const DbfExportSettings& s, const PointSet& read, AtomicOutput& prj, Reporter& r)
{
    const std::vector<ShapePoint>& points = read.points;
    const ShapeBox& box = read.box;
    ShapefileOutput out;
    switch (out.open(s.shp, s.shx)) {
    case ShapefileOutput::Failure::Shp:
        r.error("Vystupní SHP soubor se nepodařilo otevřít !");
        return ToolStatus::Failed;
    case ShapefileOutput::Failure::Shx:
        r.error("Vystupní SHX soubor se nepodařilo otevřít !");
        return ToolStatus::Failed;
    case ShapefileOutput::Failure::None: break;
    }
    bool ok = out.begin(ShapeType::Point, static_cast<std::int64_t>(points.size()), box);
    for (const ShapePoint& p : points)
        ok = ok && out.addPoint(p.x, p.y);
    if (r.cancelled())
        return ToolStatus::Failed;  // not committed: the previous files are kept
    std::vector<AtomicOutput*> files = out.files();
    addProjectionFile(files, prj);
    ok = ok && out.prepare() && (!prj.isOpen() || prj.prepare()) && publishTogether(files);
    if (!ok) {
        r.error("Výstupní SHP a SHX soubory se nepodařilo zapsat!");
        r.error(kNotDone);
        return ToolStatus::Failed;
    }
    return ToolStatus::Done;
}

}  // namespace

ToolStatus exportDbfToGis(const DbfExportSettings& s, const RunContext& ctx)
{
    Reporter& r = ctx.reporter;
    ToolStatus status;
    std::optional<DbfTable> t = openExportInput(s.input, {s.shp, s.shx}, ctx, status);
    if (!t)
        return status;

    std::optional<std::size_t> fx = t->findField("X_COORD", true);
    std::optional<std::size_t> fy = t->findField("Y_COORD", true);
    auto reachable = [&](std::optional<std::size_t> f) { return f && 1 + t->fields()[*f].offset < kCoordinateReach; };
    if (!reachable(fx) || !reachable(fy)) {
        r.error(reachable(fx) ? "Chybný název y-ového sloupce !" : "Chybný název x-ového sloupce !");
        r.error(kNotDone);
        return ToolStatus::Failed;
    }

    r.status(0, "Probíhá export souboru ...");
    std::vector<std::size_t> live = t->liveRecords();
    const long total = static_cast<long>(t->fields().size() + live.size());
    std::optional<PointSet> read = readPoints(*t, *fx, *fy, live, r);
    if (!read)
        return ToolStatus::Failed;  // nothing opened yet: the outputs stay as they were

    AtomicOutput prj;
    if (std::optional<Problem> p = writeProjectionFile(ctx.gis, s.coordinateSystem, s.shp, prj)) {
        p->report(r);
        r.error(kNotDone);
        return ToolStatus::Failed;
    }
    if (ToolStatus written = writeShapefile(s, *read, prj, r); written != ToolStatus::Done)
        return written;
    removeStaleProjectionFile(s.coordinateSystem, s.shp, r);
    r.progress(total, total);
    std::string done = "Export do souborů pro GIS dokončen.";
    if (live.size() < t->recordCount())
        done += "\nVstupní DBF soubor obsahuje smazané záznamy: jako atributovou tabulku shapefilu "
                "použijte jeho kopii bez smazaných záznamů.";
    r.info(done);
    return ToolStatus::Done;
}

}  // namespace ovd
