#include "tiles/tile_stamp.h"

#include <cstdio>

#include "common/content_hash.h"
#include "common/file_io.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/text.h"
#include "inputs/conversion.h"
#include "tiles/study_signature.h"

namespace ovd {

namespace {

constexpr const char* kSection = "Dlazdice";
constexpr std::string_view kChecksumKey = "Kontrola=";

std::string stampText(const TileStamp& s)
{
    std::string out = "Podpis=" + s.signature + "\nBody=" + s.pointsHash + "\nSirkaVektoru=" + s.width + "\n";
    return out + std::string(kChecksumKey) + hashHex(out) + "\n";
}

}  // namespace

bool isTileProject(const SettingsFile& f)
{
    return !f.readString(kSection, "Cislo").empty();
}

std::string tileWidthOf(const SettingsFile& f)
{
    return f.readString(kSection, "SirkaVektoru");
}

std::string tileStampPath(const SettingsFile& tileProject)
{
    return folderOf(tileProject.path()) + kTileStampName;
}

void removeTileStamp(const SettingsFile& tileProject)
{
    removeFile(tileStampPath(tileProject));
}

std::optional<Problem> recordTileRun(const SettingsFile& tile, const std::array<double, 3>& speeds,
                                     const std::string& width)
{
    Outcome<std::string> signature = studySignature(tile, speeds);
    if (!signature)
        return signature.problem();
    const std::string points = loadSettings<ConversionSettings>(tile).pointsText;
    std::optional<std::string> pointsHash = fileHashHex(points);
    if (!pointsHash)
        return Problem::error("Vstupní soubor s referenčními body " + points + " nelze otevřít!");
    const std::string path = tileStampPath(tile);
    if (!writeFileAtomically(path, stampText({*signature, *pointsHash, width})))
        return Problem::error("Záznam o dokončení dlaždice " + path + " nelze zapsat!");
    return std::nullopt;
}

std::optional<TileStamp> readTileStamp(const std::string& path)
{
    std::optional<std::string> text = readFileBytes(path);
    if (!text)
        return std::nullopt;
    const std::size_t sum = text->rfind(kChecksumKey);
    if (sum == std::string::npos)
        return std::nullopt;
    TileStamp s;
    for (const std::string& line : splitLines(std::string_view(*text).substr(0, sum))) {
        const std::size_t eq = line.find('=');
        const std::string key = line.substr(0, eq), value = eq == std::string::npos ? "" : line.substr(eq + 1);
        if (key == "Podpis")
            s.signature = value;
        else if (key == "Body")
            s.pointsHash = value;
        else if (key == "SirkaVektoru")
            s.width = value;
    }
    if (stampText(s) != *text)
        return std::nullopt;
    return s;
}

TileCondition tileCondition(const std::string& projectPath, const TileManifest& m, const TileEntry& t, TileStamp* stamp)
{
    std::optional<TileStamp> s = readTileStamp(tileFolderOf(projectPath, t) + kTileStampName);
    if (!s)
        return TileCondition::Missing;
    if (stamp)
        *stamp = *s;
    if (s->signature != m.signature || s->pointsHash != t.pointsHash)
        return TileCondition::OtherSettings;
    if (!m.width.empty() && s->width != m.width)
        return TileCondition::OtherWidth;
    return TileCondition::Complete;
}

}  // namespace ovd
