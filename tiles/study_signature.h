#pragma once
// What the results of a study depend on besides its reference points: the settings of the
// main road (conversion, coefficients, concentrations) without file names, the profile's
// wind speeds and the content of every shared input. A tile and its study share it.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"
#include "common/output_paths.h"
#include "common/parameters.h"
#include "common/settings_file.h"

namespace ovd {

// Every key of the main road, each once, in the order of its tools.
std::vector<ParamInfo> mainRoadParams();
// A tile's own file for a file key (its points, binaries, matrices and results), or empty
// for a key naming an input that the tiles share.
std::string_view tileOwnFileName(std::string_view key);
// The shared inputs a study with these settings reads, with their keys as roles.
std::vector<NamedPath> sharedInputs(const SettingsFile&);

// The signature as 16 hex digits; a problem names a shared input that cannot be read.
Outcome<std::string> studySignature(const SettingsFile&, const std::array<double, 3>& speeds);
// Each shared input's key and the hash of its content (empty when it cannot be read).
std::vector<std::pair<std::string, std::string>> sharedInputHashes(const SettingsFile&);
// Why the study's signature differs from the one recorded at the split: the first shared
// input whose content changed, named with its key, else the settings.
std::string signatureChangeText(const SettingsFile&, const std::vector<std::pair<std::string, std::string>>& recorded);

}  // namespace ovd
