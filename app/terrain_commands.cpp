#include "terrain_commands.h"

#include "geotools/coord_recompute.h"
#include "geotools/coord_table.h"
#include "inputs/height_fill.h"
#include "inputs/terrain_conversion.h"

namespace ovd {

namespace {

// Passes everything on and keeps the last status lines, which the command prints at its end.
class StatusKeeper : public Reporter {
public:
    explicit StatusKeeper(Reporter& inner)
        : m_inner(inner)
    { }
    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        m_inner.message(s, caption, text);
    }
    Answer ask(const Question& q) override { return m_inner.ask(q); }
    void status(int line, std::string_view text) override
    {
        if (line == 0 || line == 1)
            m_lines[line] = text;
        m_inner.status(line, text);
    }
    void progress(long value, long maximum) override { m_inner.progress(value, maximum); }
    void title(std::string_view t) override { m_inner.title(t); }
    bool cancelled() const override { return m_inner.cancelled(); }

    void print(std::ostream& out) const
    {
        for (const std::string& line : m_lines)
            if (!line.empty())
                out << line << '\n';
    }

private:
    Reporter& m_inner;
    std::string m_lines[2];
};

template <class Run> ToolStatus runKeepingStatus(ToolCall& call, Run run)
{
    StatusKeeper keeper(call.context.reporter);
    ToolStatus status = run(RunContext{keeper, call.context.unattended});
    if (status == ToolStatus::Done)
        keeper.print(call.out);
    return status;
}

}  // namespace

ToolStatus runTerrain(ToolCall& call)
{
    TerrainSettings s = TerrainSettings::load(*call.project);
    return runKeepingStatus(call, [&](const RunContext& ctx) { return convertTerrain(s, ctx); });
}

ToolStatus runCheckTerrain(ToolCall& call)
{
    TerrainSettings s = TerrainSettings::load(*call.project);
    TerrainCheckResult result = checkTerrainText(s.textInput, call.context.reporter);
    if (result.cancelled || result.unreadable)
        return ToolStatus::Failed;
    ResultTable verdict;
    verdict.title = "Výsledek kontroly :";
    verdict.addLine(result.text, result.usable ? RowMark::Correct : RowMark::Error);
    if (call.tables)
        call.tables->push_back(std::move(verdict));
    else
        call.out << result.text << '\n';
    return result.usable ? ToolStatus::Done : ToolStatus::Unusable;
}

ToolStatus runHeights(ToolCall& call)
{
    HeightFillSettings s = HeightFillSettings::load(*call.project);
    return runKeepingStatus(call, [&](const RunContext& ctx) { return fillHeights(s, ctx); });
}

ToolStatus runCoordsTable(ToolCall& call)
{
    CoordTableSettings s = CoordTableSettings::load(*call.project);
    return convertCoordTable(s, call.context);
}

ToolStatus runCoords(ToolCall& call)
{
    CoordRecomputeSettings s = CoordRecomputeSettings::load(*call.project);
    return recomputeCoordinates(s, call.context);
}

}  // namespace ovd
