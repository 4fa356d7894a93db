#pragma once
// Coefficients Theta, Delta, ZMax and the matrix files from the command line.
#include "tool_registry.h"

namespace ovd {

inline constexpr OptionSpec kMatrixExportOptions[] = {
    argument("SOUBOR", "binární matice koeficientů; výstup se pojmenuje podle ní").file().optional(),
    option("--out", "TXT", "textový výstup").file().mirrors(section::kMatrixExport, "VystTxtMatice"),
};
inline constexpr OptionSpec kMatrixShowOptions[] = {
    argument("SOUBOR", "binární matice koeficientů"),
    flagOption("--header", "vypsat jen hlavičku"),
};

ToolStatus runCoefficients(ToolCall&);
ToolStatus runMatrixExport(ToolCall&);
ToolStatus runMatrixShow(ToolCall&);

}  // namespace ovd
