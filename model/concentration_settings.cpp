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
    // One failed write is reported once by the settings file; stop at the first.
    return p.writeString(kGlobal, "VstReferBodBin", points, r) && p.writeString(kGlobal, "VstZdrojBodBin", sources, r) &&
           p.writeString(kGlobal, "VstThetaBin", theta, r) && p.writeString(kGlobal, "VstDeltaBin", delta, r) &&
           p.writeString(kGlobal, "VstZmaxBin", zmax, r) && p.writeString(kGlobal, "VstRuziceTxt", windRose, r) &&
           p.writeBool(kGlobal, "BlizkeZdroje", nearbySources, r) && p.writeString(kGlobal, "VstPopisTxt", clusters, r) &&
           p.writeInt(kGlobal, "ZpusobVypoctu", maximum ? 1 : 0, r) && p.writeInt(kGlobal, "TypVypoctu", dust ? 1 : 0, r) &&
           p.writeInt(kAnnual, "PoziceLatky", substancePosition, r) &&
           p.writeDouble(kAnnual, "OtoceniRuzice", rotation, r) && p.writeBool(kAnnual, "OtoceniRuziceVlevo", rotateLeft, r) &&
           p.writeInt(kAnnual, "TridaLatky", substanceClass, r) && p.writeInt(kAnnual, "KrokVypoctu", stepChoice, r) &&
           p.writeDouble(kAnnual, "KrokVypoctuVlastni", customStep, r) &&
           p.writeDouble(kAnnual, kLimitKeys[0], limits[0], r) && p.writeDouble(kAnnual, kLimitKeys[1], limits[1], r) &&
           p.writeDouble(kAnnual, kLimitKeys[2], limits[2], r) && p.writeString(kAnnual, "VystDbf", output, r) &&
           p.writeString(kAnnual, "VystDbfPodily", groupOutput, r) &&
           p.writeBool(kAnnual, "PodilySkupinZdroju", groupShares, r) &&
           p.writeBool(kAnnual, "VolnaAtmosfera", freeAtmosphere, r) && p.writeBool(kAnnual, "SpustMinim", minimized, r);
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
