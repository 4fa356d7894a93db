#include "tiles/tile_split.h"

#include <algorithm>
#include <filesystem>

#include "common/content_hash.h"
#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/project_sections.h"
#include "common/text.h"
#include "inputs/conversion.h"
#include "inputs/input_lines.h"
#include "inputs/text_line.h"
#include "model/concentration_settings.h"
#include "model/vector_width.h"
#include "tiles/study_signature.h"
#include "tiles/tile_stamp.h"
#include "tiles/tile_tree.h"

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

std::string_view withoutLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

// A shared input as the tile reaches it from its own folder: relative when it lies under the
// project's folder (the study can then move as a whole), else absolute.
std::string sharedPath(const std::string& value, const fs::path& projectFolder, const fs::path& tileFolder)
{
    if (value.empty())
        return value;
    const fs::path abs = fs::absolute(fsPath(value)).lexically_normal();
    const fs::path inside = abs.lexically_relative(projectFolder);
    if (inside.empty() || *inside.begin() == "..")
        return utf8Path(abs);
    return utf8Path(abs.lexically_relative(tileFolder));
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

std::optional<Problem> writeTileFile(const std::string& path, const std::string& bytes)
{
    if (!writeFileAtomically(path, bytes))
        return Problem::error("Soubor " + path + " nelze zapsat, studii nelze rozdělit na dlaždice!");
    return std::nullopt;
}

bool isTileFolderName(const std::string& name)
{
    return name.size() >= 3 && name.find_first_not_of("0123456789") == std::string::npos;
}

// The files of a tile that are not its results: its project and its points.
bool holdsResults(const std::string& tileFolder)
{
    std::error_code ec;
    const std::string points = fileNameOf(tileOwnFileName("VstReferBodTxt"));
    for (const fs::directory_entry& e : fs::directory_iterator(fsPath(tileFolder), ec)) {
        const std::string name = utf8Path(e.path().filename());
        if (name != kTileProjectName && name != points)
            return true;
    }
    return false;
}

// Whether the old tile's results still hold for the new tile: the same project and points,
// and a stamp (when there is one) of the study as it is now.
// A tile's project as the split wrote it: the signatures its runs added are no setting.
std::optional<std::string> withoutSignatures(std::optional<std::string> text)
{
    if (!text)
        return text;
    const std::string head = "\n[" + std::string(section::kSignatures) + "]";
    std::string lower = toLowerAscii(*text);
    std::size_t at = lower.find(toLowerAscii(head));
    if (at == std::string::npos)
        return text;
    std::size_t end = lower.find("\n[", at + head.size());
    return text->substr(0, at) + (end == std::string::npos ? "\n" : text->substr(end));
}

bool resultsHold(const std::string& oldDir, const std::string& project, const std::string& points,
                 const std::string& signature, const TileEntry& t)
{
    if (withoutSignatures(readFileBytes(oldDir + kTileProjectName)) != project ||
        readFileBytes(oldDir + fileNameOf(tileOwnFileName("VstReferBodTxt"))) != points)
        return false;
    if (!fs::exists(fsPath(oldDir + kTileStampName)))
        return true;  // an interrupted run: its checkpoint checks itself
    const std::optional<TileStamp> stamp = readTileStamp(oldDir + kTileStampName);
    return stamp && stamp->signature == signature && stamp->pointsHash == t.pointsHash;
}

std::string joinNames(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ", ") + n;
    return out;
}

// The points the conversion takes: a numbered line it cannot read is left out of every tile as
// the unsplit run leaves it out, so that the tiles' points are the study's.
std::vector<std::string_view> pointRecords(std::string_view bytes, long& skipped)
{
    std::vector<std::string_view> records;
    for (std::string_view line : linesOf(bytes)) {
        const std::string_view text = withoutLineEnd(line);
        if (!recordNumber(text))
            continue;
        if (parsePointLine(text).complete)
            records.push_back(line);
        else
            ++skipped;
    }
    return records;
}

// Lays out the tiles of a split in the staging tree: a tile whose results still hold is carried
// over (hard-linked), every other one gets its project and points anew.
class TileLayout {
public:
    TileLayout(const SettingsFile& project, TileManifest& m, TileTreeSwap& tree, std::string folder)
        : m_project(project)
        , m_m(m)
        , m_tree(tree)
        , m_folder(std::move(folder))
        , m_projectFolder(fs::absolute(fsPath(folderOf(project.path()).empty() ? "." : folderOf(project.path())))
                              .lexically_normal())
    { }

    std::optional<Problem> place(std::size_t k, std::size_t count, const std::vector<std::string_view>& records)
    {
        TileEntry t;
        t.name = tileName(k, count);
        t.firstPoint = static_cast<long>(k) * m_m.perTile + 1;
        t.lastPoint = std::min(m_m.points, t.firstPoint + m_m.perTile - 1);
        std::string body;
        for (long i = t.firstPoint; i <= t.lastPoint; ++i)
            body += records[static_cast<std::size_t>(i - 1)];
        t.pointsHash = hashHex(body);
        const std::string oldDir = m_folder + t.name + "/";
        const std::string newDir = m_tree.staging() + t.name + "/";
        // The project names the tile's own folder: the one it will have after the swap.
        const std::string text = tileProjectText(m_project, t.name, m_m.width, m_projectFolder,
                                                 fs::absolute(fsPath(oldDir)).lexically_normal());
        std::error_code ec;
        if (fs::is_directory(fsPath(oldDir), ec) && resultsHold(oldDir, text, body, m_m.signature, t)) {
            if (std::optional<Problem> p = m_tree.carry(t.name))
                return p;
        } else {
            if (fs::is_directory(fsPath(oldDir), ec) && holdsResults(oldDir))
                removed.push_back(t.name);
            fs::create_directories(fsPath(newDir), ec);
            if (!isWritableFolder(newDir))
                return Problem::error("Složku " + newDir + " nelze vytvořit, studii nelze rozdělit na dlaždice!");
            for (std::optional<Problem> p :
                 {writeTileFile(newDir + kTileProjectName, text),
                  writeTileFile(newDir + fileNameOf(tileOwnFileName("VstReferBodTxt")), body)})
                if (p)
                    return p;
        }
        m_m.tiles.push_back(std::move(t));
        return std::nullopt;
    }

    // Tiles of an earlier split into more tiles are not part of the study any more; the user's
    // own files in the folder stay.
    std::optional<Problem> carryTheRest()
    {
        for (const std::string& name : m_tree.oldEntries()) {
            const bool tile = isTileFolderName(name) && fs::is_directory(fsPath(m_folder + name));
            if (tile &&
                std::none_of(m_m.tiles.begin(), m_m.tiles.end(), [&](const TileEntry& t) { return t.name == name; })) {
                if (holdsResults(m_folder + name))
                    removed.push_back(name);
            } else if (!tile && name != kManifestName) {
                if (std::optional<Problem> p = m_tree.carry(name))
                    return p;
            }
        }
        std::sort(removed.begin(), removed.end());
        return std::nullopt;
    }

    std::vector<std::string> removed;  // tiles whose computed results the split drops

private:
    const SettingsFile& m_project;
    TileManifest& m_m;
    TileTreeSwap& m_tree;
    const std::string m_folder;
    const fs::path m_projectFolder;
};

std::optional<Problem> confirmRemoval(const std::vector<std::string>& removed, const RunContext& ctx)
{
    if (removed.empty())
        return std::nullopt;
    const std::string list = joinNames(removed);
    Question q{"Dotaz",
               cformat(removed.size() == 1 ? "Nové rozdělení odstraní vypočtené výsledky dlaždice %s, které "
                                             "neodpovídají novému rozdělení nebo nastavení studie. Pokračovat?"
                                           : "Nové rozdělení odstraní vypočtené výsledky dlaždic %s, které "
                                             "neodpovídají novému rozdělení nebo nastavení studie. Pokračovat?",
                       list.c_str()),
               Buttons::YesNo, Answer::No};
    if (ctx.ask(q) != Answer::Yes)
        return Problem::error("Studie nebyla znovu rozdělena, výsledky dlaždic " + list +
                              " zůstaly beze změny (bez dotazu je odstraní volba --yes).");
    return std::nullopt;
}

std::optional<Problem> checkOptions(const TileOptions& options)
{
    if (options.pointsPerTile < 1 || options.pointsPerTile > kMaxReferencePoints)
        return Problem::error(cformat("Počet bodů dlaždice musí být 1 až %ld!", kMaxReferencePoints));
    if (!options.width.empty() && !parseVectorWidth(options.width))
        return Problem::error("Neznámá šířka vektorů \"" + options.width + "\" (povoleno sse2, avx2, avx512)!");
    return std::nullopt;
}

}  // namespace

Outcome<TileManifest> tileStudy(const SettingsFile& project, const std::array<double, 3>& speeds,
                                const TileOptions& options, const RunContext& ctx)
{
    if (std::optional<Problem> p = checkOptions(options))
        return *p;
    const std::string pointsPath = loadSettings<ConversionSettings>(project).pointsText;
    if (pointsPath.empty())
        return Problem::error("Nebyl zadán textový soubor s referenčními body, studii nelze rozdělit na dlaždice!");
    FileLock studyLock;
    if (std::optional<Problem> busy = lockTiledStudy(studyLock, project.path()))
        return *busy;
    Outcome<std::string> signature = studySignature(project, speeds);
    if (!signature)
        return signature.problem();
    std::optional<std::string> bytes = isRegularFile(pointsPath) ? readFileBytes(pointsPath) : std::nullopt;
    if (!bytes)
        return Problem::error("Vstupní soubor s referenčními body " + pointsPath + " nelze otevřít!");
    long skipped = 0;
    const std::vector<std::string_view> records = pointRecords(*bytes, skipped);
    if (records.empty())
        return Problem::error("Soubor " + pointsPath +
                              " neobsahuje žádný referenční bod, studii nelze rozdělit na dlaždice!");

    TileManifest m;
    m.project = fileNameOf(project.path());
    m.points = static_cast<long>(records.size());
    m.skipped = skipped;
    m.perTile = options.pointsPerTile;
    m.width = options.width;
    m.signature = *signature;
    m.pointsHash = hashHex(*bytes);
    m.inputs = sharedInputHashes(project);
    const std::size_t count = (records.size() + static_cast<std::size_t>(m.perTile) - 1) / m.perTile;

    // The new tree is built beside the old one (the kept results hard-linked into it) and
    // swapped in with one rename: a run killed at any moment leaves the old tree or the new.
    const std::string folder = tilesFolderOf(project.path());
    TileTreeSwap tree(folder);
    if (std::optional<Problem> p = tree.begin())
        return *p;
    TileLayout layout(project, m, tree, folder);
    for (std::size_t k = 0; k < count; ++k)
        if (std::optional<Problem> p = layout.place(k, count, records))
            return *p;
    if (std::optional<Problem> p = layout.carryTheRest())
        return *p;
    if (std::optional<Problem> p = confirmRemoval(layout.removed, ctx))
        return *p;
    if (std::optional<Problem> p = writeTileFile(tree.staging() + kManifestName, m.text()))
        return *p;
    if (std::optional<Problem> p = tree.commit())
        return *p;
    if (!layout.removed.empty())
        ctx.reporter.warning("Odstraněny výsledky dlaždic " + joinNames(layout.removed) + ".");
    return m;
}

}  // namespace ovd
