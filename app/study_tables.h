#pragma once
// The result tables a study's computations write, as the project's output keys name them.
#include <string>
#include <vector>

#include "common/project.h"

namespace ovd {

struct NamedTable {
    std::string path, role;  // role: "výstup výpočtu koncentrací", ...
};

// In the order the computations come: annual, group shares (when computed), daily,
// assessment, comparison of variants, scaled groups; an output left empty by a tool that
// derives it is given the name the tool derives. Whether the files exist is not asked.
std::vector<NamedTable> studyResultTables(const Project&);

}  // namespace ovd
