#pragma once
// The filled bands between the class breaks as polygons: every triangle of the isolines'
// lattice is cut at the levels (its value linear over it, as the isolines take it) and the
// pieces of one class are joined into rings along the edges they share, so that a band ends
// exactly on the isoline of its level.
#include <QPointF>
#include <cstddef>
#include <optional>
#include <vector>

#include "geotools/isoline_lattice.h"

namespace ovd {

struct BandPolygon {
    std::size_t cls = 0;  // class index: the number of levels at or below the band's values
    // Study coordinates; outer rings counter-clockwise, holes clockwise (nonzero winding).
    std::vector<std::vector<QPointF>> rings;
};

// The bands of the values at the lattice's vertices for ascending `levels`, lowest class
// first; a triangle with a vertex of no value is left out.
std::vector<BandPolygon> bandPolygons(const Lattice&, const std::vector<double>& values,
                                      const std::vector<double>& levels);

// The plain rule the polygons follow: the class of the value interpolated linearly over the
// lattice triangle that holds the point; none outside the lattice or by a vertex of no value.
std::optional<std::size_t> latticeClassAt(const Lattice&, const std::vector<double>& values,
                                          const std::vector<double>& levels, double x, double y);

// The winding number of the rings about a point (0: outside).
int windingNumber(const std::vector<std::vector<QPointF>>& rings, QPointF at);

}  // namespace ovd
