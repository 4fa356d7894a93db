#pragma once
// Coefficient matrices as text: the export tool ("MaticeExport") and the value format
// shared with the viewer.
#include <string>

#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"

namespace ovd {

// One value as "%11.5lf" (no separator), in the C locale.
std::string formatMatrixValue(float value);

struct MatrixExportSettings {
    std::string binaryInput;  // "VstBinMatice"
    std::string textOutput;   // "VystTxtMatice"
    // The keys of the project file, each declared once.
    using Self = MatrixExportSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

// Writes the text matrix: the two header lines, then one line of "%11.5lf " values per
// row. The output appears only when complete; a file that is not a matrix writes nothing.
ToolStatus exportMatrixText(const MatrixExportSettings&, const RunContext&);

}  // namespace ovd
