#include "lattice_area.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace ovd {

namespace {

// The sorted distinct values and their common step; none when the steps differ.
std::optional<std::pair<std::size_t, double>> evenSteps(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const double span = v.back() - v.front();
    const double tolerance = 1e-6 * std::max(span, 1.0);
    std::vector<double> distinct;
    for (double x : v)
        if (distinct.empty() || x - distinct.back() > tolerance)
            distinct.push_back(x);
    if (distinct.size() < 2)
        return std::nullopt;
    const double step = (distinct.back() - distinct.front()) / static_cast<double>(distinct.size() - 1);
    for (std::size_t i = 1; i < distinct.size(); ++i)
        if (std::fabs(distinct[i] - distinct[i - 1] - step) > tolerance)
            return std::nullopt;
    return std::make_pair(distinct.size(), step);
}

}  // namespace

std::optional<double> latticeCellArea(const std::vector<TablePoint>& points)
{
    if (points.size() < 4)
        return std::nullopt;
    std::vector<double> xs, ys;
    for (const TablePoint& p : points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    auto sx = evenSteps(xs), sy = evenSteps(ys);
    if (!sx || !sy || sx->first * sy->first != points.size())
        return std::nullopt;
    // Every node once: the count matches, so a repeated node would leave another empty.
    const double x0 = *std::min_element(xs.begin(), xs.end()), y0 = *std::min_element(ys.begin(), ys.end());
    std::set<std::pair<long long, long long>> nodes;
    for (const TablePoint& p : points)
        nodes.insert({std::llround((p.x - x0) / sx->second), std::llround((p.y - y0) / sy->second)});
    if (nodes.size() != points.size())
        return std::nullopt;
    return sx->second * sy->second;
}

}  // namespace ovd
