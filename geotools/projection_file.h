#pragma once
// The .prj beside a shapefile: the study's coordinate system in ESRI's text, so that a GIS
// places the shapes without asking. A study without a system gets none.
#include <optional>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/gis_services.h"
#include "common/outcome.h"
#include "common/reporter.h"

namespace ovd {

// The .prj's path: the shapefile's name with its last three characters replaced.
std::string projectionPathFor(const std::string& shp);

// With a system, opens `out` on the .prj and writes the text (not yet published); without
// one, leaves `out` closed. The problem when the system cannot be written or the file not
// created.
std::optional<Problem> writeProjectionFile(const GisServices* gis, const std::string& system, const std::string& shp,
                                           AtomicOutput& out);

// Appends `prj` to a set of files published together when it was opened.
void addProjectionFile(std::vector<AtomicOutput*>& files, AtomicOutput& prj);

// After a set was published without a system: the .prj of an earlier export would place
// the new shapes in a system the study no longer has, so it goes with the old set. False,
// after a warning naming it, when it stays because it cannot be removed.
bool removeStaleProjectionFile(const std::string& system, const std::string& shp, Reporter&);

}  // namespace ovd
