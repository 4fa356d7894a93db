#include "coord_recompute.h"

#include <map>
#include <set>
#include <vector>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "common/text.h"
#include "coord_table.h"
#include "inputs/raw_text.h"
#include "inputs/text_line.h"

namespace ovd {

namespace {

// The comma-separated fields before the first semicolon, trimmed.
std::vector<std::string> dataFields(std::string_view line)
{
    std::string_view body = line.substr(0, line.find(';'));
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = body.find(',', start);
        fields.push_back(
            trim(body.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

// What follows the third comma of a line, leading blanks dropped.
std::string afterThirdComma(std::string_view line)
{
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        pos = line.find(',', pos);
        if (pos == std::string_view::npos)
            return {};
        ++pos;
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    return std::string(line.substr(pos));
}

struct CoordRecord {
    long number = 0;
    std::optional<std::pair<double, double>> converted;
    long type = 0;
};

class Recomputation {
public:
    Recomputation(const CoordRecomputeSettings& s, const RunContext& ctx)
        : m_s(s)
        , m_ctx(ctx)
        , m_r(ctx.reporter)
    { }

    ToolStatus run()
    {
        m_coordTarget = m_s.overwrite ? m_s.coordinates : m_s.coordinatesOutput;
        m_descTarget = m_s.withDescription ? (m_s.overwrite ? m_s.description : m_s.descriptionOutput) : "";
        m_logPath = folderOf(m_coordTarget) + "prub_sou.tmp";
        if (!refuseShared())
            return ToolStatus::Failed;
        OutputLock lock;
        if (!lock.acquire(m_r, {m_coordTarget, m_descTarget}))
            return ToolStatus::Failed;
        if (ToolStatus read = readInputs(); read != ToolStatus::Done)
            return read;
        if (!m_s.overwrite) {
            if (!m_ctx.confirmOverwrite(m_coordTarget))
                return ToolStatus::Declined;
            if (m_s.withDescription && !m_ctx.confirmOverwrite(m_descTarget))
                return ToolStatus::Declined;
        }
        // Both files are committed together.
        OutputSet outputs;
        AtomicOutput* coordOut = m_coordTarget.empty() ? nullptr : &outputs.add(m_coordTarget);
        if (!coordOut || !coordOut->isOpen())
            return fail("Výstupní soubor se souřadnicemi nelze otevřít!");
        AtomicOutput* descOut = nullptr;
        if (m_s.withDescription) {
            descOut = m_descTarget.empty() ? nullptr : &outputs.add(m_descTarget);
            if (!descOut || !descOut->isOpen())
                return fail("Výstupní soubor s popisem zdrojů nelze otevřít!");
        }
        File log(m_logPath, "w");
        if (!log)
            return fail("Výstupní soubor s průběhem přepočtu nelze otevřít!");

        // Coordinates first, so that a description line knows its source's type; the outputs
        // are committed only at the end, so a cancel changes nothing.
        if (!convertCoordinates())
            return ToolStatus::Failed;
        RawText descBody;
        if (m_description && !convertDescriptions(log, descBody))
            return ToolStatus::Failed;
        long total = 0, outside = 0;
        RawText coordBody = rewrittenCoordinates(log, total, outside);
        if (m_r.cancelled())
            return ToolStatus::Failed;
        if (descOut && !descOut->write(descBody.join()))
            return fail("Výstupní soubor s popisem zdrojů nelze zapsat!");
        if (!coordOut->write(coordBody.join()) || !outputs.commit())
            return fail("Výstupní soubor se souřadnicemi nelze zapsat!");
        std::string done = cformat("Převod dokončen, převedeno %ld řádků, z toho %ld mimo oblast.", total, outside);
        m_r.status(0, done);
        m_r.info(done);
        return ToolStatus::Done;
    }

private:
    bool refuseShared()
    {
        // In place the inputs are the outputs: then only the table must be another file.
        std::vector<NamedPath> inputs = {{"binární převodní tabulka", m_s.table}};
        if (!m_s.overwrite) {
            inputs.push_back({"vstupní soubor se souřadnicemi", m_s.coordinates});
            if (m_s.withDescription)
                inputs.push_back({"vstupní soubor s popisem zdrojů", m_s.description});
        }
        return refuseSharedFiles(m_r, inputs,
                                 {{"výstupní soubor se souřadnicemi", m_coordTarget},
                                  {"výstupní soubor s popisem zdrojů", m_descTarget},
                                  {"soubor s průběhem přepočtu", m_logPath}});
    }

    ToolStatus readInputs()
    {
        auto tableBytes = readFileBytes(m_s.table);
        if (!tableBytes)
            return fail("Binární soubor s převodní tabulkou nelze otevřít!");
        m_table = CoordTable::decode(*tableBytes);
        if (!m_table)
            return fail("Binární soubor s převodní tabulkou není platná převodní tabulka!");
        // Both files are handled as bytes: copied lines stay as they were, and rewritten ones
        // keep the file's encoding and line ends.
        m_coords = readInput(m_s.coordinates, "Vstupní soubor se souřadnicemi nelze otevřít !");
        if (!m_coords)
            return ToolStatus::Failed;
        if (m_s.withDescription) {
            m_description = readInput(m_s.description, "Vstupní soubor s popisem zdrojů nelze otevřít !");
            if (!m_description)
                return ToolStatus::Failed;
        }
        return ToolStatus::Done;
    }

    // Converts every coordinate record; false when cancelled.
    bool convertCoordinates()
    {
        const long count = static_cast<long>(m_coords->lines.size());
        m_r.progress(0, count);
        for (long i = 0; i < count; ++i) {
            if (i % 256 == 0 && m_r.cancelled())
                return false;
            const std::string& line = m_coords->lines[static_cast<std::size_t>(i)].text;
            auto number = recordNumber(line);
            if (!number)
                continue;
            CoordRecord rec;
            rec.number = *number;
            auto f = dataFields(line);
            auto u = f.size() > 2 ? value(f[1]) : std::nullopt;
            auto v = f.size() > 2 ? value(f[2]) : std::nullopt;
            if (u && v)
                rec.converted = m_table->convert(*u, *v);
            if (f.size() > 4)
                rec.type = parseLong(f[4]).value_or(0);
            m_typeOf.emplace(rec.number, rec.type);
            if (!rec.converted)
                m_dropped.insert(rec.number);
            m_records.push_back(rec);
            m_r.status(0, cformat("Převáděný řádek %ld", i + 1));
            m_r.progress(i + 1, count);
        }
        return true;
    }

    // A line source whose end points leave the table is left out as a whole; false when cancelled.
    bool convertDescriptions(File& log, RawText& body)
    {
        body.bom = m_description->bom;
        std::vector<std::optional<std::string>> converted;
        for (const RawLine& line : m_description->lines) {
            if (converted.size() % 256 == 0 && m_r.cancelled())
                return false;
            converted.push_back(convertDescription(line.text, m_typeOf, *m_table));
        }
        for (std::size_t i = 0; i < m_description->lines.size(); ++i) {
            const RawLine& line = m_description->lines[i];
            auto number = recordNumber(line.text);
            if (number && m_dropped.count(*number)) {
                log.write(cformat("Popis zdroje %lld (radek %ld) vynechan\n", static_cast<long long>(*number),
                                  static_cast<long>(i + 1)));
                continue;
            }
            body.lines.push_back(converted[i] ? rewrittenLine(std::move(*converted[i]), line) : line);
        }
        return true;
    }

    RawText rewrittenCoordinates(File& log, long& total, long& outside)
    {
        RawText body;
        body.bom = m_coords->bom;
        std::size_t next = 0;
        for (std::size_t i = 0; i < m_coords->lines.size(); ++i) {
            const RawLine& line = m_coords->lines[i];
            if (!recordNumber(line.text)) {
                body.lines.push_back(line);
                continue;
            }
            const CoordRecord& rec = m_records[next++];
            ++total;
            if (m_dropped.count(rec.number)) {
                ++outside;
                log.write(cformat("Radek %ld, cislo %ld - mimo oblast\n", static_cast<long>(i + 1), rec.number));
                continue;
            }
            body.lines.push_back(
                rewrittenLine(cformat("%ld, %lf, %lf, ", rec.number, rec.converted->first, rec.converted->second) +
                                  afterThirdComma(line.text),
                              line));
        }
        return body;
    }

    std::optional<RawText> readInput(const std::string& path, const char* failure)
    {
        RawTextResult read = readRawText(path);
        if (read.tooLongLine > 0)
            reportTooLongLine(m_r, path, read.tooLongLine);
        else if (!read.text)
            m_r.error(failure);
        return std::move(read.text);
    }

    std::optional<double> value(const std::string& text) const
    {
        return m_s.degrees ? parseDegrees(text) : parseDouble(text);
    }

    // The recomputed line of a line source, nullopt for lines that are copied as they are.
    std::optional<std::string> convertDescription(const std::string& line, const std::map<long, long>& typeOf,
                                                  const CoordTable& table)
    {
        auto number = recordNumber(line);
        if (!number)
            return std::nullopt;
        auto type = typeOf.find(*number);
        if (type == typeOf.end() || type->second != 3)
            return std::nullopt;
        auto f = dataFields(line);
        std::optional<std::pair<double, double>> a, b;
        if (f.size() >= 6) {
            auto x1 = value(f[2]), y1 = value(f[3]), x2 = value(f[4]), y2 = value(f[5]);
            if (x1 && y1 && x2 && y2) {
                a = table.convert(*x1, *y1);
                b = table.convert(*x2, *y2);
            }
        }
        if (!a || !b) {
            m_dropped.insert(*number);
            return std::nullopt;
        }
        f[2] = cformat("%lf", a->first);
        f[3] = cformat("%lf", a->second);
        f[4] = cformat("%lf", b->first);
        f[5] = cformat("%lf", b->second);
        std::string out;
        for (std::size_t i = 0; i < f.size(); ++i) {
            if (i > 0)
                out += ", ";
            out += f[i];
        }
        std::size_t semi = line.find(';');
        if (semi != std::string::npos)
            out += line.substr(semi);
        return out;
    }

    ToolStatus fail(std::string_view text)
    {
        m_r.error(text);
        return ToolStatus::Failed;
    }

    const CoordRecomputeSettings& m_s;
    const RunContext& m_ctx;
    Reporter& m_r;
    std::string m_coordTarget, m_descTarget, m_logPath;
    std::optional<CoordTable> m_table;
    std::optional<RawText> m_coords, m_description;
    std::vector<CoordRecord> m_records;
    std::map<long, long> m_typeOf;
    std::set<long> m_dropped;
};

}  // namespace

std::optional<double> parseDegrees(std::string_view text)
{
    std::string t = trim(text);
    std::size_t a = t.find('/');
    std::size_t b = a == std::string::npos ? a : t.find('/', a + 1);
    if (b == std::string::npos)
        return std::nullopt;
    auto d = parseDouble(std::string_view(t).substr(0, a));
    auto m = parseDouble(std::string_view(t).substr(a + 1, b - a - 1));
    auto s = parseDouble(std::string_view(t).substr(b + 1));
    if (!d || !m || !s || *m < 0 || *s < 0)
        return std::nullopt;
    double magnitude = (*d < 0 ? -*d : *d) + *m / 60 + *s / 3600;
    return t[0] == '-' ? -magnitude : magnitude;
}

const std::vector<Param<CoordRecomputeSettings>> CoordRecomputeSettings::kParams = declare<Self>({
    inSection(section::kCoordRecompute,
              {key("VstSourad", &Self::coordinates), key("VstPopis", &Self::description),
               key("VystSourad", &Self::coordinatesOutput), key("VystPopis", &Self::descriptionOutput),
               key("VstBinSourad", &Self::table), key("DesetinyMinuty", &Self::degrees),
               key("TypSouboru", &Self::withDescription), key("PrepsatSoubor", &Self::overwrite)}),
});

ToolStatus recomputeCoordinates(const CoordRecomputeSettings& s, const RunContext& ctx)
{
    return Recomputation(s, ctx).run();
}

}  // namespace ovd
