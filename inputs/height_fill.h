#pragma once
// Filling the ground altitude Z of reference points or sources from the terrain matrix.
#include <string>

#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"

namespace ovd {

struct HeightFillSettings {
    std::string input;         // "DopocetVysky" "VstSouradniceTxt"
    std::string output;        // "DopocetVysky" "VystSouborTxt" (not used when overwriting)
    std::string terrain;       // "Global" "VstVyskoBin"
    bool interpolate = false;  // "DopocetVysky" "PouzijInterpolaci"
    bool overwrite = false;    // "DopocetVysky" "PrepsatSoubor"
    // The keys of the project file, each declared once.
    using Self = HeightFillSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

// Rewrites every record line with the height found at its X and Y; other lines are copied.
// Records outside the terrain, on cells without data or without readable coordinates are
// left out of a separate output; when the input is overwritten they are kept unchanged, and
// the input is replaced only once the new content is complete.
ToolStatus fillHeights(const HeightFillSettings&, const RunContext&);

}  // namespace ovd
