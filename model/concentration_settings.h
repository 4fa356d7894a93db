#pragma once
// The keys of the annual and maximum concentration computation in the project file.
#include <array>
#include <string>

#include "common/parameters.h"
#include "common/project.h"
#include "model/concentration_inputs.h"

namespace ovd {

// The checkpoint of an unfinished run beside its output: the output's name with "tmp" for
// its extension.
std::string checkpointPathOf(const std::string& output);

struct ConcentrationSettings {
    // "Global"
    std::string points, sources, theta, delta, zmax;  // VstReferBodBin, VstZdrojBodBin, VstThetaBin, ...
    std::string windRose;                             // VstRuziceTxt
    bool nearbySources = false;                       // BlizkeZdroje
    std::string clusters;                             // VstPopisTxt
    bool maximum = false;                             // ZpusobVypoctu 1
    bool dust = false;                                // TypVypoctu 1
    // "VypocetRocni"
    long substancePosition = 0;      // PoziceLatky
    double rotation = 0;             // OtoceniRuzice
    bool rotateLeft = false;         // OtoceniRuziceVlevo
    long substanceClass = 0;         // TridaLatky 0..2
    long stepChoice = 1;             // KrokVypoctu: 0.5, 1, 3 or the custom value
    double customStep = 0;           // KrokVypoctuVlastni
    std::array<double, 3> limits{};  // KoncDobyPrek1..3
    std::string output;              // VystDbf
    std::string groupOutput;         // VystDbfPodily
    bool groupShares = false;        // PodilySkupinZdroju
    bool freeAtmosphere = false;     // VolnaAtmosfera
    bool minimized = false;          // SpustMinim

    // The keys of the project file, each declared once.
    using Self = ConcentrationSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code

    double step() const;
    // The run log's name, "prub_max.tmp" or "prub_roc.tmp", in the output's folder.
    const char* runLogName() const { return maximum ? "prub_max.tmp" : "prub_roc.tmp"; }
    std::string checkpointPath() const;  // checkpointPathOf(output)
    // The run parameters these settings stand for, with the speeds of the profile.
    ConcentrationParameters parameters(const std::array<double, 3>& speeds) const;
};

}  // namespace ovd
