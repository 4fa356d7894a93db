#include "coord_table.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "common/file_io.h"
#include "common/le_io.h"
#include "common/numbers.h"
#include "common/text.h"

namespace ovd {

namespace {

std::vector<double> distinctSorted(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

std::size_t distinctU(const std::vector<CoordNode>& nodes)
{
    std::vector<double> us;
    us.reserve(nodes.size());
    for (const CoordNode& n : nodes)
        us.push_back(n.u);
    return distinctSorted(std::move(us)).size();
}

// The index i of the grid lines lines[i] <= value <= lines[i + 1]; nullopt outside.
std::optional<std::size_t> bracket(const std::vector<double>& lines, double value)
{
    if (lines.size() < 2 || !(value >= lines.front() && value <= lines.back()))
        return std::nullopt;
    auto it = std::upper_bound(lines.begin(), lines.end(), value);
    std::size_t i = static_cast<std::size_t>(it - lines.begin());
    // upper_bound gives the first line beyond the value; on the last line take the last cell.
    i = i == lines.size() ? lines.size() - 2 : i - 1;
    return i;
}

// Four numbers separated by commas (blanks allowed around them); trailing text ignored.
std::optional<CoordNode> parseTableLine(std::string_view line)
{
    double v[4];
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
                ++pos;
            if (pos >= line.size() || line[pos] != ',')
                return std::nullopt;
            ++pos;
        }
        std::size_t used = 0;
        auto d = scanDouble(line.substr(pos), &used);
        if (!d)
            return std::nullopt;
        v[i] = *d;
        pos += used;
    }
    return CoordNode{v[0], v[1], v[2], v[3]};
}

}  // namespace

std::string encodeCoordTable(const std::vector<CoordNode>& nodes)
{
    std::string out;
    out.reserve(kCoordTableHeader + nodes.size() * 32);
    putU16(out, kCoordTableVersion);
    putU32(out, static_cast<std::uint32_t>(nodes.size()));
    putU32(out, static_cast<std::uint32_t>(distinctU(nodes)));
    for (const CoordNode& n : nodes) {
        putF64(out, n.u);
        putF64(out, n.v);
        putF64(out, n.x);
        putF64(out, n.y);
    }
    return out;
}

std::optional<CoordTable> CoordTable::decode(std::string_view bytes)
{
    ByteReader r(bytes);
    std::uint16_t version = r.u16();
    std::uint32_t count = r.u32();
    std::uint32_t columns = r.u32();
    if (r.failed() || version != kCoordTableVersion || r.remaining() != static_cast<std::uint64_t>(count) * 32)
        return std::nullopt;
    std::vector<CoordNode> nodes(count);
    for (CoordNode& n : nodes) {
        n.u = r.f64();
        n.v = r.f64();
        n.x = r.f64();
        n.y = r.f64();
        if (!std::isfinite(n.u) || !std::isfinite(n.v) || !std::isfinite(n.x) || !std::isfinite(n.y))
            return std::nullopt;
    }
    if (distinctU(nodes) != columns)
        return std::nullopt;
    return fromNodes(std::move(nodes));
}

std::optional<CoordTable> CoordTable::fromNodes(std::vector<CoordNode> nodes)
{
    CoordTable t;
    std::vector<double> us, vs;
    for (const CoordNode& n : nodes) {
        us.push_back(n.u);
        vs.push_back(n.v);
        t.m_byInput.emplace(std::make_pair(n.u, n.v), std::make_pair(n.x, n.y));
    }
    t.m_us = distinctSorted(std::move(us));
    t.m_vs = distinctSorted(std::move(vs));
    t.m_nodes = std::move(nodes);
    return t;
}

std::optional<std::pair<double, double>> CoordTable::convert(double u, double v) const
{
    auto i = bracket(m_us, u);
    auto j = bracket(m_vs, v);
    if (!i || !j)
        return std::nullopt;
    double ua = m_us[*i], ub = m_us[*i + 1], va = m_vs[*j], vb = m_vs[*j + 1];
    auto aa = m_byInput.find({ua, va}), ba = m_byInput.find({ub, va});
    auto bb = m_byInput.find({ub, vb}), ab = m_byInput.find({ua, vb});
    if (aa == m_byInput.end() || ba == m_byInput.end() || bb == m_byInput.end() || ab == m_byInput.end())
        return std::nullopt;
    double xi = 2 * (u - ua) / (ub - ua) - 1;
    double eta = 2 * (v - va) / (vb - va) - 1;
    double w1 = (1 - xi) * (1 - eta) / 4, w2 = (1 + xi) * (1 - eta) / 4;
    double w3 = (1 + xi) * (1 + eta) / 4, w4 = (1 - xi) * (1 + eta) / 4;
    double x = w1 * aa->second.first + w2 * ba->second.first + w3 * bb->second.first + w4 * ab->second.first;
    double y = w1 * aa->second.second + w2 * ba->second.second + w3 * bb->second.second + w4 * ab->second.second;
    if (!std::isfinite(x) || !std::isfinite(y))
        return std::nullopt;  // a blend of huge node values
    return std::make_pair(x, y);
}

const std::vector<Param<CoordTableSettings>> CoordTableSettings::kParams = declare<Self>({inSection(
    section::kCoordTable, {key("VstTxtPrevod", &Self::textTable), key("VystBinPrevod", &Self::binaryTable)})});

ToolStatus convertCoordTable(const CoordTableSettings& s, const RunContext& ctx)
{
    Reporter& r = ctx.reporter;
    File input;
    if (!input.openInput(s.textTable)) {
        r.error("Vstupní soubor s převodní tabulkou nelze otevřít!");
        return ToolStatus::Failed;
    }
    if (!ctx.confirmOverwrite(s.binaryTable))
        return ToolStatus::Declined;
    std::vector<CoordNode> nodes;
    LineReader lines(input.get());
    std::string line;
    while (lines.next(line)) {
        if (lines.lineNumber() % 256 == 0 && r.cancelled())
            return ToolStatus::Failed;  // nothing written yet
        std::string t = trim(line);
        if (t.empty() || t[0] == ';')
            continue;
        auto node = parseTableLine(t);
        if (!node) {
            r.error(cformat("Řádek %ld převodní tabulky neobsahuje čtyři čísla oddělená čárkami!", lines.lineNumber()));
            return ToolStatus::Failed;
        }
        if (nodes.size() >= static_cast<std::size_t>(INT32_MAX)) {
            r.error("Převodní tabulka má příliš mnoho řádků!");
            return ToolStatus::Failed;
        }
        nodes.push_back(*node);
        r.status(0, cformat("Převáděný řádek %ld", lines.lineNumber()));
    }
    AtomicOutput out;
    if (s.binaryTable.empty() || !out.open(s.binaryTable) || !out.write(encodeCoordTable(nodes)) || !out.commit()) {
        r.error("Výstupní soubor s převodní tabulkou nelze otevřít!");
        return ToolStatus::Failed;
    }
    r.info(cformat("Převod dokončen, převedeno %ld řádku.", static_cast<long>(nodes.size())));
    return ToolStatus::Done;
}

}  // namespace ovd
