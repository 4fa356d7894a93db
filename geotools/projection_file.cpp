#include "projection_file.h"

#include "common/gis_services.h"
#include "common/paths.h"

namespace ovd {

std::string projectionPathFor(const std::string& shp)
{
    return derivedName(shp, "prj");
}

std::optional<Problem> writeProjectionFile(const std::string& system, const std::string& shp, AtomicOutput& out)
{
    if (system.empty())
        return std::nullopt;
    Outcome<std::string> text = studyPrjText(system);
    if (!text)
        return text.problem();
    const std::string path = projectionPathFor(shp);
    if (!out.open(path) || !out.write(*text))
        return Problem::error("Výstupní PRJ soubor " + path + " se nepodařilo zapsat !");
    return std::nullopt;
}

void addProjectionFile(std::vector<AtomicOutput*>& files, AtomicOutput& prj)
{
    if (prj.isOpen())
        files.push_back(&prj);
}

}  // namespace ovd
