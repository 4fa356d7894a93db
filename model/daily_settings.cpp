#include "model/daily_settings.h"

#include "common/numbers.h"

namespace ovd {

namespace {

constexpr std::string_view kGlobal = "Global";
constexpr std::string_view kDaily = "VypocetDenni";

}  // namespace

DailySettings DailySettings::load(const Project& p)
{
    DailySettings s;
    s.points = p.readString(kGlobal, "VstReferBodBin");
    s.sources = p.readString(kGlobal, "VstZdrojBodBin");
    s.theta = p.readString(kGlobal, "VstThetaBin");
    s.delta = p.readString(kGlobal, "VstDeltaBin");
    s.zmax = p.readString(kGlobal, "VstZmaxBin");
    s.nearbySources = p.readInt(kGlobal, "BlizkeZdroje", 0) == 1;
    s.clusters = p.readString(kGlobal, "VstPopisTxt");
    s.dust = p.readInt(kGlobal, "TypVypoctu", 0) == 1;
    s.substancePosition = p.readInt(kDaily, "PoziceLatky", 0);
    s.stabilityChoice = p.readInt(kDaily, "TridaStability", 0);
    s.speed = p.readDouble(kDaily, "RychlostVetru", 0.0);
    s.direction = p.readDouble(kDaily, "SmerVetru", 0.0);
    s.substanceClass = p.readInt(kDaily, "TridaLatky", 0);
    s.output = p.readString(kDaily, "VystDbf");
    return s;
}

bool DailySettings::save(Project& p, Reporter& r) const
{
    // Every key is tried: each failed write is reported once by the settings file.
    bool ok = p.writeString(kGlobal, "VstReferBodBin", points, r);
    ok = p.writeString(kGlobal, "VstZdrojBodBin", sources, r) && ok;
    ok = p.writeString(kGlobal, "VstThetaBin", theta, r) && ok;
    ok = p.writeString(kGlobal, "VstDeltaBin", delta, r) && ok;
    ok = p.writeString(kGlobal, "VstZmaxBin", zmax, r) && ok;
    ok = p.writeBool(kGlobal, "BlizkeZdroje", nearbySources, r) && ok;
    ok = p.writeString(kGlobal, "VstPopisTxt", clusters, r) && ok;
    ok = p.writeInt(kGlobal, "TypVypoctu", dust ? 1 : 0, r) && ok;
    ok = p.writeInt(kDaily, "PoziceLatky", substancePosition, r) && ok;
    ok = p.writeInt(kDaily, "TridaStability", stabilityChoice, r) && ok;
    ok = p.writeString(kDaily, "RychlostVetru", cformat("%lf", speed), r) && ok;
    ok = p.writeString(kDaily, "SmerVetru", cformat("%lf", direction), r) && ok;
    ok = p.writeInt(kDaily, "TridaLatky", substanceClass, r) && ok;
    return p.writeString(kDaily, "VystDbf", output, r) && ok;
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
