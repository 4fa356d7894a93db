#pragma once
// The terrain as the coefficient run walks it: the elements copied once into a plain
// array (south row first) of their own type, and a height lookup that gives exactly the
// value of TerrainMatrix::lookup, bit for bit, without its no-data bookkeeping and type
// dispatch in the innermost loop. Hundreds of millions of lookups make that difference.
#include <cmath>
#include <cstdint>
#include <vector>

#include "inputs/terrain_matrix.h"

namespace ovd {

template <class T> class CoefficientTerrain {
public:
    CoefficientTerrain(const TerrainMatrix& m, bool interpolate)
        : m_h(m.header())
        , m_interpolate(interpolate)
        , m_xEnd(m_h.xOrigin + m_h.ncols * m_h.cellSize)
        , m_yEnd(m_h.yOrigin + m_h.nrows * m_h.cellSize)
        , m_half(m_h.cellSize / 2)
    {
        m_z.resize(static_cast<std::size_t>(m_h.ncols) * static_cast<std::size_t>(m_h.nrows));
        // Cell centres, each computed by the very expression the blend uses.
        m_centreX.resize(static_cast<std::size_t>(m_h.ncols) + 1);
        m_centreY.resize(static_cast<std::size_t>(m_h.nrows) + 1);
        for (std::int32_t c = 0; c <= m_h.ncols; ++c)
            m_centreX[static_cast<std::size_t>(c)] = c * m_h.cellSize + m_half + m_h.xOrigin;
        for (std::int32_t s = 0; s <= m_h.nrows; ++s)
            m_centreY[static_cast<std::size_t>(s)] = s * m_h.cellSize + m_half + m_h.yOrigin;
        for (std::int32_t s = 0; s < m_h.nrows; ++s)
            for (std::int32_t c = 0; c < m_h.ncols; ++c)
                m_z[index(c, s)] = static_cast<T>(m.element(c, m_h.nrows - 1 - s));
    }

    const TerrainHeader& header() const { return m_h; }

    // As TerrainMatrix::lookup: inside, and the height (no-data cells count as heights).
    [[gnu::always_inline]] TerrainHeight operator()(double x, double y) const
    {
        TerrainHeight r;
        if (!(x >= m_h.xOrigin && y >= m_h.yOrigin && x <= m_xEnd && y <= m_yEnd))
            return r;
        r.inside = true;
        // Inside, both quotients lie in [0, ncols or nrows (+ rounding)]: converting to an
        // integer truncates exactly as trunc() does there, without its general-case code.
        const std::int64_t cd = static_cast<std::int64_t>((x - m_h.xOrigin) / m_h.cellSize);
        const std::int64_t sd = static_cast<std::int64_t>((y - m_h.yOrigin) / m_h.cellSize);
        const std::int32_t c = static_cast<std::int32_t>(cd >= m_h.ncols ? m_h.ncols - 1 : cd);
        const std::int32_t s = static_cast<std::int32_t>(sd >= m_h.nrows ? m_h.nrows - 1 : sd);
        // Border cells (and no interpolation) take the cell value: c - 1 < ncols - 2 unsigned
        // is 0 < c < ncols - 1.
        if (!m_interpolate || static_cast<std::uint32_t>(c - 1) >= static_cast<std::uint32_t>(m_h.ncols - 2) ||
            static_cast<std::uint32_t>(s - 1) >= static_cast<std::uint32_t>(m_h.nrows - 2)) {
            r.height = static_cast<double>(m_z[index(c, s)]);
            return r;
        }
        // The same expressions, in the same order, as the matrix's own blend; the centres
        // come from the tables. West or east neighbour by a comparison, not a branch: it
        // is a coin toss per point.
        const std::size_t cu = static_cast<std::size_t>(c), su = static_cast<std::size_t>(s);
        const std::size_t c1 = cu - static_cast<std::size_t>(!(m_centreX[cu] <= x));
        const std::size_t s1 = su - static_cast<std::size_t>(!(m_centreY[su] <= y));
        const double x1 = m_centreX[c1], x2 = m_centreX[c1 + 1];
        const double y1 = m_centreY[s1], y2 = m_centreY[s1 + 1];
        const double xi = 2 * (x - x1) / (x2 - x1) - 1;
        const double eta = 2 * (y - y1) / (y2 - y1) - 1;
        const T* p = m_z.data() + s1 * static_cast<std::size_t>(m_h.ncols) + c1;
        const double z11 = static_cast<double>(p[0]), z21 = static_cast<double>(p[1]);
        const double z12 = static_cast<double>(p[m_h.ncols]), z22 = static_cast<double>(p[m_h.ncols + 1]);
        r.interpolated = true;
        r.height = (1 - xi) * (1 - eta) / 4 * z11 + (1 + xi) * (1 - eta) / 4 * z21 + (1 - xi) * (1 + eta) / 4 * z12 +
            (1 + xi) * (1 + eta) / 4 * z22;
        return r;
    }

private:
    std::size_t index(std::int32_t c, std::int32_t s) const
    {
        return static_cast<std::size_t>(s) * static_cast<std::size_t>(m_h.ncols) + static_cast<std::size_t>(c);
    }

    TerrainHeader m_h;
    bool m_interpolate;
    double m_xEnd, m_yEnd, m_half;
    std::vector<T> m_z;
    std::vector<double> m_centreX, m_centreY;
};

}  // namespace ovd
