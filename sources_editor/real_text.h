#pragma once
// Numbers in the editor's source lines: the lenient reader, the general real-number text
// and the zero-padded whole numbers. All of it ignores the process locale.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ovd {

struct LenientNumber {
    double value = 0;         // 0 when no number starts the text or it is out of range
    bool outOfRange = false;  // the text held a number beyond the double range
};

// Skips leading blanks and reads the longest prefix of the form [+-]digits[.digits][E[+-]digits];
// "." is the only decimal point. Text without a number gives 0. Never reads "inf", "nan"
// or hex, whatever the C library would.
LenientNumber readLenient(std::string_view text);

// Whole number: rounded to the nearest integer, halves to the even neighbour. A value
// outside the 32-bit range gives 0 and sets *outOfRange.
std::int32_t toInt32(double value, bool* outOfRange = nullptr);
std::int32_t readLenientInt(std::string_view text, bool* outOfRange = nullptr);
// 32-bit float; a value beyond its range gives 0 and sets *outOfRange.
float readLenientFloat(std::string_view text, bool* outOfRange = nullptr);

// General decimal form with at most 7 significant digits ("1.5", "40", "1E+07", "1E-05"),
// always with ".".
std::string formatReal(float value);

// The number padded with zeros to `width` digits; a minus sign stands before the digits
// (-745000 with width 7 gives "-0745000").
std::string zeroPadded(long value, int width);

// The exact texts between separators; a line with fewer separators gives fewer fields.
std::vector<std::string_view> splitFields(std::string_view line, char separator);
// Field number `oneBased`, or empty when the line has too few.
std::string_view fieldAt(const std::vector<std::string_view>& fields, std::size_t oneBased);

// Rounds halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);

}  // namespace ovd
