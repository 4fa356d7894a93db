#pragma once
// Converting a text grid of terrain heights into the binary terrain matrix, and checking a
// text grid without converting it.
#include <string>

#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"
#include "terrain_matrix.h"

namespace ovd {

struct TerrainSettings {
    std::string textInput;                           // "Global" "VstVyskoTxt"
    std::string binaryOutput;                        // "Global" "VstVyskoBin"
    TerrainElement element = TerrainElement::Int16;  // "PrevodVyskopisu" "TypZapisu"
    std::string coordinateSystem = {};               // "Global" "SouradnicovySystem" (read only)
    // The keys of the project file, each declared once.
    using Self = TerrainSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
    // The element as its index in the project; an unknown index reads as 16-bit numbers.
    static long elementIndex(const Self&);
    static void setElementIndex(Self&, long);
};

// How the declaration and the dialog reach "TypZapisu".
inline constexpr IntAccess<TerrainSettings> kTerrainElement{TerrainSettings::elementIndex,
                                                            TerrainSettings::setElementIndex};

// Writes the matrix through a temporary file, so a failed run leaves no output behind, and
// the run log "prub_vys.tmp" beside it. An input that is neither text kind (first word
// "ncols" or "DSAA") is read as a raster by the registered GIS services, when there are any.
ToolStatus convertTerrain(const TerrainSettings&, const RunContext&);

// Whether the file starts as a text grid does: first word "ncols" or "dsaa" in any case, or
// nothing a raster could be (an empty file, a blank first line).
bool startsAsTextGrid(std::FILE*);

// The output name offered for an input: its last three characters replaced by "bin".
std::string terrainOutputName(const std::string& textInput);

struct TerrainCheckResult {
    bool usable = false;
    long rows = 0;
    long cols = 0;
    std::string text;         // the verdict shown to the user
    bool cancelled = false;   // stopped on the user's request: no verdict
    bool unreadable = false;  // the file could not be opened or has a line too long (already
                              // reported): no verdict
};
// Reads the grid as the conversion would and says whether it is consistent: a text grid, or
// (given the GIS services) a raster in `studySystem`. A file that cannot be opened is
// reported through the Reporter and gives `unreadable`.
TerrainCheckResult checkTerrainText(const std::string& textInput, Reporter&, const std::string& studySystem = {},
                                    const GisServices* gis = nullptr);

}  // namespace ovd
