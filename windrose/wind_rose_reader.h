#pragma once
// The wind rose as the concentration computations read it. The first line is skipped as
// a comment when it contains ";" anywhere (only the first line can be a comment); then
// exactly eleven data lines follow, each split at "," into fields, each one decimal number
// ("." as separator, blanks around it allowed), finite, from 0 to 100.
//
// Shape of the result: rows[q] for weather case q = 0..10 in the fixed order (I,1),
// (II,1), (II,2), (III,1), (III,2), (III,3), (IV,1), (IV,2), (IV,3), (V,1), (V,2). A line
// of K fields gives K-1 direction frequencies (directions[j] belongs to the angle
// j * 360/(K-1) degrees clockwise from north) and the calm frequency (the last field), all
// in percent of the year. Lines may differ in K; checkWindRoseSectors tests them against
// the computation's step.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/reporter.h"

namespace ovd {

inline constexpr std::string_view kNoWindRoseFile = "Nebyl zadán vstupní TXT soubor s větrnou růžicí !";
inline constexpr std::string_view kCannotOpenWindRose = "Vstupní soubor s větrnou růžicí nelze otevřít !";
inline constexpr std::string_view kBadWindRoseLayout = "Špatné rozložení vstupního souboru !!!";

struct WindRoseRow {
    std::vector<double> directions;  // at least one
    double calm = 0;
    double sectorWidth() const { return 360.0 / static_cast<double>(directions.size()); }
};

struct WindRose {
    std::array<WindRoseRow, 11> rows;
};

// Reports under "Chyba" a missing path, a file that cannot be opened and a field that is
// not such a number (naming its line and column), and under "Zpráva" a file with fewer
// than eleven data lines or a data line of a single field. Only the lines needed are read.
std::optional<WindRose> readWindRose(const std::string& path, Reporter&);
std::optional<WindRose> parseWindRose(std::string_view bytes, Reporter&);

// Every line's direction count must divide 360, and its sector width must be at least the
// step and a whole multiple of it (the step is positive). Reports the first failure under
// "Chyba".
bool checkWindRoseSectors(const WindRose&, double step, Reporter&);

}  // namespace ovd
