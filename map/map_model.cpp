#include "map_model.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "common/numbers.h"
#include "common/paths.h"
#include "common/reporter_wrapper.h"
#include "common/source_layout.h"
#include "common/text.h"
#include "gis/map_inputs.h"
#include "inputs/binary_inputs.h"
#include "isoline_file.h"
#include "map_layers.h"
#include "windrose/wind_rose_reader.h"

namespace ovd {

namespace {

// Lattice vertices of the isolines per point, and their bounds.
constexpr double kVerticesPerPoint = 1, kMinVertices = 10000, kMaxVertices = 25000;

// The messages of an optional layer's reader become the model's warnings.
class WarningCollector : public NullReporter {
public:
    explicit WarningCollector(std::vector<std::string>& out, std::string what)
        : m_out(out)
        , m_what(std::move(what))
    { }
    void message(Severity, std::string_view, std::string_view text) override
    {
        m_out.push_back(m_what + ": " + std::string(text));
    }

private:
    std::vector<std::string>& m_out;
    std::string m_what;
};

// The column to draw: the one asked for, else the annual mean, the maximum or the daily
// value, else the first real column after the point's own fields.
std::optional<std::size_t> chooseColumn(const ResultPoints& rows, const std::string& asked)
{
    if (!asked.empty())
        return rows.find(trim(asked));
    for (const char* name : {"CONC_AVG", "CONC_MAX", "CONC_VALUE"})
        if (auto i = rows.find(name))
            return i;
    for (std::size_t i = 0; i < rows.attributes.size(); ++i) {
        const std::string& n = rows.attributes[i].name;
        if (rows.attributes[i].kind == AttributeKind::Real && n != "X_COORD" && n != "Y_COORD" && n != "Z_ELEV" &&
            n != "L_ELEV")
            return i;
    }
    return std::nullopt;
}

bool oneOf(const std::string& name, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (name == n)
            return true;
    return false;
}

// The "limity" classes of an assessment table's column: its own LIMIT field (the distinct
// values it holds) for the concentrations, 50 % and 100 % for the shares of the limit; none
// for any other column or table.
std::optional<std::vector<double>> assessmentLimits(const ResultPoints& rows, const std::string& column)
{
    std::optional<std::size_t> limit = rows.find("LIMIT");
    if (!limit)
        return std::nullopt;
    if (oneOf(column, {"PODIL_LIM", "PODIL_PRI"}))
        return std::vector<double>{50, 100};
    if (!oneOf(column, {"PRISPEVEK", "POZADI", "CELKEM", "LIMIT"}))
        return std::nullopt;
    std::vector<double> levels;
    for (const ResultPoint& p : rows.points)
        if (p.numbers[*limit])
            levels.push_back(*p.numbers[*limit]);
    return levels;
}

Outcome<ClassBreaks> chooseBreaks(const MapSettings& s, const MapModel& m)
{
    const bool difference = m.column == "ROZDIL";
    switch (s.breakMode()) {
    case BreakMode::Levels: {
        std::optional<std::vector<double>> levels = s.levelList();
        if (!levels)
            return Problem::error("Hladiny mapy \"" + s.levels + "\" nejsou čísla oddělená středníkem!");
        ClassBreaks b = levelBreaks(*levels);
        b.diverging = difference;
        return b;
    }
    case BreakMode::Limits:
        if (std::optional<std::vector<double>> own = assessmentLimits(m.rows, m.column))
            return levelBreaks(*own);
        if (s.limits().empty())
            return Problem::error("Pro výpočet nejsou zadány žádné limitní koncentrace, mapu nelze podle nich "
                                  "rozdělit do tříd!");
        return levelBreaks(s.limits());
    case BreakMode::EqualSteps: break;
    }
    double lo = INFINITY, hi = -INFINITY;
    for (const MapPoint& p : m.points)
        if (p.value) {
            lo = std::min(lo, *p.value);
            hi = std::max(hi, *p.value);
        }
    return difference ? divergingBreaks(lo, hi) : equalStepBreaks(lo, hi, kDefaultClasses);
}

// The GR_ fields of a group-shares table, in table order.
std::vector<std::size_t> groupColumns(const ResultPoints& rows)
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < rows.attributes.size(); ++i) {
        const std::string& n = rows.attributes[i].name;
        if (n.size() == 9 && n.rfind("GR_", 0) == 0 && rows.attributes[i].kind == AttributeKind::Real)
            out.push_back(i);
    }
    return out;
}

// Each point's value is the index of its dominant group; the classes are the groups.
std::optional<Problem> colourByDominantGroup(MapModel& m)
{
    const std::vector<std::size_t> groups = groupColumns(m.rows);
    if (groups.empty())
        return Problem::error("Soubor " + m.table +
                              " neobsahuje podíly skupin zdrojů (pole GR_), body nelze obarvit "
                              "podle převažující skupiny!");
    std::vector<std::string> names;
    for (std::size_t g : groups) {
        std::string number = m.rows.attributes[g].name.substr(3);
        number.erase(0, std::min(number.find_first_not_of('0'), number.size() - 1));
        names.push_back("skupina " + number);
    }
    for (MapPoint& p : m.points) {
        const ResultPoint& row = m.rows.points[p.row];
        std::optional<std::size_t> best;
        for (std::size_t k = 0; k < groups.size(); ++k) {
            const std::optional<double>& share = row.numbers[groups[k]];
            if (share && *share > 0 && (!best || *share > *row.numbers[groups[*best]]))
                best = k;
        }
        p.value = best ? std::optional<double>(static_cast<double>(*best)) : std::nullopt;
    }
    m.column = std::string(kDominantGroupColumn);
    m.unit.clear();
    m.breaks = categoryBreaks(std::move(names));
    return std::nullopt;
}

void addSources(const SourceFile& file, MapModel& m)
{
    for (const SourceRecord& r : file.records) {
        MapSource s;
        s.number = r.number;
        s.type = r.type;
        s.x = r.x;
        s.y = r.y;
        if (r.type == kLineSource) {
            s.x = r.values[LineParam::kStartX];
            s.y = r.values[LineParam::kStartY];
            s.x2 = r.values[LineParam::kEndX];
            s.y2 = r.values[LineParam::kEndY];
            s.emission = r.values[LineParam::kEmission];
            m.box.include(s.x2, s.y2);
        } else {
            s.emission = r.values[StackParam::kEmission];
            s.side = r.type == kAreaSource ? r.values[StackParam::kElementSpacing] : 0;
        }
        m.box.include(s.x, s.y);
        m.sources.push_back(s);
    }
}

// Sums the eleven weather cases per direction: where the wind blows from over the year. Rows
// of different direction counts meet in 10° sectors.
std::vector<double> roseDirections(const WindRose& rose)
{
    std::size_t count = rose.rows[0].directions.size();
    for (const WindRoseRow& row : rose.rows)
        if (row.directions.size() != count)
            count = 36;
    std::vector<double> sums(count, 0.0);
    for (const WindRoseRow& row : rose.rows)
        for (std::size_t j = 0; j < row.directions.size(); ++j) {
            double at = static_cast<double>(j) * row.sectorWidth() * static_cast<double>(count) / 360;
            sums[static_cast<std::size_t>(std::lround(at)) % count] += row.directions[j];
        }
    return sums;
}

void addOptionalLayers(const MapSettings& s, MapModel& m)
{
    if (!s.sources.empty() && fileExists(s.sources)) {
        Outcome<SourceFile> file = readSourcesFile(s.sources);
        if (file)
            addSources(*file, m);
        else
            m.warnings.push_back("Zdroje: " + file.problem().text);
    }
    if (!s.terrain.empty() && fileExists(s.terrain)) {
        Outcome<TerrainMatrix> terrain = TerrainMatrix::open(s.terrain);
        if (terrain)
            buildTerrainLayers(*terrain, m);
        else
            m.warnings.push_back("Výškopis: " + terrain.problem().text);
    }
    if (!s.windRose.empty() && fileExists(s.windRose)) {
        WarningCollector collect(m.warnings, "Větrná růžice");
        if (std::optional<WindRose> rose = readWindRose(s.windRose, collect))
            m.windRose = roseDirections(*rose);
    }
    if (!s.isolineShp.empty() && fileExists(s.isolineShp)) {
        Outcome<std::vector<IsolineSegment>> lines = readIsolineFile(s.isolineShp, s.isolineDbf);
        if (lines) {
            m.fileIsolines.segments = std::move(*lines);
            m.fileIsolines.chains = levelChains(m.fileIsolines.segments);
        } else {
            m.warnings.push_back("Izolinie ze souboru: " + lines.problem().text);
        }
    }
}

}  // namespace

std::string columnUnit(const std::string& column)
{
    std::string c = trim(column);
    auto starts = [&](const char* p) { return c.rfind(p, 0) == 0; };
    if (starts("CONC_") || starts("CM_") || c == "PRISPEVEK" || c == "POZADI" || c == "CELKEM" || c == "LIMIT" ||
        c == "ZAKLAD" || c == "VARIANTA" || c == "ROZDIL" || c == "PUVODNI" || c == "UPRAVENA")
        return "µg/m³";
    if (c == "PODIL_LIM" || c == "PODIL_PRI" || c == "ZMENA_PROC")
        return "%";
    if (c == "HOD_PREK")
        return "h/rok";
    if (starts("T1_") || starts("T2_") || starts("T3_"))
        return "h/rok";
    if (starts("GR_"))
        return "%";
    if (c == "W_VELOCITY")
        return "m/s";
    if (c == "W_DIRECT")
        return "°";
    if (c == "Z_ELEV" || c == "L_ELEV" || c == "X_COORD" || c == "Y_COORD")
        return "m";
    return "";
}

namespace {

// A number with the field's decimals and a decimal comma, followed by its unit; a text or a
// blank as it is.
std::string fieldText(const Attribute& a, std::optional<double> number, const std::string& text)
{
    if (a.kind == AttributeKind::Text || !number)
        return text;
    std::string shown = cformat("%.*f", a.decimals, *number);
    std::replace(shown.begin(), shown.end(), '.', ',');
    const std::string unit = columnUnit(a.name);
    return unit.empty() ? shown : shown + ' ' + unit;
}

}  // namespace

double latticeVertices(std::size_t points)
{
    return std::clamp(kVerticesPerPoint * static_cast<double>(points), kMinVertices, kMaxVertices);
}

std::string MapModel::title() const
{
    return fileNameOf(table) + ": " + column;
}

std::optional<std::size_t> MapModel::pointNear(double x, double y, double radius) const
{
    std::optional<std::size_t> best;
    double bestD = radius * radius;
    for (std::size_t i = 0; i < points.size(); ++i) {
        double dx = points[i].x - x, dy = points[i].y - y, d = dx * dx + dy * dy;
        if (d <= bestD) {
            bestD = d;
            best = i;
        }
    }
    return best;
}

std::vector<std::pair<std::string, std::string>> MapModel::rowOf(std::size_t point) const
{
    std::vector<std::pair<std::string, std::string>> row;
    const ResultPoint& p = rows.points[points[point].row];
    for (std::size_t i = 0; i < rows.attributes.size(); ++i)
        row.emplace_back(rows.attributes[i].name, fieldText(rows.attributes[i], p.numbers[i], p.texts[i]));
    return row;
}

Outcome<MapModel> buildMapModel(const MapSettings& s, Reporter& r, int pictureWidth)
{
    MapModel m;
    m.table = s.tablePath();
    if (m.table.empty())
        return Problem::error("Nebyl zadán vstupní DBF soubor s výsledky!");
    r.status(0, "Načítám " + m.table);
    Outcome<ResultPoints> rows = readResultPoints(m.table);
    if (!rows)
        return rows.problem();
    if (!rows->truncated.empty()) {
        if (rows->points.empty())
            return Problem::error(rows->truncated);
        m.warnings.push_back(rows->truncated);
    }
    m.rows = std::move(*rows);
    const bool byGroup = equalsIgnoreCase(trim(s.column), kDominantGroupColumn);
    std::optional<std::size_t> column = byGroup ? chooseColumn(m.rows, {}) : chooseColumn(m.rows, s.column);
    if (!column)
        return Problem::error(s.column.empty() ? "Soubor " + m.table + " neobsahuje žádný sloupec s hodnotami!"
                                               : "Soubor " + m.table + " neobsahuje sloupec " + s.column + "!");
    m.column = m.rows.attributes[*column].name;
    m.unit = columnUnit(m.column);
    for (std::size_t i = 0; i < m.rows.points.size(); ++i) {
        const ResultPoint& p = m.rows.points[i];
        m.points.push_back({p.x, p.y, p.numbers[*column], i});
        m.box.include(p.x, p.y);
    }
    if (m.points.size() > 1 && m.box.width() * m.box.height() > 0)
        m.pointSpacing = std::sqrt(m.box.width() * m.box.height() / static_cast<double>(m.points.size()));
    if (byGroup) {
        if (std::optional<Problem> p = colourByDominantGroup(m))
            return *p;
    } else {
        Outcome<ClassBreaks> breaks = chooseBreaks(s, m);
        if (!breaks)
            return breaks.problem();
        m.breaks = std::move(*breaks);
    }
    if (!s.coordinateSystem.empty())
        m.systemText = studySystemLabel(s.coordinateSystem);
    addOptionalLayers(s, m);
    buildBackgroundLayer(s, m, r, pictureWidth);
    if (r.cancelled())
        return m;
    if (byGroup)
        return m;  // group numbers have no isolines
    r.status(0, "Počítám izolinie");
    buildIsolineLayers(m, latticeVertices(m.points.size()));
    return m;
}

}  // namespace ovd
