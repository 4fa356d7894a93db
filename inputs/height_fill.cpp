#include "height_fill.h"

#include <cmath>

#include "common/czech_plural.h"
#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/number_texts.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/text.h"
#include "input_lines.h"
#include "raw_text.h"
#include "terrain_matrix.h"

namespace ovd {

namespace {

// What follows the fourth comma of a line; nullopt when it has fewer.
std::optional<std::string_view> afterFourthComma(std::string_view line)
{
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        pos = line.find(',', pos);
        if (pos == std::string_view::npos)
            return std::nullopt;
        ++pos;
    }
    return line.substr(pos);
}

std::string heightText(const TerrainHeight& h, TerrainElement element)
{
    if (!h.interpolated && element == TerrainElement::Int16)
        return cformat("%d", static_cast<int>(h.height));
    if (!h.interpolated && element == TerrainElement::Int32)
        return cformat("%ld", static_cast<long>(h.height));
    return cformat("%lf", h.height);
}

// A field reading "nan" or "inf" anywhere in the line: copied on, it would pass for a number.
bool hasNonFiniteField(std::string_view line)
{
    for (std::size_t from = 0; from <= line.size();) {
        const std::size_t end = std::min(line.find(',', from), line.find(';', from));
        if (isNonFiniteText(line.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from)))
            return true;
        if (end == std::string_view::npos)
            break;
        from = end + 1;
    }
    return false;
}

struct FilledText {
    RawText text;
    long records = 0, outside = 0, noData = 0, unreadable = 0;
};

// Every record line with the terrain height at its point; nullopt when the user cancelled.
// Lines are handled as bytes: copied ones stay as they were, rewritten ones keep the
// encoding of their rest and their line end.
std::optional<FilledText> fillLines(const HeightFillSettings& s, const RawText& text, const TerrainMatrix& terrain,
                                    long total, Reporter& r)
{
    const TerrainElement element = terrain.header().element;
    FilledText f;
    f.text.bom = text.bom;
    for (const RawLine& line : text.lines) {
        if (!recordNumber(line.text)) {
            f.text.lines.push_back(line);
            continue;
        }
        if (r.cancelled())
            return std::nullopt;
        ++f.records;
        r.status(0, cformat("Převáděný řádek %ld", f.records));
        r.progress(f.records, total);
        PointLine p = parsePointLine(line.text);
        auto rest = afterFourthComma(line.text);
        bool readable = rest && p.number != kMissingWhole && p.x != kMissingReal && p.y != kMissingReal &&
            !hasNonFiniteField(line.text);
        TerrainHeight h;
        if (readable) {
            h = terrain.lookup(p.x, p.y, s.interpolate);
            h.noData = h.noData || !std::isfinite(h.height);  // a damaged real matrix writes no "nan"
        }
        if (readable && h.inside && !h.noData) {
            f.text.lines.push_back(rewrittenLine(
                cformat("%ld, %lf, %lf, %s, ", p.number, p.x, p.y, heightText(h, element).c_str()) + std::string(*rest),
                line));
            continue;
        }
        if (!readable)
            ++f.unreadable;
        else if (!h.inside)
            ++f.outside;
        else
            ++f.noData;
        if (s.overwrite)  // the user's own file keeps the record as it was
            f.text.lines.push_back(line);
    }
    return f;
}

// What the fill did; the run goes to its end as any other, but a fill that filled nothing is
// no success.
ToolStatus reportFilled(const FilledText& filled, const std::string& terrain, Reporter& r)
{
    r.status(0, cformat("Zpracováno %ld řádků, z toho %ld mimo oblast", filled.records, filled.outside));
    if (filled.noData > 0 || filled.unreadable > 0)
        r.status(1,
                 "Bez údaje o výšce " + czechCount(filled.noData, "řádek", "řádky", "řádků") +
                     ", s nečitelnými souřadnicemi " + czechCount(filled.unreadable, "řádek", "řádky", "řádků"));
    if (filled.records > 0 && filled.outside == filled.records) {
        r.error("Žádný z " + czechCount(filled.records, "bodu", "bodů", "bodů") +
                " neleží v oblasti matice výškopisu " + terrain + ", výška nebyla doplněna žádnému bodu!");
        return ToolStatus::Failed;
    }
    return ToolStatus::Done;
}

}  // namespace

const std::vector<Param<HeightFillSettings>> HeightFillSettings::kParams = declare<Self>({
    inSection(section::kHeights, {key("VstSouradniceTxt", &Self::input), key("VystSouborTxt", &Self::output)}),
    inSection(section::kGlobal, {key("VstVyskoBin", &Self::terrain)}),
    inSection(section::kHeights,
              {key("PouzijInterpolaci", &Self::interpolate), key("PrepsatSoubor", &Self::overwrite)}),
});

ToolStatus fillHeights(const HeightFillSettings& s, const RunContext& ctx)
{
    Reporter& r = ctx.reporter;
    // In place the input is the output: then only the terrain must be another file.
    std::vector<NamedPath> inputs = {{"binární matice výškopisu", s.terrain}};
    if (!s.overwrite)
        inputs.push_back({"textový soubor se souřadnicemi", s.input});
    const std::string& target = s.overwrite ? s.input : s.output;
    if (!refuseSharedFiles(
            r, inputs,
            {{s.overwrite ? "přepisovaný textový soubor se souřadnicemi" : "výstupní textový soubor", target}}))
        return ToolStatus::Failed;
    OutputLock lock;
    if (!lock.acquire(r, {target}))
        return ToolStatus::Failed;
    RawTextResult read = readRawText(s.input);
    if (!read.text) {
        if (read.tooLongLine > 0)
            reportTooLongLine(r, s.input, read.tooLongLine);
        else
            r.error("Vstupní soubor se souřadnicemi nelze otevřít !");
        return ToolStatus::Failed;
    }
    const RawText& text = *read.text;
    auto terrain = TerrainMatrix::open(s.terrain);
    if (!terrain) {
        terrain.problem().report(r);
        return ToolStatus::Failed;
    }
    if (!s.overwrite && !ctx.confirmOverwrite(target))
        return ToolStatus::Declined;
    AtomicOutput out;
    if (target.empty() || !out.open(target)) {
        r.error("Výstupní soubor se souřadnicemi a nalezenými hodnotami nelze otevřít !");
        return ToolStatus::Failed;
    }

    long total = 0;
    for (const RawLine& line : text.lines)
        total += recordNumber(line.text) ? 1 : 0;
    r.progress(0, total);

    std::optional<FilledText> filled = fillLines(s, text, *terrain, total, r);
    if (!filled)
        return ToolStatus::Failed;  // the output is discarded, the input untouched
    if (!out.write(filled->text.join()) || !out.commit()) {
        r.error("Výstupní soubor se souřadnicemi a nalezenými hodnotami nelze otevřít !");
        return ToolStatus::Failed;
    }
    return reportFilled(*filled, s.terrain, r);
}

}  // namespace ovd
