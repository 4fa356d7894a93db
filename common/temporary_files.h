#pragma once
// The temporary files outputs are written into before they replace their targets: each one
// held by its writer while it is open, so that a cleaner removes only those a killed run left.
#include <cstdio>
#include <string>
#include <string_view>

namespace ovd {

// A new, empty file "<target><infix>XXXXXX" (six random characters), open for binary writing
// and held while open; its permissions are those of `like` (an existing target) or, when
// `like` is empty, those of an ordinary new file. Null (errno set) on failure.
std::FILE* createHeldTemporary(const std::string& target, std::string_view infix, const std::string& like,
                               std::string& name);
// Removes the regular files "<target><infix>XXXXXX" that no writer holds.
void removeUnheldTemporaries(const std::string& target, std::string_view infix);

}  // namespace ovd
