#include "terrain_matrix.h"

#include <utility>

#include "common/numbers.h"

namespace ovd {

std::size_t elementWidth(TerrainElement e)
{
    switch (e) {
    case TerrainElement::Int16: return 2;
    case TerrainElement::Int32: return 4;
    case TerrainElement::Real: return 8;
    }
    return 2;
}

std::size_t TerrainHeader::elementWidth() const
{
    return ovd::elementWidth(element);
}

std::uint64_t TerrainHeader::dataBytes() const
{
    return static_cast<std::uint64_t>(ncols) * static_cast<std::uint64_t>(nrows) * elementWidth();
}

void putTerrainElement(std::string& out, TerrainElement e, long wholeValue, double realValue)
{
    switch (e) {
    case TerrainElement::Int16: putU16(out, static_cast<std::uint16_t>(wholeValue)); break;
    case TerrainElement::Int32: putU32(out, static_cast<std::uint32_t>(wholeValue)); break;
    case TerrainElement::Real: putF64(out, realValue); break;
    }
}

std::string TerrainHeader::encode() const
{
    std::string out;
    putU16(out, static_cast<std::uint16_t>(element));
    putI32(out, ncols);
    putI32(out, nrows);
    putF64(out, xOrigin);
    putF64(out, yOrigin);
    putF64(out, cellSize);
    // Whole types hold a no-data value of their own range; a real one may be any number.
    putTerrainElement(out, element, element == TerrainElement::Real ? 0 : static_cast<long>(noData), noData);
    return out;
}

std::optional<TerrainHeader> decodeTerrainHeader(const unsigned char* bytes, std::size_t size, std::uint64_t fileSize,
                                                 std::string* why)
{
    auto refuse = [why](std::string text) -> std::optional<TerrainHeader> {
        if (why)
            *why = std::move(text);
        return std::nullopt;
    };
    const char* badHeader = "Hlavička souboru nepopisuje matici výškopisu.";
    if (size < kTerrainFixedHeader)
        return refuse(badHeader);
    TerrainHeader h;
    std::uint16_t type = getU16(bytes);
    if (type > 2)
        return refuse(badHeader);
    h.element = static_cast<TerrainElement>(type);
    h.ncols = getI32(bytes + 2);
    h.nrows = getI32(bytes + 6);
    h.xOrigin = getF64(bytes + 10);
    h.yOrigin = getF64(bytes + 18);
    h.cellSize = getF64(bytes + 26);
    if (h.ncols <= 0 || h.nrows <= 0 || !std::isfinite(h.xOrigin) || !std::isfinite(h.yOrigin) ||
        !std::isfinite(h.cellSize) || !(h.cellSize > 0))
        return refuse(badHeader);
    // A longer file is as wrong as a shorter one: its header does not describe its data
    // (another element type, other counts), and every height read from it would be wrong.
    const std::uint64_t expected = h.dataOffset() + h.dataBytes();
    if (fileSize != expected)
        return refuse(cformat("Délka souboru %llu B neodpovídá hlavičce (%ld x %ld prvků po %ld B, celkem %llu B).",
                              static_cast<unsigned long long>(fileSize), static_cast<long>(h.ncols),
                              static_cast<long>(h.nrows), static_cast<long>(h.elementWidth()),
                              static_cast<unsigned long long>(expected)));
    if (size < h.dataOffset())
        return refuse(badHeader);
    const unsigned char* nd = bytes + kTerrainFixedHeader;
    switch (h.element) {
    case TerrainElement::Int16: h.noData = getI16(nd); break;
    case TerrainElement::Int32: h.noData = getI32(nd); break;
    case TerrainElement::Real: h.noData = getF64(nd); break;
    }
    return h;
}

Outcome<TerrainMatrix> TerrainMatrix::open(const std::string& path, const FailureTexts& texts)
{
    MappedFile map;
    const MappedFile::Status status = map.open(path);
    if (status == MappedFile::Status::CannotOpen)
        return Problem::error(std::string(texts.cannotOpen));
    const std::uint64_t fileSize = map.fileSize();
    std::optional<TerrainHeader> header;
    std::string why;
    if (status == MappedFile::Status::Mapped)
        header = decodeTerrainHeader(map.data(), fileSize, fileSize, &why);
    else
        why = status == MappedFile::Status::Empty ? "Soubor je prázdný." : "Soubor nelze načíst do paměti.";
    if (!header) {
        std::string text(texts.notMatrix);
        if (texts.withReason)
            text += "\n" + why;
        return Problem::error(std::move(text));
    }
    TerrainMatrix m;
    m.m_header = *header;
    m.m_map = std::move(map);
    m.m_data = m.m_map.data() + header->dataOffset();
    m.m_width = header->elementWidth();
    m.m_map.willNeed();
    return m;
}

void TerrainMatrix::release()
{
    m_map.close();
    m_data = nullptr;
}

TerrainMatrix::~TerrainMatrix()
{
    release();
}

TerrainMatrix::TerrainMatrix(TerrainMatrix&& o) noexcept
    : m_header(o.m_header)
    , m_map(std::move(o.m_map))
    , m_data(std::exchange(o.m_data, nullptr))
    , m_width(o.m_width)
{ }

TerrainMatrix& TerrainMatrix::operator=(TerrainMatrix&& o) noexcept
{
    if (this != &o) {
        release();
        m_header = o.m_header;
        m_map = std::move(o.m_map);
        m_data = std::exchange(o.m_data, nullptr);
        m_width = o.m_width;
    }
    return *this;
}

namespace {

// One element of file row r (north first), column c, by seeking.
std::optional<double> readElement(std::FILE* f, const TerrainHeader& h, long c, long r)
{
    long long offset = static_cast<long long>(h.dataOffset()) +
        (static_cast<long long>(r) * h.ncols + c) * static_cast<long long>(h.elementWidth());
    unsigned char buf[8];
    if (std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0 ||
        std::fread(buf, 1, h.elementWidth(), f) != h.elementWidth())
        return std::nullopt;
    switch (h.element) {
    case TerrainElement::Int16: return getI16(buf);
    case TerrainElement::Int32: return getI32(buf);
    case TerrainElement::Real: return getF64(buf);
    }
    return std::nullopt;
}

}  // namespace

std::optional<TerrainHeight> lookupHeightBySeeking(std::FILE* f, const TerrainHeader& h, double x, double y,
                                                   bool interpolate)
{
    TerrainHeight r;
    if (x < h.xOrigin || y < h.yOrigin || x > h.xOrigin + h.ncols * h.cellSize || y > h.yOrigin + h.nrows * h.cellSize)
        return r;
    if (std::isnan(x) || std::isnan(y))
        return r;
    r.inside = true;
    long c = static_cast<long>((x - h.xOrigin) / h.cellSize);
    long s = static_cast<long>((y - h.yOrigin) / h.cellSize);
    if (c >= h.ncols)
        c = h.ncols - 1;
    if (s >= h.nrows)
        s = h.nrows - 1;
    if (!interpolate || c == 0 || s == 0 || c == h.ncols - 1 || s == h.nrows - 1) {
        auto v = readElement(f, h, c, h.nrows - 1 - s);
        if (!v)
            return std::nullopt;
        r.height = *v;
        r.noData = *v == h.noData;
        return r;
    }
    bool unreadable = false;
    auto element = [&](std::int32_t col, std::int32_t rowFromSouth) {
        std::optional<double> v = readElement(f, h, col, h.nrows - 1 - rowFromSouth);
        unreadable = unreadable || !v;
        return v.value_or(0.0);
    };
    r = blendTerrain(h, x, y, static_cast<std::int32_t>(c), static_cast<std::int32_t>(s), element);
    if (unreadable)
        return std::nullopt;
    return r;
}

}  // namespace ovd
