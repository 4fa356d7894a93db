#include "tiles/tile_tree.h"

#include <cerrno>
#include <filesystem>

#include "common/file_sync.h"
#include "common/paths.h"
#include "common/platform.h"
#include "tiles/tile_manifest.h"

namespace ovd {

namespace fs = std::filesystem;

namespace {

// Files hard-linked (their bytes and dates stay, nothing is copied); copied where the file
// system has no links.
bool linkTree(const fs::path& from, const fs::path& to)
{
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(from, ec);
    if (ec)
        return false;
    if (fs::is_symlink(st)) {
        fs::copy_symlink(from, to, ec);
        return !ec;
    }
    if (fs::is_directory(st)) {
        if (!fs::create_directory(to, ec) && ec)
            return false;
        for (const fs::directory_entry& e : fs::directory_iterator(from, ec))
            if (!linkTree(e.path(), to / e.path().filename()))
                return false;
        return !ec;
    }
    if (!fs::is_regular_file(st))
        return true;  // a FIFO or device a user put there is not a tile's file
    if (hardLink(utf8Path(from), utf8Path(to)))
        return true;
    fs::copy_file(from, to, ec);
    if (!ec)
        fs::last_write_time(to, fs::last_write_time(from, ec), ec);
    return !ec;
}

}  // namespace

TileTreeSwap::TileTreeSwap(std::string folder)
    : m_folder(std::move(folder))
{
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
    m_staging = m_folder + ".ovdnew";
    m_retired = m_folder + ".ovdold";
}

TileTreeSwap::~TileTreeSwap()
{
    std::error_code ec;
    if (!m_committed)
        fs::remove_all(fsPath(m_staging), ec);
}

std::optional<Problem> TileTreeSwap::begin()
{
    std::error_code ec;
    // A run killed between the two renames of a file system without exchange: its old tree
    // is the study's.
    if (!fs::exists(fsPath(m_folder), ec) && fs::is_directory(fsPath(m_retired), ec))
        renameFolder(m_retired, m_folder);
    // A killed run's staging tree, or the old tree it had swapped out: never the study's.
    fs::remove_all(fsPath(m_staging), ec);
    fs::remove_all(fsPath(m_retired), ec);
    if (!fs::create_directories(fsPath(m_staging), ec) || ec)
        return Problem::error("Složku " + m_staging + " nelze vytvořit, studii nelze rozdělit na dlaždice!");
    return std::nullopt;
}

std::vector<std::string> TileTreeSwap::oldEntries() const
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(fsPath(m_folder), ec))
        names.push_back(utf8Path(e.path().filename()));
    return names;
}

std::optional<Problem> TileTreeSwap::carry(const std::string& name)
{
    std::error_code ec;
    fs::remove_all(fsPath(m_staging) / fsPath(name), ec);
    if (!linkTree(fsPath(m_folder) / fsPath(name), fsPath(m_staging) / fsPath(name)))
        return Problem::error("Soubory dlaždice " + m_folder + "/" + name +
                              " nelze převzít do nového rozdělení, studii nelze rozdělit na dlaždice!");
    return std::nullopt;
}

std::optional<Problem> TileTreeSwap::commit()
{
    std::error_code ec;
    const bool hadOld = fs::exists(fsPath(m_folder), ec);
    syncFolderOf(m_staging + "/" + kManifestName);
    if (!hadOld) {
        if (!renameFolder(m_staging, m_folder))
            return Problem::error("Složku " + m_folder + " nelze zapsat, studii nelze rozdělit na dlaždice!");
    } else if (exchangeFolders(m_staging, m_folder)) {
        // The old tree now lies under the staging name.
        m_retired = m_staging;
    } else {
        // No exchange on this file system: two renames, the old tree first set aside (a run
        // killed between them leaves it there, and the next run's begin() puts it back).
        if (!renameFolder(m_folder, m_retired) || !renameFolder(m_staging, m_folder))
            return Problem::error("Složku " + m_folder + " nelze nahradit, studii nelze rozdělit na dlaždice!");
    }
    m_committed = true;
    syncFolderOf(m_folder);
    fs::remove_all(fsPath(m_retired), ec);
    return std::nullopt;
}

std::optional<Problem> lockTiledStudy(FileLock& lock, const std::string& projectPath)
{
    std::string folder = tilesFolderOf(projectPath);
    folder.pop_back();
    if (lock.lock(folder, false) == FileLock::Result::Busy)
        return Problem::error("Dlaždice studie " + projectPath +
                              " právě rozděluje nebo slučuje jiný běh programu, zkuste to po jeho skončení.");
    return std::nullopt;
}

}  // namespace ovd
