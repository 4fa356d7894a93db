#include "assessment.h"

#include <cmath>

#include "background.h"
#include "common/czech_plural.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "lattice_area.h"
#include "limit_values.h"
#include "table_output.h"

namespace ovd {

namespace {

// A value as a 15.6 field holds it.
double asStored(double v)
{
    return std::round(v * 1e6) / 1e6;
}

void keepGreatest(Extreme& e, std::size_t i, double v, bool first)
{
    if (first || v > e.value)
        e = {i, v};
}

std::string atPoint(const PointTable& t, std::size_t i)
{
    const TablePoint& p = t.points()[i];
    return cformat("v bodě %s (X %.2f, Y %.2f)", p.id.c_str(), p.x, p.y);
}

// The limit and where it comes from, the allowed hours and the lines the run log gives them.
struct LimitChoice {
    double limit = 0;
    double allowedHours = 0;
    std::vector<std::string> log;
};

std::string limitDescription(const LimitValue& v)
{
    return cformat("%s µg/m³, látka %s, doba průměrování %s, povoleno %d překročení za rok, platí od %s; %s",
                   formatDecimal(v.value).c_str(), v.pollutant.c_str(),
                   std::string(averagingTitle(v.averaging)).c_str(), v.allowed, v.validFrom.c_str(),
                   v.reference.c_str());
}

// The allowed exceedance hours: the user's count, or the pollutant's 1 h limit's when the hours
// column counts hours above that limit.
std::optional<Problem> chooseAllowedHours(const AssessSettings& s, const std::vector<LimitValue>& table,
                                          const std::string& limitsPath, std::optional<double> allowed,
                                          const std::string& today, LimitChoice& c)
{
    if (allowed) {
        if (*allowed < 0 || *allowed != std::floor(*allowed))
            return Problem::error("Povolený počet hodin překročení " + s.allowedHours + " není celé číslo od 0 výše!");
        c.allowedHours = *allowed;
        c.log.push_back("Povolený počet hodin překročení: " + formatDecimal(*allowed) + " zadaný uživatelem");
        return std::nullopt;
    }
    Outcome<LimitValue> hour = chooseLimit(table, limitsPath, s.pollutant, Averaging::Hour, today);
    if (!hour)
        return hour.problem();
    std::optional<double> counted = hoursFieldConcentration(s.hoursColumn);
    if (counted && std::fabs(*counted - hour->value) > 1e-9 * hour->value)
        return Problem::error("Sloupec " + s.hoursColumn + " počítá hodiny nad " + formatDecimal(*counted) +
                              " µg/m³, hodinový limit látky " + s.pollutant + " je " + formatDecimal(hour->value) +
                              " µg/m³. Zadejte povolený počet hodin volbou --allowed-hours.");
    c.allowedHours = hour->allowed;
    c.log.push_back("Hodiny překročení: sloupec " + s.hoursColumn + ", hodinový limit " + limitDescription(*hour));
    return std::nullopt;
}

Outcome<LimitChoice> chooseLimits(const AssessSettings& s, const std::string& column, const std::string& limitsPath,
                                  std::optional<double> limit, std::optional<double> allowed)
{
    LimitChoice c;
    const bool hours = !s.hoursColumn.empty();
    std::vector<LimitValue> table;
    if (!s.pollutant.empty()) {
        Outcome<std::vector<LimitValue>> read = readLimitTable(limitsPath);
        if (!read)
            return read.problem();
        table = std::move(*read);
        if (std::optional<Problem> unknown = checkPollutant(table, limitsPath, s.pollutant))
            return *unknown;
    } else if (!limit || (hours && !allowed)) {
        return Problem::error(std::string("Není zadán ") + (limit ? "povolený počet hodin překročení" : "limit") +
                              ": zadejte látku z tabulky imisních limitů (volba --pollutant, klíč Latka v sekci "
                              "Hodnoceni)" +
                              (limit ? " nebo počet hodin (volba --allowed-hours, klíč PovolenoHodin)."
                                     : " nebo limit (volba --limit, klíč Limit)."));
    }
    const std::string today = todayText();
    if (limit) {
        if (!(*limit > 0))
            return Problem::error("Limit " + s.limit + " není kladné číslo!");
        c.limit = *limit;
        c.log.push_back("Limit: " + formatDecimal(*limit) + " µg/m³ zadaný uživatelem");
    } else {
        std::optional<Averaging> averaging = columnAveraging(column);
        if (!averaging)
            return Problem::error("U sloupce " + column +
                                  " nelze určit dobu průměrování limitu (CONC_AVG kalendářní rok, CONC_MAX a CM_… 1 h, "
                                  "CONC_VALUE 24 h). Zadejte limit volbou --limit.");
        Outcome<LimitValue> v = chooseLimit(table, limitsPath, s.pollutant, *averaging, today);
        if (!v)
            return v.problem();
        c.limit = v->value;
        c.log.push_back("Limit: " + limitDescription(*v) + " (tabulka " + limitsPath + ")");
    }
    if (hours)
        if (std::optional<Problem> p = chooseAllowedHours(s, table, limitsPath, allowed, today, c))
            return *p;
    return c;
}

std::vector<DbfField> assessedFields(const PointTable& table, bool hours)
{
    std::vector<DbfField> fields = table.pointFields();
    for (const char* name : {"PRISPEVEK", "POZADI", "CELKEM", "LIMIT", "PODIL_LIM", "PODIL_PRI", "PREKROC"})
        fields.push_back({name, 15, 6, 1});
    if (hours)
        for (const char* name : {"HOD_PREK", "PREKROC_H"})
            fields.push_back({name, 15, 6, 1});
    return fields;
}

std::vector<OutputRow> assessedRows(const PointTable& table, const std::vector<AssessedPoint>& assessed)
{
    std::vector<OutputRow> rows;
    rows.reserve(assessed.size());
    for (std::size_t i = 0; i < assessed.size(); ++i) {
        const TablePoint& p = table.points()[i];
        const AssessedPoint& a = assessed[i];
        OutputRow row = {p.idValue,
                         p.x,
                         p.y,
                         p.z,
                         p.l,
                         a.contribution,
                         a.background,
                         a.total,
                         a.limit,
                         a.shareOfLimit,
                         a.contributionShare,
                         a.exceeds ? 1.0 : 0.0};
        if (a.hours) {
            row.push_back(*a.hours);
            row.push_back(a.hoursExceed ? 1.0 : 0.0);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// The numbers the user may give: the background outside the background, the limit and the
// allowed hours.
struct UserNumbers {
    std::optional<double> fill, limit, allowed;
};

Outcome<UserNumbers> userNumbers(const AssessSettings& s)
{
    Outcome<std::optional<double>> fill = optionalNumber(s.fill, "Hodnota pozadí mimo pozadí");
    Outcome<std::optional<double>> limit = optionalNumber(s.limit, "Limit");
    Outcome<std::optional<double>> allowed = optionalNumber(s.allowedHours, "Povolený počet hodin překročení");
    for (const auto* o : {&fill, &limit, &allowed})
        if (!*o)
            return o->problem();
    if (*fill && **fill < 0)
        return Problem::error("Hodnota pozadí mimo pozadí " + s.fill + " je záporná!");
    return UserNumbers{*fill, *limit, *allowed};
}

// A column the user may leave out: none when no name is given.
Outcome<std::optional<std::vector<double>>> optionalColumn(const PointTable& table, const std::string& name)
{
    if (name.empty())
        return std::optional<std::vector<double>>();
    Outcome<std::vector<double>> values = table.column(name);
    if (!values)
        return values.problem();
    return std::optional<std::vector<double>>(std::move(*values));
}

bool refuseAssessFiles(const AssessSettings& s, const RunFiles& files, const std::string& limitsPath,
                       const std::string& output, const std::string& logPath, Reporter& r)
{
    std::vector<NamedPath> inputs = {
        {"soubor projektu", files.project}, {"soubor profilu", files.profile}, {"vstupní DBF soubor", s.input}};
    if (!s.background.empty() && !backgroundNumber(s.background))
        inputs.push_back({"soubor pozadí", s.background});
    if (!s.pollutant.empty())
        inputs.push_back({"tabulka imisních limitů", limitsPath});
    return refuseSharedFiles(r, inputs, {{"výstupní DBF soubor", output}, {"protokol o hodnocení", logPath}});
}

// "v 1 bodě", "v 5 bodech"
std::string inPoints(std::size_t count)
{
    return czechCount(static_cast<long long>(count), "bodě", "bodech", "bodech");
}

}  // namespace

Outcome<std::optional<double>> optionalNumber(const std::string& text, const char* what)
{
    if (text.empty())
        return std::optional<double>();
    std::optional<double> v = parseDecimal(text);
    if (!v || !std::isfinite(*v))
        return Problem::error(std::string(what) + " " + text + " není číslo!");
    return std::optional<double>(*v);
}

std::vector<AssessedPoint> assessPoints(const std::vector<double>& contribution, const std::vector<double>& background,
                                        double limit, const std::vector<double>* hours, double allowedHours)
{
    std::vector<AssessedPoint> out(contribution.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        AssessedPoint& p = out[i];
        p.contribution = contribution[i];
        p.background = asStored(background[i]);
        p.total = p.contribution + p.background;
        p.limit = limit;
        p.shareOfLimit = 100 * p.total / limit;
        p.contributionShare = 100 * p.contribution / limit;
        p.exceeds = asStored(p.total) > limit;
        if (hours) {
            p.hours = (*hours)[i];
            p.hoursExceed = *p.hours > allowedHours;
        }
    }
    return out;
}

AssessSummary summarizeAssessment(const std::vector<TablePoint>& points, const std::vector<AssessedPoint>& assessed)
{
    AssessSummary s;
    s.points = assessed.size();
    for (std::size_t i = 0; i < assessed.size(); ++i) {
        const AssessedPoint& p = assessed[i];
        keepGreatest(s.contribution, i, p.contribution, i == 0);
        keepGreatest(s.total, i, p.total, i == 0);
        keepGreatest(s.share, i, p.shareOfLimit, i == 0);
        s.exceeding += p.exceeds ? 1 : 0;
        s.aboveOnePercent += p.contributionShare > 1 ? 1 : 0;
        if (p.hours)
            s.hoursExceeding = s.hoursExceeding.value_or(0) + (p.hoursExceed ? 1 : 0);
    }
    if (std::optional<double> cell = latticeCellArea(points))
        s.exceedingArea = static_cast<double>(s.exceeding) * *cell / 1e6;
    return s;
}

std::vector<std::string> assessSummaryLines(const AssessSummary& s, const PointTable& t)
{
    std::vector<std::string> lines;
    lines.push_back(cformat("Posouzeno bodů: %lu", static_cast<unsigned long>(s.points)));
    lines.push_back(cformat("Největší příspěvek: %.6f µg/m³ ", s.contribution.value) + atPoint(t, s.contribution.index));
    lines.push_back(cformat("Největší celková koncentrace: %.6f µg/m³ ", s.total.value) + atPoint(t, s.total.index));
    lines.push_back(cformat("Největší podíl na limitu: %.2f %% ", s.share.value) + atPoint(t, s.share.index));
    lines.push_back("Celková koncentrace překračuje limit v " + inPoints(s.exceeding) +
                    (s.exceedingArea ? cformat(", na ploše %.2f km²", *s.exceedingArea)
                                     : std::string(" (body netvoří pravidelnou síť, plocha se neuvádí)")));
    lines.push_back("Příspěvek přesahuje 1 % limitu v " + inPoints(s.aboveOnePercent));
    if (s.hoursExceeding)
        lines.push_back("Počet hodin překročení přesahuje povolený počet v " + inPoints(*s.hoursExceeding));
    return lines;
}

ToolStatus runAssessment(const AssessSettings& s, const RunFiles& files, const RunContext& ctx,
                         std::vector<std::string>& summary)
{
    Reporter& r = ctx.reporter;
    auto fail = [&](const Problem& p) { return failedOn(p, r); };
    if (s.input.empty())
        return fail(Problem::error("Nebyl zadán vstupní DBF soubor s výsledky!"));
    const std::string column = s.column.empty() ? kDefaultAssessedColumn : s.column;
    const std::string output = assessOutputPath(s.output, s.input, "_hodnoceni");
    const std::string logPath = assessLogPath(output);
    const std::string limitsPath = s.limits.empty() ? defaultLimitTablePath() : s.limits;
    if (!refuseAssessFiles(s, files, limitsPath, output, logPath, r))
        return ToolStatus::Failed;

    Outcome<UserNumbers> numbers = userNumbers(s);
    if (!numbers)
        return fail(numbers.problem());
    Outcome<LimitChoice> choice = chooseLimits(s, column, limitsPath, numbers->limit, numbers->allowed);
    if (!choice)
        return fail(choice.problem());

    OutputLock lock;
    if (auto stop = lock.claim(ctx, {output, logPath}))
        return *stop;
    r.status(0, "Načítám DBF soubor ...");
    Outcome<PointTable> table = PointTable::read(s.input);
    if (!table)
        return fail(table.problem());
    Outcome<std::vector<double>> contribution = table->column(column);
    if (!contribution)
        return fail(contribution.problem());
    Outcome<std::optional<std::vector<double>>> hours = optionalColumn(*table, s.hoursColumn);
    if (!hours)
        return fail(hours.problem());
    r.status(0, "Zjišťuji pozadí v bodech ...");
    Outcome<Background> background = sampleBackground(
        {s.background, s.backgroundColumn, s.bilinear, numbers->fill, s.coordinateSystem, ctx.gis}, *table);
    if (!background)
        return fail(background.problem());

    const std::vector<AssessedPoint> assessed = assessPoints(*contribution, background->values, choice->limit,
                                                             *hours ? &**hours : nullptr, choice->allowedHours);
    summary = assessSummaryLines(summarizeAssessment(table->points(), assessed), *table);

    const std::vector<DbfField> fields = assessedFields(*table, hours->has_value());
    const std::vector<OutputRow> rows = assessedRows(*table, assessed);
    std::string log = "Hodnocení imisní zátěže\nDatum: " + todayText() + "\nVstupní tabulka: " + s.input +
        ", sloupec " + column + "\nPozadí: " + background->description + "\n";
    for (const std::string& l : choice->log)
        log += l + "\n";
    log += "Výstupní tabulka: " + output + "\n\n";
    return writeTableAndLog(output, fields, rows, logPath, log, summary, "Hodnocení imisní zátěže dokončeno: ", r);
}

}  // namespace ovd
