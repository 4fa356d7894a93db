#include "wind_rose_table_file.h"

#include <cerrno>
#include <cmath>
#include <cstring>

#include "common/file_io.h"
#include "common/numbers.h"
#include "common/text.h"

namespace ovd {

namespace {

constexpr std::size_t kFieldWidth = 6;

std::string systemError(int err, std::string_view fallback)
{
    return err != 0 ? std::string(std::strerror(err)) : std::string(fallback);
}

// The comment as one line: blanks around it removed, line breaks inside it made blanks.
std::string commentLine(std::string_view comment)
{
    std::string text = trim(comment);
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

std::string_view skipBlanks(std::string_view s)
{
    std::size_t i = s.find_first_not_of(" \t");
    return i == std::string_view::npos ? std::string_view() : s.substr(i);
}

}  // namespace

std::optional<std::string> formatWindRoseValue(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    double rounded = std::round(value * 100.0) / 100.0;
    if (!std::isfinite(rounded))
        return std::nullopt;  // a huge value overflows in hundredths: "   inf" would fit the field
    if (rounded == 0)
        rounded = 0;  // no "-0.00"
    std::string text = cformat("%6.2f", rounded);
    if (text.size() != kFieldWidth)
        return std::nullopt;
    return text;
}

Outcome<std::string> formatWindRoseFile(const WindRoseTable& table)
{
    std::string text;
    std::string comment = commentLine(table.comment);
    if (!comment.empty())
        text += ";" + comment + "\r\n";
    for (std::size_t r = 0; r < kWindRoseRows; ++r) {
        for (std::size_t c = 0; c < kWindRoseColumns; ++c) {
            std::optional<std::string> field = formatWindRoseValue(table.values[r][c]);
            if (!field)
                return Problem::error(cformat("Hodnota %s v řádku %s, sloupci %s se nevejde do šesti znaků "
                                              "(lze zapsat -99.99 až 999.99).\nTabulku nemohu uložit.",
                                              formatDecimal(table.values[r][c]).c_str(),
                                              trim(kWindRoseRowLabels[r]).c_str(),
                                              std::string(kWindRoseColumnNames[c]).c_str()));
            if (c > 0)
                text += ',';
            text += *field;
        }
        text += "\r\n";
    }
    return utf8ToCp1250(text);
}

bool confirmTotalNot100(bool safeSave, Reporter& reporter)
{
    if (safeSave) {
        reporter.message(Severity::Error, kTotalErrorCaption,
                         std::string(kTotalNot100) + "\n" + std::string(kCannotSaveTable));
        return false;
    }
    Question q{std::string(kTotalWarningCaption), std::string(kTotalNot100) + "\n" + std::string(kSaveAnyway),
               Buttons::YesNo, Answer::No};
    return reporter.ask(q) == Answer::Yes;
}

bool totalIs100(const WindRoseTable& table)
{
    // Whole hundredths, so that 99 values of two decimals add up without rounding error.
    long long hundredths = 0;
    for (const auto& row : table.values)
        for (double v : row)
            hundredths += std::isfinite(v) && std::fabs(v) < 1e12 ? std::llround(v * 100.0) : 1000000;
    return hundredths == 10000;
}

bool saveWindRoseTable(const std::string& path, const WindRoseTable& table, bool safeSave, Reporter& reporter)
{
    Outcome<std::string> bytes = formatWindRoseFile(table);
    if (!bytes) {
        bytes.problem().report(reporter);
        return false;
    }
    if (!totalIs100(table) && !confirmTotalNot100(safeSave, reporter))
        return false;
    errno = 0;
    if (!writeFileAtomically(path, *bytes)) {
        reporter.message(Severity::Warning, kSaveCaption, systemError(errno, "Soubor nelze zapsat."));
        return false;
    }
    return true;
}

std::size_t parseWindRoseTable(std::string_view bytes, WindRoseTable& table)
{
    table.comment.clear();
    std::size_t row = 0;
    for (const std::string& line : splitLines(decodeText(bytes))) {
        if (row >= kWindRoseRows)
            break;
        std::string_view rest = skipBlanks(line);
        if (!rest.empty() && rest.front() == ';') {
            if (table.comment.empty())
                table.comment = std::string(rest.substr(1));
            continue;
        }
        std::string_view fields = line;
        for (std::size_t c = 0; c < kWindRoseColumns; ++c) {
            std::size_t comma = fields.find(',');
            std::string_view field = fields.substr(0, comma);
            table.values[row][c] = scanDouble(field).value_or(0.0);
            fields = comma == std::string_view::npos ? std::string_view() : fields.substr(comma + 1);
        }
        ++row;
    }
    return row;
}

bool loadWindRoseTable(const std::string& path, WindRoseTable& table, Reporter& reporter, std::size_t* rows)
{
    errno = 0;
    std::optional<std::string> bytes = readFileBytes(path);
    if (!bytes) {
        table.comment.clear();
        reporter.message(Severity::Warning, kOpenCaption, systemError(errno, "Soubor nelze přečíst."));
        return false;
    }
    std::size_t taken = parseWindRoseTable(*bytes, table);
    if (rows)
        *rows = taken;
    return true;
}

}  // namespace ovd
