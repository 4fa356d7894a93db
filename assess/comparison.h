#pragma once
// The difference between two variants of a study: two result tables of the same points, the
// variant less the base at every point.
#include <optional>
#include <string>
#include <vector>

#include "assess_settings.h"
#include "assessment.h"
#include "common/tool.h"
#include "point_table.h"

namespace ovd {

struct ComparedPoint {
    double base = 0, variant = 0, difference = 0;
    std::optional<double> changePercent;  // none where the base is 0
};

std::vector<ComparedPoint> comparePoints(const std::vector<double>& base, const std::vector<double>& variant);

// Nullopt when both tables hold the same points in the same order (IDs and coordinates); else
// the problem naming the first point that differs.
std::optional<Problem> checkSamePoints(const PointTable& base, const PointTable& variant);

struct CompareSummary {
    std::size_t points = 0;
    std::optional<Extreme> increase, decrease;  // the greatest of each, none when there is none
    std::size_t aboveThreshold = 0;             // points whose increase exceeds the threshold
};

CompareSummary summarizeComparison(const std::vector<ComparedPoint>&, double threshold);
std::vector<std::string> compareSummaryLines(const CompareSummary&, double threshold, const PointTable&);

ToolStatus runComparison(const CompareSettings&, const RunFiles&, const RunContext&, std::vector<std::string>& summary);

}  // namespace ovd
