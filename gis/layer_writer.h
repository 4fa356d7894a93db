#pragma once
// The layers of the GIS exports written into a GDAL dataset: the result points, the isolines,
// the sources and the isobands. A layer that fails or a cancel stops the writer; the export
// then discards the whole file.
#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <optional>
#include <string>
#include <vector>

#include "common/outcome.h"
#include "common/reporter.h"
#include "gdal_session.h"
#include "inputs/binary_inputs.h"
#include "point_lattice.h"
#include "result_points.h"

namespace ovd {

class LayerWriter {
public:
    // `target` names the file in messages; `srs` (may be null) is the layers' system.
    LayerWriter(GDALDataset& dataset, std::string target, const OGRSpatialReference* srs, Reporter& reporter)
        : m_ds(dataset)
        , m_target(std::move(target))
        , m_srs(srs)
        , m_r(reporter)
    { }

    // The points with every attribute; `transform` (may be null) takes them into the layer's
    // system first.
    bool points(const char* name, const ResultPoints&, OGRCoordinateTransformation* transform,
                std::vector<std::string> options = {});
    // The segments of an isoline shapefile with their levels.
    bool isolines(const char* name, const std::string& shp);
    // Point sources as points, area sources as squares of side Y0, line sources as segments.
    bool sources(const SourceFile&);
    // Filled bands between consecutive levels of the lattice's values.
    bool isobands(const char* name, const PointLattice&, const std::vector<double>& levels);

    bool cancelled() const { return m_cancelled; }
    // Why the writer stopped (unset when cancelled or not stopped).
    const std::optional<Problem>& problem() const { return m_problem; }
    GdalMessages& messages() { return m_messages; }

private:
    OGRLayer* createLayer(const char* name, OGRwkbGeometryType, const std::vector<std::string>& options = {});
    bool addField(OGRLayer*, const std::string& name, OGRFieldType);
    bool addFeature(OGRLayer*, OGRFeature&);
    bool fail(const std::string& what);

    GDALDataset& m_ds;
    std::string m_target;
    const OGRSpatialReference* m_srs;
    Reporter& m_r;
    GdalMessages m_messages;
    std::optional<Problem> m_problem;
    bool m_cancelled = false;
    long m_features = 0;
};

}  // namespace ovd
