#include "source_coordinate.h"

#include <cmath>
#include <limits>

#include "common/numbers.h"
#include "real_text.h"

namespace ovd {

namespace {

constexpr std::size_t kMaxDecimals = 6;
constexpr double kMaxWhole = static_cast<double>(std::numeric_limits<std::int32_t>::max());

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimals kept: none when every digit is a zero.
std::string significantDecimals(std::string digits)
{
    return digits.find_first_not_of('0') == std::string::npos ? std::string() : digits;
}

}  // namespace

Coordinate Coordinate::whole(std::int32_t value)
{
    Coordinate c;
    c.m_negative = value < 0;
    c.m_whole = c.m_negative ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(value))
                             : static_cast<std::uint32_t>(value);
    return c;
}

Coordinate Coordinate::of(double value, bool* outOfRange)
{
    if (!std::isfinite(value) || std::fabs(value) >= kMaxWhole + 1) {
        if (outOfRange)
            *outOfRange = true;
        return {};
    }
    // Six decimals as the height fill writes them, then the trailing zeros dropped.
    std::string text = cformat("%.6f", std::fabs(value));
    std::size_t dot = text.find('.');
    Coordinate c;
    c.m_whole = static_cast<std::uint32_t>(std::stoul(text.substr(0, dot)));
    std::string digits = text.substr(dot + 1);
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    c.m_decimals = significantDecimals(digits);
    c.m_negative = value < 0 && (c.m_whole != 0 || !c.m_decimals.empty());
    if (c.m_whole > static_cast<std::uint32_t>(kMaxWhole)) {
        if (outOfRange)
            *outOfRange = true;
        return {};
    }
    return c;
}

Coordinate Coordinate::read(std::string_view text, bool* outOfRange)
{
    std::string own(text);
    for (char& ch : own)
        if (ch == ',')
            ch = '.';
    const LenientNumber n = readLenient(own);
    if (n.outOfRange) {
        if (outOfRange)
            *outOfRange = true;
        return {};
    }
    // The plain form [+-]digits[.digits] keeps its decimals as typed; anything else (an
    // exponent, more than six decimals) is taken by its value.
    std::size_t i = 0;
    while (i < own.size() && (own[i] == ' ' || own[i] == '\t'))
        ++i;
    const bool negative = i < own.size() && own[i] == '-';
    if (i < own.size() && (own[i] == '-' || own[i] == '+'))
        ++i;
    std::size_t digitsStart = i;
    while (i < own.size() && isDigit(own[i]))
        ++i;
    std::string decimals;
    if (i < own.size() && own[i] == '.') {
        std::size_t j = i + 1;
        while (j < own.size() && isDigit(own[j]))
            decimals += own[j++];
        i = j;
    }
    const bool exponent = i < own.size() && (own[i] == 'e' || own[i] == 'E') && n.value != 0;
    if (exponent || decimals.size() > kMaxDecimals || i == digitsStart)
        return of(n.value, outOfRange);
    const double whole = std::trunc(std::fabs(n.value));
    if (whole > kMaxWhole) {
        if (outOfRange)
            *outOfRange = true;
        return {};
    }
    Coordinate c;
    c.m_whole = static_cast<std::uint32_t>(whole);
    c.m_decimals = significantDecimals(decimals);
    c.m_negative = negative && (c.m_whole != 0 || !c.m_decimals.empty());
    return c;
}

double Coordinate::value() const
{
    double v = m_whole;
    if (!m_decimals.empty())
        v = readLenient(std::to_string(m_whole) + "." + m_decimals).value;
    return m_negative ? -v : v;
}

std::string Coordinate::written(int width) const
{
    std::string text = (m_negative ? "-" : "") + zeroPadded(static_cast<long>(m_whole), width);
    return m_decimals.empty() ? text : text + "." + m_decimals;
}

std::string Coordinate::shown() const
{
    return written(1);
}

}  // namespace ovd
