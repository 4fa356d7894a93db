#pragma once
// Where the rose control puts things, in surface coordinates (x right, y down, centre
// W/2, H/2): direction labels and axes at 0.47 of the width and height, the outline
// with value/maximum scaled by 0.42 of each, the scale rings. Angles count
// counter-clockwise from the positive x axis; the mirror flips the outline top to bottom.
#include <string>
#include <string_view>
#include <vector>

namespace ovd {

struct RosePoint {
    double x = 0, y = 0;
};

struct RoseLabel {
    std::string text;   // without the leading "*"
    bool bold = false;  // a main direction
    RosePoint at;       // centre of the text
};

struct RoseRing {
    double radiusX = 0, radiusY = 0;
    double value = 0;  // the value the ring stands for
    RosePoint labelAt;
};

struct RoseShape {
    double width = 0, height = 0;
    int roseAngle = 90;  // degrees, angle of the first value
    bool mirror = false;
    int approximation = 0;  // non-zero: radius linear in the angle between values
    std::string axesAbbrev = "*E|NE|*N|NW|*W|SW|*S|SE";
    int segmentCount = 8;
};

// Segments of the linear approximation between two neighbouring values.
inline constexpr int kApproximationSteps = 24;
inline constexpr int kRingCount = 4;

// Label k at angle 2 pi k / segmentCount; only the labels the text gives, at most
// segmentCount of them.
std::vector<RoseLabel> roseLabels(const RoseShape&);
// End points of the segmentCount axes (they start at the centre).
std::vector<RosePoint> roseAxisEnds(const RoseShape&);
// The closed outline (first point not repeated) of values scaled by scaleMaximum;
// empty when there are no values or the maximum is not above 0.
std::vector<RosePoint> roseOutline(const RoseShape&, const std::vector<double>& values, double scaleMaximum);
// Largest finite value, 0 for none.
double roseMaximum(const std::vector<double>& values);
// Rings at equal steps up to the maximum; empty when the maximum is not above 0.
std::vector<RoseRing> roseRings(const RoseShape&, double maximum);
// A ring's value as shown: at most two decimals, no trailing zeros.
std::string ringValueText(double value);

}  // namespace ovd
