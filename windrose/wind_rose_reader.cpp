#include "wind_rose_reader.h"

#include <cmath>
#include <functional>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"

namespace ovd {

namespace {

void layoutError(Reporter& reporter)
{
    reporter.message(Severity::Error, kCaptionInfo, kBadWindRoseLayout);
}

// The fields of one data line as text; the last one runs to the line end.
std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    while (true) {
        std::size_t comma = line.find(',');
        fields.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos)
            break;
        line.remove_prefix(comma + 1);
    }
    return fields;
}

// A frequency is a percentage of the year: one number, finite, from 0 to 100.
std::optional<double> fieldValue(std::string_view field, long lineNumber, std::size_t column, Reporter& reporter)
{
    std::optional<double> value = parseDouble(field);
    if (value && *value >= 0.0 && *value <= 100.0)
        return value;
    std::string text = trim(field);
    if (text.size() > 40)
        text = text.substr(0, 40) + "...";
    const char* what = !value ? "Hodnota \"%s\" v řádku %ld, sloupci %zu souboru s větrnou růžicí není číslo!"
        : *value < 0          ? "Hodnota \"%s\" v řádku %ld, sloupci %zu souboru s větrnou růžicí je záporná!"
                     : "Hodnota \"%s\" v řádku %ld, sloupci %zu souboru s větrnou růžicí je větší než 100 %% "
                       "(četnost se udává v procentech roku)!";
    reporter.error(cformat(what, text.c_str(), lineNumber, column));
    return std::nullopt;
}

// The next line of the file; Stop when the source has reported why it cannot give one.
enum class NextLine { Line, End, Stop };
using LineSource = std::function<NextLine(std::string&)>;

std::optional<WindRose> parseWindRoseLines(const LineSource& source, Reporter& reporter)
{
    std::string line;
    long lineNumber = 0;
    auto nextLine = [&] {
        NextLine got = source(line);
        if (got == NextLine::End)
            layoutError(reporter);
        ++lineNumber;
        return got == NextLine::Line;
    };
    if (!nextLine())
        return std::nullopt;
    bool pending = line.find(';') == std::string::npos;  // the first line is data
    WindRose rose;
    for (WindRoseRow& row : rose.rows) {
        if (!pending && !nextLine())
            return std::nullopt;
        pending = false;
        std::vector<std::string_view> fields = splitFields(line);
        // A line of one field (an empty line among the eleven) has no direction.
        if (fields.size() < 2) {
            layoutError(reporter);
            return std::nullopt;
        }
        std::vector<double> values;
        for (std::size_t c = 0; c < fields.size(); ++c) {
            std::optional<double> v = fieldValue(fields[c], lineNumber, c + 1, reporter);
            if (!v)
                return std::nullopt;
            values.push_back(*v);
        }
        row.calm = values.back();
        values.pop_back();
        row.directions = std::move(values);
    }
    return rose;
}

}  // namespace

std::optional<WindRose> parseWindRose(std::string_view bytes, Reporter& reporter)
{
    std::vector<std::string> lines = splitLines(stripBom(bytes));
    std::size_t next = 0;
    return parseWindRoseLines(
        [&](std::string& line) {
            if (next >= lines.size())
                return NextLine::End;
            line = std::move(lines[next++]);
            return NextLine::Line;
        },
        reporter);
}

std::optional<WindRose> readWindRose(const std::string& path, Reporter& reporter)
{
    if (path.empty()) {
        reporter.error(kNoWindRoseFile);
        return std::nullopt;
    }
    // Only the lines the rose needs are read, so a huge or endless file costs nothing.
    File file;
    if (!isRegularFile(path) || !file.open(path, "rb")) {
        reporter.error(kCannotOpenWindRose);
        return std::nullopt;
    }
    LineReader lines(file.get());
    return parseWindRoseLines(
        [&](std::string& line) {
            if (lines.next(line))
                return NextLine::Line;
            if (!lines.tooLong())
                return NextLine::End;
            reporter.error(cformat("Řádek %ld souboru %s je delší než 1 MiB.", lines.lineNumber(), path.c_str()));
            return NextLine::Stop;
        },
        reporter);
}

bool checkWindRoseSectors(const WindRose& rose, double step, Reporter& reporter)
{
    for (const WindRoseRow& row : rose.rows) {
        long columns = static_cast<long>(row.directions.size());
        if (columns < 1 || 360 % columns != 0) {
            reporter.error(cformat("Počet sloupců růžice ( %ld) nedělí 360 !!!", columns));
            return false;
        }
        long width = 360 / columns;
        if (!(static_cast<double>(width) >= step)) {
            reporter.error(cformat("Krok výpočtu je větší než rozdělený úsek růžice ( %ld) !!!", width));
            return false;
        }
        double steps = static_cast<double>(width) / step;
        if (!(step > 0) || std::fabs(steps - std::round(steps)) > 1e-9 * steps) {
            reporter.error(cformat("Krok výpočtu nedělí vytvořený výřez větrné růžice ( %ld) !!!", width));
            return false;
        }
    }
    return true;
}

}  // namespace ovd
