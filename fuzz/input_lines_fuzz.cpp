// Any bytes as lines of the five text inputs: every reader and check must hold up, and
// whatever parses as a dust record must survive the ALFA sort line round trip. As a file,
// the bytes must come back unchanged from the byte-exact reader (byte-order mark and line
// ends included), which must split them as the decoding reader does. Input beginning with
// "L" gets its first line stretched beyond the longest line the readers take.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/file_io.h"
#include "common/text.h"
#include "inputs/alfa_sort.h"
#include "inputs/input_lines.h"
#include "inputs/raw_text.h"
#include "scratch_folder.h"

namespace {

void checkFileReaders(std::string bytes)
{
    if (!bytes.empty() && bytes[0] == 'L')
        bytes.insert(1, ovd::kMaxLineBytes, '1');
    const std::string path = scratchFolder() + "lines.txt";
    ovd::File out(path, "wb");
    if (!out.write(bytes) || !out.close())
        return;
    ovd::RawTextResult raw = ovd::readRawText(path);
    auto decoded = ovd::readTextFile(path);
    if (!decoded)
        __builtin_trap();
    if (raw.tooLongLine != decoded->tooLongLine || raw.text.has_value() == (raw.tooLongLine > 0))
        __builtin_trap();
    if (raw.text && (raw.text->join() != bytes || raw.text->lines.size() != decoded->lines.size()))
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    checkFileReaders(bytes);
    std::vector<std::string> lines = ovd::splitLines(bytes);
    long n = 0;
    for (const std::string& line : lines) {
        ++n;
        ovd::checkPointLine(line, n);
        ovd::checkCoordinateLine(line, n);
        ovd::checkDescriptionLine(line, n, 1);
        ovd::checkDescriptionLine(line, n, 3);
        ovd::checkDescriptionLine(line, n, std::nullopt);
        ovd::checkDustLine(line, n, lines);
        ovd::ExpandedDust e = ovd::parseExpandedDust(line);
        if (e.complete && e.count != static_cast<long>(e.fractions.size()))
            __builtin_trap();
        ovd::CoordinateLine c = ovd::parseCoordinateLine(line);
        ovd::DescriptionLine d = ovd::parseDescriptionLine(line);
        if (c.complete && d.complete && c.type >= 1 && c.type <= 3) {
            ovd::SourceRecord s;
            s.number = static_cast<std::int32_t>(c.number);
            s.type = static_cast<std::int16_t>(c.type);
            s.values = d.values;
            std::string text = line;
            auto back = ovd::readAlfaSortLine(ovd::alfaSortLine(s, true, &text), true);
            if (!back || back->record.number != s.number || back->dustText != text)
                __builtin_trap();
        }
    }
    return 0;
}
