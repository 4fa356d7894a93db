#include "limit_values.h"

#include <algorithm>
#include <climits>

#include "common/dbf_writer.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/text.h"

namespace ovd {

namespace {

struct AveragingName {
    Averaging averaging;
    std::string_view key, title;
};
constexpr AveragingName kAveragings[] = {
    {Averaging::Hour, "1h", "1 h"},
    {Averaging::EightHours, "8h", "8 h"},
    {Averaging::Day, "24h", "24 h"},
    {Averaging::Year, "rok", "kalendářní rok"},
    {Averaging::Winter, "zima", "zimní období"},
};

std::vector<std::string> splitFields(const std::string& line)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = line.find(';', start);
        out.push_back(trim(std::string_view(line).substr(start, end == std::string::npos ? end : end - start)));
        if (end == std::string::npos)
            return out;
        start = end + 1;
    }
}

bool isDate(std::string_view s)
{
    if (s.size() != 10 || s[4] != '-' || s[7] != '-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return false;
    return true;
}

}  // namespace

std::string_view averagingTitle(Averaging a)
{
    for (const AveragingName& n : kAveragings)
        if (n.averaging == a)
            return n.title;
    return {};
}

std::optional<Averaging> parseAveraging(std::string_view key)
{
    for (const AveragingName& n : kAveragings)
        if (n.key == key)
            return n.averaging;
    return std::nullopt;
}

std::optional<std::vector<LimitValue>> parseLimitTable(const std::string& text, std::string& error)
{
    std::vector<LimitValue> out;
    const std::vector<std::string> lines = splitLines(text);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string line = trim(lines[n]);
        if (line.empty() || line[0] == '#')
            continue;
        const std::vector<std::string> f = splitFields(line);
        auto bad = [&](const std::string& why) {
            error = cformat("řádek %lu: ", static_cast<unsigned long>(n + 1)) + why;
            return std::nullopt;
        };
        if (f.size() != 6)
            return bad("má mít šest polí oddělených středníkem (látka;doba;limit;povolená překročení;platí od;předpis)");
        LimitValue v;
        v.pollutant = f[0];
        std::optional<Averaging> a = parseAveraging(f[1]);
        std::optional<double> value = parseDouble(f[2]);
        std::optional<double> allowed = parseDouble(f[3]);
        if (v.pollutant.empty())
            return bad("chybí jméno látky");
        if (!a)
            return bad("doba průměrování " + f[1] + " není 1h, 8h, 24h, rok ani zima");
        if (!value || !(*value > 0))
            return bad("limit " + f[2] + " není kladné číslo");
        if (!allowed || *allowed < 0 || *allowed > 8784 || *allowed != static_cast<int>(*allowed))
            return bad("povolený počet překročení " + f[3] + " není celé číslo od 0 do 8784");
        if (!isDate(f[4]))
            return bad("datum platnosti " + f[4] + " není ve tvaru RRRR-MM-DD");
        v.averaging = *a;
        v.value = *value;
        v.allowed = static_cast<int>(*allowed);
        v.validFrom = f[4];
        v.reference = f[5];
        out.push_back(std::move(v));
    }
    return out;
}

Outcome<std::vector<LimitValue>> readLimitTable(const std::string& path)
{
    std::optional<TextFile> file = readTextFile(path);
    if (!file)
        return Problem::error("Tabulku imisních limitů " + path + " nelze přečíst!");
    std::string text;
    for (const std::string& l : file->lines)
        text += l + "\n";
    std::string error;
    std::optional<std::vector<LimitValue>> table = parseLimitTable(text, error);
    if (!table)
        return Problem::error("Tabulka imisních limitů " + path + " je chybná: " + error + ".");
    return std::move(*table);
}

std::string defaultLimitTablePath()
{
    if (std::optional<std::string> folder = installedDataFolder()) {
        std::string installed = *folder + "imisni_limity.txt";
        if (isRegularFile(installed))
            return installed;
    }
    return OVD_LIMITS_FILE;
}

std::optional<Averaging> columnAveraging(std::string_view column)
{
    auto is = [&](std::string_view name) { return equalsIgnoreCase(column, name); };
    auto starts = [&](std::string_view prefix) {
        return column.size() > prefix.size() && equalsIgnoreCase(column.substr(0, prefix.size()), prefix);
    };
    if (is("CONC_AVG"))
        return Averaging::Year;
    if (is("CONC_MAX") || starts("CM_") || starts("T1_"))
        return Averaging::Hour;
    if (is("CONC_VALUE"))
        return Averaging::Day;
    return std::nullopt;
}

std::optional<double> hoursFieldConcentration(std::string_view column)
{
    // T1_<whole>_<decimals>0: the limit written in seven characters with its point replaced.
    if (column.size() != 11 || !(column[0] == 'T' || column[0] == 't') || column[1] != '1' || column[2] != '_')
        return std::nullopt;
    std::string rest(column.substr(3));
    std::size_t sep = rest.find('_');
    if (sep == std::string::npos || sep == 0 || rest.back() != '0')
        return std::nullopt;
    std::string number = rest.substr(0, sep) + "." + rest.substr(sep + 1, rest.size() - sep - 2);
    return parseDouble(number);
}

std::optional<Problem> checkPollutant(const std::vector<LimitValue>& table, const std::string& path,
                                     std::string_view pollutant)
{
    std::vector<std::string> known;
    for (const LimitValue& v : table) {
        if (equalsIgnoreCase(v.pollutant, pollutant))
            return std::nullopt;
        if (std::find(known.begin(), known.end(), v.pollutant) == known.end())
            known.push_back(v.pollutant);
    }
    std::string names;
    for (const std::string& k : known)
        names += (names.empty() ? "" : ", ") + k;
    return Problem::error("Látka " + std::string(pollutant) + " není v tabulce imisních limitů " + path +
                          " (tabulka uvádí: " + names + ").");
}

Outcome<LimitValue> chooseLimit(const std::vector<LimitValue>& table, const std::string& path,
                                std::string_view pollutant, Averaging averaging, std::string_view today)
{
    if (std::optional<Problem> unknown = checkPollutant(table, path, pollutant))
        return *unknown;
    const LimitValue* best = nullptr;
    std::string times;
    for (const LimitValue& v : table) {
        if (!equalsIgnoreCase(v.pollutant, pollutant))
            continue;
        const std::string title(averagingTitle(v.averaging));
        if (times.find(title) == std::string::npos)
            times += (times.empty() ? "" : ", ") + title;
        if (v.averaging != averaging || v.validFrom > today)
            continue;
        if (!best || v.validFrom >= best->validFrom)
            best = &v;
    }
    if (!best)
        return Problem::error("Látka " + std::string(pollutant) + " nemá v tabulce imisních limitů " + path +
                              " platný limit s dobou průměrování " + std::string(averagingTitle(averaging)) +
                              " (má limity pro " + times + "). Zadejte limit volbou --limit.");
    return *best;
}

std::string todayText()
{
    DbfDate d = DbfDate::todayUtc();
    return cformat("%04d-%02d-%02d", d.year, d.month, d.day);
}

}  // namespace ovd
