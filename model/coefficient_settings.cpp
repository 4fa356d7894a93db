#include "coefficient_settings.h"

#include "common/paths.h"

namespace ovd {

namespace {
constexpr std::string_view kGlobal = "Global";
constexpr std::string_view kSection = "Koeficienty";
}  // namespace

CoefficientSettings CoefficientSettings::load(const Project& p)
{
    CoefficientSettings s;
    s.terrain = p.readString(kGlobal, "VstVyskoBin");
    s.points = p.readString(kGlobal, "VstReferBodBin");
    s.sources = p.readString(kGlobal, "VstZdrojBodBin");
    s.theta = p.readString(kGlobal, "VstThetaBin");
    s.delta = p.readString(kGlobal, "VstDeltaBin");
    s.zmax = p.readString(kGlobal, "VstZmaxBin");
    s.dust = p.readInt(kGlobal, "TypVypoctu", 0) == 1;
    s.step = p.readInt(kSection, "VzdalenostBodu", 0);
    s.interpolate = p.readInt(kSection, "PouzijInterpolaci", 0) == 1;
    s.standardFiles = p.readInt(kSection, "PouzijStandardSoubory", 0) == 1;
    return s;
}

bool CoefficientSettings::save(Project& p, Reporter& r) const
{
    bool ok = p.writeString(kGlobal, "VstVyskoBin", terrain, r);
    ok = p.writeString(kGlobal, "VstReferBodBin", points, r) && ok;
    ok = p.writeString(kGlobal, "VstZdrojBodBin", sources, r) && ok;
    ok = p.writeString(kGlobal, "VstThetaBin", theta, r) && ok;
    ok = p.writeString(kGlobal, "VstDeltaBin", delta, r) && ok;
    ok = p.writeString(kGlobal, "VstZmaxBin", zmax, r) && ok;
    ok = p.writeInt(kSection, "VzdalenostBodu", step, r) && ok;
    ok = p.writeBool(kSection, "PouzijInterpolaci", interpolate, r) && ok;
    ok = p.writeBool(kSection, "PouzijStandardSoubory", standardFiles, r) && ok;
    return ok;
}

void CoefficientSettings::deriveOutputNames()
{
    std::string folder = folderOf(sources);
    theta = folder + "theta.bin";
    delta = folder + "delta.bin";
    zmax = folder + "zmax.bin";
}

}  // namespace ovd
