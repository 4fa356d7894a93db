// mpirun -n N ovardix-mpi [--profile FILE] PROJECT.ovd: the ranks compute the tiles made by
// "ovardix-cli tile", each in its tile's folder; rank 0 merges them after all are done. A
// tile that fails stops every rank (its message first) with exit status 1.
#include <mpi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/console_reporter.h"
#include "common/czech_plural.h"
#include "common/file_io.h"
#include "common/project.h"
#include "mpi/tile_runner.h"
#include "tiles/tile_merge.h"

namespace {

constexpr const char* kUsage = "Použití: mpirun -n N ovardix-mpi [--profile SOUBOR] PROJEKT.ovd\n";

int finish(int code)
{
    MPI_Finalize();
    return code;
}

struct Arguments {
    std::string profilePath, projectPath;  // the project's path empty on wrong usage
};

Arguments readArguments(int argc, char** argv)
{
    Arguments a;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--profile" && i + 1 < argc)
            a.profilePath = argv[++i];
        else if (a.projectPath.empty() && !arg.empty() && arg[0] != '-')
            a.projectPath = arg;
        else
            return {};
    }
    return a;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace ovd;
    MPI_Init(&argc, &argv);
    int rank = 0, ranks = 1;
    MPI_Comm_rank(MPI_COMM_WORLD, &rank);
    MPI_Comm_size(MPI_COMM_WORLD, &ranks);

    const auto [profilePath, projectPath] = readArguments(argc, argv);
    if (projectPath.empty()) {
        if (rank == 0)
            std::fputs(kUsage, stderr);
        return finish(2);
    }
    ConsoleReporter console(AnswerPolicy::AlwaysNo, true, stderr, stdin);
    const std::string manifestPath = tilesFolderOf(projectPath) + kManifestName;
    std::optional<std::string> text = readFileBytes(manifestPath);
    Outcome<TileManifest> m = text ? TileManifest::parse(*text, manifestPath)
                                   : Outcome<TileManifest>(Problem::error(
                                         "Studie " + projectPath + " nebyla rozdělena na dlaždice (chybí soubor " +
                                         manifestPath + "). Rozdělte ji příkazem ovardix-cli tile."));
    if (!m) {
        if (rank == 0)
            m.problem().report(console);
        return finish(1);
    }
    Profile profile = Profile::openDefault(profilePath);
    const std::size_t total = m->tiles.size();
    for (std::size_t k : tilesOfRank(total, rank, ranks)) {
        const TileEntry& t = m->tiles[k];
        const TileRunResult r = runOneTile(projectPath, *m, t, profile, console);
        if (r == TileRunResult::Failed) {
            std::fprintf(stderr, "Výpočet dlaždice %s se nepodařil, výpočet všech dlaždic se zastavuje.\n",
                         t.name.c_str());
            std::fflush(stderr);
            MPI_Abort(MPI_COMM_WORLD, 1);
            return 1;
        }
        std::fprintf(stderr, "Dlaždice %s %s, spočteno dlaždic: %zu / %zu\n", t.name.c_str(),
                     r == TileRunResult::Computed ? "spočtena" : "byla již spočtena",
                     completeTileCount(projectPath, *m), total);
        std::fflush(stderr);
    }
    MPI_Barrier(MPI_COMM_WORLD);
    if (rank != 0)
        return finish(0);
    Profile::WindSpeeds w = profile.windSpeeds();
    const ToolStatus status =
        mergeTiles(Project::open(projectPath), {w.speed[0], w.speed[1], w.speed[2]},
                   RunContext{console, true, projectPath, profile.path()});
    console.showFinalStatus();
    if (status == ToolStatus::Done)
        std::fprintf(stderr, "Výsledky %s byly sloučeny.\n",
                     czechCount(static_cast<long long>(total), "dlaždice", "dlaždic", "dlaždic").c_str());
    return finish(status == ToolStatus::Done ? 0 : 1);
}
