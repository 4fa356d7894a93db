#pragma once
// A regular rectangular grid of reference points written as a reference-point text file,
// new or appended to an existing one.
#include <string>

#include "common/limits.h"
#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"

namespace ovd {

struct GridSettings {
    double startX = 0, startY = 0;  // the lower left point
    double stepX = 0, stepY = 0;
    long countX = 0, countY = 0;  // as read: counts beyond 16 bits are refused
    double heightL = 0;
    long firstNumber = 0;  // for a new file
    std::string output;
    bool append = false;
    // The keys of the project file, each declared once.
    using Self = GridSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

// `written` gets the count of points written.
ToolStatus makeReferenceGrid(const GridSettings&, const RunContext&, long* written = nullptr);

}  // namespace ovd
