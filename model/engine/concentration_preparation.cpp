#include "model/engine/concentration_preparation.h"

#include <algorithm>
#include <cmath>

#include "common/numbers.h"
#include "common/reporter.h"

namespace ovd {

std::optional<Problem> dustSourceProblem(const SourceRecord& record)
{
    auto usable = [](double v) { return std::isfinite(v) && v >= 0.0; };
    bool ok = usable(record.density);
    for (const DustFraction& f : record.fractions)
        ok = ok && usable(f.diameter) && usable(f.share);
    if (ok)
        return std::nullopt;
    return Problem::error(cformat("Zdroj %d má zápornou nebo chybnou hustotu, průměr částic nebo podíl frakce, "
                                  "výpočet nelze spustit!",
                                  record.number));
}

MatrixFit matrixFit(const ConcentrationStudy& study)
{
    const CoefficientMatrices& m = study.matrices;
    const std::size_t cells =
        static_cast<std::size_t>(std::max(m.rows, 0)) * static_cast<std::size_t>(std::max(m.columns, 0));
    if (m.rows != static_cast<std::int32_t>(study.sources.size()) || study.sources.size() > kMaxSources)
        return MatrixFit::BadRows;
    if (m.columns != static_cast<std::int32_t>(study.points.size()) || study.points.size() > kMaxReferencePoints ||
        m.theta.size() != cells || m.delta.size() != cells || m.zmax.size() != cells)
        return MatrixFit::BadColumns;
    return MatrixFit::Fits;
}

std::optional<Problem> sourceTypeProblem(const SourceRecord& record)
{
    if (record.type != kPointSource && record.type != kAreaSource && record.type != kLineSource)
        return Problem::error("Typ zdroje musí nabývat hodnoty 1, 2, 3");
    return std::nullopt;
}

Outcome<const ClusterLine*> clusterOf(const SourceRecord& record, const std::vector<ClusterLine>& clusters)
{
    if (record.cluster == 0)
        return nullptr;
    const ClusterLine* found = findCluster(clusters, record.cluster);
    if (!found)
        return Problem::error("Nenalezeno odpovídající číslo shluku");
    if (found->count <= 0 || !(found->distance >= 0.0) || !std::isfinite(found->distance))
        return Problem::error(cformat("Popis shluku %ld je chybný: počet zdrojů musí být větší než 0 "
                                      "a vzdálenost nesmí být záporná!",
                                      found->number));
    return found;
}

bool PreparedRun::checkpointAfter(int index) const
{
    long perQuarter = std::lround(45.0 / params.step);
    return index > 0 && perQuarter > 0 && index % perQuarter == 0 && index < directions;
}

namespace {

// The step, the speeds of the three speed classes and the limits.
std::optional<Problem> parameterProblem(const ConcentrationParameters& params)
{
    if (!stepFitsCircle(params.step))
        return Problem::error("Krok po stupních nedělí 45 nebo je menší než 0.5!");
    for (int i = 0; i < 3; ++i) {
        if (!(params.speeds[static_cast<std::size_t>(i)] > 0.0) ||
            !std::isfinite(params.speeds[static_cast<std::size_t>(i)]))
            return Problem::error(cformat("Rychlost větru pro třídu rychlosti %d musí být větší než 0!", i + 1));
    }
    for (int m = 0; m < 3; ++m) {
        if (params.limits[static_cast<std::size_t>(m)] < 0.0)
            return Problem::error(cformat("Koncentrace pro dobu překročení %d nesmí být záporná!", m + 1));
    }
    return std::nullopt;
}

// The sources in the model's form, their cluster lines, fractions and group slots.
std::optional<Problem> addSources(PreparedRun& run, const ConcentrationStudy& study)
{
    const ConcentrationParameters& params = run.params;
    std::array<bool, kGroupSlots> used{};
    for (const SourceRecord& record : study.sources) {
        if (auto bad = sourceTypeProblem(record))
            return *bad;
        if (params.dust) {
            if (auto bad = dustSourceProblem(record))
                return *bad;
        }
        int line = -1;
        if (params.nearbySources) {
            auto cluster = clusterOf(record, study.clusters);
            if (!cluster)
                return cluster.problem();
            if (*cluster)
                line = static_cast<int>(*cluster - study.clusters.data());
        }
        if (run.groupShares) {
            if (record.groupIndex < 0 || record.groupIndex >= kGroupSlots)
                return Problem::error("Počet skupin zdrojů je větší než 200, nelze spustit výpočet pro jednotlivé "
                                      "skupiny zdrojů !");
            used[static_cast<std::size_t>(record.groupIndex)] = true;
        }
        run.sources.push_back(modelSource(record));
        run.clusterLine.push_back(line);
        if (params.dust)
            run.fractions.push_back(settlingFractions(record));
    }
    run.slotOfGroup.fill(-1);
    for (int g = 0; g < kGroupSlots; ++g) {
        if (used[static_cast<std::size_t>(g)]) {
            run.slotOfGroup[static_cast<std::size_t>(g)] = static_cast<int>(run.groupOfSlot.size());
            run.groupOfSlot.push_back(g);
        }
    }
    return std::nullopt;
}

}  // namespace

Outcome<PreparedRun> prepareConcentrationRun(const ConcentrationStudy& study, const ConcentrationParameters& params)
{
    PreparedRun run;
    run.study = &study;
    run.params = params;
    run.decay = params.dust ? 0.0 : decayConstant(params.substanceClass);
    run.vectorWidth = supportedWidths().front();
    if (auto bad = parameterProblem(params))
        return *bad;
    run.directions = directionCount(params.step);
    long steps = rotationSteps(params.rotation, params.step);
    run.adjustedRotation = params.rotation == 0.0 ? 0.0 : static_cast<double>(steps) * params.step;
    run.shiftSteps = params.rotateLeft ? -steps : steps;

    const MatrixFit fit = matrixFit(study);
    if (fit == MatrixFit::BadRows)
        return Problem::error("Chyba při kontrole počtu řádků vstupních matic, popřípadě překročení limitu zdrojů !");
    if (fit == MatrixFit::BadColumns)
        return Problem::error(
            "Chyba při kontrole počtu sloupců vstupních matic, popřípadě překročení limitu referenčních bodů !");

    auto rose = expandWindRose(study.windRose, params.step, run.shiftSteps);
    if (!rose)
        return rose.problem();
    run.rose = std::move(*rose);

    run.cases = params.mode == ConcentrationMode::Maximum ? maximumCases() : annualCases(params.speeds);
    run.groupShares = params.groupShares && params.mode == ConcentrationMode::Annual;
    if (auto bad = addSources(run, study))
        return *bad;
    return run;
}

}  // namespace ovd
