#pragma once
// The tool "Výpočet denních koncentrací znečišťujících látek": reads the binary inputs, the
// matrices and the clusters, computes the daily concentrations of the gas or dust variant
// and writes the daily result table, the source table and the protocol (only when the run
// is complete) and the run log "prub_den.tmp" (as the run goes).
#include "common/tool.h"
#include "model/daily_settings.h"

namespace ovd {

ToolStatus computeDailyConcentrations(const DailySettings&, const RunContext&);

}  // namespace ovd
