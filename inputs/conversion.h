#pragma once
// Conversion of the text inputs to the binary reference-point and source files: joins each
// source with its description (and for dust its fractions), numbers the source groups and
// optionally sorts the sources by ALFA.
#include <string>

#include "common/parameters.h"
#include "common/project.h"
#include "common/tool.h"

namespace ovd {

struct ConversionSettings {
    std::string pointsText, sourcesText, descriptionText, dustText, dustGroupsText;
    std::string pointsBinary, sourcesBinary;
    bool dust = false, sortByAlfa = false;
    // The keys of the project file, each declared once.
    using Self = ConversionSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

struct ConversionSummary {
    long points = 0, sources = 0, zeroFilled = 0, groups = 0;
    long skippedLines = 0;      // record lines whose fields could not be read
    long withoutFractions = 0;  // dust sources written with no fractions
    std::string status[2];      // the two closing status lines
};

// Log file names, written beside the binary source output.
inline constexpr const char* kGasConversionLog = "prub_mod.tmp";
inline constexpr const char* kDustConversionLog = "pru_mode.tmp";

ToolStatus convertTextInputs(const ConversionSettings&, const RunContext&, ConversionSummary* = nullptr);

}  // namespace ovd
