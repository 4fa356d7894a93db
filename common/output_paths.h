#pragma once
// An output of a run must not be one of its inputs or another of its outputs: writing it
// would destroy data the run still reads or has just written.
#include <string>
#include <vector>

#include "reporter.h"

namespace ovd {

struct NamedPath {
    std::string role;  // what the file is to the run, lower case ("výstupní binární soubor zdrojů")
    std::string path;
};

// The message for a file given in two roles.
std::string sharedFileText(const NamedPath& first, const NamedPath& second);

// Refuses (caption "Chyba") when an output is the same file as an input or as another
// output; empty paths are skipped. False when refused; then nothing was asked or written.
bool refuseSharedFiles(Reporter&, const std::vector<NamedPath>& inputs, const std::vector<NamedPath>& outputs);

}  // namespace ovd
