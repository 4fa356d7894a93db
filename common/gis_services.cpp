#include "gis_services.h"

namespace ovd {

const std::vector<Param<StudySystemSettings>> StudySystemSettings::kParams =
    declare<Self>({inSection(section::kGlobal, {key(kStudySystemKey, &Self::definition)})});

Problem noGisServicesProblem()
{
    return Problem::error("Souřadnicový systém studie nelze zpracovat: program nemá k dispozici knihovnu GIS.");
}

std::optional<Problem> checkStudySystem(const GisServices* s, const std::string& definition)
{
    return s ? s->checkSystem(definition) : std::optional<Problem>(noGisServicesProblem());
}

Outcome<std::string> studyPrjText(const GisServices* s, const std::string& definition)
{
    return s ? s->prjText(definition) : Outcome<std::string>(noGisServicesProblem());
}

Outcome<std::string> studyMapInfoCoordSys(const GisServices* s, const std::string& definition)
{
    return s ? s->mapInfoCoordSys(definition) : Outcome<std::string>(noGisServicesProblem());
}

}  // namespace ovd
