#include "terrain_conversion.h"

#include <cmath>
#include <new>
#include <vector>

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/gis_services.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "common/text.h"
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

// A raster value as an element: truncated and cut to the width of a whole type, as text
// values are; `fallback` for a value that is not finite or beyond any whole type.
ElementValue elementValueOf(double v, TerrainElement element, const ElementValue& fallback)
{
    if (!std::isfinite(v))
        return fallback;
    ElementValue e;
    if (element == TerrainElement::Real) {
        e.real = v;
        return e;
    }
    if (std::fabs(v) >= 9.2e18)
        return fallback;
    long whole = static_cast<long>(v);
    e.whole = element == TerrainElement::Int16 ? static_cast<std::int16_t>(static_cast<std::uint16_t>(whole))
                                               : static_cast<std::int32_t>(static_cast<std::uint32_t>(whole));
    e.real = static_cast<double>(e.whole);
    return e;
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
        if (auto stop = lock.claim(m_ctx, {m_s.binaryOutput}))
            return *stop;
        File input;
        if (!input.openInput(m_s.textInput))
            return fail("Vstupní soubor maticí výškopisu nelze otevřít !");
        if (m_s.binaryOutput.empty() || !m_out.open(m_s.binaryOutput))
            return fail("Výstupní soubor maticí výškopisu nelze otevřít !");
        if (!m_log.open(logPath, "w"))
            return fail("Výstupní soubor s průběhem převodu nelze otevřít !");
        if (m_ctx.gis && !startsAsTextGrid(input.get())) {
            input.close();
            return convertRaster();
        }

        TextGridReader reader(input.get());
        m_reader = &reader;
        TextGridHeader grid;
        TextGridHeaderError err = reader.readHeader(grid);
        if (reader.tooLong())
            return tooLong();
        if (err == TextGridHeaderError::UnknownKind)
            return fail("Neznámý formát textového souboru s výškopisem!");
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

        takeHeader(grid, noData->real);
        if (!writeHeader(*noData))
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
    // The text grid's header as the binary file's; a surface grid's size goes into the log.
    void takeHeader(const TextGridHeader& grid, double noData)
    {
        m_header.element = m_s.element;
        m_header.ncols = static_cast<std::int32_t>(grid.ncols);
        m_header.nrows = static_cast<std::int32_t>(grid.nrows);
        m_header.xOrigin = grid.xOrigin;
        m_header.yOrigin = grid.yOrigin;
        m_header.cellSize = grid.cellSize;
        m_header.noData = noData;
        if (grid.kind == TextGridKind::Surface) {
            m_log.write(cformat("\nPocet sloupcu     : %ld \n\r", grid.ncols));
            m_log.write(cformat("Pocet radku       : %ld \n\r", grid.nrows));
        }
    }

    // The origin, cell size and no-data lines of the log, then the header into the output.
    bool writeHeader(const ElementValue& noData)
    {
        m_log.write(cformat("Poc. souradnice X : %lf \n\r", m_header.xOrigin));
        m_log.write(cformat("Poc. souradnice Y : %lf \n\r", m_header.yOrigin));
        m_log.write(cformat("Velikost bunky    : %lf \n\r", m_header.cellSize));
        m_log.write(noDataLogLine(m_s.element, noData));
        std::fflush(m_log.get());
        return m_out.write(m_header.encode());
    }

    // Third kind: a raster, in the study's coordinate system, streamed row by row.
    ToolStatus convertRaster()
    {
        Outcome<std::unique_ptr<HeightRaster>> opened =
            m_ctx.gis->openHeightRaster(m_s.textInput, m_s.coordinateSystem);
        if (!opened) {
            m_out.discard();
            opened.problem().report(m_r);
            return ToolStatus::Failed;
        }
        HeightRaster& raster = **opened;
        const RasterGeometry& g = raster.geometry();
        // A raster without a no-data value gets the one of the second text kind.
        const ElementValue noData = elementValueOf(g.noData.value_or(-9999), m_s.element, ElementValue{});
        m_header.element = m_s.element;
        m_header.ncols = g.ncols;
        m_header.nrows = g.nrows;
        m_header.xOrigin = g.xOrigin;
        m_header.yOrigin = g.yOrigin;
        m_header.cellSize = g.cellSize;
        m_header.noData = noData.real;
        if (!writeHeader(noData))
            return writeFailed();
        std::vector<double> values;
        std::string bytes;
        const long nrows = g.nrows;
        m_r.progress(0, nrows);
        for (long row = 0; row < nrows; ++row) {
            if (m_r.cancelled())
                return ToolStatus::Declined;
            if (std::optional<Problem> p = raster.readRow(static_cast<std::int32_t>(row), values)) {
                m_out.discard();
                p->report(m_r);
                return ToolStatus::Failed;
            }
            bytes.clear();
            for (double v : values) {
                // A cell the element type cannot hold (NaN, out of range) has no data.
                ElementValue e = elementValueOf(v, m_s.element, noData);
                putTerrainElement(bytes, m_s.element, e.whole, e.real);
            }
            if (!m_out.write(bytes))
                return writeFailed();
            m_r.status(0, cformat("Počet zapsaných řádků : %ld", row + 1));
            m_r.progress(row + 1, nrows);
        }
        if (!m_out.commit())
            return writeFailed();
        m_r.status(0, cformat("Zapsáno %ld řádků s %ld sloupci", nrows, static_cast<long>(g.ncols)));
        return ToolStatus::Done;
    }

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
                return badData(row);
            if (!m_out.write(bytes))
                return writeFailed();
            m_r.status(0, cformat("Počet zapsaných řádků : %ld", row + 1));
            m_r.progress(row + 1, nrows);
        }
        if (reader.nextRow(values) != TextGridReader::Row::End)
            return badData(nrows);  // more rows than the header says
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
                    return badData(row);
                std::string bytes;
                bytes.reserve(values.size() * m_header.elementWidth());
                if (!encodeRow(values, m_header.element, bytes))
                    return badData(row);
                rows.push_back(std::move(bytes));
                m_r.status(0, cformat("Počet načtených řádků : %ld", row + 1));
                m_r.progress(row + 1, nrows);
            }
        } catch (const std::bad_alloc&) {
            return fail("Chyba alokace paměti, program ukončen");
        }
        if (reader.nextRow(values) != TextGridReader::Row::End)
            return badData(nrows);
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
    ToolStatus writeFailed() { return fail("Chyba při zápisu výstupního souboru s výškopisem!"); }
    ToolStatus tooLong()
    {
        m_out.discard();
        reportTooLongLine(m_r, m_s.textInput, m_reader->lineNumber());
        return ToolStatus::Failed;
    }
    // A row that ended at an over-long line is reported as such, not as bad data; the log says
    // which row of the matrix and which line of the file could not be taken.
    ToolStatus badData(long row)
    {
        if (m_reader->tooLong())
            return tooLong();
        m_log.write(
            row < m_header.nrows
                ? cformat("\nChybna data %ld. radku matice (radek %ld souboru)\n\r", row + 1, m_reader->lineNumber())
                : cformat("\nSoubor ma vice radku matice, nez uvadi hlavicka (radek %ld souboru)\n\r",
                          m_reader->lineNumber()));
        return fail(kBadData);
    }

    const TerrainSettings& m_s;
    Reporter& m_r;
    const RunContext& m_ctx;
    AtomicOutput m_out;
    File m_log;
    TerrainHeader m_header;
    const TextGridReader* m_reader = nullptr;
};

}  // namespace

long TerrainSettings::elementIndex(const Self& s)
{
    return static_cast<long>(s.element);
}

void TerrainSettings::setElementIndex(Self& s, long index)
{
    s.element = (index == 1 || index == 2) ? static_cast<TerrainElement>(index) : TerrainElement::Int16;
}

const std::vector<Param<TerrainSettings>> TerrainSettings::kParams = declare<Self>(
    {inSection(section::kGlobal, {key("VstVyskoTxt", &Self::textInput), key("VstVyskoBin", &Self::binaryOutput)}),
     inSection(section::kTerrain, {key("TypZapisu", kTerrainElement)}),
     inSection(section::kGlobal, {key(kStudySystemKey, &Self::coordinateSystem).readOnly()})});

bool startsAsTextGrid(std::FILE* fp)
{
    char buffer[64];
    std::size_t n = std::fread(buffer, 1, sizeof buffer, fp);
    std::rewind(fp);
    std::string_view head(buffer, n);
    if (head.substr(0, 3) == "\xEF\xBB\xBF")
        head.remove_prefix(3);
    std::size_t start = head.find_first_not_of(" \t");
    if (start == std::string_view::npos || head[start] == '\n' || head[start] == '\r')
        return true;
    std::size_t end = head.find_first_of(" \t\r\n", start);
    std::string word = toLowerAscii(head.substr(start, end == std::string_view::npos ? end : end - start));
    return word == "ncols" || word == "dsaa";
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
