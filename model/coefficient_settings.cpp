#include "coefficient_settings.h"

#include "common/paths.h"

namespace ovd {

std::span<const Param<CoefficientSettings>> CoefficientSettings::params()
{
    using S = CoefficientSettings;
    static const auto kParams = declare<S>({
        inSection(section::kGlobal,
                  {key("VstVyskoBin", &S::terrain), key("VstReferBodBin", &S::points),
                   key("VstZdrojBodBin", &S::sources), key("VstThetaBin", &S::theta), key("VstDeltaBin", &S::delta),
                   key("VstZmaxBin", &S::zmax), key("TypVypoctu", &S::dust).readOnly()}),
        inSection(section::kCoefficients,
                  {key("VzdalenostBodu", &S::step), key("PouzijInterpolaci", &S::interpolate),
                   key("PouzijStandardSoubory", &S::standardFiles)}),
    });
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
