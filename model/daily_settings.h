#pragma once
// The keys of the daily concentration computation in the project file.
#include <string>

#include "common/parameters.h"
#include "common/project.h"
#include "model/daily_computation.h"

namespace ovd {

struct DailySettings {
    // "Global"
    std::string points, sources, theta, delta, zmax;  // VstReferBodBin, VstZdrojBodBin, VstThetaBin, ...
    bool nearbySources = false;                       // BlizkeZdroje
    std::string clusters;                             // VstPopisTxt
    bool dust = false;                                // TypVypoctu 1
    // "VypocetDenni"
    long substancePosition = 0;  // PoziceLatky
    long stabilityChoice = 0;    // TridaStability 0..4 for classes 1..5
    double speed = 0;            // RychlostVetru, m/s at 10 m
    double direction = 0;        // SmerVetru, degrees
    long substanceClass = 0;     // TridaLatky 0..2
    std::string output;          // VystDbf

    // The keys of the project file, each declared once.
    using Self = DailySettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code

    // The run parameters, the choices turned into class numbers 1 to 5 and 1 to 3.
    DailyParameters parameters() const;
};

}  // namespace ovd
