#pragma once
// Everything one annual or maximum run needs, held in memory. The file readers fill these;
// the engines never touch a file.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ovd {

struct ReferencePoint {
    std::int32_t number = 0;
    double x = 0, y = 0, z = 0;   // z: ground altitude
    double l = 0;                  // height of the point above the terrain
};

enum : std::int16_t { kPointSource = 1, kAreaSource = 2, kLineSource = 3 };

// One record of the binary source file, as stored (nothing adjusted yet).
struct SourceRecord {
    std::int32_t number = 0;
    double x = 0, y = 0, z = 0;
    std::int16_t type = kPointSource;
    std::int32_t cluster = 0;      // 0: not in a cluster
    std::int32_t group = 0;        // group indication
    std::int32_t groupIndex = 0;   // slot of the group (0 to 199)
    // point/area: M, H, Vs, ts (or the rise), d, w0, Alfa, Pd, Y0
    // line: ML, X1el, Y1el, X2el, Y2el, X0el, Z0el, Alfa, Pd
    std::array<double, 9> values{};
    // dust files only
    double density = 0;
    std::vector<std::pair<double, double>> fractions;   // (diameter, share)
};

// Theta, Delta and ZMax: one float per (source row, point column), source by source.
struct CoefficientMatrices {
    std::int32_t rows = 0, columns = 0;   // as the headers of the three files say
    std::vector<float> theta, delta, zmax;
    std::size_t index(std::size_t source, std::size_t point) const
    {
        return source * static_cast<std::size_t>(columns) + point;
    }
};

// One line of the clusters file: "cluster number, sources in it, distance value".
struct ClusterLine {
    long number = 0;
    int count = 0;
    double distance = 0;
};

enum class ConcentrationMode { Annual, Maximum };

struct ConcentrationParameters {
    ConcentrationMode mode = ConcentrationMode::Annual;
    double step = 1.0;                 // degrees
    double rotation = 0.0;             // degrees, as entered (rounded to the step by the run)
    bool rotateLeft = false;
    int substanceClass = 1;            // 1 to 3
    std::array<double, 3> limits{};    // 0: not used
    bool nearbySources = false;        // clusters raise the plume
    bool groupShares = false;          // annual only
    bool freeAtmosphere = false;
    std::array<double, 3> speeds{1.7, 5.0, 11.0};   // wind-speed classes 1 to 3 at 10 m
};

struct ConcentrationStudy {
    std::vector<ReferencePoint> points;
    std::vector<SourceRecord> sources;
    CoefficientMatrices matrices;
    std::vector<std::vector<double>> windRose;   // data rows: sector frequencies then calm
    std::vector<ClusterLine> clusters;
};

}  // namespace ovd
