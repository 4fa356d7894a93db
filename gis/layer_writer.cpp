#include "layer_writer.h"

#include <gdal_alg.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <memory>

#include "common/numbers.h"
#include "common/source_layout.h"
#include "gdal_input_files.h"

namespace ovd {

namespace {

struct FeatureDeleter {
    void operator()(OGRFeature* f) const { OGRFeature::DestroyFeature(f); }
};
using FeaturePtr = std::unique_ptr<OGRFeature, FeatureDeleter>;

struct DatasetCloser {
    void operator()(GDALDataset* d) const { GDALClose(d); }
};

// The parameters of a source kind under the names the sources editor shows them by.
const std::vector<const char*>& parameterNames(int kind)
{
    static const std::vector<const char*> kStack = {"M", "H", "Vs", "ts", "d", "w0", "Alfa", "Pd"};
    static const std::vector<const char*> kArea = {"M", "H", "Vs", "ts", "d", "w0", "Alfa", "Pd", "Y0"};
    static const std::vector<const char*> kLine = {"ML", "X1el", "Y1el", "X2el", "Y2el", "X0el", "Z0el", "Alfa", "Pd"};
    return kind == kLineSource ? kLine : kind == kAreaSource ? kArea : kStack;
}

CPLStringList optionList(const std::vector<std::string>& options)
{
    CPLStringList list;
    for (const std::string& o : options)
        list.AddString(o.c_str());
    return list;
}

}  // namespace

bool LayerWriter::fail(const std::string& what)
{
    m_problem =
        Problem::error(withGdalDetail("Do souboru " + m_target + " se nepodařilo zapsat " + what + "!", m_messages));
    return false;
}

OGRLayer* LayerWriter::createLayer(const char* name, OGRwkbGeometryType type, const std::vector<std::string>& options)
{
    m_r.status(0, cformat("Zapisuji vrstvu %s ...", name));
    OGRLayer* layer = m_ds.CreateLayer(name, const_cast<OGRSpatialReference*>(m_srs), type, optionList(options).List());
    if (!layer)
        fail(std::string("vrstvu ") + name);
    return layer;
}

bool LayerWriter::addField(OGRLayer* layer, const std::string& name, OGRFieldType type)
{
    OGRFieldDefn field(name.c_str(), type);
    return layer->CreateField(&field) == OGRERR_NONE || fail("sloupec " + name);
}

bool LayerWriter::addFeature(OGRLayer* layer, OGRFeature& feature)
{
    if (layer->CreateFeature(&feature) != OGRERR_NONE)
        return fail(cformat("prvek %ld vrstvy %s", static_cast<long>(feature.GetFID()), layer->GetName()));
    if (++m_features % 256 == 0 && m_r.cancelled()) {
        m_cancelled = true;
        return false;
    }
    return true;
}

bool LayerWriter::points(const char* name, const ResultPoints& rp, OGRCoordinateTransformation* transform,
                         std::vector<std::string> options)
{
    OGRLayer* layer = createLayer(name, wkbPoint, options);
    if (!layer)
        return false;
    for (const Attribute& a : rp.attributes) {
        OGRFieldType type = a.kind == AttributeKind::Integer ? OFTInteger64
            : a.kind == AttributeKind::Real                  ? OFTReal
                                                             : OFTString;
        if (!addField(layer, a.name, type))
            return false;
    }
    const long total = static_cast<long>(rp.points.size());
    for (long i = 0; i < total; ++i) {
        const ResultPoint& p = rp.points[static_cast<std::size_t>(i)];
        FeaturePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
        for (std::size_t a = 0; a < rp.attributes.size(); ++a) {
            int index = static_cast<int>(a);
            if (rp.attributes[a].kind == AttributeKind::Text)
                f->SetField(index, p.texts[a].c_str());
            else if (!p.numbers[a])
                f->SetFieldNull(index);
            else if (rp.attributes[a].kind == AttributeKind::Integer)
                f->SetField(index, static_cast<GIntBig>(*p.numbers[a]));
            else
                f->SetField(index, *p.numbers[a]);
        }
        double x = p.x, y = p.y;
        if (transform && !transform->Transform(1, &x, &y))
            return fail(cformat("bod %s (záznam %zu), který nelze převést do WGS 84,", rp.label(p).c_str(), p.record));
        OGRPoint point(x, y);
        f->SetGeometry(&point);
        if (!addFeature(layer, *f))
            return false;
        if (i % 256 == 0)
            m_r.progress(i, total);
    }
    m_r.progress(total, total);
    return true;
}

bool LayerWriter::isolines(const char* name, const std::string& shp)
{
    if (std::optional<std::string> why = unsafeGdalInput(shp)) {
        m_problem = Problem::error("Soubor izolinií " + shp + " se nepodařilo přečíst: " + *why);
        return false;
    }
    std::unique_ptr<GDALDataset, DatasetCloser> source(
        GDALDataset::Open(shp.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!source || source->GetLayerCount() < 1) {
        m_problem = Problem::error(withGdalDetail("Soubor izolinií " + shp + " se nepodařilo přečíst!", m_messages));
        return false;
    }
    OGRLayer* in = source->GetLayer(0);
    int valueField = in->GetLayerDefn()->GetFieldIndex("VALUE");
    OGRLayer* layer = createLayer(name, wkbLineString);
    if (!layer || !addField(layer, "ID_LINE", OFTInteger) || !addField(layer, "VALUE", OFTReal))
        return false;
    int id = 0;
    for (auto& segment : *in) {
        FeaturePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
        f->SetField(0, ++id);
        if (valueField >= 0)
            f->SetField(1, segment->GetFieldAsDouble(valueField));
        if (const OGRGeometry* g = segment->GetGeometryRef())
            f->SetGeometryDirectly(OGRGeometryFactory::forceToLineString(g->clone()));
        if (!addFeature(layer, *f))
            return false;
    }
    return true;
}

bool LayerWriter::sources(const SourceFile& file)
{
    struct Kind {
        int type;
        const char* layer;
        OGRwkbGeometryType geometry;
    };
    for (const Kind& kind :
         {Kind{kPointSource, "zdroje_bodove", wkbPoint}, Kind{kAreaSource, "zdroje_plosne", wkbPolygon},
          Kind{kLineSource, "zdroje_liniove", wkbLineString}}) {
        OGRLayer* layer = createLayer(kind.layer, kind.geometry);
        if (!layer)
            return false;
        const std::vector<const char*>& names = parameterNames(kind.type);
        bool ok = addField(layer, "CISLO", OFTInteger) && addField(layer, "Z", OFTReal) &&
            addField(layer, "SHLUK", OFTInteger) && addField(layer, "SKUPINA", OFTInteger);
        for (const char* n : names)
            ok = ok && addField(layer, n, OFTReal);
        if (file.dust)
            ok = ok && addField(layer, "HUSTOTA", OFTReal);
        if (!ok)
            return false;
        for (const SourceRecord& s : file.records) {
            if (s.type != kind.type)
                continue;
            FeaturePtr f(OGRFeature::CreateFeature(layer->GetLayerDefn()));
            f->SetField(0, s.number);
            f->SetField(1, s.z);
            f->SetField(2, s.cluster);
            f->SetField(3, s.group);
            for (std::size_t i = 0; i < names.size(); ++i)
                f->SetField(static_cast<int>(4 + i), s.values[i]);
            if (file.dust)
                f->SetField(static_cast<int>(4 + names.size()), s.density);
            const auto& v = s.values;
            if (kind.type == kPointSource) {
                OGRPoint p(s.x, s.y);
                f->SetGeometry(&p);
            } else if (kind.type == kLineSource) {
                OGRLineString line;
                line.addPoint(v[LineParam::kStartX], v[LineParam::kStartY]);
                line.addPoint(v[LineParam::kEndX], v[LineParam::kEndY]);
                f->SetGeometry(&line);
            } else if (double half = v[StackParam::kElementSpacing] / 2; half > 0) {
                // An area without an element spacing has no extent to draw: no geometry.
                OGRLinearRing ring;
                ring.addPoint(s.x - half, s.y - half);
                ring.addPoint(s.x + half, s.y - half);
                ring.addPoint(s.x + half, s.y + half);
                ring.addPoint(s.x - half, s.y + half);
                ring.closeRings();
                OGRPolygon square;
                square.addRing(&ring);
                f->SetGeometry(&square);
            }
            if (!addFeature(layer, *f))
                return false;
        }
    }
    return true;
}

bool LayerWriter::isobands(const char* name, const PointLattice& l, const std::vector<double>& levels)
{
    GDALDriver* mem = GetGDALDriverManager()->GetDriverByName("MEM");
    std::unique_ptr<GDALDataset, DatasetCloser> grid(mem ? mem->Create("", l.ncols, l.nrows, 1, GDT_Float64, nullptr)
                                                         : nullptr);
    if (!grid)
        return fail("izopásma (pracovní rastr nelze vytvořit)");
    double gt[6] = {l.xmin - l.dx / 2, l.dx, 0, l.ymax + l.dy / 2, 0, -l.dy};
    grid->SetGeoTransform(gt);
    GDALRasterBand* band = grid->GetRasterBand(1);
    band->SetNoDataValue(kLatticeNoData);
    if (band->RasterIO(GF_Write, 0, 0, l.ncols, l.nrows, const_cast<double*>(l.cells.data()), l.ncols, l.nrows,
                       GDT_Float64, 0, 0, nullptr) != CE_None)
        return fail("izopásma (pracovní rastr nelze naplnit)");
    OGRLayer* layer = createLayer(name, wkbMultiPolygon);
    if (!layer || !addField(layer, "ID", OFTInteger) || !addField(layer, "OD", OFTReal) ||
        !addField(layer, "DO", OFTReal))
        return false;
    std::string fixed;
    for (double level : levels)
        fixed += (fixed.empty() ? "" : ",") + cformat("%.17g", level);
    CPLStringList options;
    options.AddNameValue("FIXED_LEVELS", fixed.c_str());
    options.AddNameValue("POLYGONIZE", "YES");
    options.AddNameValue("ID_FIELD", "0");
    options.AddNameValue("ELEV_FIELD_MIN", "1");
    options.AddNameValue("ELEV_FIELD_MAX", "2");
    options.AddNameValue("NODATA", cformat("%.17g", kLatticeNoData).c_str());
    Reporter* r = &m_r;
    GDALProgressFunc progress = [](double done, const char*, void* arg) -> int {
        auto* reporter = static_cast<Reporter*>(arg);
        reporter->progress(static_cast<long>(done * 1000), 1000);
        return reporter->cancelled() ? FALSE : TRUE;
    };
    if (GDALContourGenerateEx(band, layer, options.List(), progress, r) != CE_None) {
        if (m_r.cancelled()) {
            m_cancelled = true;
            return false;
        }
        return fail(std::string("vrstvu ") + name);
    }
    // The open bands above the last level and below the first end at the values' range, not
    // at GDAL's sentinel.
    const auto [vmin, vmax] = valueRange(l).value_or(std::pair(0.0, 0.0));
    layer->ResetReading();
    while (FeaturePtr f{layer->GetNextFeature()}) {
        bool changed = false;
        if (f->GetFieldAsDouble(2) > levels.back() && f->GetFieldAsDouble(2) != vmax) {
            f->SetField(2, std::max(vmax, levels.back()));
            changed = true;
        }
        if (f->GetFieldAsDouble(1) < levels.front() && f->GetFieldAsDouble(1) != vmin) {
            f->SetField(1, std::min(vmin, levels.front()));
            changed = true;
        }
        if (changed && layer->SetFeature(f.get()) != OGRERR_NONE)
            return fail(std::string("vrstvu ") + name);
    }
    return true;
}

}  // namespace ovd
