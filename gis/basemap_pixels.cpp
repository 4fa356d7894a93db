#include "basemap_pixels.h"

#include <gdal_alg.h>
#include <gdal_utils.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "spatial_reference.h"

namespace ovd {

namespace {

// Metres of the study per pixel of the view.
double viewResolution(const BasemapRequest& q)
{
    return std::min((q.xmax - q.xmin) / q.width, (q.ymax - q.ymin) / q.height);
}

// One band read into bytes; other types stretched from their range, no-data left 0.
bool readBand(GDALRasterBand* band, int width, int height, std::vector<std::uint8_t>& out)
{
    out.assign(static_cast<std::size_t>(width) * height, 0);
    if (band->GetRasterDataType() == GDT_Byte)
        return band->RasterIO(GF_Read, 0, 0, width, height, out.data(), width, height, GDT_Byte, 0, 0, nullptr) ==
            CE_None;
    std::vector<double> values(out.size());
    if (band->RasterIO(GF_Read, 0, 0, width, height, values.data(), width, height, GDT_Float64, 0, 0, nullptr) !=
        CE_None)
        return false;
    int hasNoData = 0;
    const double noData = band->GetNoDataValue(&hasNoData);
    auto counts = [&](double v) { return std::isfinite(v) && !(hasNoData && v == noData); };
    double lo = INFINITY, hi = -INFINITY;
    for (double v : values)
        if (counts(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    const double span = hi > lo ? hi - lo : 1;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (counts(values[i]))
            out[i] = static_cast<std::uint8_t>(std::clamp((values[i] - lo) / span * 255.0, 0.0, 255.0));
    return true;
}

std::uint32_t paletteColour(const GDALColorTable* palette, std::uint8_t index)
{
    const GDALColorEntry* e = palette->GetColorEntry(index);
    if (!e)
        return 0;
    return static_cast<std::uint32_t>(e->c4) << 24 | static_cast<std::uint32_t>(e->c1) << 16 |
        static_cast<std::uint32_t>(e->c2) << 8 | static_cast<std::uint32_t>(e->c3);
}

OGRSpatialReference xyOrder(const OGRSpatialReference& s)
{
    OGRSpatialReference c(s);
    c.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return c;
}

}  // namespace

int basemapKeepGoing(double, const char*, void* reporter)
{
    return static_cast<Reporter*>(reporter)->cancelled() ? FALSE : TRUE;
}

bool answersAtCentre(GDALDataset* service, const BasemapRequest& q, Reporter& reporter)
{
    const OGRSpatialReference* own = service->GetSpatialRef();
    Outcome<OGRSpatialReference> study = spatialReference(q.studySystem);
    double geo[6], inverse[6];
    if (!own || !study || service->GetGeoTransform(geo) != CE_None || !GDALInvGeoTransform(geo, inverse))
        return true;
    OGRSpatialReference from = xyOrder(*study), to = xyOrder(*own);
    std::unique_ptr<OGRCoordinateTransformation> ct(OGRCreateCoordinateTransformation(&from, &to));
    const double step = viewResolution(q);
    double x[2] = {(q.xmin + q.xmax) / 2, (q.xmin + q.xmax) / 2 + step};
    double y[2] = {(q.ymin + q.ymax) / 2, (q.ymin + q.ymax) / 2};
    if (!ct || !ct->Transform(2, x, y))
        return true;
    double col[2], row[2];
    for (int i = 0; i < 2; ++i)
        GDALApplyGeoTransform(inverse, x[i], y[i], &col[i], &row[i]);
    const int cols = service->GetRasterXSize(), rows = service->GetRasterYSize();
    const double span = std::hypot(col[1] - col[0], row[1] - row[0]);
    const int side = static_cast<int>(std::clamp(span, 1.0, static_cast<double>(std::min(cols, rows))));
    const int c = static_cast<int>(std::clamp(col[0], 0.0, static_cast<double>(cols - side)));
    const int r = static_cast<int>(std::clamp(row[0], 0.0, static_cast<double>(rows - side)));
    std::uint8_t value = 0;
    GDALRasterIOExtraArg extra;
    INIT_RASTERIO_EXTRA_ARG(extra);
    extra.pfnProgress = basemapKeepGoing;
    extra.pProgressData = &reporter;
    return service->GetRasterBand(1)->RasterIO(GF_Read, c, r, side, side, &value, 1, 1, GDT_Byte, 0, 0, &extra) ==
        CE_None;
}

DatasetPtr decimatedView(GDALDataset* raster, const BasemapRequest& q, const std::string& studyWkt)
{
    if (raster->GetRasterBand(1)->GetOverviewCount() > 0)
        return nullptr;
    char** options = nullptr;
    if (!studyWkt.empty() && raster->GetSpatialRef())
        options = CSLSetNameValue(options, "DST_SRS", studyWkt.c_str());
    void* transformer = GDALCreateGenImgProjTransformer2(GDALDataset::ToHandle(raster), nullptr, options);
    CSLDestroy(options);
    if (!transformer)
        return nullptr;
    double geo[6];
    int cols = 0, rows = 0;
    const CPLErr suggested =
        GDALSuggestedWarpOutput(GDALDataset::ToHandle(raster), GDALGenImgProjTransform, transformer, geo, &cols, &rows);
    GDALDestroyGenImgProjTransformer(transformer);
    if (suggested != CE_None || !(geo[1] > 0))
        return nullptr;
    // Cells of the raster per pixel of the view; halved, so that the warp still interpolates.
    const int factor = static_cast<int>(viewResolution(q) / geo[1] / 2);
    if (factor < 2)
        return nullptr;
    const std::string width = std::to_string(std::max(1, raster->GetRasterXSize() / factor));
    const std::string height = std::to_string(std::max(1, raster->GetRasterYSize() / factor));
    const char* argv[] = {"-of", "VRT", "-outsize", width.c_str(), height.c_str(), nullptr};
    GDALTranslateOptions* t = GDALTranslateOptionsNew(const_cast<char**>(argv), nullptr);
    DatasetPtr out(GDALDataset::FromHandle(GDALTranslate("", GDALDataset::ToHandle(raster), t, nullptr)));
    GDALTranslateOptionsFree(t);
    return out;
}

std::optional<std::pair<double, double>> greyRange(GDALDataset* raster)
{
    const int bands = raster->GetRasterCount();
    const bool alpha = bands == 2 && raster->GetRasterBand(2)->GetColorInterpretation() == GCI_AlphaBand;
    GDALRasterBand* grey = raster->GetRasterBand(1);
    if (!(bands == 1 || alpha) || grey->GetRasterDataType() != GDT_Byte || grey->GetColorTable())
        return std::nullopt;
    double range[2] = {0, 0};
    if (grey->ComputeRasterMinMax(TRUE, range) != CE_None || !(range[1] > range[0]))
        return std::nullopt;
    return std::make_pair(range[0], range[1]);
}

Outcome<BackgroundPixels> viewPixels(GDALDataset* view, const GDALColorTable* palette,
                                     std::optional<std::pair<double, double>> grey)
{
    BackgroundPixels p;
    p.width = view->GetRasterXSize();
    p.height = view->GetRasterYSize();
    const int bands = view->GetRasterCount();
    const bool alpha = bands >= 2 && view->GetRasterBand(bands)->GetColorInterpretation() == GCI_AlphaBand;
    const int colours = alpha ? bands - 1 : bands;
    const bool rgb = colours >= 3;
    std::vector<std::uint8_t> channel[4];
    for (int b = 0; b < (rgb ? 3 : 1); ++b)
        if (!readBand(view->GetRasterBand(b + 1), p.width, p.height, channel[b]))
            return Problem::error("jeho hodnoty nelze načíst.");
    if (alpha && !readBand(view->GetRasterBand(bands), p.width, p.height, channel[3]))
        return Problem::error("jeho hodnoty nelze načíst.");
    if (grey && !rgb && !palette)
        for (std::uint8_t& v : channel[0])
            v = static_cast<std::uint8_t>(
                std::lround(std::clamp((v - grey->first) / (grey->second - grey->first), 0.0, 1.0) * 255));
    p.argb.resize(static_cast<std::size_t>(p.width) * p.height);
    for (std::size_t i = 0; i < p.argb.size(); ++i) {
        const std::uint32_t a = alpha ? channel[3][i] : 255;
        std::uint32_t px;
        if (palette && !rgb) {
            px = paletteColour(palette, channel[0][i]);
            px = (px >> 24) * a / 255 << 24 | (px & 0xFFFFFFu);
        } else {
            const std::uint32_t r = channel[0][i], g = rgb ? channel[1][i] : r, b = rgb ? channel[2][i] : r;
            px = a << 24 | r << 16 | g << 8 | b;
        }
        p.argb[i] = px;
    }
    return p;
}

}  // namespace ovd
