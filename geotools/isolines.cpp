#include "isolines.h"

#include "common/gis_services.h"

#include <algorithm>
#include <new>

#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "isoline_input.h"
#include "isoline_lattice.h"
#include "isoline_neighbours.h"
#include "isoline_output.h"
#include "isoline_tracing.h"

namespace ovd {

namespace {

// The progress of one phase, reported at most about a hundred times.
class PhaseProgress {
public:
    PhaseProgress(Reporter& r, std::size_t total)
        : m_r(r)
        , m_total(static_cast<long>(total))
        , m_step(std::max<long>(1, m_total / 100))
    { }
    void at(std::size_t done)
    {
        auto d = static_cast<long>(done);
        if (d % m_step == 0 || d == m_total)
            m_r.progress(d, m_total);
    }

private:
    Reporter& m_r;
    long m_total, m_step;
};

Outcome<double> targetVertices(const IsolineSettings& s, const ShapeBox& box)
{
    switch (s.latticeMode) {
    case static_cast<int>(LatticeMode::SegmentsPerSide): return targetFromSegmentsPerSide(s.segmentsPerSide);
    case static_cast<int>(LatticeMode::VertexCount): return targetFromVertexCount(s.vertexCount);
    case static_cast<int>(LatticeMode::SegmentLength): return targetFromSegmentLength(s.segmentLength, box);
    default:
        return Problem::error(
            cformat("Neznámý způsob rozdělení oblasti na trojúhelníky (TypTvorbyTrojuhelniku = %d)!", s.latticeMode));
    }
}

// The checks made before anything is read: the levels asked for and the outputs.
ToolStatus checkParameters(const IsolineSettings& s, std::vector<double>* listed, const RunContext& ctx)
{
    Reporter& r = ctx.reporter;
    if (s.levelMode == static_cast<int>(LevelMode::List)) {
        std::optional<std::vector<double>> values = parseNominalList(s.nominalList);
        if (values && values->empty()) {
            r.message(Severity::Error, kCaptionAlert, "Seznam jmenovitých hodnot izolinií je prázdný! ");
            return ToolStatus::Failed;
        }
        if (!values) {
            r.message(Severity::Error, kCaptionAlert,
                      "Seznam jmenovitých hodnot izolinií obsahuje neplatnou hodnotu! ");
            return ToolStatus::Failed;
        }
        *listed = std::move(*values);
    } else if (s.levelMode == static_cast<int>(LevelMode::Scale)) {
        if (!(s.scaleStep > 0)) {
            r.message(Severity::Error, kCaptionAlert, "Krok stupnice izolinií musí být větší než 0!");
            return ToolStatus::Failed;
        }
    } else {
        r.error(cformat("Neznámý způsob rozdělení izolinií (TypIzolinie = %d)!", s.levelMode));
        return ToolStatus::Failed;
    }
    if (s.neighbours() < kMinNeighbours || s.neighbours() > kMaxNeighbours) {
        r.error(cformat("Počet okolních bodů musí být 6 až 12 (PozPocOkolBodu %d není 0 až 6)!", s.neighbourPosition));
        return ToolStatus::Failed;
    }
    if (!s.coordinateSystem.empty()) {
        if (std::optional<Problem> p = checkStudySystem(ctx.gis, s.coordinateSystem)) {
            p->report(r);
            return ToolStatus::Failed;
        }
    }
    if (!refuseSharedFiles(
            r, {{"vstupní DBF soubor", s.input}},
            {{"výstupní SHP soubor", s.shp}, {"výstupní SHX soubor", s.shx}, {"výstupní DBF soubor", s.dbf}}))
        return ToolStatus::Failed;
    if (!ctx.confirmOverwrite(s.shp) || !ctx.confirmOverwrite(s.shx) || !ctx.confirmOverwrite(s.dbf))
        return ToolStatus::Declined;
    return ToolStatus::Done;
}

// Each vertex's value from its k nearest points, and their range; false when cancelled.
bool fillVertexValues(const std::vector<ScatterPoint>& points, const Lattice& lattice, int k,
                      std::vector<double>& values, double& vmin, double& vmax, Reporter& r)
{
    NeighbourIndex index(points);
    PhaseProgress progress(r, values.size());
    for (int j = 0; j < lattice.rows; ++j)
        for (int i = 0; i < lattice.columns; ++i) {
            std::size_t at = lattice.index(j, i);
            double v = index.vertexValue(lattice.x(j, i), lattice.y(j), k);
            values[at] = v;
            vmin = at == 0 ? v : std::min(vmin, v);
            vmax = at == 0 ? v : std::max(vmax, v);
            progress.at(at + 1);
            if (r.cancelled())
                return false;
        }
    return true;
}

// The segments of every level, stopped where the files could not hold more.
std::vector<IsolineSegment> traceLevels(const Lattice& lattice, const std::vector<double>& values,
                                        const std::vector<double>& levels, Reporter& r)
{
    std::vector<IsolineSegment> segments;
    PhaseProgress levelProgress(r, levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        r.status(0, cformat("Vytvářím izolinie s hodnotou : %lf ...", levels[i]));
        traceLevel(lattice, values, levels[i], segments);
        levelProgress.at(i + 1);
        if (static_cast<std::int64_t>(segments.size()) > maxShapeRecords(kSegmentContentWords))
            break;  // writeIsolineFiles refuses this many
    }
    return segments;
}

ToolStatus run(const IsolineSettings& s, const RunContext& ctx, std::string_view* allocation)
{
    Reporter& r = ctx.reporter;
    std::vector<double> levels;
    if (ToolStatus st = checkParameters(s, &levels, ctx); st != ToolStatus::Done)
        return st;
    OutputLock lock;
    if (!lock.acquire(r, {s.shp, s.shx, s.dbf}))
        return ToolStatus::Failed;

    *allocation = "Nelze alokovat pamět pro pole bodů.";
    std::optional<std::vector<ScatterPoint>> points = readIsolinePoints(s.input, s.column, r);
    if (!points)
        return ToolStatus::Failed;
    const ShapeBox box = boundingBox(*points);
    Outcome<double> target = targetVertices(s, box);
    Outcome<Lattice> plan = target ? planLattice(*target, box) : Outcome<Lattice>(target.problem());
    if (!plan) {
        plan.problem().report(r);
        return ToolStatus::Failed;
    }
    const Lattice& lattice = *plan;
    r.status(0, "Vytvářím síť vrcholů trojúhelníků  ...");
    r.progress(static_cast<long>(lattice.vertexCount()), static_cast<long>(lattice.vertexCount()));

    const int k = s.neighbours();
    if (static_cast<std::size_t>(k) > points->size()) {
        r.error("Počet okolních bodů pro dopočet hodnot vrcholů trojúhelníků je větší než celkový počet referenčních "
                "bodů.");
        return ToolStatus::Failed;
    }
    *allocation = "Nelze alokovat pamět pro pole vsech okolnich bodů.";
    r.status(0, "Hledám hodnoty vrcholů trojúhelníků  ...");
    std::vector<double> values(lattice.vertexCount());
    double vmin = 0, vmax = 0;
    if (!fillVertexValues(*points, lattice, k, values, vmin, vmax, r))
        return ToolStatus::Failed;

    *allocation = "Nelze alokovat pamět pro pole skupin izolinií.";
    if (s.levelMode == static_cast<int>(LevelMode::Scale)) {
        Outcome<std::vector<double>> scale = scaleLevels(s.scaleFrom, s.scaleStep, vmin, vmax);
        if (!scale) {
            scale.problem().report(r);
            return ToolStatus::Failed;
        }
        levels = std::move(*scale);
    }

    *allocation = "Nelze alokovat pamět pro pole nalezených izolinií.";
    const std::vector<IsolineSegment> segments = traceLevels(lattice, values, levels, r);
    r.status(0, "Ukládám izolinie do souborů ...");
    if (!writeIsolineFiles(s.shp, s.shx, s.dbf, box, segments, s.coordinateSystem, ctx.gis, r))
        return ToolStatus::Failed;
    if (segments.empty())
        r.info("Vytváření izolinií dokončeno.\nŽádná izolinie nevznikla: zadané hodnoty izolinií neleží mezi "
               "hodnotami vrcholů trojúhelníků, soubory obsahují jen hlavičky.");
    else
        r.info("Vytváření izolinií dokončeno.");
    return ToolStatus::Done;
}

}  // namespace

ToolStatus makeIsolines(const IsolineSettings& s, const RunContext& ctx)
{
    std::string_view allocation = "Nelze alokovat pamět pro strukturu DBF souboru.";
    try {
        return run(s, ctx, &allocation);
    } catch (const std::bad_alloc&) {
        ctx.reporter.error(allocation);
        return ToolStatus::Failed;
    }
}

}  // namespace ovd
