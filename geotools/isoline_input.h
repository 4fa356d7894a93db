#pragma once
// The scattered points of a result table for the isolines: checked to be a table of the
// concentration computations, live records only, values of the chosen column.
#include <optional>
#include <string>
#include <vector>

#include "common/reporter.h"
#include "shapefile_writer.h"

namespace ovd {

struct ScatterPoint {
    double x = 0, y = 0, value = 0;
};

// `column` is the field index from 0. Every failure is reported.
std::optional<std::vector<ScatterPoint>> readIsolinePoints(const std::string& path, int column, Reporter&);
ShapeBox boundingBox(const std::vector<ScatterPoint>&);

}  // namespace ovd
