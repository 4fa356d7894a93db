#pragma once
// A study folder can be moved: a project keeps the paths of files in its folder relative,
// and every program works as if started in the project file's folder, so the relative
// paths of the project and the files a tool places "in the current folder" (run logs,
// trid1.tmp, pru_mode.tmp) are found there whatever folder the program was started in.
#include <optional>
#include <string>

namespace ovd {

// `path` as a project stores it: relative to the project file's folder when it lies in that
// folder or below it, else as given. Empty stays empty.
std::string pathForProject(const std::string& path, const std::string& projectFile);

// Makes the project file's folder the current folder. The project's path as seen from there
// (its file name), or nullopt when the folder cannot be entered (nothing changed then).
std::optional<std::string> enterProjectFolder(const std::string& projectFile);

// A path given in `fromFolder` (a path typed on the command line) as seen from the current
// folder: relative when it lies in the current folder or below it, else absolute.
std::string rebasedPath(const std::string& path, const std::string& fromFolder);

}  // namespace ovd
