#pragma once
// Levels and their straight segments through the lattice's triangles.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "isoline_lattice.h"

namespace ovd {

// The caption of the isolines' own messages.
inline constexpr std::string_view kCaptionAlert = "Chyba !";

// More levels than this would fill the memory with segments no map can show.
inline constexpr double kMaxLevels = 10000;

struct IsolineSegment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double level = 0;
};

// Levels from + i*step for i below trunc((vmax - vmin - from) / step) + 2; none when
// that count is 0 or less. A problem (caption "Chyba !") when there would be more than
// kMaxLevels.
Outcome<std::vector<double>> scaleLevels(double from, double step, double vmin, double vmax);

// Visits the two triangles of the cell whose lower left vertex is (row j, column i); the
// diagonal alternates from row to row.
template <class Visit> void forEachTriangleOfCell(const Lattice& l, int j, int i, Visit&& visit)
{
    const std::size_t a = l.index(j, i), b = l.index(j, i + 1), c = l.index(j + 1, i), d = l.index(j + 1, i + 1);
    if (j % 2 == 0) {
        visit(a, b, c);
        visit(b, c, d);
    } else {
        visit(a, c, d);
        visit(a, b, d);
    }
}

// Visits the 2 (m-1)(n-1) triangles in their fixed order, vertices as lattice indexes.
template <class Visit> void forEachTriangle(const Lattice& l, Visit visit)
{
    for (int j = 0; j + 1 < l.rows; ++j)
        for (int i = 0; i + 1 < l.columns; ++i)
            forEachTriangleOfCell(l, j, i, visit);
}

// Appends the segments of one level: in every triangle, one segment for each pair of
// edges whose end values lie strictly on both sides of the level.
void traceLevel(const Lattice&, const std::vector<double>& vertexValues, double level,
                std::vector<IsolineSegment>& out);

}  // namespace ovd
