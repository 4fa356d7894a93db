#pragma once
// The list of a tiled study's tiles, in a folder beside the project: each tile's folder,
// its range of points and the fingerprint of its points file, the signature of the shared
// inputs and settings, and the vector width. Its last line is a checksum, so a list edited
// by hand is refused instead of merging tiles that do not belong together.
#include <string>
#include <string_view>
#include <vector>

#include "common/outcome.h"

namespace ovd {

inline constexpr const char* kTileProjectName = "study.ovd";
inline constexpr const char* kTileStampName = "hotovo.txt";
inline constexpr const char* kManifestName = "manifest.txt";

struct TileEntry {
    std::string name;                    // the tile's folder in the tiles folder ("001")
    long firstPoint = 0, lastPoint = 0;  // positions among the study's points, from 1
    std::string pointsHash;              // of the tile's points file

    long pointCount() const { return lastPoint - firstPoint + 1; }
};

struct TileManifest {
    std::string project;     // the file name of the tiled project
    long points = 0;         // of the whole study, as the conversion takes them
    long skipped = 0;        // numbered lines of the points file the conversion cannot read
    long perTile = 0;        // the most points of one tile
    std::string width;       // the engine's vector width fixed for every tile; empty: not fixed
    std::string signature;   // studySignature of the study when it was tiled
    std::string pointsHash;  // of the study's whole points file
    // Each shared input's key and content hash when the study was tiled, so that a refused
    // merge can name the input that changed (none in a manifest of an older split).
    std::vector<std::pair<std::string, std::string>> inputs;
    std::vector<TileEntry> tiles;

    std::string text() const;  // ends with the checksum line
    // `path` names the file in the messages.
    static Outcome<TileManifest> parse(std::string_view text, const std::string& path);
};

// "<folder of the project><project name without extension>_dlazdice/"
std::string tilesFolderOf(const std::string& projectPath);
// A tile's folder with a trailing "/".
std::string tileFolderOf(const std::string& projectPath, const TileEntry&);
// "001", "002", ...: at least three digits, more when there are more tiles.
std::string tileName(std::size_t index, std::size_t count);

}  // namespace ovd
