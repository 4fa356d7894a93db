#pragma once
// The "Global" keys of a study's binary inputs, which the concentration and the daily
// computations read alike, declared once for both.
#include "common/parameters.h"

namespace ovd {

// The keys of S's points, sources, theta, delta and zmax.
template <class S> std::vector<Param<S>> studyInputs()
{
    return inSection(section::kGlobal,
                     {key("VstReferBodBin", &S::points), key("VstZdrojBodBin", &S::sources),
                      key("VstThetaBin", &S::theta), key("VstDeltaBin", &S::delta), key("VstZmaxBin", &S::zmax)});
}

}  // namespace ovd
