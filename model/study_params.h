#pragma once
// The "Global" keys of a study's binary inputs, which the concentration and the daily
// computations read alike, declared once for both.
#include <algorithm>
#include <array>

#include "common/parameters.h"

namespace ovd {

// The keys of S's points, sources, theta, delta and zmax, followed by `own`.
template <class S, std::size_t N> std::array<Param<S>, N + 5> withStudyInputs(const std::array<Param<S>, N>& own)
{
    const std::array<Param<S>, 5> inputs{
        param("Global", "VstReferBodBin", &S::points), param("Global", "VstZdrojBodBin", &S::sources),
        param("Global", "VstThetaBin", &S::theta),     param("Global", "VstDeltaBin", &S::delta),
        param("Global", "VstZmaxBin", &S::zmax),
    };
    std::array<Param<S>, N + 5> all;
    std::copy(inputs.begin(), inputs.end(), all.begin());
    std::copy(own.begin(), own.end(), all.begin() + 5);
    return all;
}

}  // namespace ovd
