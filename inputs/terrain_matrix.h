#pragma once
// The binary terrain matrix: a 34-byte header, the no-data value and the elements row by
// row, northernmost row first. TerrainMatrix maps the file into memory and answers height
// lookups without touching the disk; lookupHeightBySeeking() is the plain reference that
// reads element by element, kept for differential tests.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "common/le_io.h"
#include "common/mapped_file.h"
#include "common/outcome.h"

namespace ovd {

enum class TerrainElement : int { Int16 = 0, Int32 = 1, Real = 2 };

inline constexpr std::size_t kTerrainFixedHeader = 34;  // type, ncols, nrows, origin, cell size

struct TerrainHeader {
    TerrainElement element = TerrainElement::Int16;
    std::int32_t ncols = 0;
    std::int32_t nrows = 0;
    double xOrigin = 0;
    double yOrigin = 0;
    double cellSize = 0;
    double noData = 0;  // in the element type, widened

    std::size_t elementWidth() const;
    std::size_t dataOffset() const { return kTerrainFixedHeader + elementWidth(); }
    std::uint64_t dataBytes() const;
    // The header bytes, no-data value included.
    std::string encode() const;
};

std::size_t elementWidth(TerrainElement);
// Appends one element in the file's encoding; whole types keep the low 16 or 32 bits.
void putTerrainElement(std::string& out, TerrainElement, long wholeValue, double realValue);

// Reads and checks the header of a file of `fileSize` bytes. Nullopt when the header is
// cut short, the element type is unknown, the counts are not positive, the cell size is
// not a positive finite number or the file's length is not exactly the header and its
// ncols x nrows elements; `why` then says which, in words for the user.
std::optional<TerrainHeader> decodeTerrainHeader(const unsigned char* bytes, std::size_t size, std::uint64_t fileSize,
                                                 std::string* why = nullptr);

// The answer of a height lookup.
struct TerrainHeight {
    bool inside = false;        // false: the point lies outside the matrix
    double height = 0;          // the cell value or the blend (no-data cells blended as heights)
    bool noData = false;        // the height, or any cell it was blended from, is the no-data value
    bool interpolated = false;  // the bilinear blend was used (not a border cell, interpolation on)
};

// Where a point falls: the cell from the south-west corner, with the edge rules.
struct TerrainCell {
    bool inside = false;
    std::int32_t col = 0;
    std::int32_t rowFromSouth = 0;
};

inline TerrainCell locateTerrainCell(const TerrainHeader& h, double x, double y)
{
    TerrainCell cell;
    if (!(x >= h.xOrigin && y >= h.yOrigin && x <= h.xOrigin + h.ncols * h.cellSize &&
          y <= h.yOrigin + h.nrows * h.cellSize))
        return cell;  // also catches NaN coordinates
    double c = std::trunc((x - h.xOrigin) / h.cellSize);
    double s = std::trunc((y - h.yOrigin) / h.cellSize);
    // A point on the east or north edge belongs to the last column or row.
    cell.col = c >= h.ncols ? h.ncols - 1 : static_cast<std::int32_t>(c);
    cell.rowFromSouth = s >= h.nrows ? h.nrows - 1 : static_cast<std::int32_t>(s);
    cell.inside = true;
    return cell;
}

// Blends the four cell values around (x, y) from the cell (c, s); `z(col, rowFromSouth)`
// gives an element. Used by both lookups so they compute the same expression.
template <class Element>
inline TerrainHeight blendTerrain(const TerrainHeader& h, double x, double y, std::int32_t c, std::int32_t s, Element z)
{
    double cx = c * h.cellSize + h.cellSize / 2 + h.xOrigin;
    double cy = s * h.cellSize + h.cellSize / 2 + h.yOrigin;
    std::int32_t c1 = cx <= x ? c : c - 1;
    std::int32_t s1 = cy <= y ? s : s - 1;
    double x1 = c1 * h.cellSize + h.cellSize / 2 + h.xOrigin;
    double x2 = (c1 + 1) * h.cellSize + h.cellSize / 2 + h.xOrigin;
    double y1 = s1 * h.cellSize + h.cellSize / 2 + h.yOrigin;
    double y2 = (s1 + 1) * h.cellSize + h.cellSize / 2 + h.yOrigin;
    double xi = 2 * (x - x1) / (x2 - x1) - 1;
    double eta = 2 * (y - y1) / (y2 - y1) - 1;
    double z11 = z(c1, s1), z21 = z(c1 + 1, s1), z12 = z(c1, s1 + 1), z22 = z(c1 + 1, s1 + 1);
    TerrainHeight r;
    r.inside = true;
    r.interpolated = true;
    r.height = (1 - xi) * (1 - eta) / 4 * z11 + (1 + xi) * (1 - eta) / 4 * z21 + (1 - xi) * (1 + eta) / 4 * z12 +
        (1 + xi) * (1 + eta) / 4 * z22;
    r.noData = z11 == h.noData || z21 == h.noData || z12 == h.noData || z22 == h.noData || r.height == h.noData;
    return r;
}

// A terrain matrix file mapped read-only into memory.
class TerrainMatrix {
public:
    // The mapped matrix, or the caller's text for a file that cannot be opened or that is not
    // a whole terrain matrix (then followed by a line saying how, when `withReason`).
    struct FailureTexts {
        std::string_view cannotOpen = "Vstupní soubor s výškopisem nelze otevřít !";
        std::string_view notMatrix = "Vstupní soubor s výškopisem není úplná matice výškopisu!";
        bool withReason = true;
    };
    static Outcome<TerrainMatrix> open(const std::string& path, const FailureTexts& texts);
    static Outcome<TerrainMatrix> open(const std::string& path) { return open(path, FailureTexts{}); }
    ~TerrainMatrix();
    TerrainMatrix(TerrainMatrix&&) noexcept;
    TerrainMatrix& operator=(TerrainMatrix&&) noexcept;
    TerrainMatrix(const TerrainMatrix&) = delete;
    TerrainMatrix& operator=(const TerrainMatrix&) = delete;

    const TerrainHeader& header() const { return m_header; }

    // The element of file row `row` (0 = north) and column `col`, widened to double.
    double element(std::int32_t col, std::int32_t row) const
    {
        const unsigned char* p = m_data +
            (static_cast<std::size_t>(row) * static_cast<std::size_t>(m_header.ncols) + static_cast<std::size_t>(col)) *
                m_width;
        switch (m_header.element) {
        case TerrainElement::Int16: return getI16(p);
        case TerrainElement::Int32: return getI32(p);
        case TerrainElement::Real: return getF64(p);
        }
        return 0;
    }

    // The height at (x, y): direct cell value without interpolation or on a border cell,
    // else the bilinear blend of the four surrounding cell centres.
    TerrainHeight lookup(double x, double y, bool interpolate) const
    {
        switch (m_header.element) {
        case TerrainElement::Int16: return lookupAs<std::int16_t>(x, y, interpolate);
        case TerrainElement::Int32: return lookupAs<std::int32_t>(x, y, interpolate);
        case TerrainElement::Real: return lookupAs<double>(x, y, interpolate);
        }
        return {};
    }

private:
    TerrainMatrix() = default;
    void release();

    template <class T> T at(std::int32_t col, std::int32_t rowFromSouth) const
    {
        std::size_t index =
            static_cast<std::size_t>(m_header.nrows - 1 - rowFromSouth) * static_cast<std::size_t>(m_header.ncols) +
            static_cast<std::size_t>(col);
        T v;
        std::memcpy(&v, m_data + index * sizeof(T), sizeof(T));
        if constexpr (std::endian::native == std::endian::big) {
            if constexpr (sizeof(T) == 2)
                v = getI16(m_data + index * 2);
            else if constexpr (sizeof(T) == 4)
                v = getI32(m_data + index * 4);
            else
                v = getF64(m_data + index * 8);
        }
        return v;
    }

    template <class T> TerrainHeight lookupAs(double x, double y, bool interpolate) const
    {
        TerrainCell cell = locateTerrainCell(m_header, x, y);
        if (!cell.inside)
            return {};
        const std::int32_t c = cell.col, s = cell.rowFromSouth;
        if (!interpolate || c == 0 || s == 0 || c == m_header.ncols - 1 || s == m_header.nrows - 1) {
            TerrainHeight r;
            r.inside = true;
            r.height = at<T>(c, s);
            r.noData = r.height == m_header.noData;
            return r;
        }
        return blendTerrain(m_header, x, y, c, s, [this](std::int32_t col, std::int32_t row) {
            return static_cast<double>(at<T>(col, row));
        });
    }

    TerrainHeader m_header;
    MappedFile m_map;
    const unsigned char* m_data = nullptr;
    std::size_t m_width = 0;
};

// The same lookup done as plainly as possible: every element read by seeking in the file.
// Nullopt when a read fails.
std::optional<TerrainHeight> lookupHeightBySeeking(std::FILE* file, const TerrainHeader&, double x, double y,
                                                   bool interpolate);

}  // namespace ovd
