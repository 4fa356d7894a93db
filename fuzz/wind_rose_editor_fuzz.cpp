// Any bytes as the wind rose editor's typed entries and stored settings: entry texts
// round to hundredths that format and read back unchanged, and a table fed with entries
// and distributions keeps its sums and its locked calm cells.
#include <cstddef>
#include <cstdint>
#include <string>

#include "windrose/hundredths.h"
#include "windrose/wind_rose_editor_settings.h"
#include "windrose/wind_rose_grid.h"
#include "windrose/wind_rose_protocol.h"

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkSums(const ovd::WindRoseGrid& g)
{
    long long all = 0;
    for (int r = 1; r <= 11; ++r) {
        long long row = 0;
        for (int c = 1; c <= 9; ++c)
            row += g.value(r, c);
        check(row == g.value(r, ovd::kRowSumColumn));
        all += row;
    }
    check(all == g.secondTotal());
    for (int r : {3, 5, 6, 8, 9, 11})
        check(g.value(r, ovd::kCalmColumn) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    long long h = ovd::parseHundredths(bytes);
    check(ovd::parseHundredths(ovd::formatHundredths(h)) == h);
    check(ovd::parseHundredths(ovd::formatHundredths(h, ',')) == h);
    check(ovd::parseHundredths(ovd::formatHundredthsGeneral(h)) == h);

    ovd::WindRoseGrid grid;
    grid.setBudgets(ovd::WindRoseGrid::parseBudgets(bytes));
    // Each line: row, column and the typed text; a line "*" distributes.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? bytes.size() : end + 1;
        if (line == "*") {
            grid.distribute();
        } else if (line.size() >= 2) {
            int row = static_cast<unsigned char>(line[0]) % 14 - 1;
            int column = static_cast<unsigned char>(line[1]) % 13 - 1;
            grid.enter(row, column, ovd::parseHundredths(line.substr(2)));
        }
        checkSums(grid);
    }
    (void)grid.grandTotalText(',');
    ovd::WindRoseProtocol protocol;
    protocol.comment = bytes;
    protocol.path = bytes;
    (void)ovd::windRoseProtocolRtf(grid, protocol);
    (void)ovd::windRoseProtocolHtml(grid, protocol, "x.png");
    (void)ovd::StoredFont::parse(bytes).text();
    return 0;
}
