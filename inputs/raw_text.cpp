#include "raw_text.h"

#include "common/file_io.h"
#include "common/text.h"

namespace ovd {

std::string RawText::join() const
{
    std::size_t size = bom ? 3 : 0;
    for (const RawLine& l : lines)
        size += l.text.size() + l.end.size();
    std::string out;
    out.reserve(size);
    if (bom)
        out += "\xEF\xBB\xBF";
    for (const RawLine& l : lines) {
        out += l.text;
        out += l.end;
    }
    return out;
}

RawTextResult readRawText(const std::string& path)
{
    RawTextResult result;
    auto bytes = path.empty() ? std::nullopt : readFileBytes(path);
    if (!bytes)
        return result;
    std::string_view rest = *bytes;
    const std::string_view body = stripBom(rest);
    RawText text;
    text.bom = body.size() != rest.size();
    rest = body;
    while (!rest.empty()) {
        std::size_t lf = rest.find('\n');
        std::string_view line = rest.substr(0, lf);
        std::string_view end = lf == std::string_view::npos ? "" : "\n";
        rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
        if (!line.empty() && line.back() == '\r' && !end.empty()) {
            line.remove_suffix(1);
            end = "\r\n";
        }
        if (line.size() > kMaxLineBytes) {
            result.tooLongLine = static_cast<long>(text.lines.size() + 1);
            return result;
        }
        text.lines.push_back({std::string(line), end});
    }
    result.text = std::move(text);
    return result;
}

RawLine rewrittenLine(std::string text, const RawLine& like)
{
    return {std::move(text), like.end};
}

}  // namespace ovd
