#include "terrain_text_grid.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "common/numbers.h"

namespace ovd {

namespace {

bool isSeparator(char c)
{
    return c == ' ' || c == '\t';
}

bool isBlankLine(std::string_view line)
{
    for (char c : line)
        if (!isSeparator(c) && c != '\r')
            return false;
    return true;
}

// The blank-separated words of a header line.
std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    TextGridReader::split(line, out);
    return out;
}

// A "keyword value" line of the first kind; only the value is read.
std::optional<std::string_view> keywordValue(std::string_view line)
{
    auto w = words(line);
    if (w.size() < 2)
        return std::nullopt;
    return w[1];
}

// An origin line that gives the centre of the corner cell ("xllcenter") rather than its corner.
bool namesCentre(std::string_view line)
{
    auto w = words(line);
    return !w.empty() && (equalsIgnoreCase(w[0], "xllcenter") || equalsIgnoreCase(w[0], "yllcenter"));
}

// Spacings that differ only by the rounding of the header's decimal text count as equal.
bool sameSpacing(double a, double b)
{
    return std::fabs(a - b) <= 1e-6 * std::max(std::fabs(a), std::fabs(b));
}

std::optional<long> positiveCount(std::optional<std::string_view> text)
{
    if (!text)
        return std::nullopt;
    auto v = parseLong(*text);
    if (!v || *v <= 0 || *v > INT32_MAX)
        return std::nullopt;
    return v;
}

std::optional<double> real(std::optional<std::string_view> text)
{
    return text ? parseDouble(*text) : std::nullopt;
}

// Two numbers at the start of a second-kind header line.
bool twoReals(std::string_view line, double& a, double& b)
{
    auto w = words(line);
    if (w.size() < 2)
        return false;
    auto x = parseDouble(w[0]), y = parseDouble(w[1]);
    if (!x || !y)
        return false;
    a = *x;
    b = *y;
    return true;
}

}  // namespace

std::string headerErrorLogLine(TextGridHeaderError e, const TextGridHeader& h)
{
    switch (e) {
    case TextGridHeaderError::Empty:
    case TextGridHeaderError::NCols: return "Chyba pri nacitani NCols !\n";
    case TextGridHeaderError::NRows: return "Chyba pri nacitani NRows !\n";
    case TextGridHeaderError::XllCorner: return "Chyba pri nacitani XllCorner !\n";
    case TextGridHeaderError::YllCorner: return "Chyba pri nacitani YllCorner !\n";
    case TextGridHeaderError::CellSize: return "Chyba pri nacitani CellSize !\n";
    case TextGridHeaderError::NoData: return "Chyba pri nacitani NoDataValue !\n";
    case TextGridHeaderError::NColsNRows: return "Chyba pri nacitani NCols,NRows !\n";
    case TextGridHeaderError::XMinXMax: return "Chyba pri nacitani XMin,XMax !\n";
    case TextGridHeaderError::YMinYMax: return "Chyba pri nacitani YMin,YMax !\n";
    case TextGridHeaderError::ZMinZMax: return "Chyba pri nacitani ZMin,ZMax !\n";
    case TextGridHeaderError::UnequalSpacing:
        return cformat("Vzdalenosti mezi body na osach si neodpovidaji (X : %lf, Y : %lf!\n", h.xSpacing, h.ySpacing);
    case TextGridHeaderError::None:
    case TextGridHeaderError::UnknownKind:
    case TextGridHeaderError::TooFewNodes:
    case TextGridHeaderError::BadSpacing: break;
    }
    return {};
}

std::optional<ElementValue> parseElementValue(std::string_view text, TerrainElement element)
{
    ElementValue v;
    if (element == TerrainElement::Real) {
        auto d = parseDouble(text);
        if (!d)
            return std::nullopt;
        v.real = *d;
        v.whole = 0;
        return v;
    }
    if (auto l = parseLong(text)) {
        v.whole = *l;
    } else {
        auto d = parseDouble(text);
        if (!d || std::fabs(*d) >= 9.2e18)
            return std::nullopt;
        v.whole = static_cast<long>(*d);  // the fraction is cut off
    }
    // Whole types keep the low bits, as the stored element does.
    if (element == TerrainElement::Int16)
        v.whole = static_cast<std::int16_t>(static_cast<std::uint16_t>(v.whole));
    else
        v.whole = static_cast<std::int32_t>(static_cast<std::uint32_t>(v.whole));
    v.real = static_cast<double>(v.whole);
    return v;
}

TextGridHeaderError TextGridReader::readColumnsHeader(const std::vector<std::string_view>& first, TextGridHeader& h)
{
    std::string line;
    h.kind = TextGridKind::Columns;
    auto ncols = positiveCount(first.size() > 1 ? std::optional(first[1]) : std::nullopt);
    if (!ncols)
        return TextGridHeaderError::NCols;
    h.ncols = *ncols;
    auto nrows = nextLine(line) ? positiveCount(keywordValue(line)) : std::nullopt;
    if (!nrows)
        return TextGridHeaderError::NRows;
    h.nrows = *nrows;
    auto x = nextLine(line) ? real(keywordValue(line)) : std::nullopt;
    if (!x)
        return TextGridHeaderError::XllCorner;
    h.xOrigin = *x;
    const bool xCentre = namesCentre(line);
    auto y = nextLine(line) ? real(keywordValue(line)) : std::nullopt;
    if (!y)
        return TextGridHeaderError::YllCorner;
    h.yOrigin = *y;
    const bool yCentre = namesCentre(line);
    auto cell = nextLine(line) ? real(keywordValue(line)) : std::nullopt;
    if (!cell || !(*cell > 0))
        return TextGridHeaderError::CellSize;
    h.cellSize = *cell;
    // The matrix keeps the corner: a centre lies half a cell inside it.
    if (xCentre)
        h.xOrigin -= h.cellSize / 2;
    if (yCentre)
        h.yOrigin -= h.cellSize / 2;
    auto nd = nextLine(line) ? keywordValue(line) : std::nullopt;
    if (!nd || !parseDouble(*nd))
        return TextGridHeaderError::NoData;
    h.noDataText = std::string(*nd);
    return TextGridHeaderError::None;
}

TextGridHeaderError TextGridReader::readSurfaceHeader(TextGridHeader& h)
{
    std::string line;
    h.kind = TextGridKind::Surface;
    if (!nextLine(line))
        return TextGridHeaderError::NColsNRows;
    auto w = words(line);
    auto nx = w.size() >= 2 ? parseLong(w[0]) : std::nullopt;
    auto ny = w.size() >= 2 ? parseLong(w[1]) : std::nullopt;
    if (!nx || !ny)
        return TextGridHeaderError::NColsNRows;
    if (!nextLine(line) || !twoReals(line, h.xOrigin, h.xMax))
        return TextGridHeaderError::XMinXMax;
    if (!nextLine(line) || !twoReals(line, h.yOrigin, h.yMax))
        return TextGridHeaderError::YMinYMax;
    if (!nextLine(line) || !twoReals(line, h.zMin, h.zMax))
        return TextGridHeaderError::ZMinZMax;
    // The spacing divides by nx - 1 and ny - 1.
    if (*nx < 2 || *ny < 2 || *nx > INT32_MAX || *ny > INT32_MAX)
        return TextGridHeaderError::TooFewNodes;
    h.ncols = *nx;
    h.nrows = *ny;
    h.xSpacing = (h.xMax - h.xOrigin) / static_cast<double>(h.ncols - 1);
    h.ySpacing = (h.yMax - h.yOrigin) / static_cast<double>(h.nrows - 1);
    if (!sameSpacing(h.xSpacing, h.ySpacing))
        return TextGridHeaderError::UnequalSpacing;
    if (!(h.xSpacing > 0) || !std::isfinite(h.xSpacing))
        return TextGridHeaderError::BadSpacing;
    h.cellSize = h.xSpacing;
    h.noDataText = "-9999";
    return TextGridHeaderError::None;
}

TextGridHeaderError TextGridReader::readHeader(TextGridHeader& h)
{
    h = TextGridHeader{};
    std::string line;
    if (!nextLine(line))
        return TextGridHeaderError::Empty;
    auto first = words(line);
    if (first.empty())
        return TextGridHeaderError::Empty;
    std::string kind = toLowerAscii(first[0]);
    TextGridHeaderError e = kind == "ncols"  ? readColumnsHeader(first, h)
                            : kind == "dsaa" ? readSurfaceHeader(h)
                                             : TextGridHeaderError::UnknownKind;
    if (e != TextGridHeaderError::None)
        return e;
    m_header = h;
    return TextGridHeaderError::None;
}

void TextGridReader::split(std::string_view line, std::vector<std::string_view>& out)
{
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isSeparator(line[i]))
            ++i;
        std::size_t start = i;
        while (i < line.size() && !isSeparator(line[i]))
            ++i;
        if (i > start)
            out.push_back(line.substr(start, i - start));
    }
}

TextGridReader::Row TextGridReader::nextRow(std::vector<std::string_view>& values)
{
    values.clear();
    if (m_ended)
        return Row::End;
    // Blank lines between rows (the separator lines of the second kind among them) are skipped.
    do {
        if (!nextLine(m_line)) {
            m_ended = true;
            return Row::End;
        }
    } while (isBlankLine(m_line));

    if (m_header.kind == TextGridKind::Columns) {
        split(m_line, values);
        return static_cast<long>(values.size()) == m_header.ncols ? Row::Ok : Row::Bad;
    }

    // Second kind: ceil(nx / 10) lines, then an empty separator line (or the end).
    long lineCount = (m_header.ncols + 9) / 10;
    if (m_rowLines.empty())
        m_rowLines.emplace_back();
    m_rowLines[0].swap(m_line);
    for (long i = 1; i < lineCount; ++i) {
        if (static_cast<std::size_t>(i) >= m_rowLines.size())
            m_rowLines.emplace_back();
        if (!nextLine(m_rowLines[static_cast<std::size_t>(i)]))
            return Row::Bad;
    }
    for (long i = 0; i < lineCount; ++i) {
        split(m_rowLines[static_cast<std::size_t>(i)], values);
        if (static_cast<long>(values.size()) > m_header.ncols)
            return Row::Bad;
    }
    if (static_cast<long>(values.size()) != m_header.ncols)
        return Row::Bad;
    std::string separator;
    if (nextLine(separator) && !isBlankLine(separator))
        return Row::Bad;  // not the layout we read: its values would be lost
    return Row::Ok;
}

}  // namespace ovd
