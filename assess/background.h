#pragma once
// The background concentration at a table's points: one number for the whole study, a
// raster's cell (or bilinear) value, or a polygon layer's attribute, through the core's GIS
// services.
#include <optional>
#include <string>
#include <vector>

#include "common/gis_services.h"
#include "common/outcome.h"
#include "point_table.h"

namespace ovd {

struct BackgroundSource {
    std::string source;      // a file, or one number
    std::string column;      // the polygon layer's attribute; empty: the file is a raster
    bool bilinear = false;
    std::optional<double> fill;  // the value of points outside the background or on no-data
    std::string studySystem;
    const GisServices* gis = nullptr;  // reads a file; a number needs none
};

struct Background {
    std::vector<double> values;  // per point of the table
    std::size_t filled = 0;      // points that got the fill value
    std::string description;     // for the run log
};

// The source as one number: it reads as a number and names no existing file.
std::optional<double> backgroundNumber(const std::string& source);

// Refused naming the file (cannot be read, no such column, a system of its own in a study
// without one) or the first point outside it with their count when no fill value is given.
Outcome<Background> sampleBackground(const BackgroundSource&, const PointTable&);

}  // namespace ovd
