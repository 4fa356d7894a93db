#include "model/concentration_study_generator.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "model/dispersion_constants.h"

namespace ovd {

namespace {

// The study's random numbers, drawn in one fixed order so that a seed always gives the same study.
struct Draw {
    std::mt19937 rng;
    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
    bool chance(double p) { return uniform(0.0, 1.0) < p; }
    unsigned below(unsigned n) { return static_cast<unsigned>(rng() % n); }
};

void addPoints(ConcentrationStudy& study, const StudyShape& shape, Draw& d)
{
    const int side = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(shape.points)))));
    const double spacing = shape.extent / side;
    for (int i = 0; i < shape.points; ++i) {
        ReferencePoint p;
        p.number = i + 1;
        p.x = (i % side) * spacing + d.uniform(-0.2, 0.2) * spacing;
        p.y = (i / side) * spacing + d.uniform(-0.2, 0.2) * spacing;
        p.z = 250.0 + d.uniform(0.0, 500.0);
        p.l = d.chance(0.7) ? 0.0 : d.uniform(0.0, 30.0);
        study.points.push_back(p);
    }
}

// The parameters of a source of the given kind.
std::vector<double> sourceValues(std::int16_t type, double x1, double y1, Draw& d)
{
    if (type == kPointSource)
        return {d.uniform(0.1, 20.0),
                d.uniform(5.0, 250.0),
                d.uniform(0.0, 60.0),
                d.chance(0.15) ? d.uniform(-20.0, 30.0) : d.uniform(30.0, 250.0),
                d.uniform(0.3, 4.0),
                d.uniform(0.0, 20.0),
                d.uniform(0.1, 1.0),
                24.0,
                0.0};
    if (type == kAreaSource) {
        bool givenRise = d.chance(0.5);
        return {d.uniform(0.01, 2.0),
                d.uniform(2.0, 30.0),
                d.uniform(0.0, 5.0),
                d.uniform(0.0, 40.0),
                givenRise ? 0.0 : d.uniform(0.5, 3.0),
                givenRise ? 0.0 : d.uniform(0.5, 5.0),
                d.uniform(0.1, 1.0),
                12.0,
                d.uniform(5.0, 80.0)};
    }
    double len = d.uniform(20.0, 600.0), dir = d.uniform(0.0, 6.283);
    if (d.chance(0.2))  // axis-parallel segments take the special azimuth branches
        dir = 1.5707963 * static_cast<int>(d.below(4));
    double x2 = x1 + len * std::sin(dir), y2 = y1 + len * std::cos(dir);
    if (std::fabs(x2 - x1) < 1e-6)
        x2 = x1;
    if (std::fabs(y2 - y1) < 1e-6)
        y2 = y1;
    return {d.uniform(0.0001, 0.01), x1,  y1, x2, y2, d.uniform(5.0, 25.0), d.uniform(0.0, 4.0),
            d.uniform(0.1, 1.0),     16.0};
}

void addSources(ConcentrationStudy& study, const StudyShape& shape, Draw& d)
{
    const int total = shape.pointSources + shape.areaSources + shape.lineSources;
    for (int s = 0; s < total; ++s) {
        SourceRecord r;
        r.number = 100 + s;
        r.x = d.uniform(0.1, 0.9) * shape.extent;
        r.y = d.uniform(0.1, 0.9) * shape.extent;
        r.z = 250.0 + d.uniform(0.0, 300.0);
        r.group = 10 + static_cast<int>(d.below(static_cast<unsigned>(std::max(1, shape.groups))));
        r.groupIndex = r.group - 10;
        r.type = s < shape.pointSources                  ? kPointSource
            : s < shape.pointSources + shape.areaSources ? kAreaSource
                                                         : kLineSource;
        const std::vector<double> v = sourceValues(r.type, r.x, r.y, d);
        std::copy(v.begin(), v.end(), r.values.begin());
        if (shape.clusters && d.chance(0.4))
            r.cluster = d.chance(0.5) ? 7 : 1005;
        study.sources.push_back(r);
    }
    if (shape.clusters) {
        study.clusters.push_back({3, 2, 10.0});
        study.clusters.push_back({7, 3, 40.0});
        study.clusters.push_back({1005, 4, 25.0});
        study.clusters.push_back({7, 9, 99.0});  // a later duplicate is never used
    }
}

// Plausible coefficients: Delta the true bearing of the source, Theta and ZMax from the
// height difference.
void addMatrices(ConcentrationStudy& study, const StudyShape& shape, Draw& d)
{
    CoefficientMatrices& m = study.matrices;
    m.rows = static_cast<int>(study.sources.size());
    m.columns = shape.points;
    const std::size_t columns = static_cast<std::size_t>(shape.points);
    std::vector<float> theta(columns), delta(columns), zmax(columns);
    for (const SourceRecord& src : study.sources) {
        double sx = src.x, sy = src.y;
        if (src.type == kLineSource) {
            sx = (src.values[LineParam::kStartX] + src.values[LineParam::kEndX]) / 2.0;
            sy = (src.values[LineParam::kStartY] + src.values[LineParam::kEndY]) / 2.0;
        }
        for (std::size_t r = 0; r < columns; ++r) {
            const ReferencePoint& p = study.points[r];
            double bearing = std::atan2(sx - p.x, sy - p.y) * 180.0 / kModelPi;
            if (bearing < 0)
                bearing += 360.0;
            if (bearing >= 360.0)
                bearing -= 360.0;
            delta[r] = static_cast<float>(bearing);
            if (delta[r] >= 360.0f)
                delta[r] = 0.0f;
            double rise = p.z - src.z;
            theta[r] = rise > 0 ? static_cast<float>(std::min(1.0, rise / 400.0)) : 0.0f;
            zmax[r] = static_cast<float>(std::max(0.0, rise + d.uniform(-20.0, 60.0)));
        }
        if (shape.matrixRows) {
            shape.matrixRows(theta, delta, zmax);
        } else {
            m.theta.insert(m.theta.end(), theta.begin(), theta.end());
            m.delta.insert(m.delta.end(), delta.begin(), delta.end());
            m.zmax.insert(m.zmax.end(), zmax.begin(), zmax.end());
        }
    }
}

void addDust(ConcentrationStudy& study, const StudyShape& shape)
{
    // a generator of its own, so that the gas part of a study stays the same
    Draw d{std::mt19937(shape.seed * 7919u + 13u)};
    for (std::size_t s = 0; s < study.sources.size(); ++s) {
        SourceRecord& r = study.sources[s];
        r.density = d.uniform(800.0, 3500.0);
        const int n = s == 1 ? 0 : 1 + static_cast<int>(d.below(static_cast<unsigned>(shape.dustFractions)));
        for (int i = 0; i < n; ++i) {
            const double diameter = (s == 2 && i == 0) ? 0.0 : d.uniform(0.5, 80.0);
            r.fractions.push_back({diameter, d.uniform(0.05, 0.6)});
        }
    }
}

}  // namespace

ConcentrationStudy generateStudy(const StudyShape& shape)
{
    ConcentrationStudy study;
    Draw d{std::mt19937(shape.seed)};
    addPoints(study, shape, d);
    addSources(study, shape, d);
    if (shape.pointOnSource && !study.points.empty() && !study.sources.empty()) {
        const SourceRecord& first = study.sources.front();
        study.points.front().x = first.x;
        study.points.front().y = first.y;
    }
    addMatrices(study, shape, d);
    if (shape.dustFractions > 0)
        addDust(study, shape);
    for (int row = 0; row < kRoseRows; ++row) {
        std::vector<double> values;
        for (int j = 0; j < 8; ++j)
            values.push_back(d.uniform(0.0, 2.0));
        values.push_back(row == 0 || row == 1 || row == 3 || row == 6 || row == 9 ? d.uniform(0.0, 3.0) : 0.0);
        study.windRose.push_back(values);
    }
    return study;
}

ConcentrationStudy fanStudy(std::int16_t type, const std::vector<float>& deltas, const FanShape& shape)
{
    ConcentrationStudy study;
    SourceRecord s;
    s.number = shape.number;
    s.type = type;
    s.z = 300;
    s.values = {5.0, 10.0, 0.0, 0.0, 0.0, 0.0, 1.0, shape.hours, 10.0};
    if (type == kLineSource)
        s.values = {0.01, -5.0, 0.0, 5.0, 0.0, 4.0, 0.0, 1.0, shape.hours};
    study.sources.push_back(s);
    for (std::size_t i = 0; i < deltas.size(); ++i)
        study.points.push_back({static_cast<std::int32_t>(i + 1), 0.0, -1000.0 - static_cast<double>(i), 300.0, 0.0});
    study.matrices.rows = 1;
    study.matrices.columns = static_cast<std::int32_t>(deltas.size());
    study.matrices.delta = deltas;
    study.matrices.theta.assign(deltas.size(), shape.theta);
    study.matrices.zmax.assign(deltas.size(), 0.0f);
    study.windRose.assign(11, std::vector<double>(9, 1.0));
    return study;
}

}  // namespace ovd
