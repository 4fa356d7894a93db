#include "model/concentration_settings.h"

namespace ovd {

namespace {

constexpr std::string_view kGlobal = "Global";
constexpr std::string_view kAnnual = "VypocetRocni";
constexpr const char* kLimitKeys[3] = {"KoncDobyPrek1", "KoncDobyPrek2", "KoncDobyPrek3"};

}  // namespace

ConcentrationSettings ConcentrationSettings::load(const Project& p)
{
    ConcentrationSettings s;
    s.points = p.readString(kGlobal, "VstReferBodBin");
    s.sources = p.readString(kGlobal, "VstZdrojBodBin");
    s.theta = p.readString(kGlobal, "VstThetaBin");
    s.delta = p.readString(kGlobal, "VstDeltaBin");
    s.zmax = p.readString(kGlobal, "VstZmaxBin");
    s.windRose = p.readString(kGlobal, "VstRuziceTxt");
    s.nearbySources = p.readInt(kGlobal, "BlizkeZdroje", 0) == 1;
    s.clusters = p.readString(kGlobal, "VstPopisTxt");
    s.maximum = p.readInt(kGlobal, "ZpusobVypoctu", 0) == 1;
    s.dust = p.readInt(kGlobal, "TypVypoctu", 0) == 1;
    s.substancePosition = p.readInt(kAnnual, "PoziceLatky", 0);
    s.rotation = p.readDouble(kAnnual, "OtoceniRuzice", 0.0);
    s.rotateLeft = p.readInt(kAnnual, "OtoceniRuziceVlevo", 0) == 1;
    s.substanceClass = p.readInt(kAnnual, "TridaLatky", 0);
    s.stepChoice = p.readInt(kAnnual, "KrokVypoctu", 1);
    s.customStep = p.readDouble(kAnnual, "KrokVypoctuVlastni", 0.0);
    for (int m = 0; m < 3; ++m)
        s.limits[static_cast<std::size_t>(m)] = p.readDouble(kAnnual, kLimitKeys[m], 0.0);
    s.output = p.readString(kAnnual, "VystDbf");
    s.groupOutput = p.readString(kAnnual, "VystDbfPodily");
    s.groupShares = p.readInt(kAnnual, "PodilySkupinZdroju", 0) == 1;
    s.freeAtmosphere = p.readInt(kAnnual, "VolnaAtmosfera", 0) == 1;
    s.minimized = p.readInt(kAnnual, "SpustMinim", 0) == 1;
    return s;
}

bool ConcentrationSettings::save(Project& p, Reporter& r) const
{
    // Every key is tried: each failed write is reported once by the settings file.
    bool ok = p.writeString(kGlobal, "VstReferBodBin", points, r);
    ok = p.writeString(kGlobal, "VstZdrojBodBin", sources, r) && ok;
    ok = p.writeString(kGlobal, "VstThetaBin", theta, r) && ok;
    ok = p.writeString(kGlobal, "VstDeltaBin", delta, r) && ok;
    ok = p.writeString(kGlobal, "VstZmaxBin", zmax, r) && ok;
    ok = p.writeString(kGlobal, "VstRuziceTxt", windRose, r) && ok;
    ok = p.writeBool(kGlobal, "BlizkeZdroje", nearbySources, r) && ok;
    ok = p.writeString(kGlobal, "VstPopisTxt", clusters, r) && ok;
    ok = p.writeInt(kGlobal, "ZpusobVypoctu", maximum ? 1 : 0, r) && ok;
    ok = p.writeInt(kGlobal, "TypVypoctu", dust ? 1 : 0, r) && ok;
    ok = p.writeInt(kAnnual, "PoziceLatky", substancePosition, r) && ok;
    ok = p.writeDouble(kAnnual, "OtoceniRuzice", rotation, r) && ok;
    ok = p.writeBool(kAnnual, "OtoceniRuziceVlevo", rotateLeft, r) && ok;
    ok = p.writeInt(kAnnual, "TridaLatky", substanceClass, r) && ok;
    ok = p.writeInt(kAnnual, "KrokVypoctu", stepChoice, r) && ok;
    ok = p.writeDouble(kAnnual, "KrokVypoctuVlastni", customStep, r) && ok;
    for (int m = 0; m < 3; ++m)
        ok = p.writeDouble(kAnnual, kLimitKeys[m], limits[static_cast<std::size_t>(m)], r) && ok;
    ok = p.writeString(kAnnual, "VystDbf", output, r) && ok;
    ok = p.writeString(kAnnual, "VystDbfPodily", groupOutput, r) && ok;
    ok = p.writeBool(kAnnual, "PodilySkupinZdroju", groupShares, r) && ok;
    ok = p.writeBool(kAnnual, "VolnaAtmosfera", freeAtmosphere, r) && ok;
    return p.writeBool(kAnnual, "SpustMinim", minimized, r) && ok;
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
