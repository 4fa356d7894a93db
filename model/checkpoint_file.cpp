#include "model/checkpoint_file.h"

#include <cmath>

#include "common/file_io.h"
#include "common/le_io.h"
#include "common/numbers.h"
#include "common/platform.h"

namespace ovd {

namespace {

constexpr std::uint32_t kSignatureMark = 0x4F56434B;  // "KCVO" in the file
constexpr std::size_t kChecksumSize = 8;

// FNV-1a, 64 bits: enough to tell a damaged file from an intact one.
std::uint64_t checksum(std::string_view bytes)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

void putDoubles(std::string& out, const std::vector<double>& v)
{
    for (double d : v)
        putF64(out, d);
}
void putInts(std::string& out, const std::vector<std::int32_t>& v)
{
    for (std::int32_t i : v)
        putI32(out, i);
}
void takeDoubles(ByteReader& in, std::vector<double>& v)
{
    for (double& d : v)
        d = in.f64();
}
void takeInts(ByteReader& in, std::vector<std::int32_t>& v)
{
    for (std::int32_t& i : v)
        i = in.i32();
}

// Everything of the run that decides its results apart from the files themselves.
void putRunSignature(std::string& out, const PreparedRun& run, const CheckpointSignature& sig)
{
    putU32(out, kSignatureMark);
    putI32(out, run.maximum() ? 1 : 0);
    putF64(out, run.params.step);
    putI32(out, run.pointCount());
    putI32(out, run.sourceCount());
    putI32(out, static_cast<std::int32_t>(run.shiftSteps));
    putI32(out, run.params.substanceClass);
    for (double v : run.params.limits)
        putF64(out, v);
    for (double v : run.params.speeds)
        putF64(out, v);
    putI32(out,
           (run.params.nearbySources ? 1 : 0) | (run.groupShares ? 2 : 0) | (run.params.freeAtmosphere ? 4 : 0) |
               (run.params.dust ? 8 : 0));
    // the results' bits depend on both
    putI32(out, static_cast<std::int32_t>(run.vectorWidth) | (kEngineArithmetic << 8));
    putI32(out, static_cast<std::int32_t>(sig.inputs.size()));
    for (const auto& f : sig.inputs) {
        putU64(out, static_cast<std::uint64_t>(f.size));
        putU64(out, static_cast<std::uint64_t>(f.modified));
    }
}

// Blocks in file order; the same list serves writing and reading.
template <typename State, typename Doubles, typename Ints>
void eachBlock(const PreparedRun& run, State& st, Doubles doubles, Ints ints)
{
    doubles(st.caseSum);
    doubles(st.caseConcentration);
    for (auto& v : st.exceedAlfa)
        doubles(v);
    for (auto& v : st.exceedFlag)
        ints(v);
    if (run.maximum()) {
        doubles(st.maxConcentration);
        ints(st.maxClass);
        doubles(st.maxSpeed);
        doubles(st.maxDirection);
        doubles(st.annual);
        for (auto& v : st.hours)
            doubles(v);
    } else {
        doubles(st.annual);
        for (auto& v : st.hours)
            doubles(v);
        doubles(st.caseMaximum);  // eleven blocks, case by case
    }
    doubles(st.groupAnnual);  // group slot by group slot
}

// Values no run writes: sums that are not finite, flags other than 0 and 1, a class
// outside 0 to 5, a negative speed, a direction outside the circle.
bool plausible(const PreparedRun& run, const ConcentrationState& st)
{
    bool ok = true;
    auto finite = [&](const std::vector<double>& v) {
        for (double d : v)
            ok = ok && std::isfinite(d);
    };
    eachBlock(run, st, finite, [](const std::vector<std::int32_t>&) {});
    for (const auto& flags : st.exceedFlag)
        for (std::int32_t f : flags)
            ok = ok && (f == 0 || f == 1);
    for (std::int32_t c : st.maxClass)
        ok = ok && c >= 0 && c <= 5;
    for (double v : st.maxSpeed)
        ok = ok && v >= 0.0;
    for (double v : st.maxDirection)
        ok = ok && v >= 0.0 && v < 360.0;
    return ok;
}

}  // namespace

CheckpointSignature CheckpointSignature::ofFiles(const std::vector<std::string>& paths)
{
    CheckpointSignature sig;
    for (const std::string& path : paths) {
        InputFile f;
        if (std::optional<FileStamp> stamp = fileStamp(path)) {
            f.size = stamp->size;
            f.modified = stamp->modifiedNs;
        } else {
            f.size = -1;
        }
        sig.inputs.push_back(f);
    }
    return sig;
}

std::string encodeCheckpoint(const PreparedRun& run, const ConcentrationState& state, double direction,
                             const CheckpointSignature& sig)
{
    std::string out;
    putF64(out, direction);
    putI32(out, state.points);
    eachBlock(
        run, state, [&](const std::vector<double>& v) { putDoubles(out, v); },
        [&](const std::vector<std::int32_t>& v) { putInts(out, v); });
    putI32(out, state.groupSlots);
    putRunSignature(out, run, sig);
    putU64(out, checksum(out));
    return out;
}

std::optional<CheckpointContents> decodeCheckpoint(const PreparedRun& run, std::string_view bytes,
                                                   const CheckpointSignature& sig, CheckpointRefusal* why)
{
    auto refuse = [&](CheckpointRefusal reason) -> std::optional<CheckpointContents> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    CheckpointContents c{0.0, ConcentrationState(run)};
    ConcentrationState& st = c.state;
    // The exact length of a file of this run: anything else is another run's or damaged.
    std::string expectedTail;
    putRunSignature(expectedTail, run, sig);
    std::size_t blocks = 0;
    eachBlock(
        run, st, [&](std::vector<double>& v) { blocks += v.size() * 8; },
        [&](std::vector<std::int32_t>& v) { blocks += v.size() * 4; });
    const std::size_t unchecked = 8 + 4 + blocks + 4 + expectedTail.size();
    auto endsWithTail = [&](std::size_t end) {
        return bytes.size() >= end && end >= expectedTail.size() &&
            bytes.substr(end - expectedTail.size(), expectedTail.size()) == expectedTail;
    };
    if (bytes.size() == unchecked && endsWithTail(unchecked))
        return refuse(CheckpointRefusal::OldLayout);
    if (bytes.size() != unchecked + kChecksumSize || !endsWithTail(unchecked))
        return refuse(CheckpointRefusal::OtherRun);
    if (getU64(reinterpret_cast<const unsigned char*>(bytes.data()) + unchecked) !=
        checksum(bytes.substr(0, unchecked)))
        return refuse(CheckpointRefusal::Damaged);
    ByteReader in(bytes);
    c.direction = in.f64();
    if (in.i32() != st.points)
        return refuse(CheckpointRefusal::Damaged);
    eachBlock(
        run, st, [&](std::vector<double>& v) { takeDoubles(in, v); },
        [&](std::vector<std::int32_t>& v) { takeInts(in, v); });
    if (in.i32() != st.groupSlots || in.failed() || !plausible(run, st))
        return refuse(CheckpointRefusal::Damaged);
    // The stored direction must be one after which this run writes a checkpoint, or its
    // last one: the complete maximum kept while the groups' shares are computed (0 means
    // that no restart is offered).
    if (!std::isfinite(c.direction) || c.direction <= 0.0)
        return refuse(CheckpointRefusal::OtherRun);
    int index = static_cast<int>(std::lround(c.direction / run.params.step));
    if (!(run.checkpointAfter(index) || index == run.directions - 1) || run.direction(index) != c.direction)
        return refuse(CheckpointRefusal::OtherRun);
    return c;
}

bool writeCheckpoint(const std::string& path, const PreparedRun& run, const ConcentrationState& state, double direction,
                     const CheckpointSignature& sig)
{
    return writeFileAtomically(path, encodeCheckpoint(run, state, direction, sig));
}

std::optional<CheckpointContents> readCheckpoint(const std::string& path, const PreparedRun& run,
                                                 const CheckpointSignature& sig, CheckpointRefusal* why)
{
    if (why)
        *why = CheckpointRefusal::OtherRun;
    auto bytes = readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return decodeCheckpoint(run, *bytes, sig, why);
}

std::string checkpointRefusalText(const std::string& checkpointPath, CheckpointRefusal why)
{
    switch (why) {
    case CheckpointRefusal::OldLayout:
        return "Soubor s mezivýsledky " + checkpointPath +
            " byl zapsán starší verzí programu, výpočet z něj nelze obnovit a poběží od začátku.";
    case CheckpointRefusal::Damaged:
        return "Soubor s mezivýsledky " + checkpointPath +
            " je poškozený, výpočet z něj nelze obnovit a poběží od začátku.";
    case CheckpointRefusal::OtherRun: break;
    }
    return {};
}

int restartDirectionIndex(const PreparedRun& run, double storedDirection)
{
    // The direction after the stored one; after the last (359.5 at a step of 0.5), none.
    return static_cast<int>(std::lround(storedDirection / run.params.step)) + 1;
}

std::string restartQuestionText(const std::string& outputTable, double storedDirection)
{
    return cformat("Poslední běh tohoto výpočtu (výstupní soubor %s) nebyl patrně dokončen. Program je schopen "
                   "výpočet obnovit od stupně %3.2lf. ",
                   outputTable.c_str(), storedDirection) +
        "Přejete si tuto obnovu provést ?";
}

}  // namespace ovd
