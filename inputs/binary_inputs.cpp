#include "binary_inputs.h"

#include <cmath>
#include <initializer_list>

#include "common/file_io.h"
#include "common/le_io.h"
#include "common/numbers.h"

namespace ovd {

namespace {

// A field of a record that the computations cannot use.
struct BadField {
    std::string name;
    double value;
};

std::optional<BadField> firstNonFinite(std::initializer_list<std::pair<const char*, double>> fields)
{
    for (const auto& [name, value] : fields)
        if (!std::isfinite(value))
            return BadField{name, value};
    return std::nullopt;
}

std::optional<BadField> pointProblem(const ReferencePoint& p)
{
    return firstNonFinite({{"X", p.x}, {"Y", p.y}, {"Z", p.z}, {"L", p.l}});
}

// Values 1 to 9 by type; the ones that must not be negative are marked.
struct ValueRule {
    const char* name;
    bool nonNegative;
};
constexpr ValueRule kStackValues[kDescriptionValueCount] = {{"M (emise)", true},
                                                            {"H (výška komína)", true},
                                                            {"Vs (objem spalin)", false},
                                                            {"ts (teplota spalin)", false},
                                                            {"d (průměr komína)", true},
                                                            {"w0 (výstupní rychlost)", true},
                                                            {"Alfa", false},
                                                            {"Pd (počet hodin)", false},
                                                            {"Y0 (vzdálenost prvků)", false}};
constexpr ValueRule kLineValues[kDescriptionValueCount] = {{"ML (emise)", true},
                                                           {"X1el", false},
                                                           {"Y1el", false},
                                                           {"X2el", false},
                                                           {"Y2el", false},
                                                           {"X0el (šířka úseku)", false},
                                                           {"Z0el (výška úseku)", true},
                                                           {"Alfa", false},
                                                           {"Pd (počet hodin)", false}};

std::optional<BadField> sourceProblem(const SourceRecord& s, bool dust)
{
    if (auto bad = firstNonFinite({{"X", s.x}, {"Y", s.y}, {"Z", s.z}}))
        return bad;
    const ValueRule* rules = s.type == kLineSource          ? kLineValues
        : (s.type == kPointSource || s.type == kAreaSource) ? kStackValues
                                                            : nullptr;
    for (std::size_t i = 0; i < s.values.size(); ++i) {
        const double v = s.values[i];
        const bool negativeBad = rules && rules[i].nonNegative && v < 0;
        if (!std::isfinite(v) || negativeBad)
            return BadField{rules ? rules[i].name : cformat("hodnota %zu", i + 1), v};
    }
    if (!dust)
        return std::nullopt;
    if (!std::isfinite(s.density))
        return BadField{"hustota", s.density};
    for (std::size_t k = 0; k < s.fractions.size(); ++k) {
        if (!std::isfinite(s.fractions[k].diameter))
            return BadField{cformat("průměr frakce %zu", k + 1), s.fractions[k].diameter};
        if (!std::isfinite(s.fractions[k].share))
            return BadField{cformat("zastoupení frakce %zu", k + 1), s.fractions[k].share};
    }
    return std::nullopt;
}

Problem fieldProblem(const char* file, const std::string& path, std::size_t index, const char* what, long number,
                     const BadField& bad)
{
    return Problem::error(std::string(file) + (path.empty() ? "" : " " + path) +
                          cformat(" : věta %zu (%s č. %ld), pole ", index + 1, what, number) + bad.name +
                          cformat(" : hodnota %g není přípustná!", bad.value));
}

}  // namespace

void appendHeader(std::string& out, std::int32_t count, std::int32_t columns)
{
    putI32(out, count);
    putI32(out, columns);
}

void appendPoint(std::string& out, const ReferencePoint& p)
{
    putI32(out, p.number);
    putF64(out, p.x);
    putF64(out, p.y);
    putF64(out, p.z);
    putF64(out, p.l);
}

void appendSource(std::string& out, const SourceRecord& s, bool dust)
{
    putI32(out, s.number);
    putF64(out, s.x);
    putF64(out, s.y);
    putF64(out, s.z);
    putI16(out, s.type);
    putI32(out, s.cluster);
    putI32(out, s.group);
    putI32(out, s.groupIndex);
    for (double v : s.values)
        putF64(out, v);
    if (!dust)
        return;
    putF64(out, s.density);
    putI32(out, static_cast<std::int32_t>(s.fractions.size()));
    for (const DustFraction& f : s.fractions) {
        putF64(out, f.diameter);
        putF64(out, f.share);
    }
}

std::string encodePoints(const std::vector<ReferencePoint>& points)
{
    std::string out;
    out.reserve(kBinaryHeaderSize + kPointRecordSize * points.size());
    appendHeader(out, static_cast<std::int32_t>(points.size()), kPointColumns);
    for (const auto& p : points)
        appendPoint(out, p);
    return out;
}

std::string encodeSources(const std::vector<SourceRecord>& sources, bool dust)
{
    std::string out;
    out.reserve(kBinaryHeaderSize + (kGasSourceRecordSize + (dust ? 12 : 0)) * sources.size());
    appendHeader(out, static_cast<std::int32_t>(sources.size()), dust ? kDustSourceColumns : kGasSourceColumns);
    for (const auto& s : sources)
        appendSource(out, s, dust);
    return out;
}

Outcome<std::vector<ReferencePoint>> decodePoints(const std::string& bytes, const std::string& path)
{
    ByteReader r(bytes);
    std::int32_t count = r.i32();
    std::int32_t columns = r.i32();
    if (r.failed() || count < 0 || columns != kPointColumns ||
        r.remaining() != static_cast<std::size_t>(count) * kPointRecordSize) {
        return Problem::error("Binární soubor s referenčními body má chybnou délku nebo hlavičku.");
    }
    std::vector<ReferencePoint> points(static_cast<std::size_t>(count));
    for (auto& p : points) {
        p.number = r.i32();
        p.x = r.f64();
        p.y = r.f64();
        p.z = r.f64();
        p.l = r.f64();
    }
    for (std::size_t i = 0; i < points.size(); ++i)
        if (auto bad = pointProblem(points[i])) {
            return fieldProblem("Binární soubor s referenčními body", path, i, "referenční bod", points[i].number,
                                *bad);
        }
    return points;
}

Outcome<SourceFile> decodeSources(const std::string& bytes, const std::string& path)
{
    const char* bad = "Binární soubor se zdroji má chybnou délku nebo hlavičku.";
    ByteReader r(bytes);
    std::int32_t count = r.i32();
    std::int32_t columns = r.i32();
    if (r.failed() || count < 0 || (columns != kGasSourceColumns && columns != kDustSourceColumns))
        return Problem::error(bad);
    SourceFile file;
    file.dust = columns == kDustSourceColumns;
    // Every record holds at least the gas fields: a count beyond the bytes is refused before allocating.
    if (r.remaining() / kGasSourceRecordSize < static_cast<std::size_t>(count))
        return Problem::error(bad);
    file.records.resize(static_cast<std::size_t>(count));
    for (auto& s : file.records) {
        s.number = r.i32();
        s.x = r.f64();
        s.y = r.f64();
        s.z = r.f64();
        s.type = r.i16();
        s.cluster = r.i32();
        s.group = r.i32();
        s.groupIndex = r.i32();
        for (double& v : s.values)
            v = r.f64();
        if (file.dust) {
            s.density = r.f64();
            std::int32_t n = r.i32();
            if (r.failed() || n < 0 || r.remaining() / 16 < static_cast<std::size_t>(n))
                return Problem::error(bad);
            s.fractions.resize(static_cast<std::size_t>(n));
            for (auto& f : s.fractions) {
                f.diameter = r.f64();
                f.share = r.f64();
            }
        }
        if (r.failed())
            return Problem::error(bad);
    }
    if (r.remaining() != 0)
        return Problem::error(bad);
    for (std::size_t i = 0; i < file.records.size(); ++i)
        if (auto problem = sourceProblem(file.records[i], file.dust)) {
            return fieldProblem("Binární soubor se zdroji", path, i, "zdroj", file.records[i].number, *problem);
        }
    return file;
}

Outcome<std::vector<ReferencePoint>> readPointsFile(const std::string& path)
{
    auto bytes = readFileBytes(path);
    if (!bytes)
        return Problem::error("Binární soubor s referenčními body nelze otevřít!");
    return decodePoints(*bytes, path);
}

Outcome<SourceFile> readSourcesFile(const std::string& path)
{
    auto bytes = readFileBytes(path);
    if (!bytes)
        return Problem::error("Binární soubor se zdroji nelze otevřít!");
    return decodeSources(*bytes, path);
}

}  // namespace ovd
