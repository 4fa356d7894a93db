#include "text_line.h"

#include <charconv>
#include <climits>
#include <cstdint>

#include "common/numbers.h"

namespace ovd {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

}  // namespace

void reportTooLongLine(Reporter& r, const std::string& path, long lineNumber)
{
    r.error(cformat("Řádek %ld souboru ", lineNumber) + path + " je delší než 1 MiB.");
}

std::optional<TextFile> readInputText(const std::string& path, Reporter& r, std::string_view failure)
{
    auto f = path.empty() ? std::nullopt : readTextFile(path);
    if (!f) {
        r.error(failure);
    } else if (f->tooLongLine > 0) {
        reportTooLongLine(r, path, f->tooLongLine);
        f.reset();
    }
    return f;
}

bool isCommentLine(std::string_view line)
{
    std::size_t semi = line.find(';');
    if (semi == std::string_view::npos)
        return false;
    for (std::size_t i = 0; i < semi; ++i)
        if (line[i] != ' ')
            return false;
    return true;
}

long commaCount(std::string_view line)
{
    std::size_t semi = line.find(';');
    std::string_view body = line.substr(0, semi);
    long n = 0;
    for (char c : body)
        n += c == ',';
    return n;
}

std::optional<std::int64_t> recordNumber(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    if (i < line.size() && line[i] == '+')
        ++i;
    if (i >= line.size() || line[i] < '0' || line[i] > '9')
        return std::nullopt;  // "-" starts no record either: its number would not be above 0
    std::uint64_t n = 0;
    if (std::from_chars(line.data() + i, line.data() + line.size(), n).ec != std::errc() || n == 0 ||
        n > static_cast<std::uint64_t>(INT64_MAX))
        return std::nullopt;
    return static_cast<std::int64_t>(n);
}

void FieldScanner::skipBlanks()
{
    while (m_pos < m_text.size() && isBlank(m_text[m_pos]))
        ++m_pos;
}

long FieldScanner::whole(long lo, long hi)
{
    if (!m_ok)
        return kMissingWhole;
    std::size_t used = 0;
    auto v = scanLong(m_text.substr(m_pos), &used);
    if (!v || *v < lo || *v > hi) {
        m_ok = false;
        return kMissingWhole;
    }
    m_pos += used;
    return *v;
}

double FieldScanner::real()
{
    if (!m_ok)
        return kMissingReal;
    std::size_t used = 0;
    auto v = scanDouble(m_text.substr(m_pos), &used);
    if (!v) {
        m_ok = false;
        return kMissingReal;
    }
    m_pos += used;
    return *v;
}

bool FieldScanner::separator(char c)
{
    if (m_ok && m_pos < m_text.size() && m_text[m_pos] == c) {
        ++m_pos;
        return true;
    }
    m_ok = false;
    return false;
}

bool FieldScanner::atValueEnd()
{
    if (!m_ok)
        return false;
    std::size_t p = m_pos;
    while (p < m_text.size() && isBlank(m_text[p]))
        ++p;
    return p == m_text.size() || m_text[p] == ',' || m_text[p] == ';';
}

std::string_view classLabel(LineClass c)
{
    return c == LineClass::Comment ? "Komentář" : "Parametry";
}

std::string_view correctnessLabel(Correctness c)
{
    switch (c) {
    case Correctness::Ok: return "OK";
    case Correctness::Missing: return "Chybí";
    case Correctness::Extra: return "Navíc";
    case Correctness::OutOfRange: return "Mimo rozsah";
    case Correctness::NoLink: return "Chybí odkaz";
    }
    return "";
}

LineIcon LineVerdict::icon() const
{
    if (comment())
        return LineIcon::Comment;
    return correct() ? LineIcon::Correct : LineIcon::Error;
}

std::optional<LineVerdict> syntaxVerdict(std::string_view line, long lo, long hi, const std::string& prefix)
{
    LineVerdict v;
    if (isCommentLine(line)) {
        v.lineClass = LineClass::Comment;
        return v;
    }
    long commas = commaCount(line);
    if (commas < lo) {
        v.correctness = Correctness::Missing;
        v.messages.push_back(prefix + "zadán nedostatečný počet vstupních parametrů");
        return v;
    }
    if (commas > hi) {
        v.correctness = Correctness::Extra;
        v.messages.push_back(prefix + "zadán nadbytečný počet vstupních parametrů");
        return v;
    }
    return std::nullopt;
}

}  // namespace ovd
