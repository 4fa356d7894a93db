#include "text.h"

#include "file_io.h"

namespace ovd {

namespace {

// Windows-1250 code points of bytes 0x80..0xFF (0 = undefined).
const char16_t kCp1250High[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at s[i]; returns its length, 0 when malformed.
std::size_t utf8Sequence(std::string_view s, std::size_t i, char32_t& cp)
{
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = b(i);
    std::size_t len;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    return len;
}

}  // namespace

bool isValidUtf8(std::string_view bytes)
{
    char32_t cp;
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t n = utf8Sequence(bytes, i, cp);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string cp1250ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            char16_t cp = kCp1250High[c - 0x80];
            appendUtf8(out, cp ? cp : U'\uFFFD');
        }
    }
    return out;
}

std::string utf8ToCp1250(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp;
        std::size_t n = utf8Sequence(utf8, i, cp);
        if (n == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += n;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 128; ++k) {
            if (kCp1250High[k] == cp) {
                mapped = static_cast<char>(0x80 + k);
                break;
            }
        }
        out.push_back(mapped);
    }
    return out;
}

std::string decodeText(std::string_view bytes)
{
    return isValidUtf8(bytes) ? std::string(bytes) : cp1250ToUtf8(bytes);
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::size_t cut = (end > start && text[end - 1] == '\r') ? end - 1 : end;
        lines.emplace_back(text.substr(start, cut - start));
        if (nl == std::string_view::npos)
            break;
        start = nl + 1;
    }
    return lines;
}

std::vector<std::string_view> linesWithEnds(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t len = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, len));
        text.remove_prefix(len);
    }
    return lines;
}

bool startsWithBom(std::string_view bytes)
{
    return bytes.substr(0, 3) == "\xEF\xBB\xBF";
}

std::string_view stripBom(std::string_view bytes)
{
    return startsWithBom(bytes) ? bytes.substr(3) : bytes;
}

// Number of the first line (counted from 1) longer than kMaxLineBytes, or 0, and the
// offset where that line starts.
static std::pair<long, std::size_t> firstTooLongLine(std::string_view text)
{
    long number = 1;
    for (std::size_t start = 0; start < text.size(); ++number) {
        std::size_t nl = text.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::size_t len = end - start;
        if (len > 0 && nl != std::string_view::npos && text[end - 1] == '\r')
            --len;
        if (len > kMaxLineBytes)
            return {number, start};
        start = nl == std::string_view::npos ? text.size() : nl + 1;
    }
    return {0, text.size()};
}

std::optional<TextFile> readTextFile(const std::string& path)
{
    auto bytes = readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    TextFile tf;
    std::string_view body = stripBom(*bytes);
    std::size_t nl = body.find('\n');
    tf.crlf = nl != std::string::npos && nl > 0 && body[nl - 1] == '\r';
    tf.terminated = body.empty() || body.back() == '\n';
    auto [tooLong, cut] = firstTooLongLine(body);
    tf.tooLongLine = tooLong;
    body = body.substr(0, cut);
    tf.lines = splitLines(decodeText(body));
    return tf;
}

bool LineReader::next(std::string& line)
{
    line.clear();
    if (m_tooLong)
        return false;
    int c;
    bool any = false;
    while ((c = std::getc(m_fp)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        if (line.size() > kMaxLineBytes) {  // one byte of slack for a CR before the LF
            m_tooLong = true;
            ++m_lineNumber;
            line.clear();
            return false;
        }
        line.push_back(static_cast<char>(c));
    }
    if (!any)
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.size() > kMaxLineBytes) {
        m_tooLong = true;
        ++m_lineNumber;
        line.clear();
        return false;
    }
    if (m_lineNumber == 0 && startsWithBom(line))
        line.erase(0, 3);
    ++m_lineNumber;
    return true;
}

AppendInfo inspectForAppend(const std::string& path)
{
    AppendInfo info;
    auto bytes = readFileBytes(path);
    if (!bytes)
        return info;
    info.exists = true;
    info.empty = bytes->empty();
    std::size_t nl = bytes->find('\n');
    info.crlf = nl != std::string::npos && nl > 0 && (*bytes)[nl - 1] == '\r';
    info.terminated = bytes->empty() || bytes->back() == '\n';
    return info;
}

std::string htmlEscaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string trim(std::string_view s)
{
    const char* ws = " \t\r\n\f\v";
    std::size_t b = s.find_first_not_of(ws);
    if (b == std::string_view::npos)
        return {};
    std::size_t e = s.find_last_not_of(ws);
    return std::string(s.substr(b, e - b + 1));
}

std::string toLowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace ovd
