#include "tiles/tile_split.h"

#include <algorithm>
#include <filesystem>

#include "common/content_hash.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "inputs/conversion.h"
#include "inputs/text_line.h"
#include "model/concentration_settings.h"
#include "model/vector_width.h"
#include "tiles/study_signature.h"
#include "tiles/tile_stamp.h"

namespace ovd {

namespace fs = std::filesystem;

namespace {

// The points file cut into lines with their line ends; a byte-order mark is left out.
std::vector<std::string_view> linesOf(std::string_view bytes)
{
    if (startsWithBom(bytes))
        bytes.remove_prefix(3);
    return linesWithEnds(bytes);
}

bool isRecord(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return recordNumber(line).has_value();
}

// A shared input as the tile reaches it from its own folder: relative when it lies under the
// project's folder (the study can then move as a whole), else absolute.
std::string sharedPath(const std::string& value, const fs::path& projectFolder, const fs::path& tileFolder)
{
    if (value.empty())
        return value;
    const fs::path abs = fs::absolute(value).lexically_normal();
    const fs::path inside = abs.lexically_relative(projectFolder);
    if (inside.empty() || *inside.begin() == "..")
        return abs.generic_string();
    return abs.lexically_relative(tileFolder).generic_string();
}

std::string tileProjectText(const SettingsFile& project, const std::string& name, const std::string& width,
                            const fs::path& projectFolder, const fs::path& tileFolder)
{
    std::vector<std::pair<std::string, std::string>> sections;  // name, lines
    auto sectionText = [&](std::string_view section) -> std::string& {
        for (auto& [n, lines] : sections)
            if (toLowerAscii(n) == toLowerAscii(section))
                return lines;
        sections.push_back({std::string(section), {}});
        return sections.back().second;
    };
    for (const ParamInfo& p : mainRoadParams()) {
        std::string value = project.readString(p.section, p.key);
        if (p.kind == ParamKind::Text) {
            const std::string_view own = tileOwnFileName(p.key);
            value = own.empty() ? sharedPath(value, projectFolder, tileFolder) : std::string(own);
        }
        sectionText(p.section) += std::string(p.key) + "=" + value + "\n";
    }
    sectionText("Dlazdice") += "Cislo=" + name + "\nSirkaVektoru=" + width + "\n";
    std::string out;
    for (const auto& [n, lines] : sections)
        out += (out.empty() ? "[" : "\n[") + n + "]\n" + lines;
    return out;
}

// Writes the file unless it holds these bytes already (its date then stays, and with it
// the checkpoint of a tile that was interrupted); true when it was the same.
Outcome<bool> keepOrWrite(const std::string& path, const std::string& bytes)
{
    if (readFileBytes(path) == bytes)
        return true;
    if (!writeFileAtomically(path, bytes))
        return Problem::error("Soubor " + path + " nelze zapsat, studii nelze rozdělit na dlaždice !");
    return false;
}

bool isTileFolderName(const std::string& name)
{
    return name.size() >= 3 && name.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

Outcome<TileManifest> tileStudy(const SettingsFile& project, const std::array<double, 3>& speeds,
                                const TileOptions& options)
{
    if (options.pointsPerTile < 1 || options.pointsPerTile > kMaxReferencePoints)
        return Problem::error(cformat("Počet bodů dlaždice musí být 1 až %ld !", kMaxReferencePoints));
    if (!options.width.empty() && !parseVectorWidth(options.width))
        return Problem::error("Neznámá šířka vektorů \"" + options.width + "\" (povoleno sse2, avx2, avx512) !");
    const std::string pointsPath = loadSettings<ConversionSettings>(project).pointsText;
    if (pointsPath.empty())
        return Problem::error("Nebyl zadán textový soubor s referenčními body, studii nelze rozdělit na dlaždice !");
    Outcome<std::string> signature = studySignature(project, speeds);
    if (!signature)
        return signature.problem();
    std::optional<std::string> bytes = isRegularFile(pointsPath) ? readFileBytes(pointsPath) : std::nullopt;
    if (!bytes)
        return Problem::error("Vstupní soubor s refer. body nelze otevřít !");

    std::vector<std::string_view> records;
    for (std::string_view line : linesOf(*bytes))
        if (isRecord(line))
            records.push_back(line);
    if (records.empty())
        return Problem::error("Soubor " + pointsPath +
                              " neobsahuje žádný referenční bod, studii nelze rozdělit na dlaždice !");

    TileManifest m;
    m.project = fileNameOf(project.path());
    m.points = static_cast<long>(records.size());
    m.perTile = options.pointsPerTile;
    m.width = options.width;
    m.signature = *signature;
    m.pointsHash = hashHex(*bytes);
    const std::size_t count = (records.size() + static_cast<std::size_t>(m.perTile) - 1) / m.perTile;

    const std::string folder = tilesFolderOf(project.path());
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path projectFolder =
        fs::absolute(folderOf(project.path()).empty() ? "." : folderOf(project.path())).lexically_normal();
    for (std::size_t k = 0; k < count; ++k) {
        TileEntry t;
        t.name = tileName(k, count);
        t.firstPoint = static_cast<long>(k) * m.perTile + 1;
        t.lastPoint = std::min(m.points, t.firstPoint + m.perTile - 1);
        std::string body;
        for (long i = t.firstPoint; i <= t.lastPoint; ++i)
            body += records[static_cast<std::size_t>(i - 1)];
        t.pointsHash = hashHex(body);
        const std::string dir = tileFolderOf(project.path(), t);
        fs::create_directories(dir, ec);
        if (!isWritableFolder(dir))
            return Problem::error("Složku " + dir + " nelze vytvořit, studii nelze rozdělit na dlaždice !");
        const std::string text =
            tileProjectText(project, t.name, m.width, projectFolder, fs::absolute(dir).lexically_normal());
        Outcome<bool> sameProject = keepOrWrite(dir + kTileProjectName, text);
        if (!sameProject)
            return sameProject.problem();
        Outcome<bool> samePoints = keepOrWrite(dir + fileNameOf(tileOwnFileName("VstReferBodTxt")), body);
        if (!samePoints)
            return samePoints.problem();
        // A record stays only for results this very tile would give again.
        const std::optional<TileStamp> stamp = readTileStamp(dir + kTileStampName);
        if (!*sameProject || !*samePoints || !stamp || stamp->signature != m.signature ||
            stamp->pointsHash != t.pointsHash)
            std::remove((dir + kTileStampName).c_str());
        // An interrupted run of other settings must not be continued from its binaries.
        if (!*sameProject || !*samePoints)
            std::remove((dir + checkpointPathOf(std::string(tileOwnFileName("VystDbf")))).c_str());
        m.tiles.push_back(std::move(t));
    }
    // Tiles of an earlier split into more tiles are not part of the study any more.
    std::vector<fs::path> stale;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        const std::string name = e.path().filename().string();
        if (e.is_directory() && isTileFolderName(name) &&
            std::none_of(m.tiles.begin(), m.tiles.end(), [&](const TileEntry& t) { return t.name == name; }))
            stale.push_back(e.path());
    }
    for (const fs::path& p : stale)
        fs::remove_all(p, ec);
    if (!writeFileAtomically(folder + kManifestName, m.text()))
        return Problem::error("Soubor " + folder + kManifestName + " nelze zapsat !");
    return m;
}

}  // namespace ovd
