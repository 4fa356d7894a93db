#pragma once
// Whether the study's points lie in the area of use of a coordinate system, checked when the
// system is set: a system that does not fit the coordinates sends every export elsewhere.
#include <optional>
#include <string>

#include "common/outcome.h"
#include "common/settings_file.h"

namespace ovd {

// The problem (to be shown as a warning) when the project's reference points, as its binary
// or else its text file holds them, lie outside the area of use of `definition`; nullopt
// when they lie inside, when there are none to read, or GDAL knows no area.
std::optional<Problem> studyAreaProblem(const SettingsFile& project, const std::string& definition);

}  // namespace ovd
