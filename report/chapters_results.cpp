// Chapters 6 to 8: the settings of the computations, the results of each table, and the
// assessment, the comparison of variants and the shares of source groups.
#include <algorithm>
#include <numeric>

#include "app/tool_registry.h"
#include "app/ui/tool_form.h"
#include "common/numbers.h"
#include "common/text.h"
#include "report_chapters.h"
#include "report_pictures.h"

namespace ovd {

namespace {

constexpr std::size_t kTopCount = 10;

std::string withoutColon(std::string_view label)
{
    std::string t = trim(label);
    while (!t.empty() && (t.back() == ':' || t.back() == ' '))
        t.pop_back();
    return t;
}

std::string shownValue(const mainui::FormField& f, const Project& p)
{
    const std::string raw = readParamText(p, *f.param);
    switch (f.kind) {
    case mainui::FieldKind::Check: return raw == "1" ? "ano" : "ne";
    case mainui::FieldKind::Choice:
    case mainui::FieldKind::List: {
        long i = readParamInt(p, *f.param);
        return i >= 0 && static_cast<std::size_t>(i) < f.options.size() ? trim(f.options[static_cast<std::size_t>(i)])
                                                                        : raw;
    }
    case mainui::FieldKind::Decimal: return plainValue(readParamDouble(p, *f.param));
    default: break;
    }
    return raw.empty() ? "(výchozí)" : raw;
}

// The dialog's labels and the project's values; the tools without a dialog by their options.
ReportTable toolSettings(std::string_view command, const Project& p)
{
    ReportTable t;
    t.header = {"Nastavení", "Hodnota"};
    t.numeric = {false, false};
    if (const mainui::ToolForm* form = mainui::findToolForm(command)) {
        for (const mainui::FormField& f : form->fields) {
            if (!f.param || f.kind == mainui::FieldKind::Substance || f.param->role == ParamRole::RunMinimized)
                continue;
            std::string label = withoutColon(f.label);
            if (label.empty())
                label = f.group.empty() ? "Volba" : withoutColon(f.group);
            t.rows.push_back({label, shownValue(f, p)});
        }
        return t;
    }
    const ToolEntry* tool = findTool(command);
    for (const OptionSpec& o : tool ? tool->options : std::span<const OptionSpec>{}) {
        if (o.key.empty())
            continue;
        std::string label(o.help);
        if (!label.empty() && label[0] >= 'a' && label[0] <= 'z')
            label[0] = static_cast<char>(label[0] - 'a' + 'A');
        std::string value = p.readString(o.section, o.key);
        t.rows.push_back({label, value.empty() ? "(výchozí)" : value});
    }
    return t;
}

bool hasKind(const StudyData& s, std::initializer_list<TableKind> kinds)
{
    return std::any_of(s.tables.begin(), s.tables.end(), [&](const StudyTable& t) {
        return std::find(kinds.begin(), kinds.end(), t.kind) != kinds.end();
    });
}

std::optional<double> valueAt(const ResultPoints& r, std::size_t row, const std::string& column)
{
    std::optional<std::size_t> c = r.find(column);
    return c ? r.points[row].numbers[*c] : std::nullopt;
}

// Rows of the table by the column, highest first (ties in table order).
std::vector<std::size_t> highest(const ResultPoints& r, const std::string& column, std::size_t count)
{
    std::optional<std::size_t> c = r.find(column);
    std::vector<std::size_t> rows;
    if (!c)
        return rows;
    for (std::size_t i = 0; i < r.points.size(); ++i)
        if (r.points[i].numbers[*c])
            rows.push_back(i);
    std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) {
        return *r.points[a].numbers[*c] > *r.points[b].numbers[*c];
    });
    if (rows.size() > count)
        rows.resize(count);
    return rows;
}

std::string valueText(const ResultPoints& r, std::size_t row, const std::string& column)
{
    std::optional<double> v = valueAt(r, row, column);
    return v ? plainValue(*v) : "";
}

ReportTable topTable(const ResultPoints& r, const std::vector<std::size_t>& rows, const std::vector<std::string>& columns)
{
    ReportTable t;
    t.header = {"Pořadí", "Bod", "X [m]", "Y [m]"};
    for (const std::string& c : columns)
        t.header.push_back(c);
    t.numeric.assign(t.header.size(), true);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ResultPoint& p = r.points[rows[i]];
        std::vector<std::string> cells{czechWhole(static_cast<long long>(i + 1)), r.label(p), plainValue(p.x),
                                       plainValue(p.y)};
        for (const std::string& c : columns)
            cells.push_back(valueText(r, rows[i], c));
        t.rows.push_back(std::move(cells));
    }
    return t;
}

// "T1_50_00000" as the limit it counts hours above ("50,0000"); the names of limits out of
// range ("T1_CONC_1") as they stand.
std::string limitOfHoursField(const std::string& name)
{
    if (name.size() != 11 || name.compare(3, 5, "CONC_") == 0)
        return name;
    std::string rest = name.substr(3, 7);
    std::size_t us = rest.find('_');
    return us == std::string::npos ? name : rest.substr(0, us) + "," + rest.substr(us + 1);
}

void exceedanceTable(ReportDocument& doc, const ResultPoints& r)
{
    ReportTable t;
    t.header = {"Limit [µg/m³]", "Nejvíce hodin za rok", "V bodě", "Bodů s překročením"};
    t.numeric = {true, true, false, true};
    for (std::size_t a = 0; a < r.attributes.size(); ++a) {
        const std::string& name = r.attributes[a].name;
        if (name.size() < 3 || name[0] != 'T' || name[2] != '_' || name[1] < '1' || name[1] > '3')
            continue;
        std::vector<std::size_t> top = highest(r, name, 1);
        long long over = 0;
        for (const ResultPoint& p : r.points)
            over += p.numbers[a] && *p.numbers[a] > 0 ? 1 : 0;
        t.rows.push_back({limitOfHoursField(name), top.empty() ? "" : valueText(r, top[0], name),
                          top.empty() ? "" : r.label(r.points[top[0]]), czechWhole(over)});
    }
    if (t.rows.empty())
        return;
    t.caption = "Počet hodin za rok s koncentrací nad limitem";
    doc.table(std::move(t));
}

void statistics(ReportDocument& doc, const StudyTable& t, const std::string& column)
{
    const ResultPoints& r = t.rows;
    std::vector<std::size_t> top = highest(r, column, r.points.size());
    if (top.empty()) {
        doc.paragraph("Tabulka nemá ve sloupci " + column + " žádnou hodnotu.");
        return;
    }
    const std::size_t best = top.front();
    const std::size_t c = *r.find(column);
    double sum = 0;
    for (std::size_t row : top)
        sum += *r.points[row].numbers[c];
    const ResultPoint& p = r.points[best];
    std::vector<std::pair<std::string, std::string>> rows{
        {"Počet bodů", czechWhole(static_cast<long long>(r.points.size()))},
        {"Sloupec", column + " [" + columnUnit(column) + "]"},
        {"Nejvyšší hodnota", valueText(r, best, column)},
        {"Bod nejvyšší hodnoty", r.label(p)},
        {"Souřadnice bodu X, Y [m]", plainValue(p.x) + "; " + plainValue(p.y)},
        {"Nejnižší hodnota", valueText(r, top.back(), column)},
        {"Průměr přes body", czechNumber(sum / static_cast<double>(top.size()), 6)},
    };
    if (t.kind == TableKind::Maximum) {
        rows.push_back({"Třída stability maxima", valueText(r, best, "CLASS_STAB")});
        rows.push_back({"Rychlost větru maxima [m/s]", valueText(r, best, "W_VELOCITY")});
        rows.push_back({"Směr větru maxima [°]", valueText(r, best, "W_DIRECT")});
    }
    doc.table(labelTable(rows, "Statistika tabulky " + t.path));
    std::vector<std::string> columns{column};
    if (t.kind == TableKind::Maximum)
        columns = {column, "CLASS_STAB", "W_VELOCITY", "W_DIRECT"};
    top.resize(std::min(top.size(), kTopCount));
    ReportTable ten = topTable(r, top, columns);
    ten.caption = "Body s nejvyššími hodnotami sloupce " + column;
    doc.table(std::move(ten));
}

void tableHead(ReportDocument& doc, const std::string& number, const StudyTable& t)
{
    doc.section(number + " " + t.path + ": " + tableKindText(t.kind));
    doc.paragraph("Tabulka " + t.path + " (" + t.role + "), vypočtena " + t.date + ".");
    if (t.stale())
        doc.paragraph("NEAKTUÁLNÍ: " + staleText(t), true);
}

void mapOf(ReportDocument& doc, const ReportContext& c, std::size_t i, const std::string& caption)
{
    if (!c.maps[i])
        return;
    MapSettings s = loadSettings<MapSettings>(c.project);
    doc.picture({valuesMap(*c.maps[i], s), caption, 160});
}

bool isResult(TableKind k)
{
    return k != TableKind::Assessment && k != TableKind::Comparison && k != TableKind::Shares;
}

void assessment(ReportDocument& doc, const StudyTable& t)
{
    const ResultPoints& r = t.rows;
    statistics(doc, t, "CELKEM");
    std::optional<std::size_t> over = r.find("PREKROC");
    std::vector<std::size_t> above;
    for (std::size_t i = 0; over && i < r.points.size(); ++i)
        if (r.points[i].numbers[*over].value_or(0) > 0)
            above.push_back(i);
    std::vector<std::size_t> top = highest(r, "PODIL_LIM", 1);
    doc.table(labelTable({{"Imisní limit [µg/m³]", r.points.empty() ? "" : valueText(r, 0, "LIMIT")},
                          {"Nejvyšší podíl celkové koncentrace na limitu [%]",
                           top.empty() ? "" : valueText(r, top[0], "PODIL_LIM")},
                          {"Podíl příspěvku na celkové koncentraci v tom bodě [%]",
                           top.empty() ? "" : valueText(r, top[0], "PODIL_PRI")},
                          {"Bodů nad limitem", czechWhole(static_cast<long long>(above.size()))}},
                         "Celková koncentrace (příspěvek a pozadí) proti imisnímu limitu"));
    if (above.empty()) {
        doc.paragraph("V žádném bodě celková koncentrace limit nepřekračuje.");
        return;
    }
    std::stable_sort(above.begin(), above.end(), [&](std::size_t a, std::size_t b) {
        return valueAt(r, a, "CELKEM").value_or(0) > valueAt(r, b, "CELKEM").value_or(0);
    });
    const std::size_t shown = std::min<std::size_t>(above.size(), 20);
    ReportTable list = topTable(r, std::vector<std::size_t>(above.begin(), above.begin() + static_cast<long>(shown)),
                                {"PRISPEVEK", "POZADI", "CELKEM", "PODIL_LIM"});
    list.caption = above.size() > shown ? "Dvacet bodů s nejvyšší celkovou koncentrací nad limitem (z " +
                                              czechWhole(static_cast<long long>(above.size())) + ")"
                                        : "Body nad limitem";
    doc.table(std::move(list));
}

void comparison(ReportDocument& doc, const StudyTable& t)
{
    const ResultPoints& r = t.rows;
    std::vector<std::size_t> order = highest(r, "ROZDIL", r.points.size());
    long long up = 0, down = 0;
    for (std::size_t row : order) {
        double d = *valueAt(r, row, "ROZDIL");
        up += d > 0;
        down += d < 0;
    }
    if (order.empty()) {
        doc.paragraph("Tabulka porovnání nemá žádný rozdíl.");
        return;
    }
    const ResultPoint& hi = r.points[order.front()];
    const ResultPoint& lo = r.points[order.back()];
    doc.table(labelTable({{"Počet bodů", czechWhole(static_cast<long long>(r.points.size()))},
                          {"Největší nárůst (varianta − základ)", valueText(r, order.front(), "ROZDIL")},
                          {"Bod největšího nárůstu", r.label(hi) + " (" + plainValue(hi.x) + "; " + plainValue(hi.y) + ")"},
                          {"Největší pokles", valueText(r, order.back(), "ROZDIL")},
                          {"Bod největšího poklesu", r.label(lo) + " (" + plainValue(lo.x) + "; " + plainValue(lo.y) + ")"},
                          {"Bodů s nárůstem", czechWhole(up)},
                          {"Bodů s poklesem", czechWhole(down)}},
                         "Souhrn rozdílu variant"));
    order.resize(std::min(order.size(), kTopCount));
    ReportTable ten = topTable(r, order, {"ZAKLAD", "VARIANTA", "ROZDIL", "ZMENA_PROC"});
    ten.caption = "Body s největším nárůstem";
    doc.table(std::move(ten));
}

// The shares of the groups at the ten highest points of the annual table they belong to.
void shares(ReportDocument& doc, const StudyTable& t, const StudyData& study)
{
    const StudyTable* annual = nullptr;
    for (const StudyTable& s : study.tables)
        if (!annual && s.kind == TableKind::Annual && s.rows.points.size() == t.rows.points.size())
            annual = &s;
    if (!annual) {
        doc.paragraph("Zpráva neobsahuje tabulku ročních průměrů se stejnými body, podíly proto nelze vztáhnout k "
                      "nejvyšším hodnotám.");
        return;
    }
    std::vector<std::string> groups;
    for (const Attribute& a : t.rows.attributes)
        if (a.name.rfind("GR_", 0) == 0)
            groups.push_back(a.name);
    ReportTable out;
    out.header = {"Bod", "CONC_AVG"};
    for (const std::string& g : groups)
        out.header.push_back("skupina " + std::to_string(std::stol(g.substr(3))) + " [%]");
    out.numeric.assign(out.header.size(), true);
    for (std::size_t row : highest(annual->rows, "CONC_AVG", kTopCount)) {
        std::vector<std::string> cells{annual->rows.label(annual->rows.points[row]),
                                       valueText(annual->rows, row, "CONC_AVG")};
        for (const std::string& g : groups)
            cells.push_back(czechNumber(valueAt(t.rows, row, g).value_or(0), 1));
        out.rows.push_back(std::move(cells));
    }
    out.caption = "Podíly skupin zdrojů v deseti bodech s nejvyšším ročním průměrem tabulky " + annual->path;
    doc.table(std::move(out));
}

}  // namespace

void settingsChapter(ReportDocument& doc, const ReportContext& c)
{
    doc.chapter("6 Nastavení výpočtů");
    doc.paragraph("Nastavení každého výpočtu tak, jak je nyní uvádí projekt, s popisy z dialogů programu.");
    struct Step {
        const char* command;
        const char* title;
        bool shown;
    };
    const StudyData& s = c.study;
    const bool any = !s.tables.empty();
    const Step steps[] = {
        {"convert", "Převod textových souborů", any},
        {"coefficients", "Výpočet koeficientů Theta, Delta, ZMax", any},
        {"concentrations", "Výpočet ročních a maximálních koncentrací",
         hasKind(s, {TableKind::Annual, TableKind::Maximum, TableKind::Shares})},
        {"daily", "Výpočet denní koncentrace", hasKind(s, {TableKind::Daily})},
        {"assess", "Hodnocení imisní zátěže", hasKind(s, {TableKind::Assessment})},
        {"compare", "Porovnání variant", hasKind(s, {TableKind::Comparison})},
        {"scale-groups", "Přepočet emisí skupin zdrojů", hasKind(s, {TableKind::Scaled})},
    };
    int n = 0;
    for (const Step& step : steps) {
        if (!step.shown)
            continue;
        doc.section("6." + std::to_string(++n) + " " + step.title);
        doc.table(toolSettings(step.command, c.project));
    }
    if (n == 0)
        doc.paragraph("Studie nemá žádný výsledek, nastavení výpočtů se proto neuvádí.");
}

namespace {

// The study's result tables (`results`) or its other tables, each headed "`chapter`.N" in
// turn and written by `write`; `none` stands in the chapter when it has no table.
template <class Write>
void tablesOfChapter(ReportDocument& doc, const ReportContext& c, std::string_view chapter, bool results,
                     std::string_view none, Write write)
{
    int n = 0;
    for (std::size_t i = 0; i < c.study.tables.size(); ++i) {
        const StudyTable& t = c.study.tables[i];
        if (isResult(t.kind) != results)
            continue;
        tableHead(doc, std::string(chapter) + "." + std::to_string(++n), t);
        write(i, t);
    }
    if (n == 0)
        doc.paragraph(std::string(none));
}

}  // namespace

void resultsChapter(ReportDocument& doc, const ReportContext& c)
{
    doc.chapter("7 Výsledky");
    tablesOfChapter(doc, c, "7", true, "Studie nemá žádnou tabulku výsledků výpočtu.",
                    [&](std::size_t i, const StudyTable& t) {
                        const std::string column = t.mainColumn();
                        if (column.empty()) {
                            doc.paragraph("Tabulka nemá žádný sloupec s hodnotami.");
                            return;
                        }
                        statistics(doc, t, column);
                        exceedanceTable(doc, t.rows);
                        mapOf(doc, c, i, "Mapa sloupce " + column + " tabulky " + t.path);
                    });
}

void assessmentChapter(ReportDocument& doc, const ReportContext& c)
{
    doc.chapter("8 Hodnocení, porovnání variant a podíly skupin");
    tablesOfChapter(doc, c, "8", false,
                    "Studie nemá tabulku hodnocení, porovnání variant ani podílů skupin zdrojů.",
                    [&](std::size_t i, const StudyTable& t) {
                        if (t.kind == TableKind::Assessment) {
                            assessment(doc, t);
                            mapOf(doc, c, i, "Celková koncentrace proti limitu (tabulka " + t.path + ")");
                        } else if (t.kind == TableKind::Comparison) {
                            comparison(doc, t);
                            mapOf(doc, c, i, "Rozdíl variant (tabulka " + t.path + ")");
                        } else {
                            shares(doc, t, c.study);
                        }
                    });
}

}  // namespace ovd
