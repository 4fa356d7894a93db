#pragma once
// Path helpers. A path splits at its last "/" or "\" whichever comes later.
#include <optional>
#include <string>
#include <string_view>

namespace ovd {

// Up to and including the last separator; empty when the path has none.
std::string folderOf(std::string_view path);
// What follows the last separator.
std::string fileNameOf(std::string_view path);
// The path with its last three characters replaced (results.dbf -> results.vst).
std::string derivedName(std::string_view path, std::string_view lastThree);

bool fileExists(const std::string& path);
std::optional<long long> fileSize(const std::string& path);

// The user's temporary folder, with a trailing "/".
std::string tempFolder();
// Creates an empty unique file "<folder>/<prefix>XXXXXX" and returns its path.
std::optional<std::string> createUniqueFile(const std::string& folder, std::string_view prefix);

}  // namespace ovd
