#include "gdal_dataset.h"

#include <cmath>

#include "gdal_session.h"
#include "gdal_input_files.h"
#include "spatial_reference.h"

namespace ovd {

Outcome<RasterView> openRasterView(const std::string& path, const std::string& studySystem, const RasterWarp& warp,
                                   const std::function<Problem(const std::string& why)>& problem)
{
    initGdal();
    if (std::optional<std::string> why = unsafeGdalInput(path))
        return problem(*why);
    RasterView r;
    r.source.reset(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    if (!r.source)
        return problem("knihovna GDAL jej nepřečte.");
    if (r.source->GetRasterCount() < 1)
        return problem("neobsahuje žádné pásmo hodnot.");
    const OGRSpatialReference* own = r.source->GetSpatialRef();
    if (!studySystem.empty() && own) {
        Outcome<OGRSpatialReference> study = spatialReference(studySystem);
        if (!study)
            return study.problem();
        if (!own->IsSame(&*study)) {
            r.warped.reset(warp(r.source.get(), *own, *study));
            if (!r.warped)
                return problem("nelze jej převést do souřadnicového systému studie.");
        }
    }
    if (r.view()->GetGeoTransform(r.geo) != CE_None)
        return problem("neobsahuje polohu (souřadnice rohu a velikost buňky).");
    for (double g : r.geo)
        if (!std::isfinite(g))
            return problem("jeho poloha (souřadnice rohu nebo velikost buňky) není konečné číslo.");
    if (r.geo[1] == 0 || r.geo[5] == 0)
        return problem("jeho buňky mají nulovou velikost.");
    if (r.geo[2] != 0 || r.geo[4] != 0)
        return problem("je pootočený vůči osám souřadnic.");
    return r;
}

}  // namespace ovd
