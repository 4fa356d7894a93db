#include "common/file_io.h"
#include "common/gis_services.h"
#include "common/numbers.h"
#include "dbf_export.h"
#include "dbf_input.h"

namespace ovd {

namespace {

// MapInfo matches the coordinate fields exactly, on the blank-padded ten-character name.
bool fieldIs(const DbfTable& t, std::size_t index, std::string_view name)
{
    if (index >= t.fields().size())
        return false;
    std::string padded(name);
    padded.resize(10, ' ');
    return t.fields()[index].shortName() == padded;
}

}  // namespace

ToolStatus exportDbfToMapInfo(const DbfExportSettings& s, const RunContext& ctx)
{
    Reporter& r = ctx.reporter;
    ToolStatus status;
    std::optional<DbfTable> t = openExportInput(s.input, {s.mif, s.mid}, ctx, status);
    if (!t)
        return status;
    if (!fieldIs(*t, 1, "X_COORD")) {
        r.error("DBF soubor neobsahuje údaj se souřadnicí X !");
        return ToolStatus::Failed;
    }
    if (!fieldIs(*t, 2, "Y_COORD")) {
        r.error("DBF soubor neobsahuje údaj se souřadnicí Y !");
        return ToolStatus::Failed;
    }
    // The study's system in place of the longitude and latitude the header declares without one.
    std::string coordSys = "Earth Projection 1, 0";
    if (!s.coordinateSystem.empty()) {
        Outcome<std::string> clause = studyMapInfoCoordSys(s.coordinateSystem);
        if (!clause) {
            clause.problem().report(r);
            return ToolStatus::Failed;
        }
        coordSys = *clause;
    }
    AtomicOutput mif, mid;
    if (!mif.open(s.mif)) {
        r.error("Výstupní mif soubor se nepodařilo otevřít !");
        return ToolStatus::Failed;
    }
    if (!mid.open(s.mid)) {
        r.error("Výstupní mid soubor se nepodařilo otevřít !");
        return ToolStatus::Failed;
    }

    const std::size_t fieldCount = t->fields().size();
    std::string mifText = "Version 300\nCharset \"WindowsLatin2\"\nDelimiter \",\"\nCoordSys " + coordSys + "\n";
    mifText += cformat("Columns %ld\n", static_cast<long>(fieldCount));
    for (const DbfFieldInfo& f : t->fields())
        mifText += f.shortName() + " Float\n";
    mifText += "Data\n\n";
    std::string midText;
    bool ok = true;
    std::vector<std::size_t> live = t->liveRecords();
    for (std::size_t i = 0; i < live.size() && ok; ++i) {
        if (i % 1024 == 0 && r.cancelled())
            return ToolStatus::Failed;  // neither file is committed
        std::size_t k = live[i];
        for (std::size_t f = 0; f < fieldCount; ++f) {
            if (f > 0)
                midText += ',';
            midText += t->fieldText(k, f);
        }
        midText += '\n';
        mifText += "Point ";
        mifText += t->fieldText(k, 1);
        mifText += ' ';
        mifText += t->fieldText(k, 2);
        mifText += '\n';
        if (mifText.size() + midText.size() > (1u << 16)) {
            ok = mif.write(mifText) && mid.write(midText);
            mifText.clear();
            midText.clear();
        }
    }
    ok = ok && mif.write(mifText) && mid.write(midText) && mif.prepare() && mid.prepare();
    ok = ok && publishTogether({&mif, &mid});
    if (!ok) {
        r.error("Výstupní mif a mid soubory se nepodařilo zapsat !");
        return ToolStatus::Failed;
    }
    r.info("Export do MapInfo souborů dokončen.");
    return ToolStatus::Done;
}

}  // namespace ovd
