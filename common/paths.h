#pragma once
// Path helpers. A path splits at its last "/" or "\" whichever comes later.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ovd {

// A UTF-8 path as std::filesystem takes it, and a path of it back as UTF-8 with "/" (the
// library's own narrow conversion would use the Windows code page, not UTF-8).
std::filesystem::path fsPath(std::string_view utf8);
std::string utf8Path(const std::filesystem::path& path);

// Up to and including the last separator; empty when the path has none.
std::string folderOf(std::string_view path);
// What follows the last separator.
std::string fileNameOf(std::string_view path);
// The file name without its extension (the part from its last "."); a name whose only dot
// leads it (".ovardix") is kept whole.
std::string stemOf(std::string_view path);
// The path with its last three characters replaced (results.dbf -> results.vst).
std::string derivedName(std::string_view path, std::string_view lastThree);

bool fileExists(const std::string& path);
// True for an existing regular file (after symlinks); a device, FIFO or folder is not one.
bool isRegularFile(const std::string& path);
// True when something exists at the path (after symlinks) that is not a regular file.
bool isNonRegular(const std::string& path);
// The absolute, normalised path with every symlink of its existing part resolved; the
// part that does not exist yet is appended as written.
std::string resolvedPath(const std::string& path);
// The path a write to `path` lands on: symlinks followed to their final target, also a
// dangling one.
std::string followLinks(const std::string& path);
std::optional<long long> fileSize(const std::string& path);

// True when files can be created in the folder ("" is the current folder).
bool isWritableFolder(const std::string& folder);

// The user's temporary folder, with a trailing "/".
std::string tempFolder();
// Creates an empty unique file "<folder>/<prefix>XXXXXX" and returns its path.
std::optional<std::string> createUniqueFile(const std::string& folder, std::string_view prefix);

}  // namespace ovd
