#include "coefficient_run.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <new>
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
#include "common/parallel_for.h"
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
constexpr const char* kMatrixNames[] = {"THETA", "DELTA", "ZMAX"};

struct Inputs {
    std::optional<TerrainMatrix> terrain;
    std::vector<Site> points;
    std::vector<Site> sources;
    std::vector<std::int16_t> types;
};

// The count of sources before the first of a type other than 1, 2 or 3.
std::size_t sourcesOfKnownType(const std::vector<std::int16_t>& types)
{
    std::size_t n = 0;
    while (n < types.size() && types[n] >= 1 && types[n] <= 3)
        ++n;
    return n;
}

bool sameFile(const std::string& a, const std::string& b)
{
    return a == b || samePath(a, b);
}

bool usableOutputPath(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && !std::filesystem::is_directory(fsPath(path), ec);
}

// One row of results: what the workers fill and the writer takes in row order.
struct RowSlot {
    std::vector<float> theta, delta, zmax;
    std::vector<std::string> logs;        // per chunk, in column order
    std::vector<std::int32_t> notFinite;  // per chunk: first bad column or -1
    std::vector<char> outside;            // per chunk: a pair lay outside the terrain
    std::size_t remaining = 0;            // chunks not yet done
};

// What the workers and the writer share: how many rows the writer has taken, and whether the
// workers are to stop or one of them failed.
struct RowWindow {
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t written = 0;
    bool stop = false, workerFailed = false;
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
    bool chooseMode(const std::string& bytes);
    ToolStatus checkOutputs(const std::string& logPath);
    bool openFiles(const std::string& logPath, std::string& pointBytes, std::string& sourceBytes);
    ToolStatus decodeInputs(const std::string& pointBytes, const std::string& sourceBytes);
    void locateSites(const std::vector<SourceRecord>&, const std::vector<ReferencePoint>&);
    bool prepareWalk();
    std::vector<RowSlot> makeSlots(std::size_t goodRows, std::size_t chunksPerRow) const;
    bool writeRow(std::size_t r, const RowSlot&, bool& anyOutside);
    ToolStatus computeAndWrite(unsigned threads, bool& anyOutside);
    template <class Walk> void computeChunk(const Walk&, std::size_t row, std::size_t chunk, RowSlot& slot) const;
    void computeTask(std::size_t row, std::size_t chunk, RowSlot& slot) const;
    bool windowTask(RowWindow&, std::vector<RowSlot>& slots, std::size_t row, std::size_t chunk) const;
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
        ComputedPair p;
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

std::vector<RowSlot> CoefficientRun::makeSlots(std::size_t goodRows, std::size_t chunksPerRow) const
{
    const std::size_t cols = m_in.points.size();
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
    return slots;
}

// A computed row into the log and the matrices; false after a reported failure.
bool CoefficientRun::writeRow(std::size_t r, const RowSlot& slot, bool& anyOutside)
{
    m_rep.status(0, cformat("Zpracováván zdroj %ld ", static_cast<long>(m_in.sources[r].number)));
    for (std::size_t k = 0; k < slot.logs.size(); ++k) {
        if (slot.notFinite[k] >= 0) {
            m_rep.error(cformat(
                "Koeficienty zdroje %ld a ref. bodu %ld nelze vypočítat, výškopis na jejich spojnici neobsahuje konečná čísla!",
                static_cast<long>(m_in.sources[r].number),
                static_cast<long>(m_in.points[static_cast<std::size_t>(slot.notFinite[k])].number)));
            return false;
        }
        anyOutside = anyOutside || slot.outside[k];
        if (!slot.logs[k].empty())
            m_log.write(slot.logs[k]);
    }
    if (!m_theta.writeRow(slot.theta) || !m_delta.writeRow(slot.delta) || !m_zmax.writeRow(slot.zmax)) {
        m_rep.error("Výstupní matice nelze zapsat!");
        return false;
    }
    m_rep.progress(static_cast<long>(r + 1), static_cast<long>(m_in.sources.size()));
    return !m_rep.cancelled();
}

// A worker's chunk, once its row lies within the window of slots ahead of the writer; false
// when the run stops.
bool CoefficientRun::windowTask(RowWindow& w, std::vector<RowSlot>& slots, std::size_t row, std::size_t chunk) const
{
    {
        std::unique_lock lock(w.mutex);
        w.changed.wait(lock, [&] { return w.stop || row < w.written + slots.size(); });
        if (w.stop)
            return false;
    }
    RowSlot& slot = slots[row % slots.size()];
    bool ok = true;
    try {
        computeTask(row, chunk, slot);
    } catch (...) {  // out of memory for the log text: the writer stops the run
        ok = false;
    }
    std::lock_guard lock(w.mutex);
    w.workerFailed = w.workerFailed || !ok;
    if (--slot.remaining == 0 || !ok)
        w.changed.notify_all();
    return true;
}

// Workers compute chunks of rows within a window ahead of the writer, which takes the rows
// in order on this thread.
ToolStatus CoefficientRun::computeAndWrite(unsigned threads, bool& anyOutside)
{
    const std::size_t rows = m_in.sources.size(), cols = m_in.points.size();
    // Rows up to the first source of a wrong type are computed and logged; that one stops the run.
    const std::size_t goodRows = std::min(rows, sourcesOfKnownType(m_in.types));
    const std::size_t chunksPerRow = std::max<std::size_t>(1, (cols + kChunkColumns - 1) / kChunkColumns);
    std::vector<RowSlot> slots = makeSlots(goodRows, chunksPerRow);

    RowWindow window;
    // Plain references, not a structured binding: the lambdas below capture them, which not
    // every compiler of C++20 takes for bindings.
    std::mutex& mutex = window.mutex;
    std::condition_variable& changed = window.changed;
    std::size_t& written = window.written;
    bool& stop = window.stop;
    const bool& workerFailed = window.workerFailed;
    const std::size_t tasks = goodRows * chunksPerRow;
    ParallelFor pool(ParallelFor::threadCount(threads, tasks), tasks, [&](std::size_t t, unsigned) {
        return windowTask(window, slots, t / chunksPerRow, t % chunksPerRow);
    });
    auto stopWorkers = [&] {
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
        pool.join();
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
        if (!writeRow(r, slot, anyOutside)) {
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

// Outputs that are inputs or each other are refused before anything is asked; then the
// outputs are locked and, where they exist, the user is asked.
ToolStatus CoefficientRun::checkOutputs(const std::string& logPath)
{
    const std::string* outputs[] = {&m_s.theta, &m_s.delta, &m_s.zmax};
    for (int i = 0; i < 3; ++i)
        for (const std::string* other : {&m_s.terrain, &m_s.points, &m_s.sources, outputs[(i + 1) % 3]})
            if (!outputs[i]->empty() && sameFile(*outputs[i], *other)) {
                m_rep.error(
                    "Výstupní matice THETA, DELTA a ZMAX musí být tři různé soubory, odlišné od vstupních souborů!");
                return ToolStatus::Failed;
            }
    if (!refuseSharedFiles(m_rep,
                           {{"vstupní soubor s výškopisem", m_s.terrain},
                            {"vstupní soubor s referenčními body", m_s.points},
                            {"vstupní soubor se zdroji", m_s.sources}},
                           {{"výstupní matice THETA", m_s.theta},
                            {"výstupní matice DELTA", m_s.delta},
                            {"výstupní matice ZMAX", m_s.zmax},
                            {"soubor s průběhem výpočtu", logPath}}))
        return ToolStatus::Failed;
    if (auto stop = m_lock.claim(m_ctx, {m_s.theta, m_s.delta, m_s.zmax}))
        return *stop;
    if (m_s.step <= 0) {
        m_rep.error("Vzdálenost mezi body nesmí být nulová !");
        return ToolStatus::Failed;
    }
    return ToolStatus::Done;
}

// Inputs, outputs and the log, in the order their messages are listed.
bool CoefficientRun::openFiles(const std::string& logPath, std::string& pointBytes, std::string& sourceBytes)
{
    auto terrain = TerrainMatrix::open(m_s.terrain,
                                       {.cannotOpen = "Vstupní soubor s vyškopisem nelze otevřít !",
                                        .notMatrix = "Vstupní soubor s výškopisem není platná binární "
                                                     "matice výškopisu!",
                                        .withReason = false});
    if (!terrain)
        return fail(terrain.problem().text);
    m_in.terrain = std::move(*terrain);
    auto points = readFileBytes(m_s.points);
    if (!points)
        return fail("Vstupní soubor s refer. body nelze otevřít !");
    auto sources = readFileBytes(m_s.sources);
    if (!sources)
        return fail("Vstupní soubor se zdroji nelze otevřít !");
    pointBytes = std::move(*points);
    sourceBytes = std::move(*sources);
    const std::string* outputs[] = {&m_s.theta, &m_s.delta, &m_s.zmax};
    MatrixFileWriter* writers[] = {&m_theta, &m_delta, &m_zmax};
    for (int i = 0; i < 3; ++i)
        if (!usableOutputPath(*outputs[i]) || !writers[i]->open(m_outputs, *outputs[i]))
            return fail(cformat("Výstupní soubor pro matici %s nelze otevřít !", kMatrixNames[i]));
    if (!m_log.open(logPath, "w"))
        return fail("Výstupní soubor s průběhem výpočtu nelze otevřít !");
    m_log.write(cformat("Parametr Vzd  : %d\n\r", static_cast<int>(m_s.step)));
    return true;
}

// The counts first (the matrices count sources and points in 16 bits), then the records.
ToolStatus CoefficientRun::decodeInputs(const std::string& pointBytes, const std::string& sourceBytes)
{
    auto countOf = [](const std::string& bytes) {
        return bytes.size() >= 4 ? static_cast<long>(getI32(reinterpret_cast<const unsigned char*>(bytes.data()))) : 0L;
    };
    if (countOf(sourceBytes) > kMaxCoefficientCount) {
        fail(cformat("Počet zdrojů %ld je větší než %ld, koeficienty nelze vypočítat!", countOf(sourceBytes),
                     kMaxCoefficientCount));
        return ToolStatus::Failed;
    }
    if (countOf(pointBytes) > kMaxCoefficientCount) {
        fail(cformat("Počet referenčních bodů %ld je větší než %ld, koeficienty nelze vypočítat!", countOf(pointBytes),
                     kMaxCoefficientCount));
        return ToolStatus::Failed;
    }
    if (sourceBytes.size() < 8) {
        fail(decodeSources(sourceBytes, m_s.sources).problem().text);
        return ToolStatus::Failed;
    }
    if (!chooseMode(sourceBytes))
        return ToolStatus::Declined;
    // A file of another column count taken anyway is read in the chosen mode.
    std::string patched = sourceBytes;
    std::string columns;
    putI32(columns, m_dust ? kDustSourceColumns : kGasSourceColumns);
    patched.replace(4, 4, columns);
    auto sources = decodeSources(patched, m_s.sources);
    if (!sources) {
        fail(sources.problem().text);
        return ToolStatus::Failed;
    }
    auto points = decodePoints(pointBytes, m_s.points);
    if (!points) {
        fail(points.problem().text);
        return ToolStatus::Failed;
    }
    locateSites(sources->records, *points);
    return ToolStatus::Done;
}

// Which sources and points lie on the terrain; the log lines of the points that do not.
void CoefficientRun::locateSites(const std::vector<SourceRecord>& sources, const std::vector<ReferencePoint>& points)
{
    const TerrainHeader& h = m_in.terrain->header();
    for (const SourceRecord& s : sources) {
        m_in.sources.push_back({s.number, s.x, s.y, s.z});
        m_in.types.push_back(s.type);
        m_sourceInside.push_back(locateTerrainCell(h, s.x, s.y).inside);
    }
    for (const ReferencePoint& p : points) {
        m_in.points.push_back({p.number, p.x, p.y, p.z});
        bool inside = locateTerrainCell(h, p.x, p.y).inside;
        m_pointInside.push_back(inside);
        m_pointLog.push_back(
            inside ? std::string()
                   : cformat("REF: %ld - mimo ohr. oblast, nahrazeno nulami\n", static_cast<long>(p.number)) +
                    cformat("XllCorner :%lf X_ref:%lf (NCols*CellSize):%lf\n", h.xOrigin, p.x, h.ncols * h.cellSize) +
                    cformat("YllCorner :%lf Y_ref:%lf (NRows*CellSize):%lf\n", h.yOrigin, p.y, h.nrows * h.cellSize));
    }
}

bool CoefficientRun::prepareWalk()
{
    try {
        switch (m_in.terrain->header().element) {
        case TerrainElement::Int16:
            m_walk.emplace<CoefficientTerrain<std::int16_t>>(*m_in.terrain, m_s.interpolate);
            break;
        case TerrainElement::Int32:
            m_walk.emplace<CoefficientTerrain<std::int32_t>>(*m_in.terrain, m_s.interpolate);
            break;
        case TerrainElement::Real: m_walk.emplace<CoefficientTerrain<double>>(*m_in.terrain, m_s.interpolate); break;
        }
    } catch (const std::bad_alloc&) {
        return fail(kOutOfMemory);
    }
    return true;
}

ToolStatus CoefficientRun::run(unsigned threads)
{
    const std::string logPath = folderOf(m_s.theta) + "prub_koe.tmp";
    ToolStatus checked = checkOutputs(logPath);
    if (checked != ToolStatus::Done)
        return checked;
    {
        std::string pointBytes, sourceBytes;
        if (!openFiles(logPath, pointBytes, sourceBytes))
            return ToolStatus::Failed;
        ToolStatus decoded = decodeInputs(pointBytes, sourceBytes);
        if (decoded != ToolStatus::Done)
            return decoded;
    }
    if (!prepareWalk())
        return ToolStatus::Failed;

    MatrixFileWriter* writers[] = {&m_theta, &m_delta, &m_zmax};
    const auto rows = static_cast<std::int32_t>(m_in.sources.size());
    const auto cols = static_cast<std::int32_t>(m_in.points.size());
    m_rep.progress(0, rows);
    for (int i = 0; i < 3; ++i)
        if (!writers[i]->writeHeader(rows, cols)) {
            fail(cformat("Výstupní soubor pro matici %s nelze zapsat!", kMatrixNames[i]));
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
            fail(cformat("Výstupní soubor pro matici %s nelze zapsat!", kMatrixNames[i]));
            return ToolStatus::Failed;
        }
    if (!m_outputs.commit()) {
        fail("Výstupní matice nelze zapsat!");
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
    const RunContext inner = ctx.withReporter(reasons);
    CoefficientRun run(s, inner);
    ToolStatus status = run.run(threads);
    run.logStopReason(reasons, status);
    return status;
}

}  // namespace ovd
