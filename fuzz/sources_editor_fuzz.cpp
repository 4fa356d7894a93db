// Any bytes as the sources editor's files and typed numbers: lines read leniently never
// crash, a source written and read back gives the same lines, the dust text settles after
// one round, and the three files joined and saved load back unchanged.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/file_io.h"
#include "sources_editor/dust_groups.h"
#include "sources_editor/real_text.h"
#include "sources_editor/source_files.h"
#include "testing/recording_reporter.h"
#include "testing/test_support.h"

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ovd;
    const std::string text(reinterpret_cast<const char*>(data), size);

    bool out = false;
    const float f = readLenientFloat(text, &out);
    check(std::isfinite(f));
    const float back = readLenientFloat(formatReal(f));
    check(back == f || std::fabs(back - f) <= std::fabs(f) * 1e-6f);
    readLenientInt(text, &out);

    for (int kind = 1; kind <= 3; ++kind) {
        auto s = createSource(kind);
        s->LineSource(text);
        s->LineParameters(text);
        s->LineDust(text);
        auto again = createSource(kind);
        again->LineSource(s->LineSource());
        again->LineParameters(s->LineParameters());
        check(again->LineParameters() == s->LineParameters());
        // A name that holds ";" is cut there on reading, so compare after one round.
        auto third = createSource(kind);
        third->LineSource(again->LineSource());
        check(third->LineSource() == again->LineSource());
    }
    const std::string dust = formatDustText(parseDustText(text));
    check(formatDustText(parseDustText(dust)) == dust);

    // The bytes split into three files at the first two NUL bytes.
    std::size_t a = text.find('\0'), b = a == std::string::npos ? a : text.find('\0', a + 1);
    if (b == std::string::npos)
        return 0;
    TempDir dir;
    writeFileAtomically(dir.path("b"), text.substr(0, a));
    writeFileAtomically(dir.path("p"), text.substr(a + 1, b - a - 1));
    writeFileAtomically(dir.path("d"), text.substr(b + 1));
    RecordingReporter r;
    SourceList list;
    SourceNumbering numbering;
    loadSources(list, numbering, {dir.path("b"), dir.path("p"), dir.path("d")}, false, true, r);
    std::vector<const cZdroje*> all;
    for (auto& s : list.sources)
        all.push_back(s.get());
    check(saveSources(all, {dir.path("b2"), dir.path("p2"), dir.path("d2")}, list.comment, "", r));
    SourceList again;
    loadSources(again, numbering, {dir.path("b2"), dir.path("p2"), dir.path("d2")}, false, true, r);
    check(again.sources.size() == list.sources.size());
    for (std::size_t i = 0; i < list.sources.size(); ++i)
        check(again.sources[i]->LineParameters() == list.sources[i]->LineParameters());
    cSkupinyPrachu groups;
    groups.OtevriSkupiny(dir.path("d"), r);
    return 0;
}
