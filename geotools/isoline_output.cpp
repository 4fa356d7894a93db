#include "isoline_output.h"

#include "common/file_io.h"
#include "projection_file.h"

namespace ovd {

namespace {

// Both fields identify rather than measure: byte 20 of each descriptor is 0.
const DbfField kIdField{"ID_LINE", 10, 0, 0};
const DbfField kValueField{"VALUE", 15, 6, 0};

}  // namespace

std::string isolineTableBytes(const std::vector<IsolineSegment>& segments, DbfDate date)
{
    const DbfField fields[] = {kIdField, kValueField};
    std::string out = dbfHeaderBytes(fields, static_cast<std::uint32_t>(segments.size()), date);
    out.reserve(out.size() + 26 * segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
        out.push_back(' ');
        out += dbfFieldText(kIdField, static_cast<double>(i + 1));
        out += dbfFieldText(kValueField, segments[i].level);
    }
    return out;
}

bool writeIsolineFiles(const std::string& shp, const std::string& shx, const std::string& dbf, const ShapeBox& box,
                       const std::vector<IsolineSegment>& segments, const std::string& coordinateSystem,
                       const GisServices* gis, Reporter& r)
{
    if (static_cast<std::int64_t>(segments.size()) > maxShapeRecords(kSegmentContentWords)) {
        r.error("Izolinií je příliš mnoho pro jeden SHP soubor; zvolte větší krok nebo hrubší síť.");
        return false;
    }
    ShapefileOutput shapes;
    switch (shapes.open(shp, shx)) {
    case ShapefileOutput::Failure::Shp: r.error("Výstupní SHP soubor se nepodařilo otevřít !"); return false;
    case ShapefileOutput::Failure::Shx: r.error("Výstupní SHX soubor se nepodařilo otevřít !"); return false;
    case ShapefileOutput::Failure::None: break;
    }
    AtomicOutput table;
    if (!table.open(dbf)) {
        r.error("Výstupní DBF soubor se nepodařilo otevřít !");
        return false;
    }
    AtomicOutput prj;
    if (std::optional<Problem> p = writeProjectionFile(gis, coordinateSystem, shp, prj)) {
        p->report(r);
        return false;
    }
    bool ok = shapes.begin(ShapeType::PolyLine, static_cast<std::int64_t>(segments.size()), box);
    for (const IsolineSegment& s : segments)
        ok = ok && shapes.addSegment(s.x1, s.y1, s.x2, s.y2);
    ok = ok && table.write(isolineTableBytes(segments, DbfDate::todayUtc()));
    // All three files on the disk before the first rename: no new .shp beside an old .dbf.
    ok = ok && shapes.prepare() && table.prepare() && (!prj.isOpen() || prj.prepare());
    if (ok) {
        std::vector<AtomicOutput*> files = shapes.files();
        files.push_back(&table);
        addProjectionFile(files, prj);
        ok = publishTogether(files);
    }
    if (!ok) {
        r.error("Výstupní soubory izolinií se nepodařilo zapsat!");
        return false;
    }
    removeStaleProjectionFile(coordinateSystem, shp, r);
    return true;
}

}  // namespace ovd
