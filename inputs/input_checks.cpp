#include "input_checks.h"

#include <functional>
#include <optional>
#include <unordered_map>

#include "common/numbers.h"
#include "common/text.h"
#include "input_lines.h"

namespace ovd {

const std::vector<Param<PointCheckSettings>> PointCheckSettings::kParams =
    declare<Self>({inSection(section::kGlobal, {key("VstReferBodTxt", &Self::pointsText)})});

const std::vector<Param<SourceCheckSettings>> SourceCheckSettings::kParams = declare<Self>({
    inSection(section::kGlobal,
              {key("VstZdrojBodTxt", &Self::sourcesText), key("VstZdrojPopTxt", &Self::descriptionText),
               key("VstZdrojPrachTxt", &Self::dustText), key("VstZdrojSkupTxt", &Self::dustGroupsText),
               key("TypVypoctu", &Self::dust)}),
});

namespace {

struct Counts {
    long read = 0, comments = 0, correct = 0, faulty = 0;
    bool passed() const { return faulty == 0 && correct > 0; }
};

// The closing lines of a check: what was found, a blank line, whether the files can be used.
struct Verdict {
    const char* found;
    const char* use;
};
void addConclusion(CheckReport& report, const Verdict& usable, const Verdict& unusable)
{
    const Verdict& v = report.usable ? usable : unusable;
    report.results.push_back(v.found);
    report.results.push_back("");
    report.results.push_back(v.use);
}

void addRow(CheckTable& table, CheckReport& report, Counts& counts, long lineNumber, const std::string& text,
            const LineVerdict& v)
{
    table.rows.push_back({lineNumber, text, v.lineClass, v.correctness, v.icon()});
    ++counts.read;
    if (v.comment())
        ++counts.comments;
    else if (v.correct())
        ++counts.correct;
    else
        ++counts.faulty;
    for (const std::string& m : v.messages)
        report.results.push_back(m);
}

void addSummary(CheckReport& report, const char* heading, const Counts& c)
{
    report.results.push_back("");
    report.results.push_back(heading);
    report.results.push_back(cformat("    Počet zkontrolovaných údajů : %ld", c.read));
    report.results.push_back(cformat("    Počet komentářů a poznámek  : %ld", c.comments));
    report.results.push_back(cformat("    Počet správných údajů       : %ld", c.correct));
    report.results.push_back(cformat("    Počet chybných údajů        : %ld", c.faulty));
}

void addVerdict(CheckReport& report, const char* what, bool passed)
{
    report.results.push_back(std::string("Syntaktická kontrola souboru ") + what +
                             (passed ? " provedena, soubor vyhovuje." : " provedena, soubor nevyhovuje."));
}

// Polled every few hundred lines: a cancelled check stops and leaves no report behind.
bool stopRequested(std::size_t line, const Reporter& r, CheckReport& report)
{
    if (line % 256 != 0 || !r.cancelled())
        return false;
    report = {};
    return true;
}

// Hands each line of `file` with its number (from 1) to `visit`, counting progress; false
// when the user cancels (the report cleared) or `visit` gives up.
template <class Visit>
bool eachLine(const TextFile& file, Reporter& r, CheckReport& report, long& done, long total, Visit visit)
{
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        if (stopRequested(i, r, report))
            return false;
        r.progress(++done, total);
        if (!visit(file.lines[i], static_cast<long>(i + 1)))
            return false;
    }
    return true;
}

// The record lines of a file, in order, with their leading numbers.
std::vector<long> recordNumbers(const TextFile& f)
{
    std::vector<long> out;
    for (const std::string& line : f.lines)
        if (auto n = recordNumber(line))
            out.push_back(*n);
    return out;
}

// Walks the records of another file in step with the sources: a record that does not
// match the source stays pending for the next one.
class PendingLink {
public:
    explicit PendingLink(std::vector<long> numbers)
        : m_numbers(std::move(numbers))
    { }
    bool link(long source)
    {
        if (!m_hasPending && m_pos < m_numbers.size()) {
            m_pending = m_numbers[m_pos++];
            m_hasPending = true;
        }
        if (m_hasPending && m_pending == source) {
            m_hasPending = false;
            return true;
        }
        return false;
    }

private:
    std::vector<long> m_numbers;
    std::size_t m_pos = 0;
    bool m_hasPending = false;
    long m_pending = 0;
};

}  // namespace

ToolStatus checkPointsFile(const PointCheckSettings& s, const RunContext& ctx, CheckReport& report)
{
    report = {};
    auto file = readInputText(s.pointsText, ctx.reporter, "Vstupní soubor s refer. body nelze otevřít !");
    if (!file)
        return ToolStatus::Failed;
    report.tables.push_back({"Nalezené hodnoty referenčních bodů :", {}});
    Counts c;
    long done = 0;
    if (!eachLine(*file, ctx.reporter, report, done, static_cast<long>(file->lines.size()),
                  [&](const std::string& line, long n) {
                      addRow(report.tables[0], report, c, n, line, checkPointLine(line, n));
                      return true;
                  }))
        return ToolStatus::Failed;
    addSummary(report, "Syntaktická kontrola souboru s referenčními body :", c);
    report.usable = c.passed();
    addConclusion(report,
                  {"Syntaktická kontrola souboru provedena, soubor vyhovuje.", "Soubor lze použít pro výpočet."},
                  {"Syntaktická kontrola souboru provedena, soubor nevyhovuje.", "Soubor není vhodný pro výpočet."});
    return report.usable ? ToolStatus::Done : ToolStatus::Unusable;
}

namespace {

// The dust file's rows; its groups file is read at the first line that names a group.
// False after a message or when the user stopped the check.
bool checkDustLines(const SourceCheckSettings& s, const TextFile& dust, Reporter& r, CheckReport& report, Counts& pc,
                    long& done, long total)
{
    report.tables.push_back({"Textový soubor s popisem prachu a prachovými skupinami :", {}});
    std::optional<TextFile> groups;
    return eachLine(dust, r, report, done, total, [&](const std::string& line, long n) {
        DustLine d = parseDustLine(line);
        if (!groups && !isCommentLine(line) && commaCount(line) >= 2 && d.complete && d.group != 0) {
            groups = readInputText(s.dustGroupsText, r, "Vstupní soubor se skupinami prachu nelze otevřít !");
            if (!groups)
                return false;
        }
        static const TextFile kNoGroups;
        auto v = checkDustLine(line, n, groups ? groups->lines : kNoGroups.lines);
        if (v)
            addRow(report.tables[2], report, pc, n, line, *v);
        return true;
    });
}

// Whether every source of the coordinates file has its description (and dust) line.
void addLinkCheck(CheckReport& report, const TextFile& coords, const TextFile& desc, const TextFile* dust)
{
    std::vector<long> sources = recordNumbers(coords);
    PendingLink descLinks(recordNumbers(desc));
    PendingLink dustLinks(dust ? recordNumbers(*dust) : std::vector<long>{});
    long missingLinks = 0;
    for (long number : sources) {
        bool linked = descLinks.link(number);
        if (dust)
            linked = dustLinks.link(number) && linked;
        missingLinks += !linked;
    }
    report.results.push_back("Referenční kontrola souborů :");
    report.results.push_back(cformat("    Počet potencionálních zdrojů : %ld", static_cast<long>(sources.size())));
    report.results.push_back(cformat("    Počet chybějících odkazů : %ld", missingLinks));
    report.usable = missingLinks == 0;
    addConclusion(
        report, {"Referenční kontrola souborů provedena, soubory se shodují.", "Soubory lze použít pro výpočet."},
        {"Referenční kontrola souborů provedena, soubor se neshodují.", "Soubory nejsou vhodné pro výpočet."});
    if (!report.usable)
        report.results.push_back("Pokud budou soubory přesto použity, chybějící údaje budou doplněny nulami.");
}

// Each file's syntax summary and verdict; false (with the closing lines) when one failed.
bool addSyntaxVerdicts(CheckReport& report, const Counts& cc, const Counts& dc, const Counts* pc)
{
    addSummary(report, "Syntaktická kontrola souboru se souřadnicemi zdrojů :", cc);
    addVerdict(report, "se souřadnicemi zdrojů", cc.passed());
    addSummary(report, "Syntaktická kontrola souboru s popisem zdrojů :", dc);
    addVerdict(report, "s popisem zdrojů", dc.passed());
    bool allPassed = cc.passed() && dc.passed();
    if (pc) {
        addSummary(report, "Syntaktická kontrola souboru s popisem prachu :", *pc);
        addVerdict(report, "s popisem prachu", pc->passed());
        allPassed = allPassed && pc->passed();
    }
    if (!allPassed) {
        report.results.push_back("Soubory jsou chybné, proces kontroly souborů ukončen.");
        report.results.push_back("Opravte syntaktické chyby a spusťte kontrolu souborů znovu");
    }
    return allPassed;
}

}  // namespace

ToolStatus checkSourceFiles(const SourceCheckSettings& s, const RunContext& ctx, CheckReport& report)
{
    report = {};
    Reporter& r = ctx.reporter;
    auto coords = readInputText(s.sourcesText, r, "Vstupní soubor se zdroji nelze otevřít !");
    if (!coords)
        return ToolStatus::Failed;
    auto desc = readInputText(s.descriptionText, r, "Vstupní soubor s popisem zdrojů nelze otevřít !");
    if (!desc)
        return ToolStatus::Failed;
    std::optional<TextFile> dust;
    if (s.dust) {
        dust = readInputText(s.dustText, r, "Vstupní soubor s popisem prachu nelze otevřít !");
        if (!dust)
            return ToolStatus::Failed;
    }

    const long total = static_cast<long>(coords->lines.size() + desc->lines.size() + (dust ? dust->lines.size() : 0));
    long done = 0;
    report.tables.push_back({"Textový soubor se souřadnicemi zdrojů :", {}});
    Counts cc;
    std::unordered_map<long, long> typeOf;  // first coordinates line of each number
    if (!eachLine(*coords, r, report, done, total, [&](const std::string& line, long n) {
            addRow(report.tables[0], report, cc, n, line, checkCoordinateLine(line, n));
            if (!isCommentLine(line)) {
                CoordinateLine c = parseCoordinateLine(line);
                if (c.number != kMissingWhole)
                    typeOf.emplace(c.number, c.type);
            }
            return true;
        }))
        return ToolStatus::Failed;

    report.tables.push_back({"Textový soubor s popisem zdrojů :", {}});
    Counts dc;
    if (!eachLine(*desc, r, report, done, total, [&](const std::string& line, long n) {
            std::optional<long> type;
            DescriptionLine d = parseDescriptionLine(line);
            if (auto it = typeOf.find(d.number); it != typeOf.end())
                type = it->second;
            addRow(report.tables[1], report, dc, n, line, checkDescriptionLine(line, n, type));
            return true;
        }))
        return ToolStatus::Failed;

    Counts pc;
    if (dust && !checkDustLines(s, *dust, r, report, pc, done, total))
        return ToolStatus::Failed;

    if (!addSyntaxVerdicts(report, cc, dc, dust ? &pc : nullptr))
        return ToolStatus::Unusable;
    addLinkCheck(report, *coords, *desc, dust ? &*dust : nullptr);
    return report.usable ? ToolStatus::Done : ToolStatus::Unusable;
}

}  // namespace ovd
