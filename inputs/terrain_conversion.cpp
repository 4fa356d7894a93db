#include "terrain_conversion.h"

#include <new>
#include <vector>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "terrain_text_grid.h"
#include "text_line.h"

namespace ovd {

namespace {

constexpr std::string_view kReadError = "Chyba při čtení dat z TXT souboru !";
constexpr std::string_view kBadData = "Vstupní TXT soubor obsahuje špatné údaje !";

// Encodes one row of value texts; false when a value is not a number.
bool encodeRow(const std::vector<std::string_view>& values, TerrainElement element, std::string& out)
{
    for (std::string_view text : values) {
        auto v = parseElementValue(text, element);
        if (!v)
            return false;
        putTerrainElement(out, element, v->whole, v->real);
    }
    return true;
}

std::string noDataLogLine(TerrainElement element, const ElementValue& v)
{
    switch (element) {
    case TerrainElement::Int16: return cformat("Nulova hodnota  : %d \n\n\r", static_cast<int>(v.whole));
    case TerrainElement::Int32: return cformat("Nulova hodnota  : %ld \n\n\r", v.whole);
    case TerrainElement::Real: break;
    }
    return cformat("Nulova hodnota  : %lf \n\n\r", v.real);
}

class TerrainConversion {
public:
    TerrainConversion(const TerrainSettings& s, const RunContext& ctx)
        : m_s(s)
        , m_r(ctx.reporter)
        , m_ctx(ctx)
    { }

    ToolStatus run()
    {
        const std::string logPath = folderOf(m_s.binaryOutput) + "prub_vys.tmp";
        if (!refuseSharedFiles(
                m_r, {{"textový soubor s výškopisem", m_s.textInput}},
                {{"binární soubor s výškopisem", m_s.binaryOutput}, {"soubor s průběhem převodu", logPath}}))
            return ToolStatus::Failed;
        OutputLock lock;
        if (!lock.acquire(m_r, {m_s.binaryOutput}))
            return ToolStatus::Failed;
        if (!m_ctx.confirmOverwrite(m_s.binaryOutput))
            return ToolStatus::Declined;
        File input;
        if (!input.openInput(m_s.textInput))
            return fail("Vstupní soubor maticí výškopisu nelze otevřít !");
        if (m_s.binaryOutput.empty() || !m_out.open(m_s.binaryOutput))
            return fail("Výstupní soubor maticí výškopisu nelze otevřít !");
        if (!m_log.open(logPath, "w"))
            return fail("Výstupní soubor s průběhem převodu nelze otevřít !");

        TextGridReader reader(input.get());
        m_reader = &reader;
        TextGridHeader grid;
        TextGridHeaderError err = reader.readHeader(grid);
        if (reader.tooLong())
            return tooLong();
        if (err == TextGridHeaderError::UnknownKind)
            return fail("Neznámý formát textového souboru s výškopisem !");
        if (err == TextGridHeaderError::TooFewNodes || err == TextGridHeaderError::BadSpacing)
            return fail(kBadData);
        if (err != TextGridHeaderError::None) {
            m_log.write(headerErrorLogLine(err, grid));
            return fail(err == TextGridHeaderError::UnequalSpacing ? kUnequalSpacingText : kReadError);
        }
        auto noData = parseElementValue(grid.noDataText, m_s.element);
        if (!noData) {
            m_log.write(headerErrorLogLine(TextGridHeaderError::NoData, grid));
            return fail(kReadError);
        }

        m_header.element = m_s.element;
        m_header.ncols = static_cast<std::int32_t>(grid.ncols);
        m_header.nrows = static_cast<std::int32_t>(grid.nrows);
        m_header.xOrigin = grid.xOrigin;
        m_header.yOrigin = grid.yOrigin;
        m_header.cellSize = grid.cellSize;
        m_header.noData = noData->real;
        if (grid.kind == TextGridKind::Surface) {
            m_log.write(cformat("\nPocet sloupcu     : %ld \n\r", grid.ncols));
            m_log.write(cformat("Pocet radku       : %ld \n\r", grid.nrows));
        }
        m_log.write(cformat("Poc. souradnice X : %lf \n\r", grid.xOrigin));
        m_log.write(cformat("Poc. souradnice Y : %lf \n\r", grid.yOrigin));
        m_log.write(cformat("Velikost bunky    : %lf \n\r", grid.cellSize));
        m_log.write(noDataLogLine(m_s.element, *noData));
        std::fflush(m_log.get());
        if (!m_out.write(m_header.encode()))
            return writeFailed();

        ToolStatus status = grid.kind == TextGridKind::Columns ? streamRows(reader) : reverseRows(reader);
        if (status != ToolStatus::Done)
            return status;
        if (!m_out.commit())
            return writeFailed();
        m_r.status(0, cformat("Zapsáno %ld řádků s %ld sloupci", grid.nrows, grid.ncols));
        return ToolStatus::Done;
    }

private:
    // First kind: every row is written as soon as it is read.
    ToolStatus streamRows(TextGridReader& reader)
    {
        std::vector<std::string_view> values;
        std::string bytes;
        long nrows = m_header.nrows;
        m_r.progress(0, nrows);
        for (long row = 0; row < nrows; ++row) {
            if (m_r.cancelled())
                return ToolStatus::Declined;
            bytes.clear();
            if (reader.nextRow(values) != TextGridReader::Row::Ok || !encodeRow(values, m_header.element, bytes))
                return badData();
            if (!m_out.write(bytes))
                return writeFailed();
            m_r.status(0, cformat("Počet zapsaných řádků : %ld", row + 1));
            m_r.progress(row + 1, nrows);
        }
        if (reader.nextRow(values) != TextGridReader::Row::End)
            return badData();  // more rows than the header says
        return ToolStatus::Done;
    }

    // Second kind: rows come south first, so they are held until the last one is read.
    ToolStatus reverseRows(TextGridReader& reader)
    {
        std::vector<std::string_view> values;
        std::vector<std::string> rows;
        long nrows = m_header.nrows;
        try {
            m_r.progress(0, nrows);
            for (long row = 0; row < nrows; ++row) {
                if (m_r.cancelled())
                    return ToolStatus::Declined;
                if (reader.nextRow(values) != TextGridReader::Row::Ok)
                    return badData();
                std::string bytes;
                bytes.reserve(values.size() * m_header.elementWidth());
                if (!encodeRow(values, m_header.element, bytes))
                    return fail(kBadData);
                rows.push_back(std::move(bytes));
                m_r.status(0, cformat("Počet načtených řádků : %ld", row + 1));
                m_r.progress(row + 1, nrows);
            }
        } catch (const std::bad_alloc&) {
            return fail("Chyba alokace paměti, program ukončen");
        }
        if (reader.nextRow(values) != TextGridReader::Row::End)
            return badData();
        m_r.status(0, cformat("Načteno %ld řádků s %ld sloupci", nrows, static_cast<long>(m_header.ncols)));
        m_r.progress(0, nrows);
        long written = 0;
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            if (!m_out.write(*it))
                return writeFailed();
            ++written;
            m_r.status(0, cformat("Počet zapsaných řádků : %ld", written));
            m_r.progress(written, nrows);
        }
        return ToolStatus::Done;
    }

    ToolStatus fail(std::string_view text)
    {
        m_out.discard();
        m_r.error(text);
        return ToolStatus::Failed;
    }
    ToolStatus writeFailed() { return fail("Chyba při zápisu výstupního souboru s výškopisem !"); }
    ToolStatus tooLong()
    {
        m_out.discard();
        reportTooLongLine(m_r, m_s.textInput, m_reader->lineNumber());
        return ToolStatus::Failed;
    }
    // A row that ended at an over-long line is reported as such, not as bad data.
    ToolStatus badData() { return m_reader->tooLong() ? tooLong() : fail(kBadData); }

    const TerrainSettings& m_s;
    Reporter& m_r;
    const RunContext& m_ctx;
    AtomicOutput m_out;
    File m_log;
    TerrainHeader m_header;
    const TextGridReader* m_reader = nullptr;
};

}  // namespace

std::span<const Param<TerrainSettings>> TerrainSettings::params()
{
    using S = TerrainSettings;
    static const auto kParams = declare<S>({
        inSection(section::kGlobal, {key("VstVyskoTxt", &S::textInput), key("VstVyskoBin", &S::binaryOutput)}),
        inSection(section::kTerrain,
                  {key("TypZapisu",
                       IntAccess<S>{[](const S& s) { return static_cast<long>(s.element); },
                                    [](S& s, long type) {
                                        s.element = (type == 1 || type == 2) ? static_cast<TerrainElement>(type)
                                                                             : TerrainElement::Int16;
                                    }})}),
    });
    return kParams;
}

std::string terrainOutputName(const std::string& textInput)
{
    return derivedName(textInput, "bin");
}

ToolStatus convertTerrain(const TerrainSettings& s, const RunContext& ctx)
{
    return TerrainConversion(s, ctx).run();
}

}  // namespace ovd
