#include "model/concentration_settings.h"

#include "model/study_params.h"

namespace ovd {

namespace {

constexpr std::string_view kGlobal = "Global";
constexpr std::string_view kAnnual = "VypocetRocni";
constexpr const char* kLimitKeys[3] = {"KoncDobyPrek1", "KoncDobyPrek2", "KoncDobyPrek3"};

}  // namespace

std::span<const Param<ConcentrationSettings>> ConcentrationSettings::params()
{
    using S = ConcentrationSettings;
    static const auto kParams = withStudyInputs(std::to_array<Param<S>>({
        param(kGlobal, "VstRuziceTxt", &S::windRose),
        param(kGlobal, "BlizkeZdroje", &S::nearbySources),
        param(kGlobal, "VstPopisTxt", &S::clusters),
        param(kGlobal, "ZpusobVypoctu", &S::maximum),
        param(kGlobal, "TypVypoctu", &S::dust),
        param(kAnnual, "PoziceLatky", &S::substancePosition).role(ParamRole::SubstancePosition),
        param(kAnnual, "OtoceniRuzice", &S::rotation),
        param(kAnnual, "OtoceniRuziceVlevo", &S::rotateLeft),
        param(kAnnual, "TridaLatky", &S::substanceClass).role(ParamRole::SubstanceClass),
        param(kAnnual, "KrokVypoctu", &S::stepChoice, "1"),
        param(kAnnual, "KrokVypoctuVlastni", &S::customStep),
        param(
            kAnnual, "KoncDobyPrek1", +[](S& s) -> double& { return s.limits[0]; })
            .role(ParamRole::SubstanceLimit),
        param(
            kAnnual, "KoncDobyPrek2", +[](S& s) -> double& { return s.limits[1]; })
            .role(ParamRole::SubstanceLimit),
        param(
            kAnnual, "KoncDobyPrek3", +[](S& s) -> double& { return s.limits[2]; })
            .role(ParamRole::SubstanceLimit),
        param(kAnnual, "VystDbf", &S::output),
        param(kAnnual, "VystDbfPodily", &S::groupOutput),
        param(kAnnual, "PodilySkupinZdroju", &S::groupShares),
        param(kAnnual, "VolnaAtmosfera", &S::freeAtmosphere),
        param(kAnnual, "SpustMinim", &S::minimized).role(ParamRole::RunMinimized),
    }));
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
