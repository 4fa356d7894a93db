#include "real_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

#include "common/numbers.h"

namespace ovd {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads an exponent ("e", a sign, digits) at i and moves i past it; without digits nothing is
// read and i stays.
long readExponent(std::string_view text, std::size_t& i)
{
    if (i >= text.size() || (text[i] != 'e' && text[i] != 'E'))
        return 0;
    std::size_t j = i + 1;
    bool negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
        negative = text[j] == '-';
        ++j;
    }
    if (j >= text.size() || !isDigit(text[j]))
        return 0;
    long exponent = 0;
    while (j < text.size() && isDigit(text[j])) {
        if (exponent < 100000)
            exponent = exponent * 10 + (text[j] - '0');
        ++j;
    }
    i = j;
    return negative ? -exponent : exponent;
}

// The power of ten of a mantissa's first significant digit; nullopt when every digit is 0.
std::optional<long> leadingMagnitude(std::string_view mantissa)
{
    std::size_t k = 0;
    while (k < mantissa.size() && mantissa[k] == '0')
        ++k;
    if (k < mantissa.size() && isDigit(mantissa[k])) {
        std::size_t dot = mantissa.find('.');
        if (dot == std::string_view::npos)
            dot = mantissa.size();
        return static_cast<long>(dot) - static_cast<long>(k) - 1;
    }
    ++k;  // skip the point
    std::size_t zeros = 0;
    while (k < mantissa.size() && mantissa[k] == '0') {
        ++k;
        ++zeros;
    }
    if (k >= mantissa.size())
        return std::nullopt;
    return -static_cast<long>(zeros) - 1;
}

}  // namespace

LenientNumber readLenient(std::string_view text)
{
    std::size_t i = 0;
    const bool negative = skipBlanksAndSign(text, i);
    const std::size_t start = i;
    std::size_t intDigits = 0, fracDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++intDigits;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
            ++fracDigits;
        }
        if (intDigits + fracDigits > 0)
            i = j;
    }
    if (intDigits + fracDigits == 0)
        return {};
    const std::size_t mantissaEnd = i;
    const long exponent = readExponent(text, i);
    const std::string_view number = text.substr(start, i - start);
    double value = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Tell overflow from underflow by the decimal magnitude of the mantissa.
        const std::optional<long> lead = leadingMagnitude(text.substr(start, mantissaEnd - start));
        if (lead && exponent + *lead > 0)
            return {0, true};
        return {};
    }
    if (ec != std::errc() || !std::isfinite(value))
        return {0, ec != std::errc()};
    return {negative ? -value : value, false};
}

std::vector<std::string_view> splitFields(std::string_view line, char separator)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = line.find(separator, start);
        if (at == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, at - start));
        start = at + 1;
    }
}

std::string_view fieldAt(const std::vector<std::string_view>& fields, std::size_t oneBased)
{
    return oneBased >= 1 && oneBased <= fields.size() ? fields[oneBased - 1] : std::string_view{};
}

double roundHalfEven(double value)
{
    return std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
}

std::int32_t toInt32(double value, bool* outOfRange)
{
    const double r = roundHalfEven(value);
    if (!(r >= static_cast<double>(std::numeric_limits<std::int32_t>::min()) &&
          r <= static_cast<double>(std::numeric_limits<std::int32_t>::max()))) {
        if (outOfRange)
            *outOfRange = true;
        return 0;
    }
    return static_cast<std::int32_t>(r);
}

std::int32_t readLenientInt(std::string_view text, bool* outOfRange)
{
    LenientNumber n = readLenient(text);
    if (n.outOfRange) {
        if (outOfRange)
            *outOfRange = true;
        return 0;
    }
    return toInt32(n.value, outOfRange);
}

float readLenientFloat(std::string_view text, bool* outOfRange)
{
    LenientNumber n = readLenient(text);
    if (n.outOfRange || std::fabs(n.value) > static_cast<double>(std::numeric_limits<float>::max())) {
        if (outOfRange)
            *outOfRange = true;
        return 0;
    }
    return static_cast<float>(n.value);
}

std::string formatReal(float value)
{
    if (value == 0 || !std::isfinite(value))
        return "0";
    return cformat("%.7G", static_cast<double>(value));
}

std::string zeroPadded(long value, int width)
{
    const bool negative = value < 0;
    const unsigned long magnitude =
        negative ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    std::string digits = std::to_string(magnitude);
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return negative ? "-" + digits : digits;
}

}  // namespace ovd
