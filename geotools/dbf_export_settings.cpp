#include "common/file_lock.h"
#include "common/gis_services.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "dbf_export.h"

namespace ovd {

const std::vector<Param<DbfExportSettings>> DbfExportSettings::kParams =
    declare<Self>({inSection(section::kDbfExport,
                             {key("VstDbf", &Self::input), key("ZapisGis", &Self::target), key("VystShp", &Self::shp),
                              key("VystShx", &Self::shx), key("VystMif", &Self::mif), key("VystMid", &Self::mid),
                              key("VystTxt", &Self::txt)}),
                   inSection(section::kGlobal, {key(kStudySystemKey, &Self::coordinateSystem).readOnly()})});

void DbfExportSettings::deriveOutputNames()
{
    if (input.empty())
        return;
    shp = derivedName(input, "shp");
    shx = derivedName(input, "shx");
    mif = derivedName(input, "mif");
    mid = derivedName(input, "mid");
    txt = derivedName(input, "txt");
}

std::vector<std::string> textExportLabels(const DbfTable& t)
{
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < t.fields().size(); ++i)
        labels.push_back(cformat("%02d .. ", static_cast<int>(i + 1)) + t.fields()[i].shortName());
    return labels;
}

std::string tableOutputName(const std::string& table, std::string_view extension)
{
    const std::string name = fileNameOf(table);
    const std::size_t dot = name.rfind('.');
    const std::string base = dot == std::string::npos ? table : table.substr(0, table.size() - (name.size() - dot));
    return base + "." + std::string(extension);
}

namespace {

// The target's outputs the project leaves unnamed, named after the table.
DbfExportSettings withOutputNames(DbfExportSettings s)
{
    auto fill = [&](std::string& path, std::string_view extension) {
        if (path.empty() && !s.input.empty())
            path = tableOutputName(s.input, extension);
    };
    if (s.target == static_cast<int>(DbfExportTarget::MapInfo)) {
        fill(s.mif, "mif");
        fill(s.mid, "mid");
    } else if (s.target == static_cast<int>(DbfExportTarget::Text)) {
        fill(s.txt, "txt");
    }
    return s;
}

// The files a target writes, with what they are to the run.
std::vector<NamedPath> targetOutputs(const DbfExportSettings& s)
{
    switch (s.target) {
    case static_cast<int>(DbfExportTarget::Gis):
        return {{"výstupní SHP soubor", s.shp}, {"výstupní SHX soubor", s.shx}};
    case static_cast<int>(DbfExportTarget::MapInfo):
        return {{"výstupní MIF soubor", s.mif}, {"výstupní MID soubor", s.mid}};
    case static_cast<int>(DbfExportTarget::Text): return {{"výstupní textový soubor", s.txt}};
    default: return {};
    }
}

// The path without the extension of its file name, its folder resolved.
std::string pathStem(const std::string& path)
{
    std::string name = fileNameOf(path);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return resolvedPath(folderOf(path).empty() ? "." : folderOf(path)) + "/" + name;
}

}  // namespace

std::optional<Problem> shapefileTableProblem(const DbfExportSettings& s)
{
    if (s.target != static_cast<int>(DbfExportTarget::Gis) || s.input.empty() || s.shp.empty() ||
        pathStem(s.input) == pathStem(s.shp))
        return std::nullopt;
    return Problem::error("Výstupní SHP soubor " + s.shp + " nemá stejnou složku a jméno jako vstupní DBF soubor " +
                          s.input + ".\nAtributy shapefilu jsou v DBF souboru jeho jména, nové body by se spojily " +
                          "s jinou tabulkou. Zvolte SHP soubor " + derivedName(s.input, "shp") + ".");
}

ToolStatus exportDbf(const DbfExportSettings& settings, std::span<const int> columns, const RunContext& ctx)
{
    const DbfExportSettings s = withOutputNames(settings);
    const std::vector<NamedPath> outputs = targetOutputs(s);
    if (!refuseSharedFiles(ctx.reporter, {{"vstupní DBF soubor", s.input}}, outputs))
        return ToolStatus::Failed;
    if (std::optional<Problem> p = shapefileTableProblem(s)) {
        p->report(ctx.reporter);
        return ToolStatus::Failed;
    }
    OutputLock lock;
    std::vector<std::string> paths;
    for (const NamedPath& o : outputs)
        paths.push_back(o.path);
    if (!lock.acquire(ctx.reporter, paths))
        return ToolStatus::Failed;
    switch (s.target) {
    case static_cast<int>(DbfExportTarget::Gis): return exportDbfToGis(s, ctx);
    case static_cast<int>(DbfExportTarget::MapInfo): return exportDbfToMapInfo(s, ctx);
    case static_cast<int>(DbfExportTarget::Text): return exportDbfToText(s, columns, ctx);
    default:
        ctx.reporter.error(cformat("Neznámý způsob exportu ZapisGis = %d (platí 0, 1 nebo 2)!", s.target));
        return ToolStatus::Failed;
    }
}

}  // namespace ovd
