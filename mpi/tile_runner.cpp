#include "mpi/tile_runner.h"

#include <filesystem>

#include "app/concentration_commands.h"
#include "common/reporter_wrapper.h"
#include "tiles/tile_stamp.h"

namespace ovd {

namespace fs = std::filesystem;

namespace {

// Each message names its tile: the processes of a job write to one stream.
class TileReporter : public ReporterWrapper {
public:
    TileReporter(Reporter& inner, std::string tile)
        : ReporterWrapper(inner)
        , m_prefix("Dlaždice " + std::move(tile) + ": ")
    { }
    void message(Severity s, std::string_view caption, std::string_view text) override
    {
        inner().message(s, caption, m_prefix + std::string(text));
    }

private:
    std::string m_prefix;
};

}  // namespace

std::vector<std::size_t> tilesOfRank(std::size_t tiles, int rank, int ranks)
{
    std::vector<std::size_t> out;
    if (rank < 0 || ranks <= 0)
        return out;
    for (std::size_t k = static_cast<std::size_t>(rank); k < tiles; k += static_cast<std::size_t>(ranks))
        out.push_back(k);
    return out;
}

TileRunResult runOneTile(const std::string& projectPath, const TileManifest& m, const TileEntry& t,
                         const Profile& profile, Reporter& reporter)
{
    if (tileCondition(projectPath, m, t) == TileCondition::Complete)
        return TileRunResult::AlreadyComplete;
    TileReporter tileReporter(reporter, t.name);
    std::error_code ec;
    const fs::path back = fs::current_path(ec);
    fs::current_path(tileFolderOf(projectPath, t), ec);
    if (ec) {
        tileReporter.error("Složku dlaždice " + tileFolderOf(projectPath, t) + " nelze otevřít !");
        return TileRunResult::Failed;
    }
    Project project = Project::open(kTileProjectName);
    CollectingSink sink;
    ToolCall call{&project, profile, {}, RunContext{tileReporter, true, kTileProjectName, profile.path()}, sink};
    const ToolStatus status = runResumableRoad(call);
    fs::current_path(back, ec);
    return status == ToolStatus::Done && !ec ? TileRunResult::Computed : TileRunResult::Failed;
}

std::size_t completeTileCount(const std::string& projectPath, const TileManifest& m)
{
    std::size_t n = 0;
    for (const TileEntry& t : m.tiles)
        n += tileCondition(projectPath, m, t) == TileCondition::Complete ? 1 : 0;
    return n;
}

}  // namespace ovd
