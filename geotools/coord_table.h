#pragma once
// The coordinate conversion table: a grid of nodes, each with its input coordinates (u, v)
// and its output coordinates (X, Y). Binary form, little-endian:
//   offset 0, 2 bytes: format version, 1
//   offset 2, 4 bytes: node count
//   offset 6, 4 bytes: count of distinct u values (the table's grid columns)
//   offset 10: per node four doubles u, v, X, Y in the order of the text table.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"

namespace ovd {

inline constexpr std::size_t kCoordTableHeader = 10;
inline constexpr std::uint16_t kCoordTableVersion = 1;

struct CoordNode {
    double u = 0, v = 0, x = 0, y = 0;
};

// The binary bytes of a table.
std::string encodeCoordTable(const std::vector<CoordNode>&);

class CoordTable {
public:
    // Nullopt when the bytes are not a whole table of this format.
    static std::optional<CoordTable> decode(std::string_view bytes);
    static std::optional<CoordTable> fromNodes(std::vector<CoordNode> nodes);

    // (X, Y) at (u, v) by bilinear interpolation in the grid cell that holds the point;
    // nullopt when the point lies outside the table or a corner of its cell is missing.
    std::optional<std::pair<double, double>> convert(double u, double v) const;
    std::size_t size() const { return m_nodes.size(); }

private:
    std::vector<CoordNode> m_nodes;
    std::vector<double> m_us, m_vs;                                            // sorted distinct grid lines
    std::map<std::pair<double, double>, std::pair<double, double>> m_byInput;  // first node of each (u, v)
};

struct CoordTableSettings {
    std::string textTable;    // "PrevodTxtSouradnic" "VstTxtPrevod"
    std::string binaryTable;  // "PrevodTxtSouradnic" "VystBinPrevod"
    // The keys of the project file, each declared once.
    using Self = CoordTableSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

// Text table ("%lf, %lf, %lf, %lf" per line; empty and ";" comment lines skipped) to the
// binary table, written through a temporary file.
ToolStatus convertCoordTable(const CoordTableSettings&, const RunContext&);

}  // namespace ovd
