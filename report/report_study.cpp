#include "report_study.h"

#include "app/run_signatures.h"
#include "app/study_tables.h"
#include "common/dbf_reader.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/project_paths.h"
#include "common/text.h"

namespace ovd {

namespace {

bool has(const ResultPoints& r, const char* name)
{
    return r.find(name).has_value();
}

TableKind kindOf(const ResultPoints& r)
{
    if (has(r, "CELKEM"))
        return TableKind::Assessment;
    if (has(r, "ZAKLAD") && has(r, "ROZDIL"))
        return TableKind::Comparison;
    if (has(r, "PUVODNI") && has(r, "UPRAVENA"))
        return TableKind::Scaled;
    if (has(r, "CONC_MAX"))
        return TableKind::Maximum;
    if (has(r, "CONC_AVG"))
        return TableKind::Annual;
    if (has(r, "CONC_VALUE"))
        return TableKind::Daily;
    for (const Attribute& a : r.attributes)
        if (a.name.rfind("GR_", 0) == 0)
            return TableKind::Shares;
    return TableKind::Other;
}

Outcome<StudyTable> readTable(const NamedTable& n, const Project& project)
{
    Outcome<DbfTable> dbf = DbfTable::load(n.path, "Tabulku výsledků " + n.path + " nelze otevřít !");
    if (!dbf)
        return dbf.problem();
    Outcome<ResultPoints> rows = readResultPoints(n.path);
    if (!rows)
        return rows.problem();
    if (!rows->truncated.empty())
        return Problem::error(rows->truncated);
    StudyTable t;
    t.path = n.path;
    t.role = n.role;
    t.rows = std::move(*rows);
    t.kind = kindOf(t.rows);
    t.date = cformat("%d. %d. %d", dbf->day(), dbf->month(), dbf->year() + 1900);
    SignatureCheck check = checkSignature(project, n.path);
    t.signedOutput = check.signedOutput;
    t.changedInputs = std::move(check.changed);
    return t;
}

}  // namespace

std::string StudyTable::mainColumn() const
{
    switch (kind) {
    case TableKind::Annual: return "CONC_AVG";
    case TableKind::Maximum: return "CONC_MAX";
    case TableKind::Daily: return "CONC_VALUE";
    case TableKind::Assessment: return "CELKEM";
    case TableKind::Comparison: return "ROZDIL";
    case TableKind::Scaled: return "UPRAVENA";
    case TableKind::Shares: return {};
    case TableKind::Other: break;
    }
    for (const Attribute& a : rows.attributes)
        if (a.kind == AttributeKind::Real && a.name != "X_COORD" && a.name != "Y_COORD" && a.name != "Z_ELEV" &&
            a.name != "L_ELEV")
            return a.name;
    return {};
}

std::string tableKindText(TableKind k)
{
    switch (k) {
    case TableKind::Annual: return "roční průměrné koncentrace";
    case TableKind::Maximum: return "maximální krátkodobé koncentrace";
    case TableKind::Daily: return "koncentrace pro zadanou povětrnostní situaci";
    case TableKind::Shares: return "podíly skupin zdrojů na ročním průměru";
    case TableKind::Assessment: return "hodnocení imisní zátěže s pozadím";
    case TableKind::Comparison: return "porovnání dvou variant";
    case TableKind::Scaled: return "roční průměry se změněnými emisemi skupin";
    case TableKind::Other: break;
    }
    return "tabulka výsledků";
}

std::string staleText(const StudyTable& t)
{
    std::string inputs;
    for (const std::string& in : t.changedInputs)
        inputs += (inputs.empty() ? "" : ", ") + in;
    return "Vstupy tabulky " + t.path + " se od výpočtu změnily (" + inputs +
        "), tabulka neodpovídá současným vstupům!";
}

Outcome<StudyData> readStudy(const ReportRequest& q, const Project& project)
{
    StudyData data;
    data.projectFile = project.path();
    std::vector<NamedTable> named;
    for (NamedTable& n : studyResultTables(project)) {
        if (n.path.empty())
            continue;
        if (!isRegularFile(n.path))
            data.absent.push_back(n.path);
        else
            named.push_back(std::move(n));
    }
    for (const std::string& given : q.tables) {
        if (!isRegularFile(given))
            return Problem::error("Tabulka výsledků " + given + " neexistuje!");
        named.push_back({given, "zadaná tabulka"});
    }
    for (const NamedTable& n : named) {
        bool seen = false;
        for (const StudyTable& t : data.tables)
            seen = seen || samePath(t.path, n.path);
        if (seen)
            continue;
        Outcome<StudyTable> t = readTable(n, project);
        if (!t)
            return t.problem();
        if (t->stale() && !q.allowStale)
            return Problem::error(staleText(*t) + "\nZprávu lze vytvořit s volbou --allow-stale, tabulka pak bude označena.");
        data.tables.push_back(std::move(*t));
    }
    return data;
}

}  // namespace ovd
