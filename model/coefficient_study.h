#pragma once
// Generated coefficient inputs for tests and benchmarks: a terrain of rolling hills and
// sources and reference points scattered over it, all from one seed.
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "inputs/binary_inputs.h"
#include "inputs/terrain_matrix.h"

namespace ovd {

struct GeneratedTerrain {
    TerrainHeader header;
    std::string bytes;  // the whole matrix file
};

// Heights between about 200 and 600 m; `element` decides how they are stored.
inline GeneratedTerrain generateTerrain(std::int32_t ncols, std::int32_t nrows, double cellSize, TerrainElement element,
                                        unsigned seed, double xOrigin = 0, double yOrigin = 0)
{
    GeneratedTerrain t;
    t.header.element = element;
    t.header.ncols = ncols;
    t.header.nrows = nrows;
    t.header.xOrigin = xOrigin;
    t.header.yOrigin = yOrigin;
    t.header.cellSize = cellSize;
    t.header.noData = -9999;
    t.bytes = t.header.encode();
    t.bytes.reserve(t.bytes.size() + static_cast<std::size_t>(t.header.dataBytes()));
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> phase(0, 6.28), noise(-3, 3);
    const double p1 = phase(gen), p2 = phase(gen);
    for (std::int32_t r = 0; r < nrows; ++r)
        for (std::int32_t c = 0; c < ncols; ++c) {
            double h = 400 + 120 * std::sin(c * 0.013 + p1) * std::cos(r * 0.017 + p2) + 60 * std::sin((c + r) * 0.05) +
                noise(gen);
            putTerrainElement(t.bytes, element, std::lround(h), h);
        }
    return t;
}

// Points spread uniformly over the rectangle [x0, x1] x [y0, y1], heights from `z0` up.
inline std::vector<ReferencePoint> scatterPoints(std::size_t count, double x0, double x1, double y0, double y1,
                                                 unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> ux(x0, x1), uy(y0, y1), uz(150, 650);
    std::vector<ReferencePoint> points(count);
    for (std::size_t i = 0; i < count; ++i)
        points[i] = {static_cast<std::int32_t>(i + 1), ux(gen), uy(gen), uz(gen), 1.5};
    return points;
}

inline std::vector<SourceRecord> scatterSources(std::size_t count, double x0, double x1, double y0, double y1,
                                                unsigned seed)
{
    std::vector<SourceRecord> sources(count);
    auto points = scatterPoints(count, x0, x1, y0, y1, seed);
    for (std::size_t i = 0; i < count; ++i) {
        sources[i].number = static_cast<std::int32_t>(100 + i);
        sources[i].x = points[i].x;
        sources[i].y = points[i].y;
        sources[i].z = points[i].z;
        sources[i].type = static_cast<std::int16_t>(1 + i % 3);
        sources[i].values = {1.5, 20, 3, 120, 1.2, 8, 0.5, 24, 10};
    }
    return sources;
}

}  // namespace ovd
