#include "tile_commands.h"

#include "common/numbers.h"
#include "tiles/tile_merge.h"
#include "tiles/tile_split.h"

namespace ovd {

namespace {

// The profile's wind speeds, part of what the tiles must share; nullopt after the message.
std::optional<std::array<double, 3>> windSpeeds(ToolCall& call)
{
    call.profile.takeUnreadableValue();
    Profile::WindSpeeds w = call.profile.windSpeeds();
    if (call.profile.refuseUnreadableValue(call.context.reporter))
        return std::nullopt;
    return std::array<double, 3>{w.speed[0], w.speed[1], w.speed[2]};
}

}  // namespace

ToolStatus runTile(ToolCall& call)
{
    TileOptions options;
    const std::vector<std::string>& a = call.args;
    for (std::size_t i = 0; i < a.size(); i += 2) {
        std::optional<long> n = i + 1 < a.size() ? parseLong(a[i + 1]) : std::nullopt;
        if (a[i] == "--points" && n)
            options.pointsPerTile = *n;
        else if (a[i] == "--width" && i + 1 < a.size())
            options.width = a[i + 1];
        else {
            call.usageError = "chybné argumenty příkazu tile ([--points N] [--width sse2|avx2|avx512])";
            return ToolStatus::Failed;
        }
    }
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
    call.context.reporter.status(0,
                                 cformat("Studie rozdělena na %zu dlaždic po nejvýše %ld bodech (celkem %ld bodů).",
                                         m->tiles.size(), m->perTile, m->points));
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
