#include "output_kind.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "file_io.h"
#include "le_io.h"
#include "paths.h"

namespace ovd {

namespace {

// Enough of a file's start for every check below.
constexpr std::size_t kHeadSize = 4096;

struct Head {
    std::string bytes;      // the first kHeadSize bytes
    std::uint64_t size = 0;  // the whole file's length
    const unsigned char* data() const { return reinterpret_cast<const unsigned char*>(bytes.data()); }
    bool startsWith(std::string_view s) const { return std::string_view(bytes).substr(0, s.size()) == s; }
};

std::uint32_t bigEndian32(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

// dBASE III: the header's record count, header and record lengths account for the file.
bool isDbf(const Head& h)
{
    if (h.bytes.size() < 32 || (h.data()[0] & 0x07) != 0x03)
        return false;
    const std::uint64_t records = getU32(h.data() + 4), header = getU16(h.data() + 8), record = getU16(h.data() + 10);
    const std::uint64_t body = header + records * record;
    return header >= 33 && record >= 1 && (h.size == body || h.size == body + 1);
}

// A shapefile's main file or index: the file code 9994, the length in 16-bit words, version 1000.
bool isShapeFile(const Head& h)
{
    return h.bytes.size() >= 100 && bigEndian32(h.data()) == 9994 &&
        std::uint64_t(bigEndian32(h.data() + 24)) * 2 == h.size && getU32(h.data() + 28) == 1000;
}

bool isGeoPackage(const Head& h)
{
    return h.startsWith(std::string_view("SQLite format 3\0", 16));
}

bool isTiff(const Head& h)
{
    for (std::string_view magic : {std::string_view("II*\0", 4), std::string_view("MM\0*", 4),
                                   std::string_view("II+\0", 4), std::string_view("MM\0+", 4)})
        if (h.startsWith(magic))
            return true;
    return false;
}

bool isPng(const Head& h)
{
    return h.startsWith("\x89PNG\r\n\x1a\n");
}

bool isPdf(const Head& h)
{
    return h.startsWith("%PDF-");
}

bool isOdt(const Head& h)
{
    return h.startsWith("PK\x03\x04") && h.bytes.size() > 30 + 47 &&
        h.bytes.compare(30, 47, "mimetypeapplication/vnd.oasis.opendocument.text") == 0;
}

// The text after a byte-order mark and leading blanks.
std::string_view textStart(const Head& h)
{
    std::string_view t = h.bytes;
    if (t.substr(0, 3) == "\xEF\xBB\xBF")
        t.remove_prefix(3);
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front())))
        t.remove_prefix(1);
    return t;
}

bool isXmlWith(const Head& h, std::string_view element)
{
    std::string_view t = textStart(h);
    return (t.substr(0, 5) == "<?xml" || t.substr(0, element.size()) == element) &&
        t.find(element) != std::string_view::npos;
}

bool isGeoJson(const Head& h)
{
    std::string_view t = textStart(h);
    return t.substr(0, 1) == "{" && t.find("\"type\"") != std::string_view::npos &&
        t.find("\"FeatureCollection\"") != std::string_view::npos;
}

// The CSV of the GIS export: coordinates first, as its driver writes them.
bool isPointCsv(const Head& h)
{
    std::string_view t = textStart(h);
    return t.substr(0, 4) == "X,Y," || t.substr(0, 4) == "X,Y\n" || t.substr(0, 5) == "X,Y\r\n";
}

bool isMif(const Head& h)
{
    return textStart(h).substr(0, 8) == "Version ";
}

// Coefficient matrix: rows and columns, then as many 32-bit floats.
bool isMatrix(const Head& h)
{
    if (h.bytes.size() < 8)
        return false;
    const std::int32_t rows = getI32(h.data()), columns = getI32(h.data() + 4);
    return rows >= 0 && columns >= 0 && h.size == 8 + 4ULL * std::uint64_t(rows) * std::uint64_t(columns);
}

// Reference points (5 columns, 36 bytes each) and gas sources (13 columns, 114 bytes each):
// a record count and a column count, then the records.
bool isPointsOrGasSources(const Head& h)
{
    if (h.bytes.size() < 8)
        return false;
    const std::int32_t count = getI32(h.data()), columns = getI32(h.data() + 4);
    if (count < 0)
        return false;
    return (columns == 5 && h.size == 8 + 36ULL * std::uint64_t(count)) ||
        (columns == 13 && h.size == 8 + 114ULL * std::uint64_t(count));
}

// Dust sources (15 columns): each record the gas fields, the density, N and N pairs of
// 8-byte values; the records must end exactly at the file's end.
bool isDustSources(const std::string& path, const Head& h)
{
    if (h.bytes.size() < 8 || getI32(h.data() + 4) != 15 || getI32(h.data()) < 0)
        return false;
    std::optional<std::string> all = readFileBytes(path);
    if (!all || all->size() != h.size)
        return false;
    const auto* p = reinterpret_cast<const unsigned char*>(all->data());
    std::uint64_t at = 8;
    const std::int32_t count = getI32(p);
    constexpr std::uint64_t kFixed = 114 + 8;  // the gas fields and the density
    for (std::int32_t i = 0; i < count; ++i) {
        if (at + kFixed + 4 > all->size())
            return false;
        const std::int32_t pairs = getI32(p + at + kFixed);
        if (pairs < 0)
            return false;
        at += kFixed + 4 + 16ULL * std::uint64_t(pairs);
    }
    return at == all->size();
}

// Terrain: element type (int16), ncols, nrows, origin and cell size, the no-data value, then
// ncols x nrows elements.
bool isTerrain(const Head& h)
{
    if (h.bytes.size() < 34)
        return false;
    const std::uint16_t type = getU16(h.data());
    const std::int32_t ncols = getI32(h.data() + 2), nrows = getI32(h.data() + 6);
    const std::uint64_t width = type == 0 ? 2 : type == 1 ? 4 : type == 2 ? 8 : 0;
    return width && ncols > 0 && nrows > 0 &&
        h.size == 34 + width + width * std::uint64_t(ncols) * std::uint64_t(nrows);
}

// The header lines the system's text outputs (run logs, protocols, exports, grids, matrix
// texts) begin with.
bool isOwnText(const Head& h)
{
    std::string_view t = textStart(h);
    static constexpr std::array<std::string_view, 1> kStarts = {"Datum"};
    return std::any_of(kStarts.begin(), kStarts.end(), [&](std::string_view s) { return t.substr(0, s.size()) == s; });
}

std::string lowerExtension(const std::string& path)
{
    std::string name = fileNameOf(path);
    std::size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace

bool isOwnOutputKind(const std::string& path)
{
    if (!isRegularFile(path))
        return false;
    File f;
    if (!f.open(path, "rb"))
        return false;
    Head h;
    h.bytes.resize(kHeadSize);
    h.bytes.resize(std::fread(h.bytes.data(), 1, h.bytes.size(), f.get()));
    h.size = static_cast<std::uint64_t>(fileSize(path).value_or(-1));
    // A file named for a format we write is one when its first bytes say so.
    struct ByExtension {
        std::string_view extension;
        bool (*is)(const Head&);
    };
    static constexpr ByExtension kByExtension[] = {
        {"dbf", isDbf},
        {"shp", isShapeFile},
        {"shx", isShapeFile},
        {"gpkg", isGeoPackage},
        {"tif", isTiff},
        {"tiff", isTiff},
        {"png", isPng},
        {"pdf", isPdf},
        {"odt", isOdt},
        {"svg", [](const Head& x) { return isXmlWith(x, "<svg"); }},
        {"kml", [](const Head& x) { return isXmlWith(x, "<kml"); }},
        {"geojson", isGeoJson},
        {"csv", isPointCsv},
        {"mif", isMif},
    };
    const std::string ext = lowerExtension(path);
    for (const ByExtension& k : kByExtension)
        if (ext == k.extension)
            return k.is(h);
    if (h.size == 0)
        return false;
    return isMatrix(h) || isPointsOrGasSources(h) || isTerrain(h) || isDustSources(path, h) || isOwnText(h);
}

}  // namespace ovd
