#pragma once
// Splits a study with any number of reference points into tiles of at most N points: each
// tile is an ordinary study in its own folder (its own points file and project, whose
// paths lead to the shared inputs), listed in the manifest beside them. A tile whose
// project and points stay the same keeps its results when the study is tiled again.
#include <array>
#include <string>

#include "common/limits.h"
#include "common/outcome.h"
#include "common/settings_file.h"
#include "common/tool.h"
#include "tiles/tile_manifest.h"

namespace ovd {

struct TileOptions {
    long pointsPerTile = kMaxReferencePoints;
    std::string width;  // a vector width name fixed for every tile; empty: each machine's widest
};

// The project's paths are read as the main road reads them, from the current folder. Numbered
// points lines the conversion cannot read are left out of the tiles and counted. Results of
// earlier tiles that the new split or the study's present settings no longer hold are removed
// only after a question through `ctx` (unattended: refused unless every question is answered
// Yes). The tiles are locked against another tile or merge run.
Outcome<TileManifest> tileStudy(const SettingsFile& project, const std::array<double, 3>& speeds, const TileOptions&,
                                const RunContext& ctx);

}  // namespace ovd
