// Chapters 1 to 5: the study, its sources, reference points, terrain and wind rose.
#include <algorithm>
#include <cmath>
#include <set>

#include "common/gis_services.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/reporter_wrapper.h"
#include "gis/map_inputs.h"
#include "inputs/binary_inputs.h"
#include "inputs/conversion.h"
#include "inputs/terrain_matrix.h"
#include "model/coefficient_settings.h"
#include "model/concentration_settings.h"
#include "report_chapters.h"
#include "report_pictures.h"
#include "windrose/wind_rose_reader.h"

namespace ovd {

namespace {

std::string signatureState(const StudyTable& t)
{
    if (t.stale())
        return "vstupy změněny od výpočtu";
    return t.signedOutput ? "vstupy beze změny" : "bez podpisu vstupů";
}

// Whether the chapter's input `path` is a file; where it is not, the chapter says so instead.
bool inputAtHand(ReportDocument& doc, const std::string& what, const std::string& path)
{
    if (!path.empty() && isRegularFile(path))
        return true;
    doc.paragraph(what + " studie " + (path.empty() ? std::string("nebyl zadán") : "(" + path + ") chybí") +
                  ", kapitola proto nic neuvádí.");
    return false;
}

// An input's chapter: its heading, then what `body` writes of the file the member of S names,
// or where that is not a file, the paragraph that says so.
template <class S, class Body>
void inputChapter(ReportDocument& doc, const ReportContext& c, const std::string& heading, std::string S::*input,
                  const std::string& what, Body body)
{
    doc.chapter(heading);
    const std::string path = loadSettings<S>(c.project).*input;
    if (inputAtHand(doc, what, path))
        body(doc, c, path);
}

// The chapter's picture of the study's first map, drawn by `draw` (given the map and the
// project's file name); none where the study has no map or the picture would show nothing.
template <class Draw>
void mapPicture(ReportDocument& doc, const ReportContext& c, Draw draw, const std::string& caption, double widthMm)
{
    const MapModel* m = c.firstMap();
    if (!m)
        return;
    QImage image = draw(*m, fileNameOf(c.project.path()));
    if (!image.isNull())
        doc.picture({std::move(image), caption, widthMm});
}

std::string range(double lo, double hi, int decimals)
{
    return czechNumber(lo, decimals) + " až " + czechNumber(hi, decimals);
}

// The step of a lattice the values lie on, or nullopt when they lie on none.
std::optional<double> latticeStep(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    if (v.size() < 2)
        return std::nullopt;
    const double step = v[1] - v[0];
    for (std::size_t i = 2; i < v.size(); ++i)
        if (std::abs(v[i] - v[i - 1] - step) > 1e-6 * std::max(1.0, step))
            return std::nullopt;
    return step;
}

std::size_t distinct(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return static_cast<std::size_t>(std::unique(v.begin(), v.end()) - v.begin());
}

ReportTable sourceTable(const std::vector<const SourceRecord*>& records, int kind)
{
    ReportTable t;
    if (kind == kLineSource)
        t.header = {"Číslo", "Skupina", "ML [g/(s·m)]", "X1 [m]", "Y1 [m]", "X2 [m]", "Y2 [m]", "Šířka [m]",
                    "Výška [m]", "Alfa", "Pd [h]"};
    else
        t.header = {"Číslo", "Skupina", "X [m]", "Y [m]", "Z [m]", "M [g/s]", "H [m]", "Vs [m³/s]", "ts [°C]",
                    "d [m]", "w0 [m/s]", "Alfa", "Pd [h]"};
    if (kind == kAreaSource)
        t.header.push_back("Y0 [m]");
    t.numeric.assign(t.header.size(), true);
    for (const SourceRecord* r : records) {
        std::vector<std::string> row{czechWhole(r->number), czechWhole(r->group)};
        if (kind != kLineSource)
            for (double v : {r->x, r->y, r->z})
                row.push_back(plainValue(v));
        const int count = kind == kPointSource ? kPointParamCount : kind == kAreaSource ? kAreaParamCount : kLineParamCount;
        for (int i = 0; i < count; ++i)
            row.push_back(plainValue(r->values[static_cast<std::size_t>(i)]));
        t.rows.push_back(std::move(row));
    }
    return t;
}

}  // namespace

const MapModel* ReportContext::firstMap() const
{
    for (const std::optional<MapModel>& m : maps)
        if (m)
            return &*m;
    return nullptr;
}

std::string plainValue(double v)
{
    std::string text = czechNumber(v, 6);
    if (text.find(',') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == ',')
            text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

void studyChapter(ReportDocument& doc, const ReportContext& c)
{
    doc.chapter("1 Studie");
    const std::string system = c.project.readString(section::kGlobal, kStudySystemKey);
    doc.table(labelTable({{"Soubor projektu", fileNameOf(c.project.path())},
                          {"Souřadnicový systém", system.empty() ? "neurčen" : studySystemLabel(system)},
                          {"Verze programu", "Ovardix " OVD_VERSION}}));
    if (c.study.tables.empty()) {
        doc.paragraph("Studie zatím nemá žádnou tabulku výsledků: projekt nejmenuje žádnou, která by existovala, a "
                      "žádná nebyla zadána.");
        return;
    }
    doc.paragraph("Výpočty, jejichž výsledky zpráva uvádí, s datem výpočtu z hlavičky tabulky:");
    ReportTable t;
    t.header = {"Tabulka", "Obsah", "Původ", "Datum výpočtu", "Vstupy"};
    t.numeric = {false, false, false, false, false};
    for (const StudyTable& s : c.study.tables)
        t.rows.push_back({s.path, tableKindText(s.kind), s.role, s.date, signatureState(s)});
    doc.table(std::move(t));
    for (const std::string& a : c.study.absent)
        doc.paragraph("Tabulka " + a + ", kterou projekt uvádí, zatím neexistuje.");
}

namespace {

// The sources of the binary sources file `path`.
void sourcesOf(ReportDocument& doc, const ReportContext& c, const std::string& path)
{
    Outcome<SourceFile> file = readSourcesFile(path);
    if (!file) {
        doc.paragraph(file.problem().text, true);
        return;
    }
    doc.paragraph("Zdroje jsou převzaty ze souboru " + path + " (" + czechWhole(static_cast<long long>(file->records.size())) +
                  " zdrojů" + (file->dust ? ", výpočet prachu" : "") + ").");
    const std::pair<int, const char*> kinds[] = {
        {kPointSource, "Bodové zdroje"}, {kAreaSource, "Plošné zdroje"}, {kLineSource, "Liniové zdroje"}};
    for (const auto& [kind, title] : kinds) {
        std::vector<const SourceRecord*> of;
        for (const SourceRecord& r : file->records)
            if (r.type == kind)
                of.push_back(&r);
        if (of.empty())
            continue;
        std::stable_sort(of.begin(), of.end(), [](const SourceRecord* a, const SourceRecord* b) { return a->number < b->number; });
        doc.section(std::string("2.") + std::to_string(kind) + " " + title);
        doc.table(sourceTable(of, kind));
    }
    mapPicture(doc, c, sourcesMap, "Zdroje nad výškopisem studie", 160);
}

// The reference points of the binary points file `path`.
void pointsOf(ReportDocument& doc, const ReportContext&, const std::string& path)
{
    Outcome<std::vector<ReferencePoint>> points = readPointsFile(path);
    if (!points || points->empty()) {
        doc.paragraph(points ? "Soubor " + path + " neobsahuje žádný bod." : points.problem().text, true);
        return;
    }
    std::vector<double> xs, ys, zs, ls;
    for (const ReferencePoint& p : *points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
        zs.push_back(p.z);
        ls.push_back(p.l);
    }
    auto [x0, x1] = std::minmax_element(xs.begin(), xs.end());
    auto [y0, y1] = std::minmax_element(ys.begin(), ys.end());
    auto [z0, z1] = std::minmax_element(zs.begin(), zs.end());
    auto [l0, l1] = std::minmax_element(ls.begin(), ls.end());
    std::optional<double> sx = latticeStep(xs), sy = latticeStep(ys);
    const bool lattice = sx && sy && distinct(xs) * distinct(ys) == points->size();
    doc.table(labelTable({
        {"Soubor", path},
        {"Počet bodů", czechWhole(static_cast<long long>(points->size()))},
        {"Rozsah X [m]", range(*x0, *x1, 1)},
        {"Rozsah Y [m]", range(*y0, *y1, 1)},
        {"Uspořádání", lattice ? "pravidelná síť " + czechWhole(static_cast<long long>(distinct(xs))) + " × " +
                                     czechWhole(static_cast<long long>(distinct(ys))) + " bodů s krokem " +
                                     plainValue(*sx) + " m × " + plainValue(*sy) + " m"
                               : "nepravidelná síť"},
        {"Nadmořská výška terénu v bodech [m]", range(*z0, *z1, 1)},
        {"Výška bodů nad terénem [m]", range(*l0, *l1, 2)},
    }));
}

// The terrain of the binary terrain matrix `path`.
void terrainOf(ReportDocument& doc, const ReportContext& c, const std::string& path)
{
    Outcome<TerrainMatrix> terrain = TerrainMatrix::open(path);
    if (!terrain) {
        doc.paragraph(terrain.problem().text, true);
        return;
    }
    const TerrainHeader& h = terrain->header();
    double lo = INFINITY, hi = -INFINITY;
    long long blank = 0;
    for (std::int32_t row = 0; row < h.nrows; ++row)
        for (std::int32_t col = 0; col < h.ncols; ++col) {
            double z = terrain->element(col, row);
            if (z == h.noData) {
                ++blank;
                continue;
            }
            lo = std::min(lo, z);
            hi = std::max(hi, z);
        }
    const double w = h.ncols * h.cellSize, ht = h.nrows * h.cellSize;
    std::vector<std::pair<std::string, std::string>> rows{
        {"Soubor", path},
        {"Počet sloupců × řádků", czechWhole(h.ncols) + " × " + czechWhole(h.nrows)},
        {"Velikost buňky [m]", plainValue(h.cellSize)},
        {"Rozsah X [m]", range(h.xOrigin, h.xOrigin + w, 1)},
        {"Rozsah Y [m]", range(h.yOrigin, h.yOrigin + ht, 1)},
        {"Nejnižší a nejvyšší nadmořská výška [m]", std::isfinite(lo) ? range(lo, hi, 1) : "bez hodnot"},
    };
    if (blank > 0)
        rows.push_back({"Buňky bez hodnoty", czechWhole(blank)});
    doc.table(labelTable(rows));
    mapPicture(doc, c, terrainMap, "Stínovaný reliéf terénu s vrstevnicemi", 160);
}

// The wind rose of the file `path`.
void windRoseOf(ReportDocument& doc, const ReportContext& c, const std::string& path)
{
    NullReporter quiet;
    std::optional<WindRose> rose = readWindRose(path, quiet);
    if (!rose) {
        doc.paragraph("Soubor s větrnou růžicí " + path + " nelze přečíst.", true);
        return;
    }
    static const char* const kCases[11] = {"I, 1", "II, 1", "II, 2", "III, 1", "III, 2", "III, 3",
                                           "IV, 1", "IV, 2", "IV, 3", "V, 1", "V, 2"};
    const Profile::WindSpeeds speeds = c.profile.windSpeeds();
    static const int kSpeedClass[11] = {0, 0, 1, 0, 1, 2, 0, 1, 2, 0, 1};
    const std::size_t n = rose->rows[0].directions.size();
    ReportTable t;
    t.header = {"Třída stability, rychlosti", "Rychlost [m/s]"};
    for (std::size_t j = 0; j < n; ++j)
        t.header.push_back(plainValue(360.0 * static_cast<double>(j) / static_cast<double>(n)) + "°");
    t.header.push_back("Bezvětří");
    t.numeric.assign(t.header.size(), true);
    t.numeric[0] = false;
    for (std::size_t i = 0; i < 11; ++i) {
        const WindRoseRow& row = rose->rows[i];
        std::vector<std::string> cells{kCases[i], plainValue(speeds.speed[kSpeedClass[i]])};
        for (std::size_t j = 0; j < n; ++j)
            cells.push_back(j < row.directions.size() ? czechNumber(row.directions[j], 2) : "");
        cells.push_back(czechNumber(row.calm, 2));
        t.rows.push_back(std::move(cells));
    }
    t.caption = "Četnosti směrů větru v procentech roku (směr, odkud vítr vane, ve stupních od severu) podle " +
                path;
    doc.table(std::move(t));
    mapPicture(
        doc, c, [](const MapModel& m, const std::string&) { return windRosePicture(m); },
        "Větrná růžice: podíl roku, kdy vítr vane z jednotlivých směrů", 70);
}

}  // namespace

void sourcesChapter(ReportDocument& doc, const ReportContext& c)
{
    inputChapter(doc, c, "2 Zdroje znečištění", &ConversionSettings::sourcesBinary, "Binární soubor se zdroji",
                 sourcesOf);
}

void pointsChapter(ReportDocument& doc, const ReportContext& c)
{
    inputChapter(doc, c, "3 Referenční body", &ConversionSettings::pointsBinary, "Binární soubor s referenčními body",
                 pointsOf);
}

void terrainChapter(ReportDocument& doc, const ReportContext& c)
{
    inputChapter(doc, c, "4 Výškopis", &CoefficientSettings::terrain, "Binární matice výškopisu", terrainOf);
}

void windRoseChapter(ReportDocument& doc, const ReportContext& c)
{
    inputChapter(doc, c, "5 Větrná růžice", &ConcentrationSettings::windRose, "Soubor s větrnou růžicí", windRoseOf);
}

}  // namespace ovd
