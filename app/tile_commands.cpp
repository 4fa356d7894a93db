#include "tile_commands.h"

#include "common/czech_plural.h"
#include "common/numbers.h"
#include "tiles/tile_merge.h"
#include "tiles/tile_split.h"

namespace ovd {

namespace {

// The profile's wind speeds, part of what the tiles must share; nullopt after the message.
std::optional<std::array<double, 3>> windSpeeds(ToolCall& call)
{
    Outcome<Profile::WindSpeeds> w = call.profile.checkedWindSpeeds();
    if (!w) {
        w.problem().report(call.context.reporter);
        return std::nullopt;
    }
    return std::array<double, 3>{w->speed[0], w->speed[1], w->speed[2]};
}

}  // namespace

ToolStatus runTile(ToolCall& call)
{
    TileOptions options;
    options.pointsPerTile = call.options.integer("--points").value_or(options.pointsPerTile);
    options.width = call.options.text("--width").value_or("");
    std::optional<std::array<double, 3>> speeds = windSpeeds(call);
    if (!speeds)
        return ToolStatus::Failed;
    Outcome<TileManifest> m = tileStudy(*call.project, *speeds, options, call.context);
    if (!m) {
        m.problem().report(call.context.reporter);
        return ToolStatus::Failed;
    }
    const std::string folder = tilesFolderOf(call.project->path());
    for (const TileEntry& t : m->tiles)
        call.result.line(
            cformat("%s%s/%s\t%ld-%ld", folder.c_str(), t.name.c_str(), kTileProjectName, t.firstPoint, t.lastPoint));
    call.context.reporter.status(
        0,
        "Studie rozdělena na " +
            czechCount(static_cast<long long>(m->tiles.size()), "dlaždici", "dlaždice", "dlaždic") + " po nejvýše " +
            czechCount(m->perTile, "bodu", "bodech", "bodech") + " (celkem " +
            czechCount(m->points, "bod", "body", "bodů") + ").");
    return ToolStatus::Done;
}

ToolStatus runMerge(ToolCall& call)
{
    std::optional<std::array<double, 3>> speeds = windSpeeds(call);
    if (!speeds)
        return ToolStatus::Failed;
    return mergeTiles(*call.project, *speeds, call.context);
}

}  // namespace ovd
