#pragma once
// Class breaks of a value column and the colour ramp they are drawn with: n ascending levels
// make n + 1 classes, class 0 below the first level, class n at or above the last.
#include <QColor>
#include <cstddef>
#include <string>
#include <vector>

namespace ovd {

struct ClassBreaks {
    std::vector<double> levels;  // ascending, distinct
    // Blue below 0 over white to red above it (a difference of two variants), instead of the
    // concentration ramp.
    bool diverging = false;
    // Named classes instead of ranges (the groups of a group-shares table): class i holds the
    // value i, is labelled categories[i] and has a colour of its own.
    std::vector<std::string> categories;

    std::size_t classCount() const { return levels.size() + 1; }
    std::size_t classOf(double value) const;
    // The ramp's colour of a class: the lowest class pale yellow, the highest dark red.
    QColor colour(std::size_t cls) const;
    // "< 5", "5 – 10", "≥ 40" with the levels in at most four significant digits, a decimal
    // comma ("0,5 – 1").
    std::string label(std::size_t cls) const;
};

// One class per name, for the values 0, 1, ... n - 1.
ClassBreaks categoryBreaks(std::vector<std::string> names);
// Sorted and without duplicates or non-finite values.
ClassBreaks levelBreaks(std::vector<double> levels);
// About `classes` classes of equal width over [min, max], at multiples of a round step (1, 2,
// 2.5 or 5 times a power of ten); one class when the range is empty.
ClassBreaks equalStepBreaks(double min, double max, int classes = 5);
inline constexpr int kDefaultClasses = 5;

// Classes of a difference centred at 0: two equal steps each way up to the greatest magnitude
// and a white class of changes below 1 % of it.
ClassBreaks divergingBreaks(double min, double max);
// The diverging ramp at t in [-1, 1]: blue, white at 0, red.
QColor divergingColour(double t);

// The ramp at t in [0, 1].
QColor rampColour(double t);
// A level as the legend and the labels show it: four significant digits, a decimal comma.
std::string levelText(double value);

}  // namespace ovd
