#include "binary_inputs.h"

#include "common/file_io.h"
#include "common/le_io.h"

namespace ovd {

namespace {

void setError(std::string* error, const char* text)
{
    if (error)
        *error = text;
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
    out.reserve(8 + kPointRecordSize * points.size());
    appendHeader(out, static_cast<std::int32_t>(points.size()), kPointColumns);
    for (const auto& p : points)
        appendPoint(out, p);
    return out;
}

std::string encodeSources(const std::vector<SourceRecord>& sources, bool dust)
{
    std::string out;
    out.reserve(8 + (kGasSourceRecordSize + (dust ? 12 : 0)) * sources.size());
    appendHeader(out, static_cast<std::int32_t>(sources.size()), dust ? kDustSourceColumns : kGasSourceColumns);
    for (const auto& s : sources)
        appendSource(out, s, dust);
    return out;
}

std::optional<std::vector<ReferencePoint>> decodePoints(const std::string& bytes, std::string* error)
{
    ByteReader r(bytes);
    std::int32_t count = r.i32();
    std::int32_t columns = r.i32();
    if (r.failed() || count < 0 || columns != kPointColumns ||
        r.remaining() != static_cast<std::size_t>(count) * kPointRecordSize) {
        setError(error, "Binární soubor s referenčními body má chybnou délku nebo hlavičku.");
        return std::nullopt;
    }
    std::vector<ReferencePoint> points(static_cast<std::size_t>(count));
    for (auto& p : points) {
        p.number = r.i32();
        p.x = r.f64();
        p.y = r.f64();
        p.z = r.f64();
        p.l = r.f64();
    }
    return points;
}

std::optional<SourceFile> decodeSources(const std::string& bytes, std::string* error)
{
    const char* bad = "Binární soubor se zdroji má chybnou délku nebo hlavičku.";
    ByteReader r(bytes);
    std::int32_t count = r.i32();
    std::int32_t columns = r.i32();
    if (r.failed() || count < 0 || (columns != kGasSourceColumns && columns != kDustSourceColumns)) {
        setError(error, bad);
        return std::nullopt;
    }
    SourceFile file;
    file.dust = columns == kDustSourceColumns;
    // Every record holds at least the gas fields: a count beyond the bytes is refused before allocating.
    if (r.remaining() / kGasSourceRecordSize < static_cast<std::size_t>(count)) {
        setError(error, bad);
        return std::nullopt;
    }
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
            if (r.failed() || n < 0 || r.remaining() / 16 < static_cast<std::size_t>(n)) {
                setError(error, bad);
                return std::nullopt;
            }
            s.fractions.resize(static_cast<std::size_t>(n));
            for (auto& f : s.fractions) {
                f.diameter = r.f64();
                f.share = r.f64();
            }
        }
        if (r.failed()) {
            setError(error, bad);
            return std::nullopt;
        }
    }
    if (r.remaining() != 0) {
        setError(error, bad);
        return std::nullopt;
    }
    return file;
}

std::optional<std::vector<ReferencePoint>> readPointsFile(const std::string& path, std::string* error)
{
    auto bytes = readFileBytes(path);
    if (!bytes) {
        setError(error, "Binární soubor s referenčními body nelze otevřít !");
        return std::nullopt;
    }
    return decodePoints(*bytes, error);
}

std::optional<SourceFile> readSourcesFile(const std::string& path, std::string* error)
{
    auto bytes = readFileBytes(path);
    if (!bytes) {
        setError(error, "Binární soubor se zdroji nelze otevřít !");
        return std::nullopt;
    }
    return decodeSources(*bytes, error);
}

}  // namespace ovd
