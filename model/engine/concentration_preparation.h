#pragma once
// Checks and derived tables of one run, shared by the reference loop and the engine.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/limits.h"
#include "common/outcome.h"
#include "model/concentration_inputs.h"
#include "model/dispersion_constants.h"
#include "model/dispersion_formulas.h"
#include "model/vector_width.h"
#include "model/windrose_expansion.h"

namespace ovd {

inline constexpr int kGroupSlots = 200;
inline constexpr int kMaxSources = 32767;

struct PreparedRun {
    const ConcentrationStudy* study = nullptr;  // not owned; must outlive the run
    ConcentrationParameters params;
    int directions = 0;           // 360 / step
    long shiftSteps = 0;          // rotation in steps, negative to the left
    double adjustedRotation = 0;  // the rotation rounded to the step (as entered, not negated)
    double decay = 0;             // 1/s; 0 for dust
    std::vector<WeatherCase> cases;
    ExpandedRose rose;
    std::vector<ModelSource> sources;
    std::vector<int> clusterLine;                          // per source: index into study->clusters, -1 for none
    std::vector<std::vector<SettlingFraction>> fractions;  // dust: per source, in record order
    bool groupShares = false;                              // annual run with group shares
    std::vector<int> groupOfSlot;                          // used group indexes, ascending
    std::array<int, kGroupSlots> slotOfGroup{};            // -1 when unused
    VectorWidth vectorWidth = VectorWidth::Sse2;           // the engine's; the widest this processor runs unless set

    int pointCount() const { return static_cast<int>(study->points.size()); }
    int sourceCount() const { return static_cast<int>(sources.size()); }
    bool maximum() const { return params.mode == ConcentrationMode::Maximum; }
    bool dust() const { return params.dust; }
    double direction(int index) const { return static_cast<double>(index) * params.step; }
    // Directions 45, 90, ... 315 are followed by a checkpoint.
    bool checkpointAfter(int index) const;
};

// A dust source whose density, a diameter or a share is negative (or not a number) cannot
// be computed; the text names the source.
std::optional<Problem> dustSourceProblem(const SourceRecord&);

// Whether the matrices are sources x points of the study within the limits: the rows (sources)
// are checked before the columns (points and the values of each matrix).
enum class MatrixFit { Fits, BadRows, BadColumns };
MatrixFit matrixFit(const ConcentrationStudy&);
// A source of a type other than point, area and line.
std::optional<Problem> sourceTypeProblem(const SourceRecord&);
// The line of the record's cluster (nullptr for a record in none), or the problem of a
// cluster that is missing or cannot be used.
Outcome<const ClusterLine*> clusterOf(const SourceRecord&, const std::vector<ClusterLine>&);

// Everything that can be refused before the direction loop, in the order of the run.
Outcome<PreparedRun> prepareConcentrationRun(const ConcentrationStudy&, const ConcentrationParameters&);

}  // namespace ovd
