#include "result_json.h"

#include "common/numbers.h"
#include "common/text.h"

namespace ovd {

namespace {

void quoted(std::string& out, std::string_view raw)
{
    const std::string text = decodeText(raw);  // a cell read from a file may be 8-bit
    out += '"';
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (u < 0x20) {
            out += cformat("\\u%04x", u);
        } else {
            out += c;
        }
    }
    out += '"';
}

template <class T, class F> void array(std::string& out, const std::vector<T>& items, F each)
{
    out += '[';
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += ',';
        each(items[i]);
    }
    out += ']';
}

std::string_view severityName(Severity s)
{
    switch (s) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Info: return "info";
    }
    return "";
}

void table(std::string& out, const ResultTable& t)
{
    out += "{\"title\":";
    quoted(out, t.title);
    out += ",\"columns\":";
    array(out, t.columns, [&](const ResultColumn& c) { quoted(out, c.title); });
    out += ",\"rows\":";
    array(out, t.rows, [&](const ResultRow& r) {
        out += "{\"cells\":";
        array(out, r.cells, [&](const std::string& cell) { quoted(out, cell); });
        out += ",\"mark\":";
        quoted(out, markName(r.mark));
        out += '}';
    });
    out += '}';
}

}  // namespace

std::string_view statusName(ToolStatus s)
{
    switch (s) {
    case ToolStatus::Done: return "done";
    case ToolStatus::Failed: return "failed";
    case ToolStatus::Declined: return "declined";
    case ToolStatus::Unusable: return "unusable";
    }
    return "";
}

namespace {

std::string json(std::string_view status, const ToolResult& result, std::span<const ToolMessage> messages)
{
    std::string out = "{\"status\":";
    quoted(out, status);
    out += ",\"messages\":[";
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const ToolMessage& m = messages[i];
        out += i ? ",{\"severity\":" : "{\"severity\":";
        quoted(out, severityName(m.severity));
        out += ",\"caption\":";
        quoted(out, m.caption);
        out += ",\"text\":";
        quoted(out, m.text);
        out += '}';
    }
    out += "],\"tables\":";
    array(out, result.tables, [&](const ResultTable& t) { table(out, t); });
    out += ",\"lines\":";
    array(out, result.lines, [&](const std::string& line) { quoted(out, line); });
    out += "}\n";
    return out;
}

}  // namespace

std::string resultJson(const ToolResult& result, std::span<const ToolMessage> messages)
{
    return json(statusName(result.status), result, messages);
}

std::string usageJson(std::string_view text)
{
    const ToolMessage m{Severity::Error, std::string(kCaptionError), std::string(text)};
    return json("usage", ToolResult{}, std::span(&m, 1));
}

}  // namespace ovd
