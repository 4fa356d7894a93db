#include <algorithm>
#include <cmath>

#include "geotools/isoline_lattice.h"
#include "map_layers.h"

namespace ovd {

namespace {

constexpr double kContourVertices = 20000;
constexpr int kContourCount = 10;
// Light from the north-west, 45° above the horizon, as maps are usually shaded.
constexpr double kLight[3] = {-0.5, 0.5, M_SQRT1_2};

// Low ground pale green, high ground pale brown.
QRgb tint(double t, double shade)
{
    double r = 196 + (232 - 196) * t, g = 222 + (214 - 222) * t, b = 176 + (178 - 176) * t;
    double k = 0.55 + 0.45 * std::clamp(shade, 0.0, 1.0);
    return qRgb(static_cast<int>(r * k), static_cast<int>(g * k), static_cast<int>(b * k));
}

// Contour lines at a round step between the lowest and highest altitude, traced on a lattice
// over the terrain's box.
void buildContours(const TerrainMatrix& t, double lo, double hi, MapModel& m)
{
    m.contourStep = roundStep((hi - lo) / kContourCount);
    const StudyBox& b = m.hillshade.box;
    Outcome<Lattice> plan = planLattice(kContourVertices, ShapeBox{b.xmin, b.ymin, b.xmax, b.ymax});
    if (!plan)
        return;
    const Lattice& l = *plan;
    std::vector<double> values(l.vertexCount());
    for (int j = 0; j < l.rows; ++j)
        for (int i = 0; i < l.columns; ++i) {
            TerrainHeight z = t.lookup(l.x(j, i), l.y(j), true);
            values[l.index(j, i)] = z.inside && !z.noData ? z.height : NAN;
        }
    for (double level = std::ceil(lo / m.contourStep) * m.contourStep; level <= hi; level += m.contourStep)
        traceLevel(l, values, level, m.contours.segments);
    m.contours.chains = levelChains(m.contours.segments);
}

}  // namespace

void buildTerrainLayers(const TerrainMatrix& t, MapModel& m, int maxSide)
{
    const TerrainHeader& h = t.header();
    const int stride =
        std::max(1, static_cast<int>(std::ceil(static_cast<double>(std::max(h.ncols, h.nrows)) / maxSide)));
    const int w = std::max(1, h.ncols / stride), ht = std::max(1, h.nrows / stride);
    auto at = [&](int i, int j) {  // pixel (i, j), j from the north
        double v = t.element(std::min(i * stride, h.ncols - 1), std::min(j * stride, h.nrows - 1));
        return v == h.noData ? NAN : v;
    };
    double lo = INFINITY, hi = -INFINITY;
    for (int j = 0; j < ht; ++j)
        for (int i = 0; i < w; ++i)
            if (double v = at(i, j); std::isfinite(v)) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
    if (!(lo <= hi))
        return;  // nothing but no-data
    const double step = h.cellSize * stride, span = hi > lo ? hi - lo : 1;
    QImage img(w, ht, QImage::Format_ARGB32);
    for (int j = 0; j < ht; ++j) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(j));
        for (int i = 0; i < w; ++i) {
            double z = at(i, j);
            if (!std::isfinite(z)) {
                line[i] = 0;
                continue;
            }
            auto near = [&](int di, int dj) {
                double v = at(std::clamp(i + di, 0, w - 1), std::clamp(j + dj, 0, ht - 1));
                return std::isfinite(v) ? v : z;
            };
            double dzdx = (near(1, 0) - near(-1, 0)) / (2 * step);
            double dzdy = (near(0, -1) - near(0, 1)) / (2 * step);  // north is up the rows
            // The surface normal against the light (x east, y north, z up).
            double shade =
                (-dzdx * kLight[0] - dzdy * kLight[1] + kLight[2]) / std::sqrt(dzdx * dzdx + dzdy * dzdy + 1);
            line[i] = tint((z - lo) / span, shade);
        }
    }
    m.hillshade.image = img;
    m.hillshade.box = {h.xOrigin, h.yOrigin, h.xOrigin + h.ncols * h.cellSize, h.yOrigin + h.nrows * h.cellSize};

    if (hi > lo)
        buildContours(t, lo, hi, m);
}

}  // namespace ovd
