// Isoline segments joined into lines: the ends two segments of a level share, found by their
// position to a millimetre.
#include <deque>
#include <map>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "map_layers.h"

namespace ovd {

namespace {

struct EndKey {
    long long x, y;
    bool operator==(const EndKey&) const = default;
};

struct EndHash {
    std::size_t operator()(const EndKey& k) const
    {
        return std::hash<long long>()(k.x) * 1000003u ^ std::hash<long long>()(k.y);
    }
};

EndKey keyOf(QPointF p)
{
    return {std::llround(p.x() * 1000), std::llround(p.y() * 1000)};
}

class Joiner {
public:
    Joiner(const std::vector<IsolineSegment>& segments, const std::vector<std::size_t>& ofLevel)
        : m_segments(segments)
    {
        m_ends.reserve(2 * ofLevel.size());
        for (std::size_t s : ofLevel) {
            m_ends.emplace(keyOf(end(s, 0)), 2 * s);
            m_ends.emplace(keyOf(end(s, 1)), 2 * s + 1);
        }
    }

    QPointF end(std::size_t s, int which) const
    {
        const IsolineSegment& g = m_segments[s];
        return which == 0 ? QPointF(g.x1, g.y1) : QPointF(g.x2, g.y2);
    }

    // The far end of an unused segment that ends at `at`, marking it used; none when none does.
    std::optional<QPointF> follow(QPointF at)
    {
        auto [from, to] = m_ends.equal_range(keyOf(at));
        for (auto it = from; it != to; ++it) {
            const std::size_t s = it->second / 2;
            if (m_used.insert(s).second)
                return end(s, 1 - static_cast<int>(it->second % 2));
        }
        return std::nullopt;
    }

    bool take(std::size_t s) { return m_used.insert(s).second; }

private:
    const std::vector<IsolineSegment>& m_segments;
    std::unordered_multimap<EndKey, std::size_t, EndHash> m_ends;
    std::unordered_set<std::size_t> m_used;
};

}  // namespace

std::vector<MapIsolines::Chain> levelChains(const std::vector<IsolineSegment>& segments)
{
    std::map<double, std::vector<std::size_t>> byLevel;
    for (std::size_t i = 0; i < segments.size(); ++i)
        byLevel[segments[i].level].push_back(i);
    std::vector<MapIsolines::Chain> chains;
    for (const auto& [level, list] : byLevel) {
        Joiner join(segments, list);
        for (std::size_t s : list) {
            if (!join.take(s))
                continue;
            std::deque<QPointF> line{join.end(s, 0), join.end(s, 1)};
            while (std::optional<QPointF> next = join.follow(line.back()))
                line.push_back(*next);
            while (std::optional<QPointF> next = join.follow(line.front()))
                line.push_front(*next);
            chains.push_back({level, std::vector<QPointF>(line.begin(), line.end())});
        }
    }
    return chains;
}

}  // namespace ovd
