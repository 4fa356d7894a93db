#pragma once
// The annual mean each point would have with the emissions of some source groups changed,
// from an annual result table and its group-shares table, without a new run: the annual mean
// is linear in the emissions. Maxima and exceedance hours are not linear and are not touched.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/dbf_reader.h"
#include "common/dbf_writer.h"
#include "common/outcome.h"
#include "common/output_paths.h"
#include "common/parameters.h"
#include "common/tool.h"

namespace ovd {

struct ScaleGroupsSettings {
    std::string shares;   // "ZmenaEmisi" "VstDbfPodily": the group-shares table of the annual run
    std::string table;    // "VstDbf": its annual result table
    std::string factors;  // "Faktory": "GROUP=F;GROUP=F", a group by its number or its field name
    std::string output;   // "VystDbf"

    using Self = ScaleGroupsSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code
};

// The run log written beside the output.
inline constexpr const char* kScaleGroupsLogName = "prub_emi.tmp";

struct GroupFactor {
    long group = 0;  // the number in the GR_ field name
    double factor = 1;
};

// "2=0;GR_000012=1,5": each group once, each factor a number >= 0 (a decimal comma reads as
// the point). The problem names the first entry that is wrong.
Outcome<std::vector<GroupFactor>> parseGroupFactors(std::string_view text);

struct ScaledPoint {
    std::string first;  // the text of the result table's first field (the point number)
    double x = 0, y = 0, z = 0, l = 0;
    double original = 0, scaled = 0;
};

// PUVODNI * (sum f_g * s_g + (100 - sum s_g)) / 100 for every point, held as PUVODNI +
// PUVODNI * sum (f_g - 1) * s_g / 100 so that factors of 1 give PUVODNI exactly. The problem
// names the first mismatch: tables of different studies, shares not of this annual table, a
// group the shares table does not have. The paths only name the files in the messages.
Outcome<std::vector<ScaledPoint>> scaleGroupMeans(const DbfTable& result, const std::string& resultPath,
                                                  const DbfTable& shares, const std::string& sharesPath,
                                                  const std::vector<GroupFactor>& factors);

// The output table: the result table's first field as it was, X_COORD .. L_ELEV, PUVODNI,
// UPRAVENA and ROZDIL = UPRAVENA - PUVODNI (all 15.6).
std::vector<DbfField> scaledTableFields(const DbfFieldInfo& first);
std::string scaledTableBytes(const DbfFieldInfo& first, const std::vector<ScaledPoint>&, DbfDate);

struct ScaleGroupsSummary {
    std::size_t points = 0;
    double lowestChange = 0, highestChange = 0;  // of ROZDIL
};

// The tool: reads both tables, writes the output and its run log together (nothing when it
// fails). `protect` are files no output may name (the project, the profile).
ToolStatus scaleGroups(const ScaleGroupsSettings&, const std::vector<NamedPath>& protect, const RunContext&,
                       ScaleGroupsSummary* summary = nullptr);

}  // namespace ovd
