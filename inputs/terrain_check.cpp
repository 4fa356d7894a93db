#include <algorithm>
#include <vector>

#include "common/czech_plural.h"
#include "common/file_io.h"
#include "common/gis_services.h"
#include "common/numbers.h"
#include "terrain_conversion.h"
#include "terrain_text_grid.h"
#include "text_line.h"

namespace ovd {

namespace {

// What the check says of a header it cannot use; empty for a usable one.
std::string headerRefusal(TextGridHeaderError err)
{
    switch (err) {
    case TextGridHeaderError::None: return {};
    case TextGridHeaderError::UnknownKind: return "Neznámý formát textového souboru s výškopisem!";
    case TextGridHeaderError::UnequalSpacing: return std::string(kUnequalSpacingText);
    case TextGridHeaderError::TooFewNodes:
    case TextGridHeaderError::BadSpacing: return "Vstupní TXT soubor obsahuje špatné údaje !";
    default: return "Chyba při čtení dat z TXT souboru !";
    }
}

// The verdict on the rows read: a row of another length first, then a value that is not a
// number, then a row count other than the header's.
void judgeRows(TerrainCheckResult& result, long headerRows, bool wrongCount, bool notNumbers)
{
    std::string counts = cformat("Načteno %ld řádků s %ld sloupci", result.rows, result.cols);
    if (wrongCount)
        result.text = counts + ", chybný počet sloupců některých řádků !";
    else if (notNumbers)
        result.text = counts + ", některé hodnoty nejsou čísla!";
    else if (result.rows != headerRows)
        result.text = counts + ", hlavička uvádí " + czechCount(headerRows, "řádek", "řádky", "řádků") + "!";
    else {
        result.text = counts + ", matice vyhovuje.";
        result.usable = true;
    }
}

// A raster as the conversion reads it: opened in the study's system, every row read.
TerrainCheckResult checkTerrainRaster(const GisServices& gis, const std::string& path, const std::string& studySystem,
                                      Reporter& reporter)
{
    TerrainCheckResult result;
    Outcome<std::unique_ptr<HeightRaster>> opened = gis.openHeightRaster(path, studySystem);
    if (!opened) {
        result.text = opened.problem().text;
        return result;
    }
    HeightRaster& raster = **opened;
    const RasterGeometry& g = raster.geometry();
    result.cols = g.ncols;
    std::vector<double> values;
    for (std::int32_t row = 0; row < g.nrows; ++row) {
        if (reporter.cancelled()) {
            result = {};
            result.cancelled = true;
            return result;
        }
        if (std::optional<Problem> p = raster.readRow(row, values)) {
            result.text = cformat("Načteno %ld řádků s %ld sloupci, ", result.rows, result.cols) + p->text;
            return result;
        }
        ++result.rows;
        reporter.progress(result.rows, g.nrows);
    }
    result.text = cformat("Načteno %ld řádků s %ld sloupci, matice vyhovuje.", result.rows, result.cols);
    result.usable = true;
    return result;
}

}  // namespace

TerrainCheckResult checkTerrainText(const std::string& textInput, Reporter& reporter, const std::string& studySystem,
                                    const GisServices* gis)
{
    TerrainCheckResult result;
    File input;
    if (!input.openInput(textInput)) {
        reporter.error("Vstupní soubor maticí výškopisu nelze otevřít !");
        result.unreadable = true;
        return result;
    }
    // The conversion's third kind: whatever is not a text grid is read as a raster.
    if (gis && !startsAsTextGrid(input.get())) {
        input.close();
        return checkTerrainRaster(*gis, textInput, studySystem, reporter);
    }
    TextGridReader reader(input.get());
    TextGridHeader grid;
    TextGridHeaderError err = reader.readHeader(grid);
    auto tooLong = [&] {
        reportTooLongLine(reporter, textInput, reader.lineNumber());
        TerrainCheckResult refused;
        refused.unreadable = true;
        return refused;
    };
    if (reader.tooLong())
        return tooLong();
    result.text = headerRefusal(err);
    if (!result.text.empty())
        return result;
    result.cols = grid.ncols;
    bool wrongCount = false, notNumbers = false;
    std::vector<std::string_view> values;
    for (;;) {
        if (reporter.cancelled()) {  // rows can be long: looked at before each one
            result = {};
            result.cancelled = true;
            return result;
        }
        TextGridReader::Row row = reader.nextRow(values);
        if (reader.tooLong())
            return tooLong();
        if (row == TextGridReader::Row::End)
            break;
        ++result.rows;
        reporter.progress(std::min(result.rows, grid.nrows), grid.nrows);
        if (row == TextGridReader::Row::Bad) {
            wrongCount = true;
            continue;
        }
        for (std::string_view v : values)
            if (!parseElementValue(v, TerrainElement::Real)) {
                notNumbers = true;
                break;
            }
    }
    judgeRows(result, grid.nrows, wrongCount, notNumbers);
    return result;
}

}  // namespace ovd
