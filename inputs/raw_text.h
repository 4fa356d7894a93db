#pragma once
// A text input kept as its bytes, line by line with each line's own end, for the tools that
// rewrite some lines of a file and copy the others: copied lines keep their bytes, and
// every line keeps the file's encoding and line end, whatever they are.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ovd {

struct RawLine {
    std::string text;      // the line's bytes without its end
    std::string_view end;  // "\r\n", "\n", or "" for a last line without an end
};

struct RawText {
    bool bom = false;  // the file began with a UTF-8 byte-order mark (not part of the first line)
    std::vector<RawLine> lines;
    // The lines written back, the byte-order mark first when the file had one.
    std::string join() const;
};

struct RawTextResult {
    std::optional<RawText> text;  // nullopt: the file cannot be read, or a line is too long
    long tooLongLine = 0;         // the number of the first line over the limit, else 0
};
RawTextResult readRawText(const std::string& path);

// `line` with the end of `like`.
RawLine rewrittenLine(std::string text, const RawLine& like);

}  // namespace ovd
