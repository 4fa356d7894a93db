#include "point_lattice.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "common/numbers.h"

namespace ovd {

namespace {

// Coordinates come from tables with three decimals: closer than this is the same line.
constexpr double kSameLine = 0.002;

// The most frequent gap between neighbouring distinct values (the smaller of equally
// frequent ones), so that one stray point does not make the lattice finer; 0 when there is
// one value.
double commonStep(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    std::map<long long, std::size_t> counts;  // gaps in thousandths of a metre
    for (std::size_t i = 1; i < v.size(); ++i) {
        double gap = v[i] - v[i - 1];
        if (gap > kSameLine)
            ++counts[std::llround(gap * 1000)];
    }
    long long best = 0;
    std::size_t bestCount = 0;
    for (auto [gap, count] : counts)
        if (count > bestCount) {
            best = gap;
            bestCount = count;
        }
    return static_cast<double>(best) / 1000;
}

// The lattice index of a coordinate, or -1 when it lies between the lattice lines.
std::int64_t latticeIndex(double v, double origin, double step)
{
    double k = std::round((v - origin) / step);
    return std::fabs(origin + k * step - v) <= std::max(kSameLine, 1e-9 * step) ? static_cast<std::int64_t>(k) : -1;
}

// Puts each point's value into its cell; a point off the lattice or in a cell already taken
// is the problem.
std::optional<Problem> placePoints(const ResultPoints& rp, std::size_t column, const char* made, PointLattice& l)
{
    const auto& pts = rp.points;
    std::vector<std::size_t> owner(l.cells.size(), 0);  // which point filled a cell, from 1
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const ResultPoint& p = pts[i];
        std::int64_t c = latticeIndex(p.x, l.xmin, l.dx);
        std::int64_t r = latticeIndex(l.ymax - p.y, 0, l.dy);
        if (c < 0 || r < 0)
            return Problem::error(
                cformat("Bod %s (záznam %zu, X %.3f, Y %.3f) neleží v pravidelné mřížce bodů s krokem "
                        "X %g m a Y %g m: %s lze vytvořit jen z bodů pravidelné sítě.",
                        rp.label(p).c_str(), p.record, p.x, p.y, l.dx, l.dy, made));
        std::size_t at = static_cast<std::size_t>(r * l.ncols + c);
        if (owner[at])
            return Problem::error(cformat("Bod %s (záznam %zu) leží ve stejné buňce mřížky jako bod %s (záznam %zu): "
                                          "%s lze vytvořit jen z bodů pravidelné sítě.",
                                          rp.label(p).c_str(), p.record, rp.label(pts[owner[at] - 1]).c_str(),
                                          pts[owner[at] - 1].record, made));
        owner[at] = i + 1;
        if (p.numbers[column] && std::isfinite(*p.numbers[column]))
            l.cells[at] = *p.numbers[column];
    }
    return std::nullopt;
}

}  // namespace

Outcome<PointLattice> spreadOnLattice(const ResultPoints& rp, std::size_t column, LatticeUse use)
{
    // The messages name what the lattice is for.
    const bool tiff = use == LatticeUse::GeoTiff;
    const char* made = tiff ? "GeoTIFF" : "Izopásma";
    const char* object = tiff ? "GeoTIFF" : "izopásma";
    const auto& pts = rp.points;
    if (pts.size() < 2)
        return Problem::error(std::string(made) + (tiff ? " potřebuje" : " potřebují") +
                              " nejméně dva body v pravidelné mřížce; DBF soubor jich má " + cformat("%zu.", pts.size()));
    std::vector<double> xs, ys;
    for (const ResultPoint& p : pts) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    PointLattice l;
    l.dx = commonStep(xs);
    l.dy = commonStep(ys);
    if (l.dx == 0 && l.dy == 0)
        return Problem::error(std::string("Všechny body DBF souboru leží na jednom místě: z nich nelze vytvořit ") +
                              object + ".");
    if (l.dx == 0)
        l.dx = l.dy;  // one column: square cells
    if (l.dy == 0)
        l.dy = l.dx;
    l.xmin = *std::min_element(xs.begin(), xs.end());
    double ymin = *std::min_element(ys.begin(), ys.end());
    l.ymax = *std::max_element(ys.begin(), ys.end());
    double xmax = *std::max_element(xs.begin(), xs.end());
    // Counted as decimals first: points far apart at a fine step overflow any integer.
    const double cols = std::round((xmax - l.xmin) / l.dx) + 1, rows = std::round((l.ymax - ymin) / l.dy) + 1;
    // A lattice far larger than its points is no lattice of them: a few points at a fine common
    // step would ask for millions of empty cells (and their memory).
    const double cellLimit = static_cast<double>(std::min<std::int64_t>(
        kMaxLatticeCells, std::max<std::int64_t>(1'000'000, 100 * static_cast<std::int64_t>(pts.size()))));
    if (!(cols * rows <= cellLimit))
        return Problem::error(cformat("Body DBF souboru netvoří pravidelnou mřížku: s kroky X %g m a Y %g m "
                                      "by %s %.0f buněk.",
                                      l.dx, l.dy, tiff ? "měl GeoTIFF" : "měla mřížka izopásem", cols * rows));
    const std::int64_t ncols = static_cast<std::int64_t>(cols), nrows = static_cast<std::int64_t>(rows);
    l.ncols = static_cast<std::int32_t>(ncols);
    l.nrows = static_cast<std::int32_t>(nrows);
    l.cells.assign(static_cast<std::size_t>(ncols * nrows), kLatticeNoData);
    if (std::optional<Problem> p = placePoints(rp, column, made, l))
        return *p;
    return l;
}

std::optional<std::pair<double, double>> valueRange(const PointLattice& l)
{
    std::optional<std::pair<double, double>> range;
    for (double v : l.cells)
        if (v != kLatticeNoData)
            range = range ? std::pair(std::min(range->first, v), std::max(range->second, v)) : std::pair(v, v);
    return range;
}

}  // namespace ovd
