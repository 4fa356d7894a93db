#pragma once
// Isolines of one value column of a result table: the points resampled on a lattice of
// near-equilateral triangles, each level traced through the triangles as straight
// segments, written as a PolyLine shapefile with a table of the segments' levels.
#include <optional>
#include <string>
#include <vector>

#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"

namespace ovd {

enum class LatticeMode { SegmentsPerSide = 0, VertexCount = 1, SegmentLength = 2 };
enum class LevelMode { Scale = 0, List = 1 };

struct IsolineSettings {  // section "Izolinie"
    std::string input, shp, shx, dbf;
    int neighbourPosition = 0;  // in the list 6 ... 12 of nearest points
    std::string neighbourText;  // the chosen item as shown
    int column = 0;             // field index from 0
    int latticeMode = 0;        // a LatticeMode
    long segmentsPerSide = 0;
    long vertexCount = 0;
    double segmentLength = 0;
    int levelMode = 0;  // a LevelMode
    double scaleFrom = 0, scaleStep = 0;
    double nominalValue = 0;
    std::string nominalList;       // "%lf" items separated by ";"
    std::string coordinateSystem;  // "Global" "SouradnicovySystem": a .prj beside the SHP

    // The keys of the project file, each declared once.
    using Self = IsolineSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
    int neighbours() const { return neighbourPosition + 6; }
    // The three outputs named after the input ("_izolinie.shp", ...); unchanged when it is empty.
    void deriveOutputNames();
    // Appends nominalValue unless it is listed already ("Hodnota je již v seznamu hodnot! ").
    bool addNominalValue(Reporter&);
    void removeNominalValue(std::size_t index);
};

inline constexpr int kMinNeighbours = 6, kMaxNeighbours = 12;

// The items of a list kept as "a;b;c"; nullopt when one is not a number.
std::optional<std::vector<double>> parseNominalList(const std::string& list);
// The eleven-character names of the input's fields, for choosing the value column.
std::optional<std::vector<std::string>> isolineColumnNames(const std::string& input, Reporter&);

ToolStatus makeIsolines(const IsolineSettings&, const RunContext&);

}  // namespace ovd
