#pragma once
// Replacing a tiled study's folder of tiles as a whole. The new tree is built in a staging
// folder beside the old one, the old tree's kept files hard-linked into it, and swapped in by
// one rename: a run killed at any moment leaves either the old tree or the new one under the
// folder's name, and the next run removes what the killed one left beside it.
#include <optional>
#include <string>
#include <vector>

#include "common/file_lock.h"
#include "common/outcome.h"

namespace ovd {

class TileTreeSwap {
public:
    // `folder`: the tiles folder with its trailing "/", which need not exist yet.
    explicit TileTreeSwap(std::string folder);
    ~TileTreeSwap();
    TileTreeSwap(const TileTreeSwap&) = delete;
    TileTreeSwap& operator=(const TileTreeSwap&) = delete;

    // Removes what a killed run left and makes the empty staging folder.
    std::optional<Problem> begin();
    // The staging folder with its trailing "/".
    std::string staging() const { return m_staging + "/"; }
    // The names in the old tree (none when there is none).
    std::vector<std::string> oldEntries() const;
    // The old tree's entry `name` (a file or a whole folder) into the new tree, unchanged.
    std::optional<Problem> carry(const std::string& name);
    // Swaps the new tree in and removes the old one.
    std::optional<Problem> commit();

private:
    std::string m_folder;   // without the trailing "/"
    std::string m_staging;  // beside it
    std::string m_retired;  // where the old tree goes when the system cannot swap
    bool m_committed = false;
};

// Locks the tiles of the study `projectPath` against another tile or merge run: the problem
// when one holds them.
std::optional<Problem> lockTiledStudy(FileLock&, const std::string& projectPath);

}  // namespace ovd
