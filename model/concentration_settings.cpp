#include "model/concentration_settings.h"

#include "model/study_params.h"

namespace ovd {

namespace {

constexpr const char* kLimitKeys[3] = {"KoncDobyPrek1", "KoncDobyPrek2", "KoncDobyPrek3"};

}  // namespace

std::span<const Param<ConcentrationSettings>> ConcentrationSettings::params()
{
    using S = ConcentrationSettings;
    static const auto kParams = declare<S>({
        studyInputs<S>(),
        inSection(section::kGlobal,
                  {key("VstRuziceTxt", &S::windRose), key("BlizkeZdroje", &S::nearbySources),
                   key("VstPopisTxt", &S::clusters), key("ZpusobVypoctu", &S::maximum), key("TypVypoctu", &S::dust)}),
        inSection(section::kAnnual,
                  {key("PoziceLatky", &S::substancePosition).role(ParamRole::SubstancePosition),
                   key("OtoceniRuzice", &S::rotation), key("OtoceniRuziceVlevo", &S::rotateLeft),
                   key("TridaLatky", &S::substanceClass).role(ParamRole::SubstanceClass),
                   key("KrokVypoctu", &S::stepChoice, "1"), key("KrokVypoctuVlastni", &S::customStep),
                   key(
                       "KoncDobyPrek1", +[](S& s) -> double& { return s.limits[0]; })
                       .role(ParamRole::SubstanceLimit),
                   key(
                       "KoncDobyPrek2", +[](S& s) -> double& { return s.limits[1]; })
                       .role(ParamRole::SubstanceLimit),
                   key(
                       "KoncDobyPrek3", +[](S& s) -> double& { return s.limits[2]; })
                       .role(ParamRole::SubstanceLimit),
                   key("VystDbf", &S::output), key("VystDbfPodily", &S::groupOutput),
                   key("PodilySkupinZdroju", &S::groupShares), key("VolnaAtmosfera", &S::freeAtmosphere),
                   key("SpustMinim", &S::minimized).role(ParamRole::RunMinimized)}),
    });
    return kParams;
}

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
