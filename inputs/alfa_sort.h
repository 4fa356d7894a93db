#pragma once
// Sorting sources by ALFA as the text sort does it: each source becomes one line of text
// led by its ALFA value, the lines are ordered byte by byte, and each record is read back
// from its line. The order is that of the text (so "10.000000" sorts before "2.000000"),
// and the coordinates and values 2 to 9 come back rounded to six decimals.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input_records.h"

namespace ovd {

// `described` false marks a zero-filled source (all values printed with "%lf");
// `dustText` (the expanded dust record) is appended for dust.
std::string alfaSortLine(const SourceRecord&, bool described, const std::string* dustText);
void sortAlfaLines(std::vector<std::string>& lines);

struct SortedSource {
    SourceRecord record;
    std::string dustText;
};
std::optional<SortedSource> readAlfaSortLine(std::string_view line, bool dust);

}  // namespace ovd
