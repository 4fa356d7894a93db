#include "model/concentration_settings.h"

#include "common/paths.h"
#include "model/study_params.h"

namespace ovd {

std::string checkpointPathOf(const std::string& output)
{
    return derivedName(output, "tmp");
}

std::string ConcentrationSettings::checkpointPath() const
{
    return checkpointPathOf(output);
}

namespace {

constexpr const char* kLimitKeys[3] = {"KoncDobyPrek1", "KoncDobyPrek2", "KoncDobyPrek3"};

}  // namespace

const std::vector<Param<ConcentrationSettings>> ConcentrationSettings::kParams = declare<Self>({
    studyInputs<Self>(),
    inSection(section::kGlobal,
              {key("VstRuziceTxt", &Self::windRose), key("BlizkeZdroje", &Self::nearbySources),
               key("VstPopisTxt", &Self::clusters), key("ZpusobVypoctu", &Self::maximum),
               key("TypVypoctu", &Self::dust)}),
    inSection(section::kAnnual,
              {key("PoziceLatky", &Self::substancePosition).role(ParamRole::SubstancePosition),
               key("OtoceniRuzice", &Self::rotation), key("OtoceniRuziceVlevo", &Self::rotateLeft),
               key("TridaLatky", &Self::substanceClass).role(ParamRole::SubstanceClass),
               key("KrokVypoctu", &Self::stepChoice, "1"), key("KrokVypoctuVlastni", &Self::customStep),
               key("KoncDobyPrek1", &arrayItem<&Self::limits, 0>).role(ParamRole::SubstanceLimit),
               key("KoncDobyPrek2", &arrayItem<&Self::limits, 1>).role(ParamRole::SubstanceLimit),
               key("KoncDobyPrek3", &arrayItem<&Self::limits, 2>).role(ParamRole::SubstanceLimit),
               key("VystDbf", &Self::output), key("VystDbfPodily", &Self::groupOutput),
               key("PodilySkupinZdroju", &Self::groupShares), key("VolnaAtmosfera", &Self::freeAtmosphere),
               key("SpustMinim", &Self::minimized).role(ParamRole::RunMinimized)}),
});

double ConcentrationSettings::step() const
{
    switch (stepChoice) {
    case 0: return 0.5;
    case 2: return 3.0;
    case 3: return customStep;
    default: return 1.0;
    }
}

ConcentrationParameters ConcentrationSettings::parameters(const std::array<double, 3>& speeds) const
{
    ConcentrationParameters par;
    par.mode = maximum ? ConcentrationMode::Maximum : ConcentrationMode::Annual;
    par.step = step();
    par.rotation = rotation;
    par.rotateLeft = rotateLeft;
    par.substanceClass = substanceClass >= 0 && substanceClass <= 2 ? static_cast<int>(substanceClass) + 1 : 1;
    par.limits = limits;
    par.nearbySources = nearbySources;
    par.groupShares = groupShares;
    par.freeAtmosphere = freeAtmosphere;
    par.dust = dust;
    par.speeds = speeds;
    return par;
}

}  // namespace ovd
