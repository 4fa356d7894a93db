#pragma once
// Text lines and encodings: inside the program everything is UTF-8; 8-bit files are
// Windows-1250. Readers accept both encodings and both line ends.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovd {

bool isValidUtf8(std::string_view bytes);
std::string cp1250ToUtf8(std::string_view bytes);
// Characters without a Windows-1250 code become "?".
std::string utf8ToCp1250(std::string_view utf8);
// Valid UTF-8 is kept as it is; anything else is taken as Windows-1250.
std::string decodeText(std::string_view bytes);
// The bytes without a leading UTF-8 byte-order mark.
std::string_view stripBom(std::string_view bytes);
bool startsWithBom(std::string_view bytes);

// Longest line any reader accepts; longer ones are refused, not split or cut.
inline constexpr std::size_t kMaxLineBytes = 1 << 20;

// Splits text into lines at LF, dropping a CR before it; a last line without an end
// still counts, a trailing line end does not start another line.
std::vector<std::string> splitLines(std::string_view text);
// The lines with their line ends as they stand (the last may lack one), as views of `text`.
std::vector<std::string_view> linesWithEnds(std::string_view text);

struct TextFile {
    std::vector<std::string> lines;  // UTF-8, without line ends
    bool crlf = false;               // the first line end was CR LF
    bool terminated = true;          // the last line had a line end (or the file is empty)
    long tooLongLine = 0;            // number of the first line over kMaxLineBytes (0: none);
                                     // `lines` then ends before it
};
// Reads a whole text file (a regular file only), decoding it as a whole (UTF-8 when valid,
// else Windows-1250) after a leading byte-order mark.
std::optional<TextFile> readTextFile(const std::string& path);

// Reads lines one by one without decoding; a byte-order mark before the first is skipped.
class LineReader {
public:
    explicit LineReader(std::FILE* fp)
        : m_fp(fp)
    { }
    // The next line without its CR LF or LF; false at the end of the file, or at a line
    // longer than kMaxLineBytes (then tooLong() is true and lineNumber() names it).
    bool next(std::string& line);
    long lineNumber() const { return m_lineNumber; }
    bool tooLong() const { return m_tooLong; }

private:
    std::FILE* m_fp;
    long m_lineNumber = 0;
    bool m_tooLong = false;
};

// What an existing text file looks like at its end, so a tool appending to it can keep
// its line end and first end an unterminated last line.
struct AppendInfo {
    bool exists = false;
    bool empty = true;
    bool crlf = false;
    bool terminated = true;
};
AppendInfo inspectForAppend(const std::string& path);

// The text with "&", "<", ">" and '"' written as HTML entities.
std::string htmlEscaped(std::string_view text);

std::string trim(std::string_view s);
std::string toLowerAscii(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace ovd
