#include "wind_rose_reader.h"

#include <cmath>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"

namespace ovd {

namespace {

void layoutError(Reporter& reporter)
{
    reporter.message(Severity::Error, kCaptionInfo, kBadWindRoseLayout);
}

std::vector<double> splitFields(std::string_view line)
{
    std::vector<double> values;
    while (true) {
        std::size_t comma = line.find(',');
        values.push_back(scanDouble(line.substr(0, comma)).value_or(0.0));
        if (comma == std::string_view::npos)
            break;
        line.remove_prefix(comma + 1);
    }
    return values;
}

}  // namespace

std::optional<WindRose> parseWindRose(std::string_view bytes, Reporter& reporter)
{
    std::vector<std::string> lines = splitLines(bytes);
    std::size_t next = 0;
    if (!lines.empty() && lines[0].find(';') != std::string::npos)
        next = 1;
    if (lines.size() < next + 11) {
        layoutError(reporter);
        return std::nullopt;
    }
    WindRose rose;
    for (WindRoseRow& row : rose.rows) {
        std::vector<double> fields = splitFields(lines[next++]);
        // A line of one field (an empty line among the eleven) has no direction.
        if (fields.size() < 2) {
            layoutError(reporter);
            return std::nullopt;
        }
        row.calm = fields.back();
        fields.pop_back();
        row.directions = std::move(fields);
    }
    return rose;
}

std::optional<WindRose> readWindRose(const std::string& path, Reporter& reporter)
{
    if (path.empty()) {
        reporter.error(kNoWindRoseFile);
        return std::nullopt;
    }
    std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) {
        reporter.error(kCannotOpenWindRose);
        return std::nullopt;
    }
    return parseWindRose(*bytes, reporter);
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
