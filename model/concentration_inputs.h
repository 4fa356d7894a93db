#pragma once
// Everything one annual or maximum run needs, held in memory (the matrices may be mapped
// from their files). The file readers fill these; the engines never open a file.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "inputs/input_records.h"
#include "model/matrix_values.h"

namespace ovd {

// Reference points and source records are those of the binary input files: a source
// record's nine values are, for point and area sources, M, H, Vs, ts (or the rise), d, w0,
// Alfa, Pd, Y0; for line sources ML, X1el, Y1el, X2el, Y2el, X0el, Z0el, Alfa, Pd.

// Theta, Delta and ZMax: one float per (source row, point column), source by source; read
// from the files they are mapped, not held in memory.
struct CoefficientMatrices {
    std::int32_t rows = 0, columns = 0;  // as the headers of the three files say
    MatrixValues theta, delta, zmax;
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
    double step = 1.0;      // degrees
    double rotation = 0.0;  // degrees, as entered (rounded to the step by the run)
    bool rotateLeft = false;
    int substanceClass = 1;          // 1 to 3
    std::array<double, 3> limits{};  // 0: not used
    bool nearbySources = false;      // clusters raise the plume
    bool groupShares = false;        // annual only
    bool freeAtmosphere = false;
    bool dust = false;                             // size fractions that settle, no decay
    std::array<double, 3> speeds{1.7, 5.0, 11.0};  // wind-speed classes 1 to 3 at 10 m
};

struct ConcentrationStudy {
    std::vector<ReferencePoint> points;
    std::vector<SourceRecord> sources;
    CoefficientMatrices matrices;
    std::vector<std::vector<double>> windRose;  // data rows: sector frequencies then calm
    std::vector<ClusterLine> clusters;
};

}  // namespace ovd
