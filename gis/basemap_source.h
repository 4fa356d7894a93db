#pragma once
// The map's background read for one view: a raster file or a tile or map service (see
// basemap_service.h), resampled into the study's system over the view's extent at the view's
// pixels, so that neither a large raster nor a service is ever read whole.
#include <string>
#include <vector>

#include "common/outcome.h"
#include "common/reporter.h"
#include "map_inputs.h"

namespace ovd {

// The seconds a service request may take before the background is given up.
inline constexpr int kBasemapTimeoutSeconds = 5;

struct BasemapRequest {
    std::string source;                             // "Mapa" "VstRastr" or ovardix-cli map --basemap
    std::string cacheFolder;                        // where a service's tiles are kept; empty: not kept
    std::string studySystem;                        // empty: a file is taken in its own system, a service refused
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;  // the view's extent in the study's system
    int width = 0, height = 0;                      // and its pixels
    int timeoutSeconds = kBasemapTimeoutSeconds;
};

// Whether the source names a service rather than a file.
bool isBasemapService(const std::string& source);

// The view's pixels, transparent where the source has none. A source that cannot be read or a
// service that does not answer is one problem naming it and why; what does not stop the
// reading (a cache folder that cannot be made) goes to `notes`. The reporter's cancel stops
// the reading between requests.
Outcome<BackgroundPixels> readBasemap(const BasemapRequest&, Reporter&, std::vector<std::string>& notes);

}  // namespace ovd
