#include "model/daily_settings.h"

#include "common/numbers.h"
#include "model/study_params.h"

namespace ovd {

namespace {

constexpr std::string_view kGlobal = "Global";
constexpr std::string_view kDaily = "VypocetDenni";

}  // namespace

std::span<const Param<DailySettings>> DailySettings::params()
{
    using S = DailySettings;
    static const auto kParams = withStudyInputs(std::to_array<Param<S>>({
        param(kGlobal, "BlizkeZdroje", &S::nearbySources),
        param(kGlobal, "VstPopisTxt", &S::clusters),
        param(kGlobal, "TypVypoctu", &S::dust),
        param(kDaily, "PoziceLatky", &S::substancePosition).role(ParamRole::SubstancePosition),
        param(kDaily, "TridaStability", &S::stabilityChoice),
        param(kDaily, "RychlostVetru", &S::speed).fixed(),
        param(kDaily, "SmerVetru", &S::direction).fixed(),
        param(kDaily, "TridaLatky", &S::substanceClass).role(ParamRole::SubstanceClass),
        param(kDaily, "VystDbf", &S::output),
    }));
    return kParams;
}

DailyParameters DailySettings::parameters() const
{
    DailyParameters par;
    // A choice outside the five becomes class 0, which the run refuses.
    par.stabilityClass = stabilityChoice >= 0 && stabilityChoice <= 4 ? static_cast<int>(stabilityChoice) + 1 : 0;
    par.speed = speed;
    par.direction = direction;
    par.substanceClass = substanceClass >= 0 && substanceClass <= 2 ? static_cast<int>(substanceClass) + 1 : 1;
    par.nearbySources = nearbySources;
    par.dust = dust;
    return par;
}

}  // namespace ovd
