#pragma once
// The keys of the coefficient computation in the project file.
#include <string>

#include "common/parameters.h"
#include "common/project.h"

namespace ovd {

struct CoefficientSettings {
    std::string terrain;         // "Global" "VstVyskoBin"
    std::string points;          // "Global" "VstReferBodBin"
    std::string sources;         // "Global" "VstZdrojBodBin"
    std::string theta;           // "Global" "VstThetaBin"
    std::string delta;           // "Global" "VstDeltaBin"
    std::string zmax;            // "Global" "VstZmaxBin"
    bool dust = false;           // "Global" "TypVypoctu" 1
    long step = 0;               // "Koeficienty" "VzdalenostBodu": metres between inner points
    bool interpolate = false;    // "Koeficienty" "PouzijInterpolaci" 1
    bool standardFiles = false;  // "Koeficienty" "PouzijStandardSoubory", kept as found

    // The keys of the project file, each declared once.
    using Self = CoefficientSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code

    // The outputs the button "Vytvoření jmen výstupních souborů ..." proposes: the folder of
    // the source file followed by "theta.bin", "delta.bin" and "zmax.bin".
    void deriveOutputNames();
};

}  // namespace ovd
