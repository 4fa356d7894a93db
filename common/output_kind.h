#pragma once
// What an existing file is, judged by its content: whether it is a file of a kind this
// system writes (a table, a shapefile, a GIS file, a picture, a document, one of the binary
// layouts, a text output). An unattended run replaces a file outside the study's folder
// only when it is such a file, so a project from elsewhere cannot have it overwrite a
// user's other files.
#include <string>

namespace ovd {

// True when the file at `path` holds one of the system's output kinds. The kind expected is
// the one its extension names where the extension is one the system writes; other names
// are compared with the binary layouts (by their exact length) and the text outputs (by
// their header lines).
bool isOwnOutputKind(const std::string& path);

}  // namespace ovd
