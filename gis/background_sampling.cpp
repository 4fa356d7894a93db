// Background concentrations at the study's points: a raster's cells (or their bilinear
// interpolation) and a polygon layer's attribute, each point transformed into the layer's own
// coordinate system.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>

#include "common/numbers.h"
#include "gdal_dataset.h"
#include "gdal_services.h"
#include "gdal_session.h"
#include "spatial_reference.h"

namespace ovd {

namespace {

Problem backgroundProblem(const std::string& path, const std::string& why, GdalMessages& messages)
{
    return Problem::error(withGdalDetail("Soubor " + path + " nelze použít jako pozadí: " + why, messages));
}

struct TransformCloser {
    void operator()(OGRCoordinateTransformation* t) const { OGRCoordinateTransformation::DestroyCT(t); }
};
using TransformPtr = std::unique_ptr<OGRCoordinateTransformation, TransformCloser>;

// The points in the layer's own system: as given when the layer has no system or the study's;
// refused when the layer has one and the study none.
Outcome<std::vector<std::optional<StudyPoint>>> toLayerSystem(const std::string& path, const OGRSpatialReference* own,
                                                              const std::string& studySystem,
                                                              std::span<const StudyPoint> points,
                                                              GdalMessages& messages)
{
    std::vector<std::optional<StudyPoint>> out(points.begin(), points.end());
    if (!own || own->IsEmpty())
        return out;
    if (studySystem.empty())
        return backgroundProblem(path,
                                 "má vlastní souřadnicový systém a studie žádný nemá. Zadejte souřadnicový systém "
                                 "studie (Global SouradnicovySystem).",
                                 messages);
    Outcome<OGRSpatialReference> study = spatialReference(studySystem);
    if (!study)
        return study.problem();
    OGRSpatialReference layer(*own);
    layer.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (layer.IsSame(&*study))
        return out;
    TransformPtr t(OGRCreateCoordinateTransformation(&*study, &layer));
    if (!t)
        return backgroundProblem(path, "jeho souřadnicový systém nelze převést ze souřadnicového systému studie.",
                                 messages);
    std::vector<double> x(points.size()), y(points.size());
    std::vector<int> ok(points.size(), 0);
    for (std::size_t i = 0; i < points.size(); ++i) {
        x[i] = points[i].x;
        y[i] = points[i].y;
    }
    // A point the transformation cannot carry is outside the layer.
    t->Transform(points.size(), x.data(), y.data(), nullptr, ok.data());
    for (std::size_t i = 0; i < points.size(); ++i)
        out[i] = ok[i] && std::isfinite(x[i]) && std::isfinite(y[i]) ? std::optional<StudyPoint>({x[i], y[i]})
                                                                     : std::nullopt;
    return out;
}

class BandCells {
public:
    explicit BandCells(GDALRasterBand* band)
        : m_band(band)
    {
        int has = 0;
        m_noData = band->GetNoDataValue(&has);
        m_hasNoData = has != 0;
        int hasScale = 0, hasOffset = 0;
        double scale = band->GetScale(&hasScale), offset = band->GetOffset(&hasOffset);
        m_scale = hasScale ? scale : 1;
        m_offset = hasOffset ? offset : 0;
    }

    // The cell's value; none for no-data. False when the band cannot be read.
    bool read(int col, int row, std::optional<double>& value)
    {
        double v = 0;
        if (m_band->RasterIO(GF_Read, col, row, 1, 1, &v, 1, 1, GDT_Float64, 0, 0, nullptr) != CE_None)
            return false;
        value = std::isnan(v) || (m_hasNoData && v == m_noData) ? std::nullopt
                                                                : std::optional<double>(v * m_scale + m_offset);
        return true;
    }

private:
    GDALRasterBand* m_band;
    bool m_hasNoData = false;
    double m_noData = 0;
    double m_scale = 1, m_offset = 0;
};

// Two cells along one axis and the weight of the second: the centres around `p` (in cells from
// the raster's edge), the outermost centre's value kept in the border's half cell.
struct Span1 {
    int first = 0;
    double t = 0;
};
Span1 bilinearSpan(double p, int count)
{
    if (count < 2)
        return {0, 0};
    double f = p - 0.5;
    int first = std::clamp(static_cast<int>(std::floor(f)), 0, count - 2);
    return {first, std::clamp(f - first, 0.0, 1.0)};
}

// Even-odd rule over every ring of a polygon; a point on a ring's edge is inside.
bool ringsHold(const OGRPolygon& polygon, double x, double y)
{
    bool inside = false;
    for (int r = 0; r < polygon.getNumInteriorRings() + 1; ++r) {
        const OGRLinearRing* ring = r == 0 ? polygon.getExteriorRing() : polygon.getInteriorRing(r - 1);
        if (!ring)
            continue;
        const int n = ring->getNumPoints();
        for (int i = 0, j = n - 1; i < n; j = i++) {
            const double xi = ring->getX(i), yi = ring->getY(i), xj = ring->getX(j), yj = ring->getY(j);
            const double cross = (xj - xi) * (y - yi) - (yj - yi) * (x - xi);
            const double scale = std::max({std::fabs(xj - xi), std::fabs(yj - yi), 1.0});
            if (std::fabs(cross) <= 1e-9 * scale * scale && x >= std::min(xi, xj) && x <= std::max(xi, xj) &&
                y >= std::min(yi, yj) && y <= std::max(yi, yj))
                return true;
            if ((yi > y) != (yj > y) && x < xi + (y - yi) * (xj - xi) / (yj - yi))
                inside = !inside;
        }
    }
    return inside;
}

bool geometryHolds(const OGRGeometry* g, double x, double y)
{
    if (!g)
        return false;
    switch (wkbFlatten(g->getGeometryType())) {
    case wkbPolygon: return ringsHold(*g->toPolygon(), x, y);
    case wkbMultiPolygon:
        for (const OGRPolygon* part : *g->toMultiPolygon())
            if (ringsHold(*part, x, y))
                return true;
        return false;
    default: return false;
    }
}

struct Square {
    OGREnvelope box;
    std::unique_ptr<OGRGeometry> geometry;
    std::optional<double> value;
};

}  // namespace

Outcome<PointSamples> GdalServices::sampleRaster(const std::string& path, const std::string& studySystem,
                                                 std::span<const StudyPoint> points, bool bilinear) const
{
    initGdal();
    GdalMessages messages;
    DatasetPtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY));
    if (!ds)
        return backgroundProblem(path, "knihovna GDAL jej nepřečte.", messages);
    if (ds->GetRasterCount() < 1)
        return backgroundProblem(path, "neobsahuje žádné pásmo hodnot.", messages);
    double gt[6];
    if (ds->GetGeoTransform(gt) != CE_None)
        return backgroundProblem(path, "neobsahuje polohu (souřadnice rohu a velikost buňky).", messages);
    if (gt[2] != 0 || gt[4] != 0 || gt[1] == 0 || gt[5] == 0)
        return backgroundProblem(path, "je pootočený vůči osám souřadnic.", messages);
    Outcome<std::vector<std::optional<StudyPoint>>> at =
        toLayerSystem(path, ds->GetSpatialRef(), studySystem, points, messages);
    if (!at)
        return at.problem();
    const int ncols = ds->GetRasterXSize(), nrows = ds->GetRasterYSize();
    BandCells cells(ds->GetRasterBand(1));
    PointSamples out(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!(*at)[i])
            continue;
        // In cells from the raster's first column and first row.
        const double px = ((*at)[i]->x - gt[0]) / gt[1], py = ((*at)[i]->y - gt[3]) / gt[5];
        if (!(px >= 0 && px < ncols && py >= 0 && py < nrows))
            continue;
        std::optional<double> v;
        if (!bilinear) {
            if (!cells.read(static_cast<int>(px), static_cast<int>(py), v))
                return backgroundProblem(path, "hodnoty buněk nelze načíst.", messages);
            out[i] = v;
            continue;
        }
        const Span1 sx = bilinearSpan(px, ncols), sy = bilinearSpan(py, nrows);
        double sum = 0;
        bool missing = false;
        for (int dy = 0; dy < 2 && !missing; ++dy)
            for (int dx = 0; dx < 2 && !missing; ++dx) {
                const double w = (dx ? sx.t : 1 - sx.t) * (dy ? sy.t : 1 - sy.t);
                if (w == 0)
                    continue;
                if (!cells.read(sx.first + dx, sy.first + dy, v))
                    return backgroundProblem(path, "hodnoty buněk nelze načíst.", messages);
                missing = !v;
                sum += v ? w * *v : 0;
            }
        if (!missing)
            out[i] = sum;
    }
    return out;
}

Outcome<PointSamples> GdalServices::samplePolygons(const std::string& path, const std::string& column,
                                                   const std::string& studySystem,
                                                   std::span<const StudyPoint> points) const
{
    initGdal();
    GdalMessages messages;
    DatasetPtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!ds || ds->GetLayerCount() < 1)
        return backgroundProblem(path, "knihovna GDAL v něm nenajde vrstvu polygonů.", messages);
    OGRLayer* layer = ds->GetLayer(0);
    OGRFeatureDefn* defn = layer->GetLayerDefn();
    const int field = defn->GetFieldIndex(column.c_str());
    if (field < 0) {
        std::string names;
        for (int f = 0; f < defn->GetFieldCount(); ++f)
            names += (f ? ", " : "") + std::string(defn->GetFieldDefn(f)->GetNameRef());
        return backgroundProblem(path, "nemá sloupec " + column + " (má sloupce " + names + ").", messages);
    }
    const OGRFieldType type = defn->GetFieldDefn(field)->GetType();
    if (type != OFTInteger && type != OFTInteger64 && type != OFTReal)
        return backgroundProblem(path, "sloupec " + column + " neobsahuje čísla.", messages);
    Outcome<std::vector<std::optional<StudyPoint>>> at =
        toLayerSystem(path, layer->GetSpatialRef(), studySystem, points, messages);
    if (!at)
        return at.problem();
    std::vector<Square> squares;
    layer->ResetReading();
    for (auto& feature : *layer) {
        const OGRGeometry* g = feature->GetGeometryRef();
        if (!g)
            continue;
        Square s;
        g->getEnvelope(&s.box);
        s.geometry.reset(g->clone());
        if (feature->IsFieldSetAndNotNull(field))
            s.value = feature->GetFieldAsDouble(field);
        squares.push_back(std::move(s));
    }
    if (messages.hasErrors())
        return backgroundProblem(path, "vrstvu nelze celou přečíst.", messages);
    PointSamples out(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!(*at)[i])
            continue;
        const double x = (*at)[i]->x, y = (*at)[i]->y;
        // The first polygon in the layer's order that holds the point: on a border shared by
        // two squares, the one stored first.
        for (const Square& s : squares)
            if (x >= s.box.MinX && x <= s.box.MaxX && y >= s.box.MinY && y <= s.box.MaxY &&
                geometryHolds(s.geometry.get(), x, y)) {
                out[i] = s.value;
                break;
            }
    }
    return out;
}

}  // namespace ovd
