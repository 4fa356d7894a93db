#include "study_tables.h"

#include "assess/assess_settings.h"
#include "geotools/scale_groups.h"
#include "model/concentration_settings.h"
#include "model/daily_settings.h"

namespace ovd {

std::vector<NamedTable> studyResultTables(const Project& p)
{
    const auto c = loadSettings<ConcentrationSettings>(p);
    const auto d = loadSettings<DailySettings>(p);
    const auto a = loadSettings<AssessSettings>(p);
    const auto v = loadSettings<CompareSettings>(p);
    const auto g = loadSettings<ScaleGroupsSettings>(p);
    std::vector<NamedTable> out{{c.output, "výstup výpočtu koncentrací"}};
    if (c.groupShares)
        out.push_back({c.groupOutput, "podíly skupin zdrojů"});
    out.push_back({d.output, "výstup výpočtu denní koncentrace"});
    if (!a.input.empty() || !a.output.empty())
        out.push_back({assessOutputPath(a.output, a.input, "_hodnoceni"), "výstup hodnocení imisní zátěže"});
    if (!v.variant.empty() || !v.output.empty())
        out.push_back({assessOutputPath(v.output, v.variant, "_rozdil"), "výstup porovnání variant"});
    out.push_back({g.output, "výstup přepočtu emisí skupin"});
    return out;
}

}  // namespace ovd
