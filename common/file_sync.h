#pragma once
// Putting a written file on the disk before it replaces another: its bytes first, then the
// rename in its folder.
#include <cstdio>
#include <string>

namespace ovd {

// The file's bytes on the disk (fsync, FlushFileBuffers); false when it cannot be opened or
// synced.
bool syncFile(const std::string& path);
// The same for a file open for writing, after its buffer has been flushed.
bool syncOpenFile(std::FILE*);
// fsync of the folder that holds `path`, after a rename into it. Best effort: some file
// systems refuse it, and the rename itself has happened. Nothing on Windows, where the
// rename itself is written through.
void syncFolderOf(const std::string& path);

}  // namespace ovd
