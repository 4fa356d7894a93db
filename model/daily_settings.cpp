#include "model/daily_settings.h"

#include "common/numbers.h"
#include "model/study_params.h"

namespace ovd {

std::span<const Param<DailySettings>> DailySettings::params()
{
    using S = DailySettings;
    static const auto kParams = declare<S>({
        studyInputs<S>(),
        inSection(
            section::kGlobal,
            {key("BlizkeZdroje", &S::nearbySources), key("VstPopisTxt", &S::clusters), key("TypVypoctu", &S::dust)}),
        inSection(section::kDaily,
                  {key("PoziceLatky", &S::substancePosition).role(ParamRole::SubstancePosition),
                   key("TridaStability", &S::stabilityChoice), key("RychlostVetru", &S::speed).fixed(),
                   key("SmerVetru", &S::direction).fixed(),
                   key("TridaLatky", &S::substanceClass).role(ParamRole::SubstanceClass), key("VystDbf", &S::output)}),
    });
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
