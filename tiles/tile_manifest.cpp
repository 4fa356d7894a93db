#include "tiles/tile_manifest.h"

#include "common/content_hash.h"
#include "common/numbers.h"
#include "common/paths.h"

namespace ovd {

namespace {

constexpr std::string_view kHeader = "# Ovardix: dlaždice studie (vytvořil ovardix-cli tile, ručně neupravovat)\n";
constexpr std::string_view kChecksumKey = "Kontrola=";

Problem damaged(const std::string& path)
{
    return Problem::error("Soubor se seznamem dlaždic " + path +
                          " byl upraven nebo je poškozen, dlaždice nelze použít. Rozdělte studii znovu příkazem "
                          "ovardix-cli tile.");
}

std::vector<std::string> splitAtCommas(std::string_view s)
{
    std::vector<std::string> out;
    for (std::size_t from = 0;;) {
        const std::size_t comma = s.find(',', from);
        out.emplace_back(s.substr(from, comma - from));
        if (comma == std::string_view::npos)
            return out;
        from = comma + 1;
    }
}

bool isHex16(std::string_view s)
{
    return s.size() == 16 && s.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

}  // namespace

std::string TileManifest::text() const
{
    std::string out(kHeader);
    out += "Projekt=" + project + "\n";
    out += cformat("Body=%ld\n", points);
    if (skipped > 0)
        out += cformat("VynechanychRadku=%ld\n", skipped);
    out += cformat("BoduNaDlazdici=%ld\n", perTile);
    out += "SirkaVektoru=" + width + "\n";
    out += "Podpis=" + signature + "\n";
    out += "SouborBodu=" + pointsHash + "\n";
    for (const auto& [key, hash] : inputs)
        out += "Vstup=" + key + "," + hash + "\n";
    for (const TileEntry& t : tiles)
        out += cformat("Dlazdice=%s,%ld,%ld,%s\n", t.name.c_str(), t.firstPoint, t.lastPoint, t.pointsHash.c_str());
    out += std::string(kChecksumKey) + hashHex(out) + "\n";
    return out;
}

namespace {

// One key of the manifest into m; false for a key or value the manifest cannot hold.
bool readManifestKey(std::string_view key, std::string_view value, TileManifest& m, bool (&seen)[6])
{
    if (key == "Projekt") {
        m.project = value, seen[0] = true;
    } else if (key == "Body") {
        auto n = parseLong(value);
        m.points = n.value_or(-1), seen[1] = n.has_value();
    } else if (key == "VynechanychRadku") {
        auto n = parseLong(value);
        if (!n || *n < 1)
            return false;
        m.skipped = *n;
    } else if (key == "BoduNaDlazdici") {
        auto n = parseLong(value);
        m.perTile = n.value_or(-1), seen[2] = n.has_value();
    } else if (key == "SirkaVektoru") {
        m.width = value, seen[3] = true;
    } else if (key == "Podpis") {
        m.signature = value, seen[4] = isHex16(value);
    } else if (key == "SouborBodu") {
        m.pointsHash = value, seen[5] = isHex16(value);
    } else if (key == "Vstup") {
        const std::size_t comma = value.rfind(',');
        if (comma == std::string_view::npos || comma == 0 || !isHex16(value.substr(comma + 1)))
            return false;
        m.inputs.emplace_back(std::string(value.substr(0, comma)), std::string(value.substr(comma + 1)));
    } else if (key == "Dlazdice") {
        const std::vector<std::string> f = splitAtCommas(value);
        std::optional<long> first = f.size() == 4 ? parseLong(f[1]) : std::nullopt;
        std::optional<long> last = f.size() == 4 ? parseLong(f[2]) : std::nullopt;
        if (!first || !last || f[0].empty() || f[0].find_first_not_of("0123456789") != std::string::npos ||
            !isHex16(f[3]))
            return false;
        m.tiles.push_back({f[0], *first, *last, f[3]});
    } else {
        return false;
    }
    return true;
}

// The tiles' ranges follow each other from the first point to the last.
bool rangesFollow(const TileManifest& m)
{
    long next = 1;
    for (const TileEntry& t : m.tiles) {
        if (t.firstPoint != next || t.lastPoint < t.firstPoint || t.pointCount() > m.perTile)
            return false;
        next = t.lastPoint + 1;
    }
    return !m.tiles.empty() && next == m.points + 1;
}

}  // namespace

Outcome<TileManifest> TileManifest::parse(std::string_view text, const std::string& path)
{
    const std::size_t sum = text.rfind(kChecksumKey);
    if (sum == std::string_view::npos || (sum > 0 && text[sum - 1] != '\n') ||
        text.substr(sum + kChecksumKey.size()) != hashHex(text.substr(0, sum)) + "\n")
        return damaged(path);
    TileManifest m;
    bool seen[6] = {};
    std::size_t pos = kHeader.size();
    if (text.substr(0, pos) != kHeader)
        return damaged(path);
    while (pos < sum) {
        const std::size_t end = text.find('\n', pos);
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            return damaged(path);
        const std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
        if (!readManifestKey(key, value, m, seen))
            return damaged(path);
    }
    for (bool s : seen)
        if (!s)
            return damaged(path);
    if (!rangesFollow(m))
        return damaged(path);
    return m;
}

std::string tilesFolderOf(const std::string& projectPath)
{
    return folderOf(projectPath) + stemOf(projectPath) + "_dlazdice/";
}

std::string tileFolderOf(const std::string& projectPath, const TileEntry& t)
{
    return tilesFolderOf(projectPath) + t.name + "/";
}

std::string tileName(std::size_t index, std::size_t count)
{
    int digits = 3;
    for (std::size_t c = count; c >= 1000; c /= 10)
        ++digits;
    return cformat("%0*zu", digits, index + 1);
}

}  // namespace ovd
