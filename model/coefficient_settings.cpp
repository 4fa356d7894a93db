#include "coefficient_settings.h"

#include "common/paths.h"

namespace ovd {

const std::vector<Param<CoefficientSettings>> CoefficientSettings::kParams = declare<Self>({
    inSection(section::kGlobal,
              {key("VstVyskoBin", &Self::terrain), key("VstReferBodBin", &Self::points),
               key("VstZdrojBodBin", &Self::sources), key("VstThetaBin", &Self::theta),
               key("VstDeltaBin", &Self::delta), key("VstZmaxBin", &Self::zmax),
               key("TypVypoctu", &Self::dust).readOnly()}),
    inSection(section::kCoefficients,
              {key("VzdalenostBodu", &Self::step), key("PouzijInterpolaci", &Self::interpolate),
               key("PouzijStandardSoubory", &Self::standardFiles)}),
});

void CoefficientSettings::deriveOutputNames()
{
    std::string folder = folderOf(sources);
    theta = folder + "theta.bin";
    delta = folder + "delta.bin";
    zmax = folder + "zmax.bin";
}

}  // namespace ovd
