#pragma once
// What one process of a tiled run does, without MPI: which tiles are its own, and running
// one tile in its own folder (the tile's files all stay there) unless it is complete.
#include <cstddef>
#include <string>
#include <vector>

#include "common/profile.h"
#include "common/reporter.h"
#include "tiles/tile_manifest.h"

namespace ovd {

// Rank r of n computes the tiles r, r + n, r + 2n, ... (indexes into the manifest).
std::vector<std::size_t> tilesOfRank(std::size_t tiles, int rank, int ranks);

enum class TileRunResult { AlreadyComplete, Computed, Failed };
// Runs the tile's main road with its folder as the current folder, going on from its
// checkpoint when it was interrupted; the folder the process was in is restored.
TileRunResult runOneTile(const std::string& projectPath, const TileManifest&, const TileEntry&, const Profile&,
                         Reporter&);
// Tiles complete by their records (as every process sees them on the shared disk).
std::size_t completeTileCount(const std::string& projectPath, const TileManifest&);

}  // namespace ovd
