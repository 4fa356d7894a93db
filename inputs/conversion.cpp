#include "conversion.h"

#include <optional>
#include <unordered_map>

#include "alfa_sort.h"
#include "binary_inputs.h"
#include "common/czech_plural.h"
#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "common/text.h"
#include "input_lines.h"

namespace ovd {

const std::vector<Param<ConversionSettings>> ConversionSettings::kParams =
    declare<Self>({inSection(section::kGlobal,
                             {key("VstReferBodTxt", &Self::pointsText), key("VstZdrojBodTxt", &Self::sourcesText),
                              key("VstZdrojPopTxt", &Self::descriptionText), key("VstZdrojPrachTxt", &Self::dustText),
                              key("VstZdrojSkupTxt", &Self::dustGroupsText), key("VstReferBodBin", &Self::pointsBinary),
                              key("VstZdrojBodBin", &Self::sourcesBinary), key("TypVypoctu", &Self::dust)}),
                   inSection(section::kConversion, {key("TriditPodleAlfa", &Self::sortByAlfa)})});

namespace {

// One conversion run: the inputs held as lines, the records built in memory, then both
// outputs written whole.
class Conversion {
public:
    Conversion(const ConversionSettings& s, const RunContext& ctx)
        : m_s(s)
        , m_r(ctx.reporter)
    { }
    ToolStatus run(ConversionSummary&);

private:
    struct Source {
        SourceRecord record;
        bool described = false;
        std::string dustText;
    };

    bool loadInputs();
    // Calls f(index, line) for each line that holds a record (a number first), asking now
    // and then whether the user cancelled; false when cancelled or when f returns false.
    template <class F> bool eachRecordLine(const std::vector<std::string>& lines, F f)
    {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i % 256 == 0 && m_r.cancelled())
                return false;
            if (recordNumber(lines[i]) && !f(i, lines[i]))
                return false;
        }
        return true;
    }
    bool convertPoints();  // false when the run was cancelled
    bool convertSources();
    // Reads forward to the next readable description unless one is pending.
    void fetchDescription();
    // An unreadable coordinates line uses up the description (and dust record) that carries
    // its number, or with no readable number the next one, so later sources keep their pairs.
    void dropPairsOf(const CoordinateLine&);
    bool dustTextFor(Source&, long sourceNumber);
    bool loadDustGroups();
    std::optional<std::vector<SourceRecord>> orderedRecords();
    std::string logText(long nSources) const;
    bool writeOutputs(OutputSet&, AtomicOutput& points, AtomicOutput& sources, const std::vector<SourceRecord>&);
    void summarize(ConversionSummary&, long nPoints, long nSources, const std::string& logPath);
    void skipped(std::string& notes, const char* file, long lineNumber, const std::string& text);

    const ConversionSettings& m_s;
    Reporter& m_r;
    TextFile m_points, m_coords, m_desc, m_dustLines;
    std::optional<TextFile> m_groups;
    std::size_t m_dustPos = 0;
    std::size_t m_descPos = 0;
    DescriptionLine m_pending;
    bool m_hasPending = false;
    std::vector<ReferencePoint> m_pointRecords;
    std::vector<Source> m_sources;
    std::string m_pointNotes, m_sourceNotes;
    long m_skipped = 0, m_zeroFilled = 0, m_withoutFractions = 0, m_groupCount = 0;
};

bool Conversion::loadInputs()
{
    auto p = readInputText(m_s.pointsText, m_r, "Vstupní soubor s refer. body nelze otevřít !");
    if (!p)
        return false;
    auto c = readInputText(m_s.sourcesText, m_r, "Vstupní soubor se zdroji nelze otevřít !");
    if (!c)
        return false;
    auto d = readInputText(m_s.descriptionText, m_r, "Vstupní soubor s popisem zdrojů nelze otevřít !");
    if (!d)
        return false;
    m_points = std::move(*p);
    m_coords = std::move(*c);
    m_desc = std::move(*d);
    if (m_s.dust) {
        auto dl = readInputText(m_s.dustText, m_r, "Vstupní soubor s popisem prachu nelze otevřít !");
        if (!dl)
            return false;
        m_dustLines = std::move(*dl);
    }
    return true;
}

bool Conversion::loadDustGroups()
{
    if (!m_groups)
        m_groups = readInputText(m_s.dustGroupsText, m_r, "Vstupní soubor se skupinami prachu nelze otevřít !");
    return m_groups.has_value();
}

void Conversion::skipped(std::string& notes, const char* file, long lineNumber, const std::string& text)
{
    ++m_skipped;
    notes += cformat("    Radek %ld souboru %s nelze precist, neprevedeno : ", lineNumber, file) + text + "\n";
}

bool Conversion::convertPoints()
{
    return eachRecordLine(m_points.lines, [&](std::size_t i, const std::string& line) {
        PointLine p = parsePointLine(line);
        if (!p.complete)
            skipped(m_pointNotes, "s referencnimi body", static_cast<long>(i + 1), line);
        else
            m_pointRecords.push_back(p.record());
        return true;
    });
}

// The expanded dust record of one source: its own dust line when the numbers match, else
// density 2000 and the first group of the dust-groups file; no fractions where none can be had.
bool Conversion::dustTextFor(Source& src, long number)
{
    const auto& lines = m_dustLines.lines;
    while (m_dustPos < lines.size() && !recordNumber(lines[m_dustPos]))
        ++m_dustPos;
    std::optional<std::size_t> at;
    if (m_dustPos < lines.size())
        at = m_dustPos++;
    const std::string noFractions = cformat("%ld, %lf, 0, 0", number, 2000.0);
    if (at && recordNumber(lines[*at]) == number) {
        const std::string& line = lines[*at];
        DustLine d = parseDustLine(line);
        if (d.numberOnly) {
            src.dustText = noFractions;
        } else if (!d.complete) {
            skipped(m_sourceNotes, "s popisem prachu", static_cast<long>(*at + 1), line);
            src.dustText = noFractions;
        } else if (d.group == 0) {
            src.dustText = line;
        } else {
            if (!loadDustGroups())
                return false;
            auto g = findDustGroupLine(m_groups->lines, d.group);
            src.dustText = g ? cformat("%ld, %lf, ", number, d.density) + *g
                             : cformat("%ld, %lf, %ld, 0", number, d.density, d.group);
        }
    } else {
        if (!loadDustGroups())
            return false;
        std::string first;
        for (const std::string& g : m_groups->lines)
            if (!isCommentLine(g) && !trim(g).empty()) {
                first = g;
                break;
            }
        src.dustText = first.empty() ? noFractions : cformat("%ld, %lf, ", number, 2000.0) + first;
    }
    ExpandedDust e = parseExpandedDust(src.dustText);
    if (!e.complete) {
        m_sourceNotes += cformat("    Zdroj %ld : popis prachovych frakci nelze precist\n", number);
        src.dustText = noFractions;
        e = parseExpandedDust(noFractions);
    }
    src.record.density = e.density;
    src.record.fractions = std::move(e.fractions);
    if (src.record.fractions.empty()) {
        ++m_withoutFractions;
        m_sourceNotes += cformat("    Zdroj %ld nema popis prachovych frakci\n", number);
    }
    return true;
}

void Conversion::fetchDescription()
{
    while (!m_hasPending && m_descPos < m_desc.lines.size()) {
        const std::string& d = m_desc.lines[m_descPos++];
        if (!recordNumber(d))
            continue;
        DescriptionLine parsed = parseDescriptionLine(d);
        if (parsed.complete) {
            m_pending = parsed;
            m_hasPending = true;
        } else {
            skipped(m_sourceNotes, "s popisem zdroju", static_cast<long>(m_descPos), d);
        }
    }
}

void Conversion::dropPairsOf(const CoordinateLine& c)
{
    const bool numbered = c.number != kMissingWhole;
    fetchDescription();
    if (m_hasPending && (!numbered || m_pending.number == c.number))
        m_hasPending = false;
    if (!m_s.dust)
        return;
    const auto& lines = m_dustLines.lines;
    while (m_dustPos < lines.size() && !recordNumber(lines[m_dustPos]))
        ++m_dustPos;
    if (m_dustPos < lines.size() && (!numbered || recordNumber(lines[m_dustPos]) == c.number))
        ++m_dustPos;
}

bool Conversion::convertSources()
{
    std::unordered_map<long, std::int32_t> groupIndex;
    long progressMax = 0;
    for (const auto& line : m_coords.lines)
        progressMax += recordNumber(line).has_value();
    m_r.progress(0, progressMax);
    long done = 0;
    const bool read = eachRecordLine(m_coords.lines, [&](std::size_t i, const std::string& line) {
        CoordinateLine c = parseCoordinateLine(line);
        m_r.progress(++done, progressMax);
        if (!c.complete) {
            skipped(m_sourceNotes, "se zdroji", static_cast<long>(i + 1), line);
            dropPairsOf(c);
            return true;
        }
        Source src;
        SourceRecord& s = src.record;
        s.number = static_cast<std::int32_t>(c.number);
        s.x = c.x;
        s.y = c.y;
        s.z = c.z;
        s.type = static_cast<std::int16_t>(c.type);
        s.cluster = static_cast<std::int32_t>(c.cluster);
        s.group = static_cast<std::int32_t>(c.group);
        auto [it, added] = groupIndex.emplace(c.group, static_cast<std::int32_t>(groupIndex.size()));
        s.groupIndex = it->second;

        fetchDescription();
        if (m_hasPending && m_pending.number == c.number) {
            s.values = m_pending.values;
            src.described = true;
            m_hasPending = false;
        } else {
            ++m_zeroFilled;
        }
        if (m_s.dust && !dustTextFor(src, c.number))
            return false;
        m_sources.push_back(std::move(src));
        m_r.status(0, cformat("Pocet zapsaných zdroju : %ld", static_cast<long>(m_sources.size())));
        return true;
    });
    if (!read)
        return false;
    m_groupCount = static_cast<long>(groupIndex.size());
    return true;
}

// The source records in the order they are written: by alfa when asked, else as read.
// Nullopt after the message.
std::optional<std::vector<SourceRecord>> Conversion::orderedRecords()
{
    std::vector<SourceRecord> records;
    records.reserve(m_sources.size());
    if (m_s.sortByAlfa) {
        m_r.status(0, "Probíhá třídění zdrojů ... ");
        std::vector<std::string> lines;
        lines.reserve(m_sources.size());
        for (const Source& src : m_sources)
            lines.push_back(alfaSortLine(src.record, src.described, m_s.dust ? &src.dustText : nullptr));
        sortAlfaLines(lines);
        for (const std::string& line : lines) {
            auto back = readAlfaSortLine(line, m_s.dust);
            if (!back) {
                m_r.error("Pomocný soubor pro třídění nelze otevřít !");
                return std::nullopt;
            }
            if (m_s.dust) {
                ExpandedDust e = parseExpandedDust(back->dustText);
                back->record.density = e.density;
                back->record.fractions = std::move(e.fractions);
            }
            records.push_back(std::move(back->record));
        }
    } else {
        for (Source& src : m_sources)
            records.push_back(std::move(src.record));
    }
    return records;
}

// The conversion log: both headers and the notes of each file.
std::string Conversion::logText(long nSources) const
{
    const long nPoints = static_cast<long>(m_pointRecords.size());
    int columns = m_s.dust ? kDustSourceColumns : kGasSourceColumns;
    std::string text;
    text += "Hlavicka souboru s referencnimi body:\n";
    text += cformat("    Pocet radku   : %ld\n", nPoints);
    text += cformat("    Pocet sloupcu : %ld\n\n", static_cast<long>(kPointColumns));
    text += "Hlavicka souboru se zdroji :\n";
    text += cformat("    Pocet radku   : %ld\n", nSources);
    text += cformat("    Pocet sloupcu : %ld\n\n", static_cast<long>(columns));
    text += "Zapsane vety do binarniho souboru refer. bodu:\n" + m_pointNotes;
    text += cformat("\nPocet zapsanych vet  : %ld\n\n\n", nPoints);
    text += "Zapsane vety do binarniho souboru zdroju:\n" + m_sourceNotes;
    text += cformat(m_s.sortByAlfa ? "\nPocet zapsanych setridenych vet  : %ld\n\n\n"
                                   : "\nPocet zapsanych nesetridenych vet : %ld\n\n\n",
                    nSources);
    if (m_skipped > 0)
        text += cformat("Pocet vynechanych radku, ktere nelze precist : %ld\n", m_skipped);
    return text;
}

// The counts for the caller, the status lines and the warnings of a finished run.
void Conversion::summarize(ConversionSummary& sum, long nPoints, long nSources, const std::string& logPath)
{
    const char* how = m_s.sortByAlfa ? "Setříděno" : "Nesetříděno";
    sum.points = nPoints;
    sum.sources = nSources;
    sum.zeroFilled = m_zeroFilled;
    sum.groups = m_groupCount;
    sum.skippedLines = m_skipped;
    sum.withoutFractions = m_withoutFractions;
    sum.status[0] = cformat("%s, zapsáno %ld ref. bodů.", how, nPoints);
    sum.status[1] = cformat("%s, zapsáno %ld zdrojů (z toho %ld doplněno nulami).", how, nSources, m_zeroFilled);
    m_r.status(0, sum.status[0]);
    m_r.status(1, sum.status[1]);

    if (m_skipped > 0)
        m_r.warning(czechCount(m_skipped, "řádek", "řádky", "řádků") +
                    cformat(" vstupních souborů nelze přečíst, %s (viz %s).",
                            czechPlural(m_skipped, "nebyl převeden", "nebyly převedeny", "nebylo převedeno"),
                            logPath.c_str()));
    if (m_s.dust && m_withoutFractions > 0)
        m_r.warning(czechCount(m_withoutFractions, "zdroj", "zdroje", "zdrojů") + " " +
                    czechPlural(m_withoutFractions, "nemá", "nemají", "nemá") +
                    " popis prachových frakcí, ve výpočtu prachu " +
                    czechPlural(m_withoutFractions, "nepřispívá.", "nepřispívají.", "nepřispívají."));
    if (m_groupCount > 200)
        m_r.message(Severity::Info, kCaptionError,
                    "Počet skupin zdrojů je větší než 200, nelze spustit výpočet pro jednotlivé skupiny zdrojů !");
}

// Both binaries, committed together; false after the message naming what failed.
bool Conversion::writeOutputs(OutputSet& outputs, AtomicOutput& points, AtomicOutput& sources,
                              const std::vector<SourceRecord>& records)
{
    if (!points.write(encodePoints(m_pointRecords))) {
        m_r.error("Výstupní soubor s refer. body nelze zapsat!");
        return false;
    }
    if (!sources.write(encodeSources(records, m_s.dust))) {
        m_r.error("Výstupní soubor se zdroji nelze zapsat!");
        return false;
    }
    if (!outputs.commit()) {
        m_r.error("Výstupní soubory s refer. body a se zdroji nelze zapsat!");
        return false;
    }
    return true;
}

ToolStatus Conversion::run(ConversionSummary& sum)
{
    if (!loadInputs())
        return ToolStatus::Failed;
    std::string logPath = folderOf(m_s.sourcesBinary) + (m_s.dust ? kDustConversionLog : kGasConversionLog);
    File log(logPath, "wb");
    if (!log) {
        m_r.error("Výstupní soubor s průběhem převodu nelze otevřít !");
        return ToolStatus::Failed;
    }
    // Both binaries are committed together: a failure leaves the previous pair as it was.
    OutputSet outputs;
    AtomicOutput* pointsOut = m_s.pointsBinary.empty() ? nullptr : &outputs.add(m_s.pointsBinary);
    if (!pointsOut || !pointsOut->isOpen()) {
        m_r.error("Výstupní soubor s refer. body nelze otevřít !");
        return ToolStatus::Failed;
    }
    AtomicOutput* sourcesOut = m_s.sourcesBinary.empty() ? nullptr : &outputs.add(m_s.sourcesBinary);
    if (!sourcesOut || !sourcesOut->isOpen()) {
        m_r.error("Výstupní soubor se zdroji nelze otevřít !");
        return ToolStatus::Failed;
    }
    m_r.status(0, "");
    m_r.status(1, "");

    // A cancelled run stops here or below before anything is committed: the previous
    // outputs stay as they were.
    if (!convertPoints())
        return ToolStatus::Failed;
    m_r.status(0, "Zapsány hlavičky výstupních souborů");
    m_r.progress(0, static_cast<long>(m_pointRecords.size()));
    m_r.status(0, cformat("Pocet zapsaných referenčních bodů : %ld", static_cast<long>(m_pointRecords.size())));
    m_r.progress(static_cast<long>(m_pointRecords.size()), static_cast<long>(m_pointRecords.size()));
    if (!convertSources())
        return ToolStatus::Failed;

    std::optional<std::vector<SourceRecord>> sorted = orderedRecords();
    if (!sorted)
        return ToolStatus::Failed;
    std::vector<SourceRecord>& records = *sorted;

    if (m_r.cancelled())
        return ToolStatus::Failed;

    const long nPoints = static_cast<long>(m_pointRecords.size());
    const long nSources = static_cast<long>(records.size());
    log.write(logText(nSources));
    log.close();

    if (!writeOutputs(outputs, *pointsOut, *sourcesOut, records))
        return ToolStatus::Failed;
    summarize(sum, nPoints, nSources, logPath);
    return ToolStatus::Done;
}

}  // namespace

ToolStatus convertTextInputs(const ConversionSettings& s, const RunContext& ctx, ConversionSummary* summary)
{
    std::vector<NamedPath> inputs = {{"textový soubor s referenčními body", s.pointsText},
                                     {"textový soubor se zdroji", s.sourcesText},
                                     {"textový soubor s popisem zdrojů", s.descriptionText}};
    if (s.dust) {
        inputs.push_back({"textový soubor s popisem prachu", s.dustText});
        inputs.push_back({"textový soubor s prachovými skupinami", s.dustGroupsText});
    }
    const std::string log = folderOf(s.sourcesBinary) + (s.dust ? kDustConversionLog : kGasConversionLog);
    if (!refuseSharedFiles(ctx.reporter, inputs,
                           {{"binární soubor s referenčními body", s.pointsBinary},
                            {"binární soubor se zdroji", s.sourcesBinary},
                            {"soubor s průběhem převodu", log}}))
        return ToolStatus::Failed;
    OutputLock lock;
    if (auto stop = lock.claim(ctx, {s.pointsBinary, s.sourcesBinary}))
        return *stop;
    ConversionSummary local;
    Conversion c(s, ctx);
    return c.run(summary ? *summary : local);
}

}  // namespace ovd
