#include "tiles/tile_merge.h"

#include <map>

#include "common/content_hash.h"
#include "common/czech_plural.h"
#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "inputs/conversion.h"
#include "model/concentration_settings.h"
#include "model/concentration_texts.h"
#include "tiles/study_signature.h"
#include "tiles/tile_join.h"
#include "tiles/tile_stamp.h"
#include "tiles/tile_tree.h"

namespace ovd {

namespace {

// The annual and the maximum computation both write a group-shares table when asked.
bool groupTableOf(const ConcentrationSettings& s)
{
    return s.groupShares;
}

// The outputs of one tile, read from its folder.
struct TileOutputs {
    std::string table, groups, sourceTable, protocol, log;
};

std::string inFolder(const std::string& folder, const std::string& path)
{
    return !path.empty() && (path[0] == '/' || path[0] == '\\') ? path : folder + path;
}

std::optional<TileOutputs> readTileOutputs(const std::string& folder, bool withSourceTable)
{
    const ConcentrationSettings s = loadSettings<ConcentrationSettings>(SettingsFile(folder + kTileProjectName));
    TileOutputs out;
    auto read = [&](const std::string& path, std::string& into) {
        std::optional<std::string> bytes = path.empty() ? std::nullopt : readFileBytes(inFolder(folder, path));
        if (bytes)
            into = std::move(*bytes);
        return bytes.has_value();
    };
    bool ok = read(s.output, out.table) && read(derivedName(s.output, "vst"), out.protocol) &&
        read(folderOf(s.output) + s.runLogName(), out.log);
    if (ok && groupTableOf(s))
        ok = read(s.groupOutput, out.groups);
    if (ok && withSourceTable)
        ok = read(derivedName(s.sources, "dbf"), out.sourceTable);
    return ok ? std::optional(std::move(out)) : std::nullopt;
}

std::string joinNames(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ", ") + n;
    return out;
}

// Why the tiles cannot be merged, naming every tile that stands in the way; empty when they can.
std::string conditionText(const std::string& projectPath, const TileManifest& m)
{
    std::vector<std::string> missing, other, width;
    std::vector<std::pair<std::string, std::string>> widths;  // tile, width of the complete tiles
    for (const TileEntry& t : m.tiles) {
        TileStamp stamp;
        switch (tileCondition(projectPath, m, t, &stamp)) {
        case TileCondition::Missing: missing.push_back(t.name); break;
        case TileCondition::OtherSettings: other.push_back(t.name); break;
        case TileCondition::OtherWidth: width.push_back(t.name + " (" + stamp.width + ")"); break;
        case TileCondition::Complete: widths.push_back({t.name, stamp.width}); break;
        }
    }
    // Without a fixed width the tiles must still agree: the most common width stands.
    if (m.width.empty() && !widths.empty()) {
        std::map<std::string, std::size_t> counts;
        for (const auto& w : widths)
            ++counts[w.second];
        std::string major = widths.front().second;
        for (const auto& [w, n] : counts)
            if (n > counts[major])
                major = w;
        for (const auto& [tile, w] : widths)
            if (w != major)
                width.push_back(tile + " (" + w + " místo " + major + ")");
    }
    std::string text;
    if (!missing.empty())
        text += "\nNespočtené dlaždice: " + joinNames(missing);
    if (!other.empty())
        text += "\nDlaždice spočtené s jinými vstupy nebo nastavením: " + joinNames(other);
    if (!width.empty())
        text += "\nDlaždice spočtené s jinou šířkou vektorů" + (m.width.empty() ? "" : " než " + m.width) + ": " +
            joinNames(width);
    if (text.empty())
        return text;
    return "Dlaždice studie nelze sloučit, nic nebylo zapsáno." + text +
        "\nSpočtěte tyto dlaždice znovu (ovardix-cli run v jejich složce nebo ovardix-mpi).";
}

// The study's manifest when every tile is complete and was computed from today's inputs and
// settings; else why the tiles cannot be merged.
Outcome<TileManifest> mergeableManifest(const SettingsFile& project, const std::array<double, 3>& speeds)
{
    const std::string manifestPath = tilesFolderOf(project.path()) + kManifestName;
    std::optional<std::string> manifestText = readFileBytes(manifestPath);
    if (!manifestText)
        return Problem::error("Studie " + project.path() + " nebyla rozdělena na dlaždice (chybí soubor " +
                              manifestPath + "), nelze ji sloučit. Rozdělte ji příkazem ovardix-cli tile.");
    Outcome<TileManifest> m = TileManifest::parse(*manifestText, manifestPath);
    if (!m)
        return m;
    Outcome<std::string> signature = studySignature(project, speeds);
    if (!signature)
        return signature.problem();
    const std::string points = loadSettings<ConversionSettings>(project).pointsText;
    std::string changed;
    if (*signature != m->signature)
        changed = signatureChangeText(project, m->inputs);
    else if (fileHashHex(points) != m->pointsHash)
        changed = "Soubor s referenčními body " + points + " se od rozdělení na dlaždice změnil";
    if (!changed.empty())
        return Problem::error(changed +
                              ", dlaždice nelze sloučit, nic nebylo zapsáno. Rozdělte studii znovu "
                              "příkazem ovardix-cli tile " +
                              project.path() + " a dlaždice spočtěte.");
    if (std::string why = conditionText(project.path(), *m); !why.empty())
        return Problem::error(why);
    return m;
}

// The study's output names, where they clash with nothing; the problem otherwise.
std::optional<Problem> outputNamesProblem(const ConcentrationSettings& s, const std::string& sourceTable)
{
    const bool groups = groupTableOf(s);
    if (s.output.empty())
        return Problem::error("Nebyl zadán výstupní DBF soubor s výsledky výpočtu  !");
    if (groups && s.groupOutput.empty())
        return Problem::error("Nebyl zadán výstupní DBF soubor s výsledky podílů skupin zdrojů !");
    if (samePath(sourceTable, s.output) ||
        (groups && (samePath(sourceTable, s.groupOutput) || samePath(s.output, s.groupOutput))))
        return Problem::error(
            "Tabulka zdrojů, tabulka výsledků a tabulka podílů skupin zdrojů musí být různé soubory!");
    return std::nullopt;
}

// Every tile's outputs, in the manifest's order (the source table from the first tile).
struct TileResults {
    std::vector<std::string> tables, groupTables, protocols, logs;
    std::string sources;
};

Outcome<TileResults> readTiles(const std::string& projectPath, const TileManifest& m, Reporter& rep)
{
    TileResults all;
    std::vector<std::string> unreadable;
    const std::size_t total = m.tiles.size();
    for (std::size_t k = 0; k < total; ++k) {
        const TileEntry& t = m.tiles[k];
        std::optional<TileOutputs> out = readTileOutputs(tileFolderOf(projectPath, t), k == 0);
        if (!out) {
            unreadable.push_back(t.name);
            continue;
        }
        all.tables.push_back(std::move(out->table));
        all.groupTables.push_back(std::move(out->groups));
        all.protocols.push_back(std::move(out->protocol));
        all.logs.push_back(std::move(out->log));
        if (k == 0)
            all.sources = std::move(out->sourceTable);
        rep.progress(static_cast<long>(k + 1), static_cast<long>(total));
        rep.status(0, cformat("Načteny výsledky dlaždic: %zu / %zu", k + 1, total));
    }
    if (!unreadable.empty())
        return Problem::error("Dlaždice studie nelze sloučit, nic nebylo zapsáno.\nVýsledky těchto dlaždic chybějí: " +
                              joinNames(unreadable));
    return all;
}

// The bytes of the merged study's files.
struct MergedFiles {
    std::string table, groupTable, sourceRows, protocol, log;
};

Outcome<MergedFiles> joinTiles(const TileResults& all, const ConcentrationSettings& s, const std::string& sourceTable,
                               const std::string& protocol, long points)
{
    const bool groups = groupTableOf(s);
    const DbfDate date = DbfDate::todayUtc();
    Outcome<std::string> table = joinDbfTables(all.tables, date, "výsledků");
    Outcome<std::string> groupTable =
        groups ? joinDbfTables(all.groupTables, date, "podílů skupin zdrojů") : std::string();
    Outcome<std::string> sourceRows = joinDbfTables({all.sources}, date, "zdrojů");
    ProtocolFiles files{s.points,   s.sources, s.theta,  s.delta,     s.zmax,       s.clusters,
                        s.windRose, s.output,  protocol, sourceTable, s.groupOutput};
    Outcome<std::string> protocolText =
        joinProtocols(protocolFilesText(s.nearbySources, groups, files, date), all.protocols);
    Outcome<std::string> log = joinRunLogs(runLogDateLine(date), all.logs);
    for (const Outcome<std::string>* o : {&table, &groupTable, &sourceRows, &protocolText, &log})
        if (!*o)
            return o->problem();
    const std::uint32_t rows = static_cast<std::uint32_t>(DbfTable::parse(*table)->recordCount());
    if (rows != static_cast<std::uint32_t>(points))
        return Problem::error("Dlaždice mají dohromady " + czechCount(rows, "bod", "body", "bodů") +
                              cformat(" místo %ld, dlaždice nelze sloučit!", points));
    return MergedFiles{*table, *groupTable, *sourceRows, *protocolText, *log};
}

bool refuseMergeFiles(const RunContext& ctx, const ConcentrationSettings& s, const std::string& protocol,
                      const std::string& sourceTable)
{
    return refuseSharedFiles(
        ctx,
        {{"vstupní soubor s referenčními body", s.points},
         {"vstupní soubor se zdroji", s.sources},
         {"vstupní matice THETA", s.theta},
         {"vstupní matice DELTA", s.delta},
         {"vstupní matice ZMAX", s.zmax},
         {"vstupní soubor s popisem shluků", s.clusters},
         {"vstupní soubor s větrnou růžicí", s.windRose}},
        {{"výstupní DBF soubor s výsledky", s.output},
         {"výstupní textový protokol", protocol},
         {"výstupní DBF soubor se zdroji", sourceTable},
         {"soubor s průběhem výpočtu", folderOf(s.output) + s.runLogName()},
         {"výstupní DBF soubor s podíly skupin zdrojů", groupTableOf(s) ? s.groupOutput : std::string()}});
}

// The merged files, all or none of them.
bool writeMerged(const ConcentrationSettings& s, const std::string& protocol, const std::string& sourceTable,
                 const MergedFiles& merged)
{
    OutputSet outputs;
    std::vector<std::pair<AtomicOutput*, const std::string*>> parts{
        {&outputs.add(s.output), &merged.table},
        {&outputs.add(protocol), &merged.protocol},
        {&outputs.add(sourceTable), &merged.sourceRows},
        {&outputs.add(folderOf(s.output) + s.runLogName()), &merged.log}};
    if (groupTableOf(s))
        parts.push_back({&outputs.add(s.groupOutput), &merged.groupTable});
    bool ok = outputs.allOpen();
    for (auto& [out, bytes] : parts)
        ok = ok && out->write(*bytes);
    return ok && outputs.commit();
}

}  // namespace

ToolStatus mergeTiles(const SettingsFile& project, const std::array<double, 3>& speeds, const RunContext& ctx)
{
    Reporter& rep = ctx.reporter;
    auto fail = [&](const Problem& p) {
        rep.error(p.text);
        return ToolStatus::Failed;
    };
    FileLock studyLock;
    if (std::optional<Problem> busy = lockTiledStudy(studyLock, project.path()))
        return fail(*busy);
    Outcome<TileManifest> m = mergeableManifest(project, speeds);
    if (!m)
        return fail(m.problem());
    const ConcentrationSettings s = loadSettings<ConcentrationSettings>(project);
    const bool groups = groupTableOf(s);
    const std::string sourceTable = derivedName(s.sources, "dbf"), protocol = derivedName(s.output, "vst");
    if (std::optional<Problem> p = outputNamesProblem(s, sourceTable))
        return fail(*p);
    if (!refuseMergeFiles(ctx, s, protocol, sourceTable))
        return ToolStatus::Failed;

    // Everything is read and joined before anything is written.
    Outcome<TileResults> all = readTiles(project.path(), *m, rep);
    if (!all)
        return fail(all.problem());
    Outcome<MergedFiles> merged = joinTiles(*all, s, sourceTable, protocol, m->points);
    if (!merged)
        return fail(merged.problem());

    if (!ctx.confirmOverwrite(s.output) || (groups && !ctx.confirmOverwrite(s.groupOutput)))
        return ToolStatus::Declined;
    if (!writeMerged(s, protocol, sourceTable, *merged))
        return fail(Problem::error("Výstupní DBF soubor s vypočtenými výsledky " + s.output + " nelze zapsat!"));
    rep.status(0,
               std::string(czechPlural(static_cast<long long>(m->tiles.size()), "Sloučena ", "Sloučeny ", "Sloučeno ")) +
                   czechCount(static_cast<long long>(m->tiles.size()), "dlaždice", "dlaždice", "dlaždic") + " (" +
                   czechCount(m->points, "bod", "body", "bodů") + "), vypočtené hodnoty byly zapsány.");
    return ToolStatus::Done;
}

}  // namespace ovd
