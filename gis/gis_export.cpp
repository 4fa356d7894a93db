#include "gis_export.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "gdal_output.h"
#include "gdal_dataset.h"
#include "gdal_session.h"
#include "geotools/isoline_tracing.h"
#include "geotools/isolines.h"
#include "layer_writer.h"
#include "spatial_reference.h"

namespace ovd {

namespace {

struct FormatInfo {
    const char* driver;  // GDAL's name
    const char* title;   // in messages
    bool needsSystem;
};

FormatInfo formatInfo(GisFormat f)
{
    switch (f) {
    case GisFormat::GeoPackage: return {"GPKG", "GeoPackage", true};
    case GisFormat::GeoJson: return {"GeoJSON", "GeoJSON", true};
    case GisFormat::Kml: return {"LIBKML", "KML", true};
    case GisFormat::Csv: return {"CSV", "CSV", false};
    case GisFormat::GeoTiff: break;
    }
    return {"GTiff", "GeoTIFF", true};
}

// The levels of the isobands: those asked for, else the isoline tool's (its list, or its
// scale over the lattice's values); empty when neither gives any.
Outcome<std::vector<double>> isobandLevels(const GisExportSettings& s, const GisExportRequest& q, const PointLattice& l)
{
    if (q.levels)
        return *q.levels;
    if (s.levelMode == static_cast<int>(LevelMode::List)) {
        std::optional<std::vector<double>> listed = parseNominalList(s.nominalList);
        return listed ? *listed : std::vector<double>{};
    }
    if (!(s.scaleStep > 0))
        return std::vector<double>{};
    const auto range = valueRange(l);
    return range ? scaleLevels(s.scaleFrom, s.scaleStep, range->first, range->second)
                 : Outcome<std::vector<double>>(std::vector<double>{});
}

class GisExport {
public:
    GisExport(const GisExportSettings& s, const GisExportRequest& q, const RunContext& ctx)
        : m_s(s)
        , m_q(q)
        , m_ctx(ctx)
        , m_r(ctx.reporter)
        , m_info(formatInfo(q.format))
        , m_output(gisOutputPath(s, q))
        , m_column(q.column.empty() ? s.column : q.column)
    { }

    ToolStatus run()
    {
        if (!m_q.deferredUsage.empty() && m_q.usageError) {
            if (refuseSharedFiles(m_ctx, inputRoles(), {{"výstupní soubor GIS", m_output}}))
                *m_q.usageError = m_q.deferredUsage;
            return ToolStatus::Failed;
        }
        initGdal();
        if (std::optional<Problem> p = settingsProblem())
            return fail(*p);
        if (!refuseSharedFiles(m_ctx, inputRoles(), {{"výstupní soubor GIS", m_output}}))
            return ToolStatus::Failed;
        OutputLock lock;
        if (auto stop = lock.claim(m_ctx, {m_output}))
            return *stop;

        m_r.status(0, "Načítám DBF soubor ...");
        Outcome<ResultPoints> points = readResultPoints(m_s.input);
        if (!points)
            return fail(points.problem());
        // Part of a table would pass for the whole of it in the GIS.
        if (!points->truncated.empty())
            return fail(Problem::error(points->truncated));
        if (std::optional<Problem> p = areaProblem(*points))
            return fail(*p);
        std::optional<PointLattice> lattice;
        if (!m_column.empty()) {
            Outcome<std::optional<PointLattice>> spread = latticeOf(*points);
            if (!spread)
                return fail(spread.problem());
            lattice = std::move(*spread);
        }
        GdalOutput out;
        if (!out.open(m_output, std::string(gisFormatExtension(m_q.format))))
            return fail(Problem::error("Výstupní soubor " + m_output + " nelze vytvořit!"));
        ToolStatus status = m_q.format == GisFormat::GeoTiff ? writeGeoTiff(out.path(), *lattice)
                                                             : writeVector(out.path(), *points, lattice);
        if (status != ToolStatus::Done)
            return status;
        if (!out.publish())
            return fail(Problem::error("Výstupní soubor " + m_output + " se nepodařilo zapsat (" + out.error() + ") !"));
        m_r.info(std::string("Export do formátu ") + m_info.title + " dokončen: " + m_output + m_note);
        return ToolStatus::Done;
    }

private:
    // The settings' own faults, before any file is touched; the study's system is read here.
    std::optional<Problem> settingsProblem()
    {
        if (m_s.input.empty())
            return Problem::error("Nebyl zadán vstupní DBF soubor s výsledky!");
        if (m_info.needsSystem && m_s.coordinateSystem.empty())
            return missingSystemProblem(std::string("Export do formátu ") + m_info.title);
        if (!m_s.coordinateSystem.empty()) {
            Outcome<OGRSpatialReference> srs = spatialReference(m_s.coordinateSystem);
            if (!srs)
                return srs.problem();
            m_srs = *srs;
            m_hasSystem = true;
        }
        if (m_q.format == GisFormat::GeoTiff && m_column.empty())
            return Problem::error("GeoTIFF potřebuje jméno sloupce s hodnotami (volba --column nebo klíč "
                                  "SloupecGis v sekci DbfExport)!");
        return std::nullopt;
    }

    // GeoJSON and KML hold WGS 84: points outside their system's area would land elsewhere.
    std::optional<Problem> areaProblem(const ResultPoints& points) const
    {
        if (m_q.format != GisFormat::GeoJson && m_q.format != GisFormat::Kml)
            return std::nullopt;
        PointExtent extent;
        for (const ResultPoint& p : points.points)
            extent.add(p.x, p.y);
        return areaOfUseProblem(m_srs, m_s.coordinateSystem, extent);
    }

    // The values on their lattice, for the GeoTIFF and the GeoPackage's isobands; none for the
    // other formats.
    Outcome<std::optional<PointLattice>> latticeOf(const ResultPoints& points)
    {
        Outcome<std::size_t> column = valueColumn(points);
        if (!column)
            return column.problem();
        if (m_q.format != GisFormat::GeoTiff && m_q.format != GisFormat::GeoPackage)
            return std::optional<PointLattice>();
        Outcome<PointLattice> spread = spreadOnLattice(
            points, *column, m_q.format == GisFormat::GeoTiff ? LatticeUse::GeoTiff : LatticeUse::Isobands);
        if (!spread)
            return spread.problem();
        return std::optional<PointLattice>(std::move(*spread));
    }

    ToolStatus fail(const Problem& p)
    {
        p.report(m_r);
        return ToolStatus::Failed;
    }

    // The files the export reads, then every other file of the study.
    std::vector<NamedPath> inputRoles() const
    {
        std::vector<NamedPath> roles{{"vstupní DBF soubor", m_s.input},
                                     {"vstupní soubor se zdroji", m_s.sources},
                                     {"vstupní SHP soubor s izoliniemi", m_s.isolineShp}};
        if (!m_s.isolineShp.empty()) {
            roles.push_back({"vstupní SHX soubor s izoliniemi", derivedName(m_s.isolineShp, "shx")});
            roles.push_back({"vstupní DBF soubor s izoliniemi", derivedName(m_s.isolineShp, "dbf")});
        }
        for (NamedPath& r : studyFileRoles(m_ctx.projectFile, {{section::kDbfExport, "VystGis"}}))
            roles.push_back(std::move(r));
        return roles;
    }

    Outcome<std::size_t> valueColumn(const ResultPoints& points)
    {
        std::optional<std::size_t> at = points.find(m_column);
        if (!at) {
            std::string names;
            for (const Attribute& a : points.attributes)
                names += (names.empty() ? "" : ", ") + a.name;
            return Problem::error("DBF soubor " + m_s.input + " nemá sloupec " + m_column + " (má sloupce " + names +
                                  ") !");
        }
        if (points.attributes[*at].kind == AttributeKind::Text)
            return Problem::error("Sloupec " + m_column + " DBF souboru " + m_s.input + " neobsahuje čísla!");
        return *at;
    }

    DatasetPtr create(const std::string& path, int cols = 0, int rows = 0, GDALDataType type = GDT_Unknown)
    {
        GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(m_info.driver);
        return DatasetPtr(driver ? driver->Create(path.c_str(), cols, rows, type == GDT_Unknown ? 0 : 1, type, nullptr)
                                 : nullptr);
    }

    ToolStatus writeVector(const std::string& path, const ResultPoints& points,
                           const std::optional<PointLattice>& lattice)
    {
        GdalMessages messages;
        DatasetPtr ds = create(path);
        if (!ds)
            return fail(Problem::error(withGdalDetail("Výstupní soubor " + m_output + " nelze vytvořit!", messages)));
        const bool wgs = m_q.format == GisFormat::GeoJson || m_q.format == GisFormat::Kml;
        const OGRSpatialReference lonLat = wgs84();
        const OGRSpatialReference* layerSystem =
            wgs ? &lonLat : (m_hasSystem && m_q.format != GisFormat::Csv ? &m_srs : nullptr);
        LayerWriter w(*ds, m_output, layerSystem, m_r);
        std::unique_ptr<OGRCoordinateTransformation> toWgs;
        if (wgs) {
            toWgs.reset(OGRCreateCoordinateTransformation(&m_srs, &lonLat));
            if (!toWgs)
                return fail(Problem::error(withGdalDetail(
                    "Souřadnicový systém " + m_s.coordinateSystem + " nelze převést do WGS 84!", w.messages())));
        }
        std::vector<std::string> options;
        if (m_q.format == GisFormat::Csv)
            options = {"GEOMETRY=AS_XY"};
        bool ok =
            w.points(m_q.format == GisFormat::GeoPackage ? "body" : fileStem().c_str(), points, toWgs.get(), options);
        if (ok && m_q.format == GisFormat::GeoPackage)
            ok = writeStudyLayers(w, lattice);
        if (ok) {
            // Closing writes what the driver still holds; its errors are the file's.
            GDALDataset* raw = ds.release();
            GDALClose(raw);
            if (w.messages().hasErrors())
                return fail(Problem::error(
                    withGdalDetail("Výstupní soubor " + m_output + " se nepodařilo zapsat!", w.messages())));
            return ToolStatus::Done;
        }
        if (w.cancelled())
            return ToolStatus::Declined;
        // A study layer whose input could not be read stops the writer without its own problem.
        return fail(w.problem() ? *w.problem()
                                : m_layerProblem.value_or(
                                      Problem::error("Výstupní soubor " + m_output + " se nepodařilo zapsat!")));
    }

    // The isolines made from the same table, the sources and the isobands.
    bool writeStudyLayers(LayerWriter& w, const std::optional<PointLattice>& lattice)
    {
        if (!m_s.isolineShp.empty() && fileExists(m_s.isolineShp) && samePath(m_s.isolineInput, m_s.input)) {
            if (!w.isolines("izolinie", m_s.isolineShp))
                return false;
            m_layers += ", izolinie";
        }
        if (!m_s.sources.empty() && fileExists(m_s.sources)) {
            Outcome<SourceFile> sources = readSourcesFile(m_s.sources);
            if (!sources) {
                m_layerProblem = sources.problem();
                return false;
            }
            if (!w.sources(*sources))
                return false;
            m_layers += ", zdroje_bodove, zdroje_plosne, zdroje_liniove";
        }
        if (lattice) {
            Outcome<std::vector<double>> levels = isobandLevels(m_s, m_q, *lattice);
            if (!levels) {
                m_layerProblem = levels.problem();
                return false;
            }
            if (levels->empty()) {
                m_note += "\nIzopásma nevznikla: nejsou zadány hodnoty izolinií (volba --levels nebo nástroj "
                          "Tvorba izolinií).";
            } else {
                if (!w.isobands("izopasma", *lattice, *levels))
                    return false;
                m_layers += ", izopasma";
            }
        }
        m_note = "\nVrstvy: body" + m_layers + "." + m_note;
        return true;
    }

    ToolStatus writeGeoTiff(const std::string& path, const PointLattice& l)
    {
        GdalMessages messages;
        DatasetPtr ds = create(path, l.ncols, l.nrows, GDT_Float64);
        if (!ds)
            return fail(Problem::error(withGdalDetail("Výstupní soubor " + m_output + " nelze vytvořit!", messages)));
        double gt[6] = {l.xmin - l.dx / 2, l.dx, 0, l.ymax + l.dy / 2, 0, -l.dy};
        GDALRasterBand* band = ds->GetRasterBand(1);
        bool ok = ds->SetGeoTransform(gt) == CE_None && ds->SetSpatialRef(&m_srs) == CE_None &&
            band->SetNoDataValue(kLatticeNoData) == CE_None;
        m_r.status(0, "Zapisuji GeoTIFF ...");
        for (std::int32_t row = 0; ok && row < l.nrows; ++row) {
            if (m_r.cancelled())
                return ToolStatus::Declined;
            ok = band->RasterIO(GF_Write, 0, row, l.ncols, 1,
                                const_cast<double*>(l.cells.data()) + static_cast<std::size_t>(row) * l.ncols, l.ncols,
                                1, GDT_Float64, 0, 0, nullptr) == CE_None;
            m_r.progress(row + 1, l.nrows);
        }
        band->SetDescription(m_column.c_str());
        GDALDataset* raw = ds.release();
        GDALClose(raw);
        if (!ok || messages.hasErrors())
            return fail(
                Problem::error(withGdalDetail("Výstupní soubor " + m_output + " se nepodařilo zapsat!", messages)));
        m_note =
            cformat("\nMřížka %d x %d buněk po %g x %g m, sloupec %s.", l.ncols, l.nrows, l.dx, l.dy, m_column.c_str());
        return ToolStatus::Done;
    }

    // The layer name of a single-layer file: the output's name without its extension.
    std::string fileStem() const
    {
        std::string name = fileNameOf(m_output);
        return name.substr(0, name.rfind('.'));
    }

    const GisExportSettings& m_s;
    const GisExportRequest& m_q;
    const RunContext& m_ctx;
    Reporter& m_r;
    FormatInfo m_info;
    std::string m_output, m_column;
    OGRSpatialReference m_srs;
    bool m_hasSystem = false;
    std::string m_layers, m_note;
    std::optional<Problem> m_layerProblem;  // why a study layer's input stopped the export
};

}  // namespace

ToolStatus exportGis(const GisExportSettings& s, const GisExportRequest& q, const RunContext& ctx)
{
    return GisExport(s, q, ctx).run();
}

}  // namespace ovd
