#include "map_inputs.h"

#include <gdal_priv.h>
#include <gdalwarper.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "gdal_dataset.h"
#include "gdal_session.h"
#include "spatial_reference.h"

namespace ovd {

namespace {

Problem backgroundProblem(const std::string& path, const std::string& why, GdalMessages& messages)
{
    return Problem::error(withGdalDetail("Soubor " + path + " nelze použít jako podklad mapy: " + why, messages));
}

// One band read into bytes at the buffer's size; other types stretched from their range.
bool readBand(GDALRasterBand* band, int width, int height, std::vector<std::uint8_t>& out)
{
    out.assign(static_cast<std::size_t>(width) * height, 0);
    if (band->GetRasterDataType() == GDT_Byte)
        return band->RasterIO(GF_Read, 0, 0, band->GetXSize(), band->GetYSize(), out.data(), width, height, GDT_Byte, 0,
                              0, nullptr) == CE_None;
    std::vector<double> values(out.size());
    if (band->RasterIO(GF_Read, 0, 0, band->GetXSize(), band->GetYSize(), values.data(), width, height, GDT_Float64, 0,
                       0, nullptr) != CE_None)
        return false;
    int hasNoData = 0;
    double noData = band->GetNoDataValue(&hasNoData);
    double lo = INFINITY, hi = -INFINITY;
    for (double v : values)
        if (std::isfinite(v) && !(hasNoData && v == noData)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    double span = hi > lo ? hi - lo : 1;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (std::isfinite(values[i]) && lo <= hi)
            out[i] = static_cast<std::uint8_t>(std::clamp((values[i] - lo) / span * 255.0, 0.0, 255.0));
    return true;
}

}  // namespace

Outcome<BackgroundPixels> readBackgroundRaster(const std::string& path, const std::string& studySystem, int maxSide)
{
    initGdal();
    GdalMessages messages;
    // Pictures are warped as GDAL chooses by default (no no-data handling of their own).
    auto warp = [](GDALDataset* source, const OGRSpatialReference&, const OGRSpatialReference& to) {
        char* toWkt = nullptr;
        to.exportToWkt(&toWkt);
        GDALDatasetH warped = GDALAutoCreateWarpedVRT(source, nullptr, toWkt, GRA_Bilinear, 0.0, nullptr);
        CPLFree(toWkt);
        return GDALDataset::FromHandle(warped);
    };
    Outcome<RasterView> opened = openRasterView(path, studySystem, warp, [&](const std::string& why) {
        return backgroundProblem(path, why, messages);
    });
    if (!opened)
        return opened.problem();
    GDALDataset* view = opened->view();
    const double* gt = opened->geo;
    const int cols = view->GetRasterXSize(), rows = view->GetRasterYSize();
    BackgroundPixels p;
    double reduce = std::max(1.0, static_cast<double>(std::max(cols, rows)) / std::max(1, maxSide));
    p.width = std::max(1, static_cast<int>(cols / reduce));
    p.height = std::max(1, static_cast<int>(rows / reduce));
    double x0 = gt[0], x1 = gt[0] + gt[1] * cols, y0 = gt[3], y1 = gt[3] + gt[5] * rows;
    p.xmin = std::min(x0, x1);
    p.xmax = std::max(x0, x1);
    p.ymin = std::min(y0, y1);
    p.ymax = std::max(y0, y1);
    const int bands = view->GetRasterCount();
    std::vector<std::uint8_t> channel[4];
    bool colour = bands >= 3;
    for (int b = 0; b < (colour ? std::min(bands, 4) : 1); ++b)
        if (!readBand(view->GetRasterBand(b + 1), p.width, p.height, channel[b]))
            return backgroundProblem(path, "jeho hodnoty nelze načíst.", messages);
    p.argb.resize(static_cast<std::size_t>(p.width) * p.height);
    for (std::size_t i = 0; i < p.argb.size(); ++i) {
        std::uint32_t r = channel[0][i], g = colour ? channel[1][i] : r, b = colour ? channel[2][i] : r;
        std::uint32_t a = bands >= 4 ? channel[3][i] : 255;
        p.argb[i] = a << 24 | r << 16 | g << 8 | b;
    }
    // Rows run north to south whatever the file's own order.
    if (gt[5] > 0)
        for (int r = 0; r < p.height / 2; ++r)
            std::swap_ranges(p.argb.begin() + static_cast<long>(r) * p.width,
                             p.argb.begin() + static_cast<long>(r + 1) * p.width,
                             p.argb.begin() + static_cast<long>(p.height - 1 - r) * p.width);
    return p;
}

std::string studySystemLabel(const std::string& definition)
{
    Outcome<std::string> name = systemName(definition);
    return name && !name->empty() ? definition + " (" + *name + ")" : definition;
}

}  // namespace ovd
