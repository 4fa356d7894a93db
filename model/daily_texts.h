#pragma once
// Texts of the daily computation: the run log date line, the closing message and the text
// protocol beside the result table.
#include <string>
#include <vector>

#include "common/dbf_writer.h"
#include "model/concentration_texts.h"
#include "model/daily_computation.h"

namespace ovd {

inline constexpr const char* kDailyTitle = "Výpočet denních koncentrací znečišťujících látek";

// "Dnesni datum" for gases, "Dnešni datum" for dust.
std::string dailyRunLogDateLine(const DbfDate&, bool dust);
std::string dailyDoneMessage(bool dust);

// Input and output files, the weather situation, then one line per point. `files.windRose`
// and `files.groupOutput` are not used.
std::string dailyProtocolText(const std::vector<ReferencePoint>&, const std::vector<double>& concentration,
                              const DailyParameters&, const ProtocolFiles& files);

}  // namespace ovd
