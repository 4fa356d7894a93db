#include "class_breaks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/numbers.h"

namespace ovd {

namespace {

// Pale yellow over orange to dark red: high concentrations stand out on any background.
constexpr int kRamp[][3] = {{255, 255, 178}, {254, 204, 92}, {253, 141, 60}, {240, 59, 32}, {189, 0, 38}};
constexpr int kRampStops = static_cast<int>(std::size(kRamp));
// Dark blue to white, white to dark red.
constexpr int kCold[3] = {33, 102, 172}, kWhite[3] = {247, 247, 247}, kWarm[3] = {178, 24, 43};
// Named classes: colours told apart at a glance, none of them close to the background's.
constexpr int kCategoryColours[][3] = {{31, 120, 180}, {227, 26, 28},  {51, 160, 44},  {255, 127, 0},
                                       {106, 61, 154}, {177, 89, 40},  {166, 206, 227}, {251, 154, 153},
                                       {178, 223, 138}, {253, 191, 111}, {202, 178, 214}, {255, 255, 153}};

}  // namespace

std::size_t ClassBreaks::classOf(double value) const
{
    return static_cast<std::size_t>(std::upper_bound(levels.begin(), levels.end(), value) - levels.begin());
}

QColor ClassBreaks::colour(std::size_t cls) const
{
    if (!categories.empty()) {
        const int* c = kCategoryColours[cls % std::size(kCategoryColours)];
        return QColor(c[0], c[1], c[2]);
    }
    std::size_t n = classCount();
    if (diverging) {
        // The class that holds 0 is white; the classes each side of it darken to the ends.
        const double zero = static_cast<double>(classOf(0));
        const double c = static_cast<double>(std::min(cls, n - 1));
        const double below = zero, above = static_cast<double>(n - 1) - zero;
        if (c < zero)
            return divergingColour(-(zero - c) / below);
        return divergingColour(above > 0 ? (c - zero) / above : 0.0);
    }
    return rampColour(n <= 1 ? 0.0 : static_cast<double>(std::min(cls, n - 1)) / static_cast<double>(n - 1));
}

std::string ClassBreaks::label(std::size_t cls) const
{
    if (!categories.empty())
        return categories[std::min(cls, categories.size() - 1)];
    if (levels.empty())
        return "všechny hodnoty";
    if (cls == 0)
        return "< " + levelText(levels.front());
    if (cls >= levels.size())
        return "≥ " + levelText(levels.back());
    return levelText(levels[cls - 1]) + " – " + levelText(levels[cls]);
}

ClassBreaks levelBreaks(std::vector<double> levels)
{
    levels.erase(std::remove_if(levels.begin(), levels.end(), [](double v) { return !std::isfinite(v); }),
                 levels.end());
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    ClassBreaks b;
    b.levels = std::move(levels);
    return b;
}

ClassBreaks categoryBreaks(std::vector<std::string> names)
{
    ClassBreaks b;
    for (std::size_t i = 1; i < names.size(); ++i)
        b.levels.push_back(static_cast<double>(i) - 0.5);
    b.categories = std::move(names);
    return b;
}

ClassBreaks equalStepBreaks(double min, double max, int classes)
{
    if (!(max > min) || !std::isfinite(max - min) || classes < 2)
        return {};
    // A round step no smaller than the even one: at most one class more than asked for.
    const double raw = (max - min) / classes;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * p;
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (m * p >= raw * (1 - 1e-12)) {
            step = m * p;
            break;
        }
    std::vector<double> levels;
    for (double k = std::floor(min / step) + 1; levels.size() <= static_cast<std::size_t>(classes); ++k) {
        // As the decimal it is written as: 0.3, not 0.30000000000000004.
        const double level = std::strtod(cformat("%.12g", k * step).c_str(), nullptr);
        if (level >= max)
            break;
        if (level > min)
            levels.push_back(level);
    }
    return levelBreaks(std::move(levels));
}

ClassBreaks divergingBreaks(double min, double max)
{
    const double m = std::max(std::fabs(min), std::fabs(max));
    ClassBreaks b;
    b.diverging = true;
    if (!(m > 0) || !std::isfinite(m))
        return b;
    b.levels = {-2 * m / 3, -m / 3, -m / 100, m / 100, m / 3, 2 * m / 3};
    return b;
}

QColor divergingColour(double t)
{
    t = std::clamp(std::isfinite(t) ? t : 0.0, -1.0, 1.0);
    const int* end = t < 0 ? kCold : kWarm;
    const double f = std::fabs(t);
    auto mix = [&](int c) { return static_cast<int>(std::lround(kWhite[c] + (end[c] - kWhite[c]) * f)); };
    return QColor(mix(0), mix(1), mix(2));
}

QColor rampColour(double t)
{
    t = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0);
    double at = t * (kRampStops - 1);
    int i = std::min(static_cast<int>(at), kRampStops - 2);
    double f = at - i;
    auto mix = [&](int c) { return static_cast<int>(std::lround(kRamp[i][c] + (kRamp[i + 1][c] - kRamp[i][c]) * f)); };
    return QColor(mix(0), mix(1), mix(2));
}

std::string levelText(double value)
{
    std::string s = cformat("%.4g", value);
    if (s == "-0")
        return "0";
    std::replace(s.begin(), s.end(), '.', ',');  // as Czech writes a decimal
    return s;
}

}  // namespace ovd
