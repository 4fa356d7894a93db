#include "comparison.h"

#include <cmath>

#include "common/czech_plural.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "limit_values.h"
#include "table_output.h"

namespace ovd {

namespace {

// Coordinates as the tables store them, six decimals.
bool sameCoordinate(double a, double b)
{
    return std::fabs(a - b) <= 5e-7 * std::max(1.0, std::fabs(a));
}

std::string pointLine(const TablePoint& p)
{
    return cformat("bod %s (X %.6f, Y %.6f)", p.id.c_str(), p.x, p.y);
}

std::string atPoint(const PointTable& t, std::size_t i)
{
    const TablePoint& p = t.points()[i];
    return cformat("v bodě %s (X %.2f, Y %.2f)", p.id.c_str(), p.x, p.y);
}

}  // namespace

std::vector<ComparedPoint> comparePoints(const std::vector<double>& base, const std::vector<double>& variant)
{
    std::vector<ComparedPoint> out(base.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        ComparedPoint& c = out[i];
        c.base = base[i];
        c.variant = variant[i];
        c.difference = c.variant - c.base;
        if (c.base != 0)
            c.changePercent = 100 * c.difference / c.base;
    }
    return out;
}

std::optional<Problem> checkSamePoints(const PointTable& base, const PointTable& variant)
{
    const auto& a = base.points();
    const auto& b = variant.points();
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i].id != b[i].id || !sameCoordinate(a[i].x, b[i].x) || !sameCoordinate(a[i].y, b[i].y))
            return Problem::error(cformat("Tabulky %s a %s nemají stejné body: %lu. záznam je v první ",
                                          base.path().c_str(), variant.path().c_str(),
                                          static_cast<unsigned long>(a[i].record)) +
                                  pointLine(a[i]) + ", ve druhé " + pointLine(b[i]) + ".");
    if (a.size() != b.size()) {
        const PointTable& longer = a.size() > b.size() ? base : variant;
        return Problem::error(cformat("Tabulky %s a %s nemají stejné body: %s má ", base.path().c_str(),
                                      variant.path().c_str(), longer.path().c_str()) +
                              czechCount(static_cast<long long>(std::max(a.size(), b.size())), "bod", "body", "bodů") +
                              cformat(", %s jen %lu; první bod navíc je ",
                                      (&longer == &base ? variant : base).path().c_str(),
                                      static_cast<unsigned long>(n)) +
                              pointLine(longer.points()[n]) + ".");
    }
    return std::nullopt;
}

CompareSummary summarizeComparison(const std::vector<ComparedPoint>& points, double threshold)
{
    CompareSummary s;
    s.points = points.size();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double d = points[i].difference;
        if (d > 0 && (!s.increase || d > s.increase->value))
            s.increase = Extreme{i, d};
        if (d < 0 && (!s.decrease || d < s.decrease->value))
            s.decrease = Extreme{i, d};
        s.aboveThreshold += d > threshold ? 1 : 0;
    }
    return s;
}

std::vector<std::string> compareSummaryLines(const CompareSummary& s, double threshold, const PointTable& t)
{
    std::vector<std::string> lines;
    lines.push_back(cformat("Porovnáno bodů: %lu", static_cast<unsigned long>(s.points)));
    lines.push_back(s.increase ? cformat("Největší nárůst: %.6f µg/m³ ", s.increase->value) + atPoint(t, s.increase->index)
                               : std::string("Největší nárůst: žádný bod nevzrostl"));
    lines.push_back(s.decrease ? cformat("Největší pokles: %.6f µg/m³ ", s.decrease->value) + atPoint(t, s.decrease->index)
                               : std::string("Největší pokles: žádný bod neklesl"));
    lines.push_back("Nárůst nad práh " + formatDecimal(threshold) + " µg/m³ v " +
                    czechCount(static_cast<long long>(s.aboveThreshold), "bodě", "bodech", "bodech"));
    return lines;
}

namespace {

// The two variants' tables, checked to hold the same points, and their compared columns.
struct ComparedTables {
    PointTable base, variant;
    std::vector<double> a, b;
};

Outcome<ComparedTables> readCompared(const CompareSettings& s, const std::string& column)
{
    Outcome<PointTable> base = PointTable::read(s.base);
    if (!base)
        return base.problem();
    Outcome<PointTable> variant = PointTable::read(s.variant);
    if (!variant)
        return variant.problem();
    if (std::optional<Problem> differ = checkSamePoints(*base, *variant))
        return *differ;
    Outcome<std::vector<double>> a = base->column(column);
    if (!a)
        return a.problem();
    Outcome<std::vector<double>> b = variant->column(column);
    if (!b)
        return b.problem();
    return ComparedTables{std::move(*base), std::move(*variant), std::move(*a), std::move(*b)};
}

}  // namespace

ToolStatus runComparison(const CompareSettings& s, const RunFiles& files, const RunContext& ctx,
                         std::vector<std::string>& summary)
{
    Reporter& r = ctx.reporter;
    if (s.base.empty() || s.variant.empty())
        return failedOn(Problem::error("Nebyly zadány oba porovnávané DBF soubory s výsledky (volby --base a "
                                       "--variant, klíče VstZaklad a VstVarianta v sekci Varianty)!"),
                        r);
    const std::string column = s.column.empty() ? kDefaultAssessedColumn : s.column;
    const std::string output = assessOutputPath(s.output, s.variant, "_rozdil");
    const std::string logPath = assessLogPath(output);
    if (!refuseSharedFiles(r,
                           {{"soubor projektu", files.project},
                            {"soubor profilu", files.profile},
                            {"DBF soubor základní varianty", s.base},
                            {"DBF soubor porovnávané varianty", s.variant}},
                           {{"výstupní DBF soubor", output}, {"protokol o porovnání", logPath}}))
        return ToolStatus::Failed;
    Outcome<std::optional<double>> threshold = optionalNumber(s.threshold, "Práh nárůstu");
    if (!threshold)
        return failedOn(threshold.problem(), r);
    const double limit = threshold->value_or(0);

    OutputLock lock;
    if (auto stop = lock.claim(ctx, {output, logPath}))
        return *stop;
    r.status(0, "Načítám DBF soubory ...");
    Outcome<ComparedTables> tables = readCompared(s, column);
    if (!tables)
        return failedOn(tables.problem(), r);
    const std::vector<ComparedPoint> compared = comparePoints(tables->a, tables->b);
    summary = compareSummaryLines(summarizeComparison(compared, limit), limit, tables->base);
    std::vector<DbfField> fields = tables->base.pointFields();
    for (const char* name : {"ZAKLAD", "VARIANTA", "ROZDIL", "ZMENA_PROC"})
        fields.push_back({name, 15, 6, 1});
    std::vector<OutputRow> rows;
    rows.reserve(compared.size());
    for (std::size_t i = 0; i < compared.size(); ++i) {
        const TablePoint& p = tables->base.points()[i];
        const ComparedPoint& c = compared[i];
        rows.push_back({p.idValue, p.x, p.y, p.z, p.l, c.base, c.variant, c.difference, c.changePercent});
    }
    std::string log = "Porovnání variant\nDatum: " + todayText() + "\nZákladní varianta: " + s.base +
        "\nPorovnávaná varianta: " + s.variant + "\nSloupec: " + column + "\nVýstupní tabulka: " + output + "\n\n";
    return writeTableAndLog(output, fields, rows, logPath, log, summary, "Porovnání variant dokončeno: ", r);
}

}  // namespace ovd
