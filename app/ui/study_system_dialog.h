#pragma once
// "Souřadnicový systém studie…": the study's coordinate system, chosen from a short list or
// written as any definition GDAL accepts, checked before it is stored in the project.
#include "common/gis_services.h"
#include "common/project.h"

class QWidget;

namespace ovd {
class Reporter;
}

namespace ovd::mainui {

// The systems offered first: the national grid, UTM 33N, WGS 84.
inline constexpr const char* kOfferedSystems[] = {"EPSG:5514", "EPSG:32633", "EPSG:4326"};
// What a new project of the main program starts with.
inline constexpr const char* kNewProjectSystem = "EPSG:5514";

// Shows the dialog; true when the user stored a (checked) system or cleared it.
bool editStudySystem(Project&, const GisServices*, Reporter&, QWidget* parent);

}  // namespace ovd::mainui
