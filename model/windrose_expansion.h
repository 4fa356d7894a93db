#pragma once
// The wind rose spread over the directions of the computation: calm shared out, sectors
// interpolated to the step, the whole table turned by the rotation.
#include <string>
#include <vector>

#include "common/outcome.h"

namespace ovd {

// 45/s is a whole number (relative 1e-9) and s >= 0.5.
bool stepFitsCircle(double step);
// Directions of the loop: 360/s.
int directionCount(double step);

// The rotation in whole steps: r/s plus 0.5 with the fraction cut toward zero (also below 0).
long rotationSteps(double rotation, double step);

struct ExpandedRose {
    int directions = 0;
    std::vector<double> share;  // row by row, `directions` values each: share of the year
    double at(int row, int direction) const
    {
        return share[static_cast<std::size_t>(row) * static_cast<std::size_t>(directions) +
                     static_cast<std::size_t>(direction)];
    }
};

// rows: the eleven data rows (sector values then calm). shiftSteps: the rotation in steps,
// negative for a rotation to the left; the value for direction x comes from x + shift.
Outcome<ExpandedRose> expandWindRose(const std::vector<std::vector<double>>& rows, double step, long shiftSteps);

}  // namespace ovd
