#include "height_raster.h"

#include <cpl_conv.h>
#include <gdal_priv.h>
#include <gdalwarper.h>

#include <cmath>

#include "common/numbers.h"
#include "gdal_dataset.h"
#include "gdal_services.h"
#include "gdal_session.h"
#include "spatial_reference.h"

namespace ovd {

namespace {

// The largest matrix converted from a raster: the runs map the whole matrix, and a raster's
// header can claim any size (2^28 cells are 512 MB of 16-bit or 2 GB of real elements).
constexpr std::int64_t kMaxRasterTerrainCells = std::int64_t{1} << 28;
constexpr std::int32_t kMaxRasterTerrainSide = 1 << 20;

class GdalHeightRaster : public HeightRaster {
public:
    const RasterGeometry& geometry() const override { return m_geometry; }

    std::optional<Problem> readRow(std::int32_t row, std::vector<double>& values) override
    {
        GdalMessages messages;
        values.resize(static_cast<std::size_t>(m_geometry.ncols));
        int line = m_southFirst ? m_geometry.nrows - 1 - row : row;
        if (m_band->RasterIO(GF_Read, 0, line, m_geometry.ncols, 1, values.data(), m_geometry.ncols, 1, GDT_Float64, 0,
                             0, nullptr) != CE_None)
            return Problem::error(withGdalDetail(
                cformat("Z rastru %s nelze načíst řádek %d!", m_path.c_str(), static_cast<int>(row) + 1), messages));
        return std::nullopt;
    }

    std::string m_path;
    RasterView m_raster;
    GDALRasterBand* m_band = nullptr;
    RasterGeometry m_geometry;
    bool m_southFirst = false;
};

Problem rasterProblem(const std::string& path, const std::string& why, GdalMessages& messages)
{
    return Problem::error(withGdalDetail("Soubor " + path + " nelze použít jako rastr s výškopisem: " + why, messages));
}

// A bilinear view of `source` in `target`; cells the raster does not cover get its no-data
// value (or kRasterDefaultNoData).
GDALDataset* warpedView(GDALDataset* source, const OGRSpatialReference& from, const OGRSpatialReference& to)
{
    char* fromWkt = nullptr;
    char* toWkt = nullptr;
    from.exportToWkt(&fromWkt);
    to.exportToWkt(&toWkt);
    int hasNoData = 0;
    double noData = source->GetRasterBand(1)->GetNoDataValue(&hasNoData);
    GDALWarpOptions* options = GDALCreateWarpOptions();
    options->nBandCount = 1;
    options->panSrcBands = static_cast<int*>(CPLMalloc(sizeof(int)));
    options->panDstBands = static_cast<int*>(CPLMalloc(sizeof(int)));
    options->panSrcBands[0] = options->panDstBands[0] = 1;
    if (hasNoData) {
        options->padfSrcNoDataReal = static_cast<double*>(CPLMalloc(sizeof(double)));
        options->padfSrcNoDataReal[0] = noData;
    }
    options->padfDstNoDataReal = static_cast<double*>(CPLMalloc(sizeof(double)));
    options->padfDstNoDataReal[0] = hasNoData ? noData : kRasterDefaultNoData;
    options->papszWarpOptions = CSLSetNameValue(options->papszWarpOptions, "INIT_DEST", "NO_DATA");
    GDALDatasetH warped = GDALAutoCreateWarpedVRT(source, fromWkt, toWkt, GRA_Bilinear, 0.0, options);
    GDALDestroyWarpOptions(options);
    CPLFree(fromWkt);
    CPLFree(toWkt);
    if (warped)
        GDALDataset::FromHandle(warped)->GetRasterBand(1)->SetNoDataValue(hasNoData ? noData : kRasterDefaultNoData);
    return GDALDataset::FromHandle(warped);
}

// "EPSG:32633 (WGS 84 / UTM zone 33N)", or the name alone.
std::string describeSystem(const OGRSpatialReference& srs)
{
    const char* authority = srs.GetAuthorityName(nullptr);
    const char* code = srs.GetAuthorityCode(nullptr);
    const char* name = srs.GetName();
    std::string text = authority && code ? std::string(authority) + ":" + code : std::string();
    if (name && *name)
        text += text.empty() ? std::string(name) : " (" + std::string(name) + ")";
    return text.empty() ? "bez jména" : text;
}

std::optional<std::string> tooLarge(std::int64_t cols, std::int64_t rows)
{
    if (cols <= kMaxRasterTerrainSide && rows <= kMaxRasterTerrainSide && cols * rows <= kMaxRasterTerrainCells)
        return std::nullopt;
    return cformat("má %lld x %lld buněk, matice výškopisu jich pojme nejvýše %lld (nejvýše %d v řádku i ve "
                   "sloupci).",
                   static_cast<long long>(cols), static_cast<long long>(rows),
                   static_cast<long long>(kMaxRasterTerrainCells), kMaxRasterTerrainSide);
}

}  // namespace

Outcome<std::unique_ptr<HeightRaster>> openGdalHeightRaster(const std::string& path, const std::string& studySystem)
{
    initGdal();
    GdalMessages messages;
    auto raster = std::make_unique<GdalHeightRaster>();
    raster->m_path = path;
    Outcome<RasterView> opened = openRasterView(path, studySystem, warpedView, [&](const std::string& why) {
        return rasterProblem(path, why, messages);
    });
    if (!opened)
        return opened.problem();
    raster->m_raster = std::move(*opened);
    GDALDataset* source = raster->m_raster.source.get();
    if (studySystem.empty() && source->GetSpatialRef())
        return rasterProblem(path,
                             "je v souřadnicovém systému " + describeSystem(*source->GetSpatialRef()) +
                                 ", studie však souřadnicový systém nemá (klíč SouradnicovySystem v sekci Global).",
                             messages);
    GDALDataset* view = raster->m_raster.view();
    // From the header alone, before a row is read: a claimed size is not allocated.
    for (GDALDataset* d : {source, view})
        if (std::optional<std::string> why = tooLarge(d->GetRasterXSize(), d->GetRasterYSize()))
            return rasterProblem(path, *why, messages);
    const double* gt = raster->m_raster.geo;
    double cell = gt[1];
    if (!(cell > 0) || std::fabs(std::fabs(gt[5]) - cell) > 1e-9 * cell)
        return rasterProblem(path,
                             cformat("buňky nejsou čtvercové (%g x %g m); matice výškopisu má jednu velikost buňky.",
                                     gt[1], std::fabs(gt[5])),
                             messages);
    RasterGeometry& g = raster->m_geometry;
    g.ncols = view->GetRasterXSize();
    g.nrows = view->GetRasterYSize();
    g.cellSize = cell;
    g.xOrigin = gt[0];
    raster->m_southFirst = gt[5] > 0;
    g.yOrigin = raster->m_southFirst ? gt[3] : gt[3] + gt[5] * g.nrows;
    raster->m_band = view->GetRasterBand(1);
    int hasNoData = 0;
    double noData = raster->m_band->GetNoDataValue(&hasNoData);
    // A non-finite no-data (NaN) marks cells no number equals: the matrix gets its own value.
    if (hasNoData && std::isfinite(noData))
        g.noData = noData;
    return std::unique_ptr<HeightRaster>(std::move(raster));
}

}  // namespace ovd
