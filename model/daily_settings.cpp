#include "model/daily_settings.h"

#include "common/numbers.h"
#include "model/study_params.h"

namespace ovd {

const std::vector<Param<DailySettings>> DailySettings::kParams = declare<Self>({
    studyInputs<Self>(),
    inSection(section::kGlobal,
              {key("BlizkeZdroje", &Self::nearbySources), key("VstPopisTxt", &Self::clusters),
               key("TypVypoctu", &Self::dust)}),
    inSection(section::kDaily,
              {key("PoziceLatky", &Self::substancePosition).role(ParamRole::SubstancePosition),
               key("TridaStability", &Self::stabilityChoice), key("RychlostVetru", &Self::speed).fixed(),
               key("SmerVetru", &Self::direction).fixed(),
               key("TridaLatky", &Self::substanceClass).role(ParamRole::SubstanceClass),
               key("VystDbf", &Self::output)}),
});

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
