#pragma once
// The wind rose file as the editor writes and reads it: Windows-1250 text with CR LF, an
// optional ";comment" line, then eleven lines of nine values, each right-aligned in six
// characters with two decimals and "." (62 characters a line), joined by ",".
#include <optional>
#include <string>
#include <string_view>

#include "common/outcome.h"
#include "common/reporter.h"
#include "wind_rose_table.h"

namespace ovd {

inline constexpr std::string_view kSaveCaption = "Ulož soubor";
inline constexpr std::string_view kOpenCaption = "Otevření souboru";
inline constexpr std::string_view kTotalNot100 = "Součet polí není roven 100 % !";
inline constexpr std::string_view kCannotSaveTable = "Tabulku nemohu uložit.";
inline constexpr std::string_view kSaveAnyway = "Chceš přesto uložit data do souboru ?";
inline constexpr std::string_view kTotalErrorCaption = "Chyba…";
inline constexpr std::string_view kTotalWarningCaption = "Varování…";

// One value in six characters ("%6.2f"); nothing when it does not fit (1000 or more,
// below -99.99) or is not a finite number.
std::optional<std::string> formatWindRoseValue(double value);

// The file's bytes, or the problem of the first value that does not fit.
Outcome<std::string> formatWindRoseFile(const WindRoseTable&);

// Whether the grand total is 100 to two decimals.
bool totalIs100(const WindRoseTable&);
// A table whose total is not 100 %: a safe save refuses it with a message, otherwise the
// user is asked; true to save it anyway.
bool confirmTotalNot100(bool safeSave, Reporter&);

// Writes the table to the file, replacing it only when the whole content is written.
// With a total other than 100: refused with safeSave, else written only after a Yes.
// Write errors are reported under "Ulož soubor". True when the file was written.
bool saveWindRoseTable(const std::string& path, const WindRoseTable&, bool safeSave, Reporter&);

// The editor's reading: the comment is cleared first; the first comment line (first
// non-blank ";") fills it and later ones are ignored; every other line, blank ones
// included, is the next row (fields 1 to 9 split at ",", a missing or non-numeric field
// reads as 0); at most eleven rows are taken and rows the file does not reach keep their
// values. A file that cannot be read is reported under "Otevření souboru" (false).
// *rows (when given) gets the count of data lines taken.
bool loadWindRoseTable(const std::string& path, WindRoseTable&, Reporter&, std::size_t* rows = nullptr);
std::size_t parseWindRoseTable(std::string_view bytes, WindRoseTable&);

}  // namespace ovd
