#include "gis_services.h"

#include <atomic>

namespace ovd {

namespace {
std::atomic<const GisServices*> g_services{nullptr};
}

const std::vector<Param<StudySystemSettings>> StudySystemSettings::kParams =
    declare<Self>({inSection(section::kGlobal, {key(kStudySystemKey, &Self::definition)})});

void setGisServices(const GisServices* services)
{
    g_services.store(services);
}

const GisServices* gisServices()
{
    return g_services.load();
}

Problem noGisServicesProblem()
{
    return Problem::error("Souřadnicový systém studie nelze zpracovat: program nemá k dispozici knihovnu GIS.");
}

std::optional<Problem> checkStudySystem(const std::string& definition)
{
    const GisServices* s = gisServices();
    return s ? s->checkSystem(definition) : std::optional<Problem>(noGisServicesProblem());
}

Outcome<std::string> studyPrjText(const std::string& definition)
{
    const GisServices* s = gisServices();
    return s ? s->prjText(definition) : Outcome<std::string>(noGisServicesProblem());
}

Outcome<std::string> studyMapInfoCoordSys(const std::string& definition)
{
    const GisServices* s = gisServices();
    return s ? s->mapInfoCoordSys(definition) : Outcome<std::string>(noGisServicesProblem());
}

}  // namespace ovd
