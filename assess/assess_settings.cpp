#include "assess_settings.h"

#include "common/gis_services.h"
#include "common/paths.h"
#include "common/text.h"

namespace ovd {

const std::vector<Param<AssessSettings>> AssessSettings::kParams = declare<Self>({
    inSection(section::kAssessment,
              {key("VstDbf", &Self::input), key("Sloupec", &Self::column), key("Pozadi", &Self::background),
               key("SloupecPozadi", &Self::backgroundColumn), key("Interpolace", &Self::bilinear),
               key("PozadiMimo", &Self::fill), key("Latka", &Self::pollutant), key("Limit", &Self::limit),
               key("SloupecHodin", &Self::hoursColumn), key("PovolenoHodin", &Self::allowedHours),
               key("Limity", &Self::limits), key("VystDbf", &Self::output)}),
    inSection(section::kGlobal, {key(kStudySystemKey, &Self::coordinateSystem).readOnly()}),
});

const std::vector<Param<CompareSettings>> CompareSettings::kParams = declare<Self>({
    inSection(section::kVariants,
              {key("VstZaklad", &Self::base), key("VstVarianta", &Self::variant), key("Sloupec", &Self::column),
               key("Prah", &Self::threshold), key("VystDbf", &Self::output)}),
});

namespace {
bool endsWithDbf(const std::string& path)
{
    return path.size() > 4 && path[path.size() - 4] == '.' &&
        (path.compare(path.size() - 3, 3, "dbf") == 0 || path.compare(path.size() - 3, 3, "DBF") == 0);
}
}  // namespace

std::string assessOutputPath(const std::string& output, const std::string& input, const char* suffix)
{
    if (!output.empty() || input.empty())
        return output;
    return (endsWithDbf(input) ? input.substr(0, input.size() - 4) : input) + suffix + ".dbf";
}

std::string assessLogPath(const std::string& table)
{
    return endsWithDbf(table) ? derivedName(table, "vst") : table + ".vst";
}

}  // namespace ovd
