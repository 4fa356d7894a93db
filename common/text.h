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

// Splits text into lines at LF, dropping a CR before it; a last line without an end
// still counts, a trailing line end does not start another line.
std::vector<std::string> splitLines(std::string_view text);

struct TextFile {
    std::vector<std::string> lines;  // UTF-8, without line ends
    bool crlf = false;               // the first line end was CR LF
    bool terminated = true;          // the last line had a line end (or the file is empty)
};
// Reads a whole text file, decoding it as a whole (UTF-8 when valid, else Windows-1250).
std::optional<TextFile> readTextFile(const std::string& path);

// Reads lines one by one, whatever their length, without decoding.
class LineReader {
public:
    explicit LineReader(std::FILE* fp) : m_fp(fp) {}
    // The next line without its CR LF or LF; false at the end of the file.
    bool next(std::string& line);
    long lineNumber() const { return m_lineNumber; }

private:
    std::FILE* m_fp;
    long m_lineNumber = 0;
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

std::string trim(std::string_view s);
std::string toLowerAscii(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace ovd
