#include "scale_groups.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "common/czech_plural.h"
#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "dbf_input.h"

namespace ovd {

namespace {

// Shares are written with six decimals each; a table of one run sums to 100 far closer.
constexpr double kShareSumTolerance = 0.01;
constexpr std::string_view kNotRecomputed =
    "Maxima a doby překročení se takto nepřepočítávají, k jejich změně je třeba nový výpočet.";

// The group number of a field named GR_ and six digits; nullopt for any other name.
std::optional<long> groupOfField(std::string_view name)
{
    std::string n = trim(name);
    if (n.size() != 9 || !equalsIgnoreCase(std::string_view(n).substr(0, 3), "GR_"))
        return std::nullopt;
    if (!std::all_of(n.begin() + 3, n.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return parseLong(std::string_view(n).substr(3));
}

// A group as the user names it: its number or its field name.
std::optional<long> groupOfName(std::string_view name)
{
    if (auto g = groupOfField(name))
        return g;
    std::string n = trim(name);
    if (n.empty() || n.size() > 6 || !std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return parseLong(n);
}

std::string groupName(long group)
{
    return cformat("GR_%06ld", group);
}

// The fields both tables describe each point with.
constexpr std::string_view kPointFields[] = {"X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV"};

struct PointColumns {
    std::size_t coord[4] = {};
};

std::optional<PointColumns> pointColumns(const DbfTable& t)
{
    PointColumns c;
    for (std::size_t i = 0; i < 4; ++i) {
        auto f = t.findField(kPointFields[i], true);
        if (!f)
            return std::nullopt;
        c.coord[i] = *f;
    }
    return c;
}

// Reads numbers of one table, naming the file, point and field of the first that is none.
class NumberReader {
public:
    NumberReader(const DbfTable& t, const std::string& path)
        : m_t(t)
        , m_path(path)
    { }
    std::optional<double> operator()(std::size_t record, std::size_t field)
    {
        std::optional<double> v = parseDouble(m_t.fieldText(record, field));
        if (!v && !m_problem)
            m_problem = Problem::error("Soubor " + m_path + ": hodnota pole " + trim(m_t.fields()[field].name) + " v " +
                                       std::to_string(record + 1) + ". záznamu není číslo!");
        return v;
    }
    const std::optional<Problem>& problem() const { return m_problem; }

private:
    const DbfTable& m_t;
    const std::string& m_path;
    std::optional<Problem> m_problem;
};

std::string pointText(const DbfTable& t, std::size_t record, const PointColumns& c)
{
    std::string s = "bod " + trim(t.fieldText(record, 0)) + " (";
    for (std::size_t i = 0; i < 4; ++i)
        s += std::string(i ? ", " : "") + std::string(kPointFields[i]) + " " + trim(t.fieldText(record, c.coord[i]));
    return s + ")";
}

std::string joinGroups(const std::vector<long>& groups)
{
    std::string out;
    for (long g : groups)
        out += (out.empty() ? "" : ", ") + std::to_string(g);
    return out;
}

std::string logText(const ScaleGroupsSettings& s, const std::vector<GroupFactor>& factors, std::size_t points,
                    DbfDate d)
{
    std::string t = "Zmena emisi skupin zdroju\n";
    t += cformat("Dnesni datum : %2d. %2d. %4d\n\n", d.day, d.month, d.year);
    t += "Vstupni soubory : \n";
    t += "  DBF soubor s vysledky   : " + s.table + "\n";
    t += "  DBF soubor s podily zdr.: " + s.shares + "\n";
    t += "\nVystupni soubory : \n";
    t += "  DBF soubor se zmenou    : " + s.output + "\n";
    t += "\nFaktory emisi skupin : \n";
    for (const GroupFactor& f : factors)
        t += cformat("  %s : %lf\n", groupName(f.group).c_str(), f.factor);
    t += cformat("\nPrepocteno bodu : %zu\n", points);
    t += "Prepocten je jen rocni prumer (CONC_AVG). Maxima a doby prekroceni se takto neprepocitavaji, k jejich "
         "zmene je treba novy vypocet.\n";
    t += "Vypocet probehl v poradku.\n";
    return t;
}

}  // namespace

const std::vector<Param<ScaleGroupsSettings>> ScaleGroupsSettings::kParams = declare<Self>({
    inSection(section::kScaleGroups, {key("VstDbfPodily", &Self::shares), key("VstDbf", &Self::table),
                         key("Faktory", &Self::factors), key("VystDbf", &Self::output)}),
});

Outcome<std::vector<GroupFactor>> parseGroupFactors(std::string_view text)
{
    std::vector<GroupFactor> out;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = std::min(text.find(';', start), text.size());
        std::string entry = trim(text.substr(start, end - start));
        start = end + 1;
        if (entry.empty())
            continue;
        std::size_t eq = entry.find('=');
        if (eq == std::string::npos)
            return Problem::error("Zadání faktoru \"" + entry + "\" nemá tvar SKUPINA=FAKTOR!");
        std::string name = trim(entry.substr(0, eq)), value = trim(entry.substr(eq + 1));
        std::optional<long> group = groupOfName(name);
        if (!group)
            return Problem::error("Skupina \"" + name +
                                  "\" v zadání faktorů není číslo skupiny ani název pole GR_000000!");
        std::optional<double> factor = parseDecimal(value);
        if (!factor || *factor < 0)
            return Problem::error("Faktor skupiny " + name + " \"" + value + "\" není číslo větší nebo rovné 0!");
        for (const GroupFactor& f : out)
            if (f.group == *group)
                return Problem::error("Skupina " + name + " je v zadání faktorů vícekrát!");
        out.push_back({*group, *factor});
    }
    if (out.empty())
        return Problem::error("Nebyly zadány faktory skupin zdrojů (SKUPINA=FAKTOR;SKUPINA=FAKTOR...)!");
    return out;
}

namespace {

// The columns of the two tables of a scaling, checked to be an annual-mean table and a table of
// group shares of the annual mean.
struct ScalingColumns {
    std::size_t mean = 0;
    PointColumns rc, sc;
    std::vector<std::size_t> groupColumn;
    std::vector<long> groups;
};

Outcome<ScalingColumns> scalingColumns(const DbfTable& result, const std::string& resultPath, const DbfTable& shares,
                                       const std::string& sharesPath)
{
    std::optional<std::size_t> mean = result.findField("CONC_AVG", true);
    std::optional<PointColumns> rc = pointColumns(result);
    if (result.findField("CONC_MAX", true))
        return Problem::error("Soubor " + resultPath +
                              " je tabulkou maximálních koncentrací; změnu emisí lze přepočítat jen v tabulce "
                              "ročních koncentrací!");
    if (!mean || !rc || result.fields().empty())
        return Problem::error("Soubor " + resultPath + " není tabulkou ročních koncentrací (chybí pole CONC_AVG)!");
    std::optional<PointColumns> sc = pointColumns(shares);
    if (shares.findField("CONC_MAX", true))
        return Problem::error("Soubor " + sharesPath +
                              " obsahuje podíly skupin zdrojů na maximální koncentraci, ne na ročním průměru; "
                              "roční průměr z nich přepočítat nelze!");
    ScalingColumns c;
    for (std::size_t f = 0; f < shares.fields().size(); ++f)
        if (auto g = groupOfField(shares.fields()[f].name)) {
            c.groupColumn.push_back(f);
            c.groups.push_back(*g);
        }
    if (!sc || c.groups.empty())
        return Problem::error("Soubor " + sharesPath + " není tabulkou podílů skupin zdrojů (nemá pole GR_)!");
    c.mean = *mean;
    c.rc = *rc;
    c.sc = *sc;
    return c;
}

// The factor of every group of the table; groups not named keep theirs.
Outcome<std::vector<double>> factorsOfGroups(const std::vector<long>& groups, const std::vector<GroupFactor>& factors,
                                             const std::string& sharesPath)
{
    std::vector<double> factorOf(groups.size(), 1.0);
    for (const GroupFactor& f : factors) {
        auto at = std::find(groups.begin(), groups.end(), f.group);
        if (at == groups.end())
            return Problem::error(cformat("Skupina %ld není v tabulce podílů skupin zdrojů ", f.group) + sharesPath +
                                  " (jsou v ní skupiny " + joinGroups(groups) + ") !");
        factorOf[static_cast<std::size_t>(at - groups.begin())] = f.factor;
    }
    return factorOf;
}

// Scales one point after another, the result table's record beside the shares table's.
class PointScaling {
public:
    PointScaling(const DbfTable& result, const std::string& resultPath, const DbfTable& shares,
                 const std::string& sharesPath, const ScalingColumns& c, const std::vector<double>& factorOf)
        : m_result(result)
        , m_resultPath(resultPath)
        , m_shares(shares)
        , m_sharesPath(sharesPath)
        , m_c(c)
        , m_factorOf(factorOf)
        , m_readResult(result, resultPath)
        , m_readShares(shares, sharesPath)
    { }

    // The k-th point of both tables: record r of the result table, q of the shares table.
    Outcome<ScaledPoint> scale(std::size_t k, std::size_t r, std::size_t q)
    {
        ScaledPoint p;
        p.first = std::string(m_result.fieldText(r, 0));
        std::optional<double> id = m_readResult(r, 0), shareId = m_readShares(q, 0);
        bool same = id && shareId && *id == *shareId;
        double coord[4] = {};
        for (std::size_t i = 0; i < 4; ++i) {
            std::optional<double> a = m_readResult(r, m_c.rc.coord[i]), b = m_readShares(q, m_c.sc.coord[i]);
            same = same && a && b && *a == *b;
            coord[i] = a.value_or(0);
        }
        std::optional<double> original = m_readResult(r, m_c.mean);
        for (const auto* reader : {&m_readResult, &m_readShares})
            if (reader->problem())
                return *reader->problem();
        if (!same)
            return Problem::error(cformat("Soubory %s a %s nejsou výsledky téže studie: %zu. záznam je v prvním ",
                                          m_resultPath.c_str(), m_sharesPath.c_str(), k + 1) +
                                  pointText(m_result, r, m_c.rc) + ", ve druhém " + pointText(m_shares, q, m_c.sc) +
                                  "!");
        Outcome<double> change = relativeChange(r, q, *original);
        if (!change)
            return change.problem();
        p.x = coord[0];
        p.y = coord[1];
        p.z = coord[2];
        p.l = coord[3];
        p.original = *original;
        // Closing every group leaves at most the rounding residue of the shares; a mean is never negative.
        p.scaled = std::max(0.0, *original + *original * *change / 100.0);
        if (!std::isfinite(p.scaled))
            return Problem::error("Změněný roční průměr bodu " + trim(p.first) +
                                  " je příliš velký, zadané faktory nelze použít!");
        return p;
    }

private:
    // The change of the point's mean in per cent of it: each group's share times its factor's change.
    Outcome<double> relativeChange(std::size_t r, std::size_t q, double original)
    {
        double sum = 0, change = 0;
        for (std::size_t g = 0; g < m_c.groups.size(); ++g) {
            std::optional<double> share = m_readShares(q, m_c.groupColumn[g]);
            if (!share)
                return *m_readShares.problem();
            sum += *share;
            change += (m_factorOf[g] - 1.0) * *share;
        }
        if (original > 0 && std::fabs(sum - 100.0) > kShareSumTolerance)
            return Problem::error("Podíly skupin zdrojů v souboru " + m_sharesPath + " nepatří k výsledkům v souboru " +
                                  m_resultPath + ": " + pointText(m_result, r, m_c.rc) + " má roční průměr " +
                                  trim(m_result.fieldText(r, m_c.mean)) +
                                  cformat(", součet podílů skupin je ale %.6f %%!", sum));
        return change;
    }

    const DbfTable& m_result;
    const std::string& m_resultPath;
    const DbfTable& m_shares;
    const std::string& m_sharesPath;
    const ScalingColumns& m_c;
    const std::vector<double>& m_factorOf;
    NumberReader m_readResult, m_readShares;
};

}  // namespace

Outcome<std::vector<ScaledPoint>> scaleGroupMeans(const DbfTable& result, const std::string& resultPath,
                                                  const DbfTable& shares, const std::string& sharesPath,
                                                  const std::vector<GroupFactor>& factors)
{
    Outcome<ScalingColumns> c = scalingColumns(result, resultPath, shares, sharesPath);
    if (!c)
        return c.problem();
    Outcome<std::vector<double>> factorOf = factorsOfGroups(c->groups, factors, sharesPath);
    if (!factorOf)
        return factorOf.problem();
    const std::vector<std::size_t> rows = result.liveRecords(), shareRows = shares.liveRecords();
    if (rows.size() != shareRows.size())
        return Problem::error(
            cformat("Soubory %s a %s nejsou výsledky téže studie: první má ", resultPath.c_str(), sharesPath.c_str()) +
            czechCount(static_cast<long long>(rows.size()), "bod", "body", "bodů") +
            cformat(", druhý %zu!", shareRows.size()));
    PointScaling scaling(result, resultPath, shares, sharesPath, *c, *factorOf);
    std::vector<ScaledPoint> out;
    out.reserve(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        Outcome<ScaledPoint> p = scaling.scale(k, rows[k], shareRows[k]);
        if (!p)
            return p.problem();
        out.push_back(std::move(*p));
    }
    return out;
}

std::vector<DbfField> scaledTableFields(const DbfFieldInfo& first)
{
    std::vector<DbfField> f;
    f.push_back({trim(first.name), first.length, first.decimals, 0});
    f.push_back({"X_COORD", 15, 6, 0});
    f.push_back({"Y_COORD", 15, 6, 0});
    f.push_back({"Z_ELEV", 15, 6, 1});
    f.push_back({"L_ELEV", 15, 6, 1});
    for (const char* name : {"PUVODNI", "UPRAVENA", "ROZDIL"})
        f.push_back({name, 15, 6, 1});
    return f;
}

std::string scaledTableBytes(const DbfFieldInfo& first, const std::vector<ScaledPoint>& points, DbfDate date)
{
    const std::vector<DbfField> fields = scaledTableFields(first);
    std::string bytes = dbfHeaderBytes(fields, static_cast<std::uint32_t>(points.size()), date);
    for (const ScaledPoint& p : points) {
        bytes += ' ';
        bytes += p.first;  // copied as stored: same length as its field
        const double values[] = {p.x, p.y, p.z, p.l, p.original, p.scaled, p.scaled - p.original};
        for (std::size_t i = 0; i < std::size(values); ++i)
            bytes += dbfFieldText(fields[i + 1], values[i]);
    }
    bytes += '\x1a';
    return bytes;
}

namespace {

const char* missingFile(const ScaleGroupsSettings& s)
{
    if (s.table.empty())
        return "Nebyl zadán vstupní DBF soubor s ročními koncentracemi!";
    if (s.shares.empty())
        return "Nebyl zadán vstupní DBF soubor s podíly skupin zdrojů!";
    if (s.output.empty())
        return "Nebyl zadán výstupní DBF soubor se změněnými koncentracemi!";
    return nullptr;
}

ScaleGroupsSummary summarize(const std::vector<ScaledPoint>& points)
{
    ScaleGroupsSummary sum;
    sum.points = points.size();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double d = points[i].scaled - points[i].original;
        sum.lowestChange = i ? std::min(sum.lowestChange, d) : d;
        sum.highestChange = i ? std::max(sum.highestChange, d) : d;
    }
    return sum;
}

}  // namespace

ToolStatus scaleGroups(const ScaleGroupsSettings& s, const std::vector<NamedPath>& protect, const RunContext& ctx,
                       ScaleGroupsSummary* summary)
{
    Reporter& rep = ctx.reporter;
    auto fail = [&](std::string_view text) {
        rep.error(text);
        return ToolStatus::Failed;
    };
    if (const char* missing = missingFile(s))
        return fail(missing);
    Outcome<std::vector<GroupFactor>> factors = parseGroupFactors(s.factors);
    if (!factors)
        return fail(factors.problem().text);
    const std::string logPath = folderOf(s.output) + kScaleGroupsLogName;
    std::vector<NamedPath> inputs = {{"vstupní DBF soubor s ročními koncentracemi", s.table},
                                     {"vstupní DBF soubor s podíly skupin zdrojů", s.shares}};
    inputs.insert(inputs.end(), protect.begin(), protect.end());
    if (!refuseSharedFiles(rep, inputs,
                           {{"výstupní DBF soubor se změněnými koncentracemi", s.output},
                            {"soubor s průběhem přepočtu", logPath}}))
        return ToolStatus::Failed;
    OutputLock lock;
    if (!lock.acquire(rep, {s.output, logPath}))
        return ToolStatus::Failed;
    std::optional<DbfTable> table = openInputTable(
        s.table, "Vstupní DBF soubor s ročními koncentracemi " + s.table + " nelze otevřít !", TruncatedTable::Refuse,
        rep);
    std::optional<DbfTable> shares = table
        ? openInputTable(s.shares, "Vstupní DBF soubor s podíly skupin zdrojů " + s.shares + " nelze otevřít !",
                         TruncatedTable::Refuse, rep)
        : std::nullopt;
    if (!shares)
        return ToolStatus::Failed;
    Outcome<std::vector<ScaledPoint>> points = scaleGroupMeans(*table, s.table, *shares, s.shares, *factors);
    if (!points)
        return fail(points.problem().text);

    if (!ctx.confirmOverwrite(s.output))
        return ToolStatus::Declined;
    if (rep.cancelled())
        return ToolStatus::Failed;
    const DbfDate date = DbfDate::todayUtc();
    OutputSet outputs;
    AtomicOutput& out = outputs.add(s.output);
    AtomicOutput& log = outputs.add(logPath);
    if (!out.isOpen())
        return fail("Výstupní DBF soubor se změněnými koncentracemi " + s.output + " nelze otevřít !");
    if (!log.isOpen())
        return fail("Soubor s průběhem přepočtu " + logPath + " nelze otevřít !");
    if (!out.write(scaledTableBytes(table->fields()[0], *points, date)) ||
        !log.write(logText(s, *factors, points->size(), date)) || !outputs.commit())
        return fail("Výstupní DBF soubor se změněnými koncentracemi " + s.output + " nelze zapsat!");
    const ScaleGroupsSummary sum = summarize(*points);
    if (summary)
        *summary = sum;
    rep.status(0,
               "Přepočteny roční průměry " + czechCount(static_cast<long long>(sum.points), "bodu", "bodů", "bodů") +
                   cformat(" se změněnými emisemi skupin zdrojů, byly zapsány do souboru %s. %s", s.output.c_str(),
                           std::string(kNotRecomputed).c_str()));
    return ToolStatus::Done;
}

}  // namespace ovd
