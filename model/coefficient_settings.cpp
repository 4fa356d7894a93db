#include "coefficient_settings.h"

#include "common/paths.h"

namespace ovd {

namespace {
constexpr std::string_view kGlobal = "Global";
constexpr std::string_view kSection = "Koeficienty";
}  // namespace

std::span<const Param<CoefficientSettings>> CoefficientSettings::params()
{
    using S = CoefficientSettings;
    static const Param<S> kParams[] = {
        param(kGlobal, "VstVyskoBin", &S::terrain),
        param(kGlobal, "VstReferBodBin", &S::points),
        param(kGlobal, "VstZdrojBodBin", &S::sources),
        param(kGlobal, "VstThetaBin", &S::theta),
        param(kGlobal, "VstDeltaBin", &S::delta),
        param(kGlobal, "VstZmaxBin", &S::zmax),
        param(kGlobal, "TypVypoctu", &S::dust).readOnly(),
        param(kSection, "VzdalenostBodu", &S::step),
        param(kSection, "PouzijInterpolaci", &S::interpolate),
        param(kSection, "PouzijStandardSoubory", &S::standardFiles),
    };
    return kParams;
}

void CoefficientSettings::deriveOutputNames()
{
    std::string folder = folderOf(sources);
    theta = folder + "theta.bin";
    delta = folder + "delta.bin";
    zmax = folder + "zmax.bin";
}

}  // namespace ovd
