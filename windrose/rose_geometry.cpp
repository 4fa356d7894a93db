#include "rose_geometry.h"

#include <cmath>
#include <numbers>

#include "common/numbers.h"

namespace ovd {

namespace {

constexpr double kLabelRadius = 0.47;
constexpr double kRoseRadius = 0.42;

RosePoint polar(const RoseShape& s, double angle, double fraction, double radius, bool mirrored)
{
    double cx = s.width / 2, cy = s.height / 2;
    double dy = radius * s.height * std::sin(angle) * fraction;
    return {cx + radius * s.width * std::cos(angle) * fraction, mirrored ? cy + dy : cy - dy};
}

double finite(double v)
{
    return std::isfinite(v) ? v : 0.0;
}

}  // namespace

std::vector<RoseLabel> roseLabels(const RoseShape& s)
{
    std::vector<RoseLabel> labels;
    if (s.segmentCount <= 0)
        return labels;
    std::string_view rest = s.axesAbbrev;
    for (int k = 0; k < s.segmentCount && !rest.empty(); ++k) {
        std::size_t bar = rest.find('|');
        std::string_view text = rest.substr(0, bar);
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
        RoseLabel label;
        label.bold = !text.empty() && text.front() == '*';
        label.text = std::string(label.bold ? text.substr(1) : text);
        label.at = polar(s, 2 * std::numbers::pi * k / s.segmentCount, 1.0, kLabelRadius, false);
        if (!label.text.empty())
            labels.push_back(std::move(label));
    }
    return labels;
}

std::vector<RosePoint> roseAxisEnds(const RoseShape& s)
{
    std::vector<RosePoint> ends;
    for (int k = 0; k < s.segmentCount; ++k)
        ends.push_back(polar(s, 2 * std::numbers::pi * k / s.segmentCount, 1.0, kLabelRadius, false));
    return ends;
}

double roseMaximum(const std::vector<double>& values)
{
    double maximum = 0;
    bool any = false;
    for (double v : values) {
        if (!std::isfinite(v))
            continue;
        maximum = any ? std::max(maximum, v) : v;
        any = true;
    }
    return any ? maximum : 0.0;
}

std::vector<RosePoint> roseOutline(const RoseShape& s, const std::vector<double>& values, double scaleMaximum)
{
    std::vector<RosePoint> points;
    if (values.empty() || !(scaleMaximum > 0) || !std::isfinite(scaleMaximum))
        return points;
    const double n = static_cast<double>(values.size());
    const double start = s.roseAngle * std::numbers::pi / 180.0;
    const double step = 2 * std::numbers::pi / n;
    for (std::size_t i = 0; i < values.size(); ++i) {
        double v = finite(values[i]) / scaleMaximum;
        double angle = start + step * static_cast<double>(i);
        if (s.approximation == 0 || values.size() < 2) {
            points.push_back(polar(s, angle, v, kRoseRadius, s.mirror));
            continue;
        }
        double next = finite(values[(i + 1) % values.size()]) / scaleMaximum;
        for (int t = 0; t < kApproximationSteps; ++t) {
            double f = static_cast<double>(t) / kApproximationSteps;
            points.push_back(polar(s, angle + step * f, v + (next - v) * f, kRoseRadius, s.mirror));
        }
    }
    return points;
}

std::vector<RoseRing> roseRings(const RoseShape& s, double maximum)
{
    std::vector<RoseRing> rings;
    if (!(maximum > 0) || !std::isfinite(maximum))
        return rings;
    for (int k = 1; k <= kRingCount; ++k) {
        double f = static_cast<double>(k) / kRingCount;
        RoseRing ring;
        ring.radiusX = kRoseRadius * s.width * f;
        ring.radiusY = kRoseRadius * s.height * f;
        ring.value = maximum * f;
        // On the diagonal to the lower right, between the axes of the default labels.
        double angle = -std::numbers::pi / 8;
        ring.labelAt = {s.width / 2 + ring.radiusX * std::cos(angle), s.height / 2 - ring.radiusY * std::sin(angle)};
        rings.push_back(ring);
    }
    return rings;
}

std::string ringValueText(double value)
{
    return formatDecimal(std::round(value * 100.0) / 100.0);
}

}  // namespace ovd
