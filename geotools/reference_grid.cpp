#include "reference_grid.h"

#include "common/file_io.h"
#include "common/file_lock.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"

namespace ovd {

namespace {

// Counts the grid can hold: the 16-bit range of the settings, and at most 30000 points in
// the file with the lines it already has.
bool countsFit(const GridSettings& s, long existingLines)
{
    auto in16 = [](long v) { return v >= -32768 && v <= 32767; };
    return in16(s.countX) && in16(s.countY) && s.countX * s.countY + existingLines <= kMaxReferencePoints;
}

}  // namespace

const std::vector<Param<GridSettings>> GridSettings::kParams = declare<Self>({
    inSection(section::kGrid,
              {key("PocBodX", &Self::startX), key("PocBodY", &Self::startY), key("KrokX", &Self::stepX),
               key("KrokY", &Self::stepY), key("PocetX", &Self::countX), key("PocetY", &Self::countY),
               key("HodnotaL", &Self::heightL), key("Pocatekrefer", &Self::firstNumber), key("VystTxt", &Self::output),
               key("PripojData", &Self::append)}),
});

namespace {

const char* kTooMany = "Výsledný počet referenčních bodů souboru nesmí být větší než 30000 !";

const char* outputFailure(const GridSettings& s)
{
    return s.append ? "Výstupní soubor pro refer. body - připojeni nelze otevřít !"
                    : "Výstupní soubor pro refer. body - přepis nelze otevřít !";
}

bool checkSettings(const GridSettings& s, Reporter& r)
{
    if (s.output.empty())
        r.error("Nebyl zadán výstupní textový soubor !");
    else if (s.stepX == 0)
        r.error("Velikost úseku na ose X nesmí být nulová !");
    else if (s.stepY == 0)
        r.error("Velikost úseku na ose Y nesmí být nulová !");
    else
        return true;
    return false;
}

// What the new points follow: the file's text so far, its line end, its line count and
// the number of the first new point.
struct GridStart {
    std::string text;
    std::string lineEnd = "\n";
    long existingLines = 0;
    long number = 0;
};

// The file appended to (one that does not exist yet counts as empty); nullopt after the message.
std::optional<GridStart> readForAppend(const GridSettings& s, Reporter& r)
{
    GridStart start;
    start.number = s.firstNumber;
    AppendInfo info = inspectForAppend(s.output);
    std::optional<std::string> bytes = info.exists ? readFileBytes(s.output) : std::string();
    if (!bytes) {
        r.error("Výstupní soubor pro refer. body - připojeni nelze otevřít !");
        return std::nullopt;
    }
    start.text = std::move(*bytes);
    std::vector<std::string> lines = splitLines(start.text);
    start.existingLines = static_cast<long>(lines.size());
    if (!lines.empty()) {
        auto last = scanLong(lines.back());
        if (last && *last >= 1)
            start.number = *last + 1;
    }
    if (info.crlf)
        start.lineEnd = "\r\n";
    if (!info.terminated)
        start.text += start.lineEnd;
    return start;
}

// Appends the grid's lines to `g.text`; the count of points, or nullopt when the user cancelled.
std::optional<long> addGridLines(const GridSettings& s, GridStart& g, Reporter& r)
{
    const long planned = s.countX * s.countY;
    long count = 0;
    long number = g.number;
    double endY = s.startY + s.countY * s.stepY;
    double endX = s.startX + s.countX * s.stepX;
    r.progress(0, planned > 0 ? planned : 0);
    // The coordinates advance by adding the step, as the points have always been placed; the
    // counts bound the loops so rounding in that sum cannot add a row or a column.
    double y = s.startY;
    for (long j = 0; j < s.countY && y < endY; ++j, y += s.stepY) {
        double x = s.startX;
        for (long i = 0; i < s.countX && x < endX; ++i, x += s.stepX) {
            if (count % 256 == 0 && r.cancelled())
                return std::nullopt;
            g.text += cformat("%ld, %lf, %lf, %lf, %lf", number, x, y, 0.0, s.heightL);
            g.text += g.lineEnd;
            ++number;
            ++count;
            r.status(0, cformat("Zapsán referenční bod č. :%ld", number));
            r.progress(count, planned);
        }
    }
    return count;
}

}  // namespace

ToolStatus makeReferenceGrid(const GridSettings& s, const RunContext& ctx, long* written)
{
    Reporter& r = ctx.reporter;
    if (written)
        *written = 0;
    if (!checkSettings(s, r))
        return ToolStatus::Failed;
    OutputLock lock;
    if (!lock.acquire(r, {s.output}))
        return ToolStatus::Failed;

    GridStart start;
    start.number = s.firstNumber;
    if (!s.append) {
        if (!countsFit(s, 0)) {
            r.error(kTooMany);
            return ToolStatus::Failed;
        }
        if (!ctx.confirmOverwrite(s.output))
            return ToolStatus::Declined;
    } else if (auto existing = readForAppend(s, r)) {
        start = std::move(*existing);
    } else {
        return ToolStatus::Failed;
    }
    if (!countsFit(s, start.existingLines)) {
        r.error(kTooMany);
        return ToolStatus::Failed;
    }

    AtomicOutput out;
    if (!out.open(s.output)) {
        r.error(outputFailure(s));
        return ToolStatus::Failed;
    }
    std::optional<long> count = addGridLines(s, start, r);
    if (!count)
        return ToolStatus::Failed;  // nothing committed: the file stays as it was
    if (!out.write(start.text) || !out.commit()) {
        r.error(outputFailure(s));
        return ToolStatus::Failed;
    }
    if (written)
        *written = *count;
    r.status(0, cformat("Počet zapsaných refer. bodů :%ld", *count));
    r.info(cformat("Počet zapsaných refer. bodů :%ld", *count));
    return ToolStatus::Done;
}

}  // namespace ovd
