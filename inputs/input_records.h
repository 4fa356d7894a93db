#pragma once
// The records the binary reference-point and source files hold, as plain values.
#include <array>
#include <cstdint>
#include <vector>

#include "common/source_layout.h"

namespace ovd {

struct ReferencePoint {
    std::int32_t number = 0;
    double x = 0, y = 0, z = 0;  // m; z is the ground altitude
    double l = 0;                // height of the point above the terrain, m
};

struct DustFraction {
    double diameter = 0;
    double share = 0;
};

struct SourceRecord {
    std::int32_t number = 0;
    double x = 0, y = 0, z = 0;
    std::int16_t type = 0;
    std::int32_t cluster = 0;
    std::int32_t group = 0;                               // group indication as entered
    std::int32_t groupIndex = 0;                          // position of the group indication among the distinct ones
    std::array<double, kDescriptionValueCount> values{};  // by type, see source_layout.h
    // Dust files only.
    double density = 0;
    std::vector<DustFraction> fractions;

    std::size_t alfaIndex() const { return static_cast<std::size_t>(alfaPosition(type)); }
    double alfa() const { return values[alfaIndex()]; }
};

}  // namespace ovd
