#include <algorithm>
#include <vector>

#include "common/file_io.h"
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
    case TextGridHeaderError::UnknownKind: return "Neznámý formát textového souboru s výškopisem !";
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
        result.text = counts + ", některé hodnoty nejsou čísla !";
    else if (result.rows != headerRows)
        result.text = counts + cformat(", hlavička uvádí %ld řádků !", headerRows);
    else {
        result.text = counts + ", matice vyhovuje.";
        result.usable = true;
    }
}

}  // namespace

TerrainCheckResult checkTerrainText(const std::string& textInput, Reporter& reporter)
{
    TerrainCheckResult result;
    File input;
    if (!input.openInput(textInput)) {
        reporter.error("Vstupní soubor maticí výškopisu nelze otevřít !");
        result.unreadable = true;
        return result;
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
