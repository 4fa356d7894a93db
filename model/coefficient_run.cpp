#include "coefficient_run.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <new>
#include <thread>
#include <type_traits>
#include <variant>
#include <vector>

#include "coefficient_pair.h"
#include "coefficient_terrain.h"
#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/le_io.h"
#include "common/numbers.h"
#include "common/output_paths.h"
#include "common/paths.h"
#include "inputs/binary_inputs.h"
#include "inputs/terrain_matrix.h"
#include "matrix_file.h"
#include "run_stop_reason.h"

namespace ovd {

namespace {

constexpr std::string_view kOutOfMemory = "Chyba alokace paměti, program ukončen";
constexpr std::size_t kChunkColumns = 256;      // pairs per task
constexpr std::size_t kWindowValues = 1 << 22;  // bound on values held for unwritten rows

struct Inputs {
    std::optional<TerrainMatrix> terrain;
    std::vector<Site> points;
    std::vector<Site> sources;
    std::vector<std::int16_t> types;
};

bool sameFile(const std::string& a, const std::string& b)
{
    return a == b || samePath(a, b);
}

bool usableOutputPath(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && !std::filesystem::is_directory(path, ec);
}

// One row of results: what the workers fill and the writer takes in row order.
struct RowSlot {
    std::vector<float> theta, delta, zmax;
    std::vector<std::string> logs;        // per chunk, in column order
    std::vector<std::int32_t> notFinite;  // per chunk: first bad column or -1
    std::vector<char> outside;            // per chunk: a pair lay outside the terrain
    std::size_t remaining = 0;            // chunks not yet done
};

class CoefficientRun {
public:
    CoefficientRun(const CoefficientSettings& s, const RunContext& ctx)
        : m_s(s)
        , m_rep(ctx.reporter)
        , m_ctx(ctx)
    { }
    ToolStatus run(unsigned threads);
    void logStopReason(const StopReasonReporter& reasons, ToolStatus status) { reasons.logStopReason(m_log, status); }

private:
    bool confirmOutputs();
    bool chooseMode(const std::string& bytes);
    ToolStatus computeAndWrite(unsigned threads, bool& anyOutside);
    template <class Walk> void computeChunk(const Walk&, std::size_t row, std::size_t chunk, RowSlot& slot) const;
    void computeTask(std::size_t row, std::size_t chunk, RowSlot& slot) const;
    bool fail(std::string_view text)
    {
        m_rep.error(text);
        return false;
    }

    const CoefficientSettings& m_s;
    Reporter& m_rep;
    const RunContext& m_ctx;
    Inputs m_in;
    bool m_dust = false;
    OutputLock m_lock;
    File m_log;
    OutputSet m_outputs;  // the three matrices, committed together
    MatrixFileWriter m_theta, m_delta, m_zmax;
    std::vector<char> m_pointInside, m_sourceInside;
    std::vector<std::string> m_pointLog;  // the three log lines of a point outside
    std::variant<std::monostate, CoefficientTerrain<std::int16_t>, CoefficientTerrain<std::int32_t>,
                 CoefficientTerrain<double>>
        m_walk;
};

bool CoefficientRun::confirmOutputs()
{
    for (const std::string* out : {&m_s.theta, &m_s.delta, &m_s.zmax})
        if (!m_ctx.confirmOverwrite(*out))
            return false;
    return true;
}

bool CoefficientRun::chooseMode(const std::string& bytes)
{
    std::int32_t columns = bytes.size() >= 8 ? getI32(reinterpret_cast<const unsigned char*>(bytes.data()) + 4) : 0;
    if (columns == kGasSourceColumns || columns == kDustSourceColumns) {
        m_dust = columns == kDustSourceColumns;
        return true;
    }
    m_dust = m_s.dust;
    Question q;
    q.caption = "Ovardix";
    q.text = m_dust
        ? "Vstupní soubor se zdroji pravděpodobně neobsahuje hodnoty zdrojů s prachovými částicemi, chcete jej přesto použít ?"
        : "Vstupní soubor se zdroji pravděpodobně neobsahuje hodnoty zdrojů s plynnými látkami, chcete jej přesto použít ?";
    q.buttons = Buttons::YesNo;
    q.defaultAnswer = Answer::No;
    return m_ctx.ask(q) == Answer::Yes;
}

template <class Walk>
void CoefficientRun::computeChunk(const Walk& walk, std::size_t row, std::size_t chunk, RowSlot& slot) const
{
    const Site& src = m_in.sources[row];
    const TerrainHeader& h = walk.header();
    std::string& log = slot.logs[chunk];
    log.clear();
    slot.notFinite[chunk] = -1;
    slot.outside[chunk] = 0;
    const std::size_t end = std::min(m_in.points.size(), (chunk + 1) * kChunkColumns);
    for (std::size_t c = chunk * kChunkColumns; c < end; ++c) {
        PairCoefficients p;
        if (!m_pointInside[c]) {
            log += m_pointLog[c];
            slot.outside[chunk] = 1;
        } else if (!m_sourceInside[row]) {
            log += cformat("ZDR: %ld - mimo ohr. oblast, nahrazeno nulami\n", static_cast<long>(src.number));
            slot.outside[chunk] = 1;
        } else {
            p = computePair(h, src, m_in.points[c], m_s.step, walk);
            if (p.outcome == PairOutcome::TooShort)
                log += cformat("ZDR: %ld, REF: %ld - vzdalenost mimo rozsah, nahrazeno nulami\n",
                               static_cast<long>(src.number), static_cast<long>(m_in.points[c].number));
            else if (p.outcome == PairOutcome::NotFinite && slot.notFinite[chunk] < 0)
                slot.notFinite[chunk] = static_cast<std::int32_t>(c);
        }
        slot.theta[c] = p.theta;
        slot.delta[c] = p.delta;
        slot.zmax[c] = p.zmax;
    }
}

void CoefficientRun::computeTask(std::size_t row, std::size_t chunk, RowSlot& slot) const
{
    std::visit(
        [&](const auto& walk) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(walk)>, std::monostate>)
                computeChunk(walk, row, chunk, slot);
        },
        m_walk);
}

ToolStatus CoefficientRun::computeAndWrite(unsigned threads, bool& anyOutside)
{
    const std::size_t rows = m_in.sources.size(), cols = m_in.points.size();
    // Rows up to the first source of a wrong type are computed and logged; that one stops the run.
    std::size_t goodRows = 0;
    while (goodRows < rows && m_in.types[goodRows] >= 1 && m_in.types[goodRows] <= 3)
        ++goodRows;

    const std::size_t chunksPerRow = std::max<std::size_t>(1, (cols + kChunkColumns - 1) / kChunkColumns);
    const std::size_t window = std::clamp<std::size_t>(kWindowValues / std::max<std::size_t>(1, cols), 2, 64);
    std::vector<RowSlot> slots(std::min(window, std::max<std::size_t>(goodRows, 1)));
    for (RowSlot& slot : slots) {
        slot.theta.resize(cols);
        slot.delta.resize(cols);
        slot.zmax.resize(cols);
        slot.logs.resize(chunksPerRow);
        slot.notFinite.assign(chunksPerRow, -1);
        slot.outside.assign(chunksPerRow, 0);
        slot.remaining = chunksPerRow;
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::size_t written = 0;  // rows handed to the writer so far
    bool stop = false, workerFailed = false;
    std::atomic<std::size_t> nextTask{0};
    const std::size_t tasks = goodRows * chunksPerRow;

    auto worker = [&] {
        for (;;) {
            std::size_t t = nextTask.fetch_add(1);
            if (t >= tasks)
                return;
            std::size_t row = t / chunksPerRow, chunk = t % chunksPerRow;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || row < written + slots.size(); });
                if (stop)
                    return;
            }
            RowSlot& slot = slots[row % slots.size()];
            bool ok = true;
            try {
                computeTask(row, chunk, slot);
            } catch (...) {  // out of memory for the log text: the writer stops the run
                ok = false;
            }
            std::lock_guard lock(mutex);
            workerFailed = workerFailed || !ok;
            if (--slot.remaining == 0 || !ok)
                changed.notify_all();
        }
    };
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, std::max<std::size_t>(tasks, 1)));
    std::vector<std::jthread> pool;
    for (unsigned i = 0; i < threads; ++i)
        pool.emplace_back(worker);
    auto stopWorkers = [&] {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        pool.clear();  // joins
    };

    anyOutside = false;
    for (std::size_t r = 0; r < goodRows; ++r) {
        RowSlot& slot = slots[r % slots.size()];
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return slot.remaining == 0 || workerFailed; });
        }
        if (workerFailed) {
            stopWorkers();
            m_rep.error(kOutOfMemory);
            return ToolStatus::Failed;
        }
        m_rep.status(0, cformat("Zpracováván zdroj %ld ", static_cast<long>(m_in.sources[r].number)));
        for (std::size_t k = 0; k < chunksPerRow; ++k) {
            if (slot.notFinite[k] >= 0) {
                stopWorkers();
                m_rep.error(cformat(
                    "Koeficienty zdroje %ld a ref. bodu %ld nelze vypočítat, výškopis na jejich spojnici neobsahuje konečná čísla !",
                    static_cast<long>(m_in.sources[r].number),
                    static_cast<long>(m_in.points[static_cast<std::size_t>(slot.notFinite[k])].number)));
                return ToolStatus::Failed;
            }
            anyOutside = anyOutside || slot.outside[k];
            if (!slot.logs[k].empty())
                m_log.write(slot.logs[k]);
        }
        if (!m_theta.writeRow(slot.theta) || !m_delta.writeRow(slot.delta) || !m_zmax.writeRow(slot.zmax)) {
            stopWorkers();
            m_rep.error("Výstupní matice nelze zapsat !");
            return ToolStatus::Failed;
        }
        m_rep.progress(static_cast<long>(r + 1), static_cast<long>(rows));
        if (m_rep.cancelled()) {
            stopWorkers();
            return ToolStatus::Failed;
        }
        {
            std::lock_guard lock(mutex);
            slot.remaining = chunksPerRow;
            ++written;
        }
        changed.notify_all();
    }
    stopWorkers();
    if (goodRows < rows) {
        m_rep.status(0, cformat("Zpracováván zdroj %ld ", static_cast<long>(m_in.sources[goodRows].number)));
        m_rep.error("Typ zdroje musí nabývat hodnoty 1, 2, 3");
        return ToolStatus::Failed;
    }
    return ToolStatus::Done;
}

ToolStatus CoefficientRun::run(unsigned threads)
{
    // Outputs that are inputs or each other are refused before anything is asked.
    const std::string* outputs[] = {&m_s.theta, &m_s.delta, &m_s.zmax};
    for (int i = 0; i < 3; ++i)
        for (const std::string* other : {&m_s.terrain, &m_s.points, &m_s.sources, outputs[(i + 1) % 3]})
            if (!outputs[i]->empty() && sameFile(*outputs[i], *other)) {
                m_rep.error(
                    "Výstupní matice THETA, DELTA a ZMAX musí být tři různé soubory, odlišné od vstupních souborů !");
                return ToolStatus::Failed;
            }
    const std::string logPath = folderOf(m_s.theta) + "prub_koe.tmp";
    if (!refuseSharedFiles(m_rep,
                           {{"vstupní soubor s výškopisem", m_s.terrain},
                            {"vstupní soubor s referenčními body", m_s.points},
                            {"vstupní soubor se zdroji", m_s.sources}},
                           {{"výstupní matice THETA", m_s.theta},
                            {"výstupní matice DELTA", m_s.delta},
                            {"výstupní matice ZMAX", m_s.zmax},
                            {"soubor s průběhem výpočtu", logPath}}))
        return ToolStatus::Failed;
    if (!m_lock.acquire(m_rep, {m_s.theta, m_s.delta, m_s.zmax}))
        return ToolStatus::Failed;
    if (!confirmOutputs())
        return ToolStatus::Declined;
    if (m_s.step <= 0) {
        m_rep.error("Vzdálenost mezi body nesmí být nulová !");
        return ToolStatus::Failed;
    }

    // Inputs, outputs and the log, in the order their messages are listed.
    bool corrupt = false;
    m_in.terrain = TerrainMatrix::open(m_s.terrain, &corrupt);
    if (!m_in.terrain) {
        m_rep.error(corrupt ? "Vstupní soubor s výškopisem není platná binární matice výškopisu !"
                            : "Vstupní soubor s vyškopisem nelze otevřít !");
        return ToolStatus::Failed;
    }
    auto pointBytes = readFileBytes(m_s.points);
    if (!pointBytes) {
        m_rep.error("Vstupní soubor s refer. body nelze otevřít !");
        return ToolStatus::Failed;
    }
    auto sourceBytes = readFileBytes(m_s.sources);
    if (!sourceBytes) {
        m_rep.error("Vstupní soubor se zdroji nelze otevřít !");
        return ToolStatus::Failed;
    }
    const char* outputNames[] = {"THETA", "DELTA", "ZMAX"};
    MatrixFileWriter* writers[] = {&m_theta, &m_delta, &m_zmax};
    for (int i = 0; i < 3; ++i)
        if (!usableOutputPath(*outputs[i]) || !writers[i]->open(m_outputs, *outputs[i])) {
            m_rep.error(cformat("Výstupní soubor pro matici %s nelze otevřít !", outputNames[i]));
            return ToolStatus::Failed;
        }
    if (!m_log.open(logPath, "w")) {
        m_rep.error("Výstupní soubor s průběhem výpočtu nelze otevřít !");
        return ToolStatus::Failed;
    }
    m_log.write(cformat("Parametr Vzd  : %d\n\r", static_cast<int>(m_s.step)));

    // Counts first: the matrices count sources and points in 16 bits.
    auto countOf = [](const std::string& bytes) {
        return bytes.size() >= 4 ? static_cast<long>(getI32(reinterpret_cast<const unsigned char*>(bytes.data()))) : 0L;
    };
    if (countOf(*sourceBytes) > kMaxCoefficientCount) {
        m_rep.error(cformat("Počet zdrojů %ld je větší než %ld, koeficienty nelze vypočítat !", countOf(*sourceBytes),
                            kMaxCoefficientCount));
        return ToolStatus::Failed;
    }
    if (countOf(*pointBytes) > kMaxCoefficientCount) {
        m_rep.error(cformat("Počet referenčních bodů %ld je větší než %ld, koeficienty nelze vypočítat !",
                            countOf(*pointBytes), kMaxCoefficientCount));
        return ToolStatus::Failed;
    }
    if (sourceBytes->size() < 8) {
        m_rep.error(decodeSources(*sourceBytes, m_s.sources).problem().text);
        return ToolStatus::Failed;
    }
    if (!chooseMode(*sourceBytes))
        return ToolStatus::Declined;
    // A file of another column count taken anyway is read in the chosen mode.
    std::string patched = *sourceBytes;
    if (patched.size() >= 8) {
        std::string columns;
        putI32(columns, m_dust ? kDustSourceColumns : kGasSourceColumns);
        patched.replace(4, 4, columns);
    }
    auto sources = decodeSources(patched, m_s.sources);
    if (!sources) {
        m_rep.error(sources.problem().text);
        return ToolStatus::Failed;
    }
    auto points = decodePoints(*pointBytes, m_s.points);
    if (!points) {
        m_rep.error(points.problem().text);
        return ToolStatus::Failed;
    }
    sourceBytes.reset();
    pointBytes.reset();
    patched.clear();

    const TerrainHeader& h = m_in.terrain->header();
    for (const SourceRecord& s : sources->records) {
        m_in.sources.push_back({s.number, s.x, s.y, s.z});
        m_in.types.push_back(s.type);
        m_sourceInside.push_back(locateTerrainCell(h, s.x, s.y).inside);
    }
    for (const ReferencePoint& p : *points) {
        m_in.points.push_back({p.number, p.x, p.y, p.z});
        bool inside = locateTerrainCell(h, p.x, p.y).inside;
        m_pointInside.push_back(inside);
        m_pointLog.push_back(
            inside ? std::string()
                   : cformat("REF: %ld - mimo ohr. oblast, nahrazeno nulami\n", static_cast<long>(p.number)) +
                    cformat("XllCorner :%lf X_ref:%lf (NCols*CellSize):%lf\n", h.xOrigin, p.x, h.ncols * h.cellSize) +
                    cformat("YllCorner :%lf Y_ref:%lf (NRows*CellSize):%lf\n", h.yOrigin, p.y, h.nrows * h.cellSize));
    }

    try {
        switch (h.element) {
        case TerrainElement::Int16:
            m_walk.emplace<CoefficientTerrain<std::int16_t>>(*m_in.terrain, m_s.interpolate);
            break;
        case TerrainElement::Int32:
            m_walk.emplace<CoefficientTerrain<std::int32_t>>(*m_in.terrain, m_s.interpolate);
            break;
        case TerrainElement::Real: m_walk.emplace<CoefficientTerrain<double>>(*m_in.terrain, m_s.interpolate); break;
        }
    } catch (const std::bad_alloc&) {
        m_rep.error(kOutOfMemory);
        return ToolStatus::Failed;
    }

    const auto rows = static_cast<std::int32_t>(m_in.sources.size());
    const auto cols = static_cast<std::int32_t>(m_in.points.size());
    m_rep.progress(0, rows);
    for (int i = 0; i < 3; ++i)
        if (!writers[i]->writeHeader(rows, cols)) {
            m_rep.error(cformat("Výstupní soubor pro matici %s nelze zapsat !", outputNames[i]));
            return ToolStatus::Failed;
        }
    m_log.write("Zapsane hlavicky do vystupnich matic :\n");
    m_log.write(cformat("    Pocet radku   : %d \n", static_cast<int>(rows)));
    m_log.write(cformat("    Pocet sloupcu : %d \n", static_cast<int>(cols)));

    bool anyOutside = false;
    ToolStatus computed = computeAndWrite(threads, anyOutside);
    if (computed != ToolStatus::Done)
        return computed;
    // All three complete and on the disk before any replaces its target.
    for (int i = 0; i < 3; ++i)
        if (!writers[i]->complete() || !writers[i]->flush()) {
            m_rep.error(cformat("Výstupní soubor pro matici %s nelze zapsat !", outputNames[i]));
            return ToolStatus::Failed;
        }
    if (!m_outputs.commit()) {
        m_rep.error("Výstupní matice nelze zapsat !");
        return ToolStatus::Failed;
    }
    m_rep.status(0,
                 anyOutside ? "Výpočet koeficientů dokončen, nalezeny zdroje a ref. body mimo oblast výškopisu."
                            : "Výpočet koeficientů dokončen.");
    return ToolStatus::Done;
}

}  // namespace

ToolStatus computeCoefficients(const CoefficientSettings& s, const RunContext& ctx, unsigned threads)
{
    StopReasonReporter reasons(ctx.reporter);
    const RunContext inner{reasons, ctx.unattended};
    CoefficientRun run(s, inner);
    ToolStatus status = run.run(threads);
    run.logStopReason(reasons, status);
    return status;
}

}  // namespace ovd
