#pragma once
// The record a tile's run leaves when its results are complete ("hotovo.txt" beside the
// tile's project): the signature, the fingerprint of the points file and the vector width
// it was computed with. Merging and the MPI launcher judge a tile by it.
#include <array>
#include <optional>
#include <string>

#include "common/outcome.h"
#include "common/settings_file.h"
#include "tiles/tile_manifest.h"

namespace ovd {

struct TileStamp {
    std::string signature, pointsHash, width;
};

// A project is a tile when its section "Dlazdice" names its number.
bool isTileProject(const SettingsFile&);
// The vector width fixed for the tile; empty when not fixed.
std::string tileWidthOf(const SettingsFile&);

std::string tileStampPath(const SettingsFile& tileProject);
// Removed when a tile's run starts, so that a stamp always follows its latest results.
void removeTileStamp(const SettingsFile& tileProject);
// After a complete run: what the tile was computed with. A problem names an unreadable input.
std::optional<Problem> recordTileRun(const SettingsFile& tileProject, const std::array<double, 3>& speeds,
                                     const std::string& width);
// nullopt for a missing or damaged stamp.
std::optional<TileStamp> readTileStamp(const std::string& path);

enum class TileCondition {
    Complete,
    Missing,        // not computed (or its stamp is damaged)
    OtherSettings,  // computed with other inputs, settings or points
    OtherWidth,     // computed with another vector width than the one fixed when tiling
};
// The condition of one tile of the study `projectPath` as its stamp tells; `stamp` gets it.
TileCondition tileCondition(const std::string& projectPath, const TileManifest&, const TileEntry&,
                            TileStamp* stamp = nullptr);

}  // namespace ovd
