#pragma once
// Reading the two text grid kinds of terrain heights: the header, then the rows one by one
// as value texts. The first kind ("ncols" header) holds one row per line, northernmost
// first; the second ("dsaa" header) holds each row on ceil(nx / 10) lines followed by a
// separator line, southernmost first. Values are separated by spaces or tabs.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text.h"
#include "terrain_matrix.h"

namespace ovd {

enum class TextGridKind { Unknown, Columns, Surface };  // first kind, second kind

enum class TextGridHeaderError {
    None,
    Empty,        // no first word: "NCols"
    UnknownKind,  // first word neither "ncols" nor "dsaa"
    NCols,
    NRows,
    XllCorner,
    YllCorner,
    CellSize,
    NoData,  // first kind
    NColsNRows,
    XMinXMax,
    YMinYMax,
    ZMinZMax,        // second kind
    TooFewNodes,     // nx or ny below 2
    UnequalSpacing,  // (xmax - xmin)/(nx - 1) and (ymax - ymin)/(ny - 1) differ beyond rounding
    BadSpacing,      // spacing not a positive number
};

struct TextGridHeader {
    TextGridKind kind = TextGridKind::Unknown;
    long ncols = 0;
    long nrows = 0;
    double xOrigin = 0, yOrigin = 0, cellSize = 0;
    std::string noDataText;  // first kind: the value text as written
    double xMax = 0, yMax = 0, zMin = 0, zMax = 0;
    double xSpacing = 0, ySpacing = 0;  // second kind
};

// What the user is told about a second-kind grid whose spacings differ.
inline constexpr std::string_view kUnequalSpacingText = "Vzdálenosti mezi body na osách si neodpovídají !";

// The run log line ("Chyba pri nacitani ... !\n") of a header error; empty when it has none.
std::string headerErrorLogLine(TextGridHeaderError, const TextGridHeader&);

// A value text as an element of the chosen type: whole types take the whole-number part
// (a decimal fraction is cut off) and keep its low 16 or 32 bits. Nullopt for anything
// that is not a number.
struct ElementValue {
    long whole = 0;
    double real = 0;
};
std::optional<ElementValue> parseElementValue(std::string_view text, TerrainElement);

class TextGridReader {
public:
    explicit TextGridReader(std::FILE* fp)
        : m_lines(fp)
    { }

    TextGridHeaderError readHeader(TextGridHeader& header);

    enum class Row { Ok, End, Bad };
    // The next row's value texts (valid until the next call). Bad: the row does not hold
    // ncols values, or a second-kind row is not followed by an empty separator line.
    // End: no further non-blank line.
    Row nextRow(std::vector<std::string_view>& values);

    // A line longer than the reader takes ended the reading (a header error, End or Bad
    // above); `lineNumber()` names it.
    bool tooLong() const { return m_lines.tooLong(); }
    long lineNumber() const { return m_lines.lineNumber(); }

    // Appends the blank- or tab-separated words of a line to `out`.
    static void split(std::string_view line, std::vector<std::string_view>& out);

private:
    bool nextLine(std::string& line) { return m_lines.next(line); }
    // The rest of an "ncols" header (its first line's words given) and of a "DSAA" one.
    TextGridHeaderError readColumnsHeader(const std::vector<std::string_view>& first, TextGridHeader& h);
    TextGridHeaderError readSurfaceHeader(TextGridHeader& h);

    LineReader m_lines;
    TextGridHeader m_header;
    std::string m_line;
    std::vector<std::string> m_rowLines;
    bool m_ended = false;
};

}  // namespace ovd
