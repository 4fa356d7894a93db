#include "hundredths.h"

#include <cmath>
#include <cstdlib>

#include "common/numbers.h"

namespace ovd {

namespace {

constexpr long long kLimit = 1000000000000000LL;  // 10^13, in hundredths
constexpr int kMaxIntegerDigits = 14;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

long long floorDiv(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

}  // namespace

long long divideRoundHalfUp(__int128 a, long long b)
{
    // floor(a / b + 1/2) = floor((2a + b) / 2b)
    __int128 n = 2 * a + b, d = 2 * static_cast<__int128>(b);
    __int128 q = n / d;
    if (n % d != 0 && n < 0)
        --q;
    if (q > kLimit)
        return kLimit;
    if (q < -kLimit)
        return -kLimit;
    return static_cast<long long>(q);
}

long long parseHundredths(std::string_view text)
{
    std::size_t i = 0;
    const bool negative = skipBlanksAndSign(text, i);
    // The value times 1000 (three decimals) and whether further non-zero digits follow.
    long long thousandths = 0;
    bool rest = false, anyDigit = false, clamped = false;
    int integerDigits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        anyDigit = true;
        if (integerDigits == 0 && text[i] == '0')
            continue;
        if (++integerDigits > kMaxIntegerDigits)
            clamped = true;
        else
            thousandths = thousandths * 10 + (text[i] - '0');
    }
    thousandths *= 1000;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        long long scale = 100;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            anyDigit = true;
            if (scale > 0) {
                thousandths += (text[i] - '0') * scale;
                scale /= 10;
            } else if (text[i] != '0') {
                rest = true;
            }
        }
    }
    if (!anyDigit)
        return 0;
    // An exponent makes the decimal digits meaningless: take the number as strtod would.
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::string copy(text);
        for (char& c : copy)
            if (c == ',')
                c = '.';
        std::size_t used = 0;
        std::optional<double> v = scanDouble(copy, &used);
        if (v && used > i) {
            double scaled = std::floor(*v * 100.0 + 0.5);
            if (!(std::fabs(scaled) < static_cast<double>(kLimit)))
                return scaled < 0 ? -kLimit : kLimit;
            return static_cast<long long>(scaled);
        }
    }
    if (clamped)
        return negative ? -kLimit : kLimit;
    // floor(v * 100 + 1/2). Digits beyond the third decimal only matter below zero,
    // where they move an exact half (-1.0050001) down to the next hundredth.
    long long signedValue = negative ? -thousandths : thousandths;
    if (negative && rest)
        signedValue -= 1;
    return floorDiv(signedValue + 5, 10);
}

std::string formatHundredths(long long hundredths, char separator)
{
    unsigned long long magnitude = hundredths < 0 ? 0ULL - static_cast<unsigned long long>(hundredths)
                                                  : static_cast<unsigned long long>(hundredths);
    std::string text = std::to_string(magnitude / 100);
    unsigned long long cents = magnitude % 100;
    text += separator;
    text += static_cast<char>('0' + cents / 10);
    text += static_cast<char>('0' + cents % 10);
    return hundredths < 0 ? "-" + text : text;
}

std::string formatHundredthsGeneral(long long hundredths, char separator)
{
    std::string text = formatHundredths(hundredths, separator);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == separator)
        text.pop_back();
    return text == "-0" ? "0" : text;
}

double hundredthsToDouble(long long hundredths)
{
    return static_cast<double>(hundredths) / 100.0;
}

long long doubleToHundredths(double value)
{
    if (!std::isfinite(value))
        return 0;
    double scaled = std::round(value * 100.0);
    if (!(std::fabs(scaled) < static_cast<double>(kLimit)))
        return scaled < 0 ? -kLimit : kLimit;
    return static_cast<long long>(scaled);
}

}  // namespace ovd
