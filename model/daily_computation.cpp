#include "model/daily_computation.h"

#include <cmath>

#include "common/numbers.h"
#include "common/reporter.h"
#include "model/engine/concentration_loop.h"
#include "model/engine/plume_contribution.h"

namespace ovd {

double dailyDirection(double direction)
{
    double d = std::fmod(direction, 360.0);
    if (d < 0.0)
        d += 360.0;
    return d >= 360.0 ? 0.0 : d;  // a tiny negative value rounds up to 360
}

std::optional<Problem> checkDailyWeather(const DailyParameters& par)
{
    if (!(par.speed > 0.0) || !std::isfinite(par.speed))
        return Problem::error("Rychlost větru musí být větší než 0!");
    if (!std::isfinite(par.direction))
        return Problem::error("Směr větru musí být číslo ve stupních!");
    if (par.stabilityClass < 1 || par.stabilityClass > kStabilityClasses)
        return Problem::error("Třída stability musí nabývat hodnoty 1 až 5!");
    return std::nullopt;
}

std::optional<Problem> checkDailyRun(const ConcentrationStudy& study, const DailyParameters& par)
{
    if (auto weather = checkDailyWeather(par))
        return weather;
    const MatrixFit fit = matrixFit(study);
    if (fit == MatrixFit::BadRows)
        return Problem::error(
            par.dust ? "Chyba při kontrole počtu řádků"
                     : "Chyba při kontrole počtu řádků vstupních matic, popřípadě překročení limitu zdrojů !");
    if (fit == MatrixFit::BadColumns)
        return Problem::error(par.dust
                                  ? "Chyba při kontrole počtu sloupců"
                                  : "Chyba při kontrole počtu sloupců vstupních matic, popřípadě překročení limitu "
                                    "referenčních bodů !");
    for (const SourceRecord& record : study.sources) {
        if (auto bad = sourceTypeProblem(record))
            return bad;
        if (par.nearbySources) {
            if (auto cluster = clusterOf(record, study.clusters); !cluster)
                return cluster.problem();
        }
        if (par.dust) {
            if (auto bad = dustSourceProblem(record))
                return bad;
        }
    }
    return std::nullopt;
}

DailyOutcome computeDaily(const ConcentrationStudy& study, const DailyParameters& par, const DailySourceDone& done)
{
    DailyOutcome out;
    const std::size_t nPoints = study.points.size();
    out.concentration.assign(nPoints, 0.0);
    const double phi = dailyDirection(par.direction);
    const WeatherCase wc{par.stabilityClass, par.speed, -1};
    const StabilityConstants& k = stabilityConstants(wc.stabilityClass);
    PlumeOptions options;
    options.decay = par.dust ? 0.0 : decayConstant(par.substanceClass);
    options.lateralWidening = kDailyLateralWidening;
    options.dust = par.dust;

    for (std::size_t s = 0; s < study.sources.size(); ++s) {
        const SourceRecord& record = study.sources[s];
        ModelSource src = modelSource(record);
        // the emission of the hours of operation, spread over the whole day
        src.emission = src.emission * src.pd * kHourShareOfDay;
        const SourceCase sc = sourceCase(src, wc);
        const InitialSpread spread0 = initialSpread(src, phi, k);
        const ClusterLine* cluster =
            par.nearbySources && record.cluster != 0 ? findCluster(study.clusters, record.cluster) : nullptr;
        const std::vector<SettlingFraction> fractions =
            par.dust ? settlingFractions(record) : std::vector<SettlingFraction>{};
        for (std::size_t r = 0; r < nPoints; ++r) {
            const ReferencePoint& pt = study.points[r];
            if (src.x == pt.x && src.y == pt.y)  // a point on the source gets nothing from it
                continue;
            const double c = plumeContribution(src, sc, spread0, cluster, wc, phi, pt,
                                               pairCoefficients(study.matrices, s, r), fractions, options);
            if (!std::isfinite(c)) {
                out.problem = Problem::error(nonFiniteContributionText(src.number, pt.number, phi));
                return out;
            }
            out.concentration[r] += c;
        }
        if (done && !done(static_cast<int>(s)))
            return out;
    }
    out.completed = true;
    return out;
}

}  // namespace ovd
