#pragma once
// An output of a run must not be one of its inputs or another of its outputs: writing it
// would destroy data the run still reads or has just written.
#include <string>
#include <vector>

#include "reporter.h"
#include "tool.h"

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
// The same with the run's project file and profile before the inputs: no output may be
// either of them. Where no person answers the overwrite question, an existing output is
// also held to RunContext::mayReplaceUnasked.
bool refuseSharedFiles(const RunContext&, std::vector<NamedPath> inputs, const std::vector<NamedPath>& outputs);

// The files the project's keys name, each in the role "soubor studie (klíč [Section] Key)",
// but for the keys in `ownKeys` ("Section" "Key" pairs: the tool's own outputs). A value
// without a folder is taken as the run takes it.
struct ProjectKey {
    std::string_view section, key;
};
// Every key line of the project file with a value, in file order.
struct ProjectValue {
    std::string section, key, value;
};
std::vector<ProjectValue> projectValues(const std::string& projectFile);
std::vector<NamedPath> studyFileRoles(const std::string& projectFile, const std::vector<ProjectKey>& ownKeys = {});

inline constexpr const char* kProjectFileRole = "soubor projektu";
inline constexpr const char* kProfileRole = "uživatelský profil";

}  // namespace ovd
