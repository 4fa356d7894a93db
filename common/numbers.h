#pragma once
// Numbers in files and settings always use "." whatever the user's locale.
#include <cstdarg>
#include <optional>
#include <string>
#include <string_view>

namespace ovd {

// printf-style formatting in the C locale, with the C99 conversions (%zu, %lld) on every
// system: on Windows too the C++ library's printf family is MinGW's own, not the system's.
std::string cformat(const char* fmt, ...) __attribute__((format(gnu_printf, 1, 2)));
std::string vcformat(const char* fmt, std::va_list args);

// The whole text (blanks around it allowed) as a finite number; nothing else.
std::optional<double> parseDouble(std::string_view text);
std::optional<long> parseLong(std::string_view text);
// A real quantity as a user enters it: the whole text as one number, where a single decimal
// comma (in a text without ".") reads as the decimal point it means ("3,5" is 3.5).
std::optional<double> parseDecimal(std::string_view text);

// Like strtod/strtol: leading blanks, then the longest number prefix. *used gets the
// count of characters consumed (0 when no number starts there). Never nan or inf.
std::optional<double> scanDouble(std::string_view text, std::size_t* used = nullptr);
std::optional<long> scanLong(std::string_view text, std::size_t* used = nullptr);

// Moves `i` past blanks, tabs and one sign; true when the sign was "-".
bool skipBlanksAndSign(std::string_view text, std::size_t& i);

// Shortest decimal text that reads back as the same value, fixed notation ("12.3", "2").
std::string formatDecimal(double value);

}  // namespace ovd
