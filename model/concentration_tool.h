#pragma once
// The tool "Výpočet ročních a maximálních koncentrací znečištujících látek" for gases and
// dust (by the settings' `dust`): reads the binary inputs, the matrices, the wind rose and the clusters, runs the
// engine and writes the result table, the source table, the group shares, the protocol and the run log. Tables and the
// protocol appear only when the run is complete; the run log is written as the run goes. A checkpoint beside the result
// table lets a run that did not finish continue; an unattended run never resumes one.
#include <array>
#include <string_view>

#include "common/tool.h"
#include "model/concentration_settings.h"

namespace ovd {

// `speeds`: the profile's wind speeds of the speed classes. `threads` 0 uses every core.
// `width` names the engine's vector width (as OVARDIX_VECTOR_WIDTH does); empty: the variable's.
ToolStatus computeConcentrations(const ConcentrationSettings&, const std::array<double, 3>& speeds, const RunContext&,
                                 unsigned threads = 0, std::string_view width = {});

}  // namespace ovd
