#pragma once
// Values of the wind rose editor held as whole hundredths, so sums of two-decimal values
// are exact. Entry rounds halves upward on the decimal text itself.
#include <string>
#include <string_view>

namespace ovd {

// The numeric prefix of a typed text ("," and "." both decimal separators; a text
// without a number gives 0), rounded to hundredths with halves upward: 0.005 is added
// and the result cut down to the hundredth below (12.345 -> 1235, 1.005 -> 101,
// -1.005 -> -100). Magnitudes beyond 10^13 are clamped.
long long parseHundredths(std::string_view text);

// Two decimals with the given separator ("12.35", "0.00", "-0.50").
std::string formatHundredths(long long hundredths, char separator = '.');

// General number form: no trailing zeros and no separator for whole numbers
// ("100", "99.99", "12.5").
std::string formatHundredthsGeneral(long long hundredths, char separator = '.');

// Exact conversions between hundredths and the file's doubles (rounded to nearest).
double hundredthsToDouble(long long hundredths);
long long doubleToHundredths(double value);

// a / b rounded with halves upward (floor of a / b + 1/2); b > 0. The product of two
// clamped values fits the wide numerator; the result is clamped like an entry.
long long divideRoundHalfUp(__int128 a, long long b);

}  // namespace ovd
