#include "projection_file.h"

#include "common/gis_services.h"
#include "common/paths.h"
#include "common/platform.h"

#include <cerrno>
#include <cstdio>

namespace ovd {

std::string projectionPathFor(const std::string& shp)
{
    return derivedName(shp, "prj");
}

std::optional<Problem> writeProjectionFile(const GisServices* gis, const std::string& system, const std::string& shp,
                                           AtomicOutput& out)
{
    if (system.empty())
        return std::nullopt;
    Outcome<std::string> text = studyPrjText(gis, system);
    if (!text)
        return text.problem();
    const std::string path = projectionPathFor(shp);
    if (!out.open(path) || !out.write(*text))
        return Problem::error("Výstupní PRJ soubor " + path + " se nepodařilo zapsat!");
    return std::nullopt;
}

void addProjectionFile(std::vector<AtomicOutput*>& files, AtomicOutput& prj)
{
    if (prj.isOpen())
        files.push_back(&prj);
}

bool removeStaleProjectionFile(const std::string& system, const std::string& shp, Reporter& r)
{
    const std::string path = projectionPathFor(shp);
    if (!system.empty() || !isRegularFile(path) || removeFile(path) || errno == ENOENT)
        return true;
    r.warning("Soubor " + path +
              " patří k dřívějšímu exportu se souřadnicovým systémem, který studie už nemá, a nepodařilo se jej "
              "smazat. Smažte jej, jinak GIS umístí nové tvary do starého systému.");
    return false;
}

}  // namespace ovd
