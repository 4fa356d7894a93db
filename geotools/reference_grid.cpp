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

std::span<const Param<GridSettings>> GridSettings::params()
{
    using S = GridSettings;
    static const Param<S> kParams[] = {
        param("NovyRefer", "PocBodX", &S::startX),   param("NovyRefer", "PocBodY", &S::startY),
        param("NovyRefer", "KrokX", &S::stepX),      param("NovyRefer", "KrokY", &S::stepY),
        param("NovyRefer", "PocetX", &S::countX),    param("NovyRefer", "PocetY", &S::countY),
        param("NovyRefer", "HodnotaL", &S::heightL), param("NovyRefer", "Pocatekrefer", &S::firstNumber),
        param("NovyRefer", "VystTxt", &S::output),   param("NovyRefer", "PripojData", &S::append),
    };
    return kParams;
}

ToolStatus makeReferenceGrid(const GridSettings& s, const RunContext& ctx, long* written)
{
    Reporter& r = ctx.reporter;
    if (written)
        *written = 0;
    if (s.output.empty()) {
        r.error("Nebyl zadán výstupní textový soubor !");
        return ToolStatus::Failed;
    }
    if (s.stepX == 0) {
        r.error("Velikost úseku na ose X nesmí být nulová !");
        return ToolStatus::Failed;
    }
    if (s.stepY == 0) {
        r.error("Velikost úseku na ose Y nesmí být nulová !");
        return ToolStatus::Failed;
    }

    OutputLock lock;
    if (!lock.acquire(r, {s.output}))
        return ToolStatus::Failed;

    std::string content;  // the existing file when appending
    std::string lineEnd = "\n";
    long existingLines = 0;
    long number = s.firstNumber;
    const char* tooMany = "Výsledný počet referenčních bodů souboru nesmí být větší než 30000 !";
    if (!s.append) {
        if (!countsFit(s, 0)) {
            r.error(tooMany);
            return ToolStatus::Failed;
        }
        if (!ctx.confirmOverwrite(s.output))
            return ToolStatus::Declined;
    } else {
        AppendInfo info = inspectForAppend(s.output);
        // A file that does not exist yet is appended to as an empty one.
        std::optional<std::string> bytes = info.exists ? readFileBytes(s.output) : std::string();
        if (!bytes) {
            r.error("Výstupní soubor pro refer. body - připojeni nelze otevřít !");
            return ToolStatus::Failed;
        }
        content = std::move(*bytes);
        std::vector<std::string> lines = splitLines(content);
        existingLines = static_cast<long>(lines.size());
        if (!lines.empty()) {
            auto last = scanLong(lines.back());
            if (last && *last >= 1)
                number = *last + 1;
        }
        if (info.crlf)
            lineEnd = "\r\n";
        if (!info.terminated)
            content += lineEnd;
    }

    if (!countsFit(s, existingLines)) {
        r.error(tooMany);
        return ToolStatus::Failed;
    }
    const long planned = s.countX * s.countY;

    AtomicOutput out;
    if (!out.open(s.output)) {
        r.error(s.append ? "Výstupní soubor pro refer. body - připojeni nelze otevřít !"
                         : "Výstupní soubor pro refer. body - přepis nelze otevřít !");
        return ToolStatus::Failed;
    }
    std::string text = std::move(content);
    long count = 0;
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
                return ToolStatus::Failed;  // nothing committed: the file stays as it was
            text += cformat("%ld, %lf, %lf, %lf, %lf", number, x, y, 0.0, s.heightL);
            text += lineEnd;
            ++number;
            ++count;
            r.status(0, cformat("Zapsán referenční bod č. :%ld", number));
            r.progress(count, planned);
        }
    }
    if (!out.write(text) || !out.commit()) {
        r.error(s.append ? "Výstupní soubor pro refer. body - připojeni nelze otevřít !"
                         : "Výstupní soubor pro refer. body - přepis nelze otevřít !");
        return ToolStatus::Failed;
    }
    if (written)
        *written = count;
    r.status(0, cformat("Počet zapsaných refer. bodů :%ld", count));
    r.info(cformat("Počet zapsaných refer. bodů :%ld", count));
    return ToolStatus::Done;
}

}  // namespace ovd
