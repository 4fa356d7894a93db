#include "terrain_commands.h"

#include "common/reporter_wrapper.h"
#include "geotools/coord_recompute.h"
#include "geotools/coord_table.h"
#include "inputs/height_fill.h"
#include "inputs/terrain_conversion.h"

namespace ovd {

namespace {

// Passes everything on and keeps the last status lines, which the command prints at its end.
class StatusKeeper : public ReporterWrapper {
public:
    using ReporterWrapper::ReporterWrapper;
    void status(int line, std::string_view text) override
    {
        if (line == 0 || line == 1)
            m_lines[line] = text;
        ReporterWrapper::status(line, text);
    }

    void print(ResultSink& out) const
    {
        for (const std::string& line : m_lines)
            if (!line.empty())
                out.line(line);
    }

private:
    std::string m_lines[2];
};

template <class Run> ToolStatus runKeepingStatus(ToolCall& call, Run run)
{
    StatusKeeper keeper(call.context.reporter);
    ToolStatus status = run(call.context.withReporter(keeper));
    if (status == ToolStatus::Done)
        keeper.print(call.result);
    return status;
}

}  // namespace

ToolStatus runTerrain(ToolCall& call)
{
    TerrainSettings s = loadSettings<TerrainSettings>(*call.project);
    return runKeepingStatus(call, [&](const RunContext& ctx) { return convertTerrain(s, ctx); });
}

ToolStatus runCheckTerrain(ToolCall& call)
{
    TerrainSettings s = loadSettings<TerrainSettings>(*call.project);
    TerrainCheckResult result =
        checkTerrainText(s.textInput, call.context.reporter, s.coordinateSystem, call.context.gis);
    if (result.cancelled || result.unreadable)
        return ToolStatus::Failed;
    ResultTable verdict;
    verdict.title = "Výsledek kontroly :";
    verdict.addLine(result.text, result.usable ? RowMark::Correct : RowMark::Error);
    call.result.table(verdict);
    return result.usable ? ToolStatus::Done : ToolStatus::Unusable;
}

ToolStatus runHeights(ToolCall& call)
{
    HeightFillSettings s = loadSettings<HeightFillSettings>(*call.project);
    return runKeepingStatus(call, [&](const RunContext& ctx) { return fillHeights(s, ctx); });
}

ToolStatus runCoordsTable(ToolCall& call)
{
    CoordTableSettings s = loadSettings<CoordTableSettings>(*call.project);
    return convertCoordTable(s, call.context);
}

ToolStatus runCoords(ToolCall& call)
{
    CoordRecomputeSettings s = loadSettings<CoordRecomputeSettings>(*call.project);
    return recomputeCoordinates(s, call.context);
}

}  // namespace ovd
