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

// Why the table cannot be a MapInfo point set: its second and third fields are not the
// coordinates; empty when they are.
std::string_view coordinateFieldsError(const DbfTable& t)
{
    if (!fieldIs(t, 1, "X_COORD"))
        return "DBF soubor neobsahuje údaj se souřadnicí X !";
    if (!fieldIs(t, 2, "Y_COORD"))
        return "DBF soubor neobsahuje údaj se souřadnicí Y !";
    return {};
}

// The MIF header: the study's system in place of the longitude and latitude the header
// declares without one, then one Float column per field.
Outcome<std::string> mifHeader(const DbfExportSettings& s, const DbfTable& t, const GisServices* gis)
{
    std::string coordSys = "Earth Projection 1, 0";
    if (!s.coordinateSystem.empty()) {
        Outcome<std::string> clause = studyMapInfoCoordSys(gis, s.coordinateSystem);
        if (!clause)
            return clause.problem();
        coordSys = *clause;
    }
    std::string text = "Version 300\nCharset \"WindowsLatin2\"\nDelimiter \",\"\nCoordSys " + coordSys + "\n";
    text += cformat("Columns %ld\n", static_cast<long>(t.fields().size()));
    for (const DbfFieldInfo& f : t.fields())
        text += f.shortName() + " Float\n";
    return text + "Data\n\n";
}

// One record: its fields on a MID line, its point in the MIF.
void appendRecord(const DbfTable& t, std::size_t k, std::string& mifText, std::string& midText)
{
    for (std::size_t f = 0; f < t.fields().size(); ++f) {
        if (f > 0)
            midText += ',';
        midText += t.fieldText(k, f);
    }
    midText += '\n';
    mifText += "Point ";
    mifText += t.fieldText(k, 1);
    mifText += ' ';
    mifText += t.fieldText(k, 2);
    mifText += '\n';
}

}  // namespace

ToolStatus exportDbfToMapInfo(const DbfExportSettings& s, const RunContext& ctx)
{
    Reporter& r = ctx.reporter;
    ToolStatus status;
    std::optional<DbfTable> t = openExportInput(s.input, {s.mif, s.mid}, ctx, status);
    if (!t)
        return status;
    if (std::string_view e = coordinateFieldsError(*t); !e.empty()) {
        r.error(e);
        return ToolStatus::Failed;
    }
    Outcome<std::string> header = mifHeader(s, *t, ctx.gis);
    if (!header) {
        header.problem().report(r);
        return ToolStatus::Failed;
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
    std::string mifText = std::move(*header), midText;
    bool ok = true;
    std::vector<std::size_t> live = t->liveRecords();
    for (std::size_t i = 0; i < live.size() && ok; ++i) {
        if (i % 1024 == 0 && r.cancelled())
            return ToolStatus::Failed;  // neither file is committed
        if (std::optional<Problem> p = nonFiniteFieldProblem(*t, live[i], s.input)) {
            p->report(r);
            return ToolStatus::Failed;  // neither file is committed
        }
        appendRecord(*t, live[i], mifText, midText);
        if (mifText.size() + midText.size() > (1u << 16)) {
            ok = mif.write(mifText) && mid.write(midText);
            mifText.clear();
            midText.clear();
        }
    }
    ok = ok && mif.write(mifText) && mid.write(midText) && mif.prepare() && mid.prepare();
    ok = ok && publishTogether({&mif, &mid});
    if (!ok) {
        r.error("Výstupní mif a mid soubory se nepodařilo zapsat!");
        return ToolStatus::Failed;
    }
    r.info("Export do MapInfo souborů dokončen.");
    return ToolStatus::Done;
}

}  // namespace ovd
