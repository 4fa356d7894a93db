#include "numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform.h"

namespace ovd {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

}  // namespace

std::string vcformat(const char* fmt, std::va_list args)
{
    CLocaleScope scope;
    std::va_list copy;
    va_copy(copy, args);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0)
        return {};
    if (static_cast<std::size_t>(n) < sizeof small)
        return std::string(small, static_cast<std::size_t>(n));
    std::vector<char> big(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(big.data(), big.size(), fmt, args);
    return std::string(big.data(), static_cast<std::size_t>(n));
}

std::string cformat(const char* fmt, ...)
{
    std::va_list args;
    va_start(args, fmt);
    std::string s = vcformat(fmt, args);
    va_end(args);
    return s;
}

namespace {

// Where the digits of a number start: after leading blanks and one optional sign.
std::size_t skipBlanksAndSign(std::string_view text, bool& negative)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

}  // namespace

std::optional<double> scanDouble(std::string_view text, std::size_t* used)
{
    if (used)
        *used = 0;
    bool negative = false;
    std::size_t i = skipBlanksAndSign(text, negative);
    // from_chars would also read "nan" and "inf"; only digits or a point may start a number.
    if (i >= text.size() || !((text[i] >= '0' && text[i] <= '9') || text[i] == '.'))
        return std::nullopt;
    double value = 0;
    auto res = std::from_chars(text.data() + i, text.data() + text.size(), value, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument)
        return std::nullopt;
    if (res.ec == std::errc::result_out_of_range || !std::isfinite(value))
        return std::nullopt;
    if (used)
        *used = static_cast<std::size_t>(res.ptr - text.data());
    return negative ? -value : value;
}

std::optional<long> scanLong(std::string_view text, std::size_t* used)
{
    if (used)
        *used = 0;
    bool negative = false;
    std::size_t i = skipBlanksAndSign(text, negative);
    if (i >= text.size() || text[i] < '0' || text[i] > '9')
        return std::nullopt;
    unsigned long magnitude = 0;
    auto res = std::from_chars(text.data() + i, text.data() + text.size(), magnitude);
    if (res.ec != std::errc())
        return std::nullopt;
    unsigned long limit = negative ? static_cast<unsigned long>(LONG_MAX) + 1 : static_cast<unsigned long>(LONG_MAX);
    if (magnitude > limit)
        return std::nullopt;
    if (used)
        *used = static_cast<std::size_t>(res.ptr - text.data());
    return negative ? static_cast<long>(0 - magnitude) : static_cast<long>(magnitude);
}

template <class T, class Scan> static std::optional<T> parseWhole(std::string_view text, Scan scan)
{
    std::size_t used = 0;
    auto v = scan(text, &used);
    if (!v)
        return std::nullopt;
    for (std::size_t i = used; i < text.size(); ++i)
        if (!isBlank(text[i]))
            return std::nullopt;
    return v;
}

std::optional<double> parseDouble(std::string_view text)
{
    return parseWhole<double>(text, [](std::string_view t, std::size_t* u) { return scanDouble(t, u); });
}

std::optional<double> parseDecimal(std::string_view text)
{
    std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find('.') != std::string_view::npos ||
        text.find(',', comma + 1) != std::string_view::npos)
        return parseDouble(text);
    std::string pointed(text);
    pointed[comma] = '.';
    return parseDouble(pointed);
}

std::optional<long> parseLong(std::string_view text)
{
    return parseWhole<long>(text, [](std::string_view t, std::size_t* u) { return scanLong(t, u); });
}

std::string formatDecimal(double value)
{
    if (!std::isfinite(value))
        return "0";
    if (value == 0)
        value = 0;  // no "-0"
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return std::string(buf, res.ptr);
}

bool skipBlanksAndSign(std::string_view text, std::size_t& i)
{
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        return text[i++] == '-';
    return false;
}

}  // namespace ovd
