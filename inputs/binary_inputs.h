#pragma once
// The binary reference-point and source files: a header of record count and column count,
// then records packed field by field, little-endian. Readers read every record in full
// by the layout and refuse a file whose length does not match it.
#include <optional>
#include <string>
#include <vector>

#include "common/outcome.h"
#include "input_records.h"

namespace ovd {

inline constexpr int kPointColumns = 5;
inline constexpr int kGasSourceColumns = 13;
inline constexpr int kDustSourceColumns = 15;
inline constexpr std::size_t kPointRecordSize = 36;
inline constexpr std::size_t kBinaryHeaderSize = 8;  // record count and column count
inline constexpr std::size_t kGasSourceRecordSize = 114;

void appendHeader(std::string& out, std::int32_t count, std::int32_t columns);
void appendPoint(std::string& out, const ReferencePoint&);
// The gas fields, and with `dust` the density, N and the N pairs.
void appendSource(std::string& out, const SourceRecord&, bool dust);

// The records a points file of this many bytes holds (whole ones, past the header).
constexpr long long pointRecordsIn(long long fileSize)
{
    return fileSize < static_cast<long long>(kBinaryHeaderSize)
               ? 0
               : (fileSize - static_cast<long long>(kBinaryHeaderSize)) / static_cast<long long>(kPointRecordSize);
}

std::string encodePoints(const std::vector<ReferencePoint>&);
std::string encodeSources(const std::vector<SourceRecord>&, bool dust);

struct SourceFile {
    bool dust = false;
    std::vector<SourceRecord> records;
};

// A problem when the bytes are not such a file, or when a record holds a value no
// computation can use: one that is not finite anywhere, or a negative emission, source
// height, stack diameter or exit velocity. Coordinates and altitudes may be any finite value.
// The message names the file (`path`, when given), the record and the field.
Outcome<std::vector<ReferencePoint>> decodePoints(const std::string& bytes, const std::string& path = {});
Outcome<SourceFile> decodeSources(const std::string& bytes, const std::string& path = {});
Outcome<std::vector<ReferencePoint>> readPointsFile(const std::string& path);
Outcome<SourceFile> readSourcesFile(const std::string& path);

}  // namespace ovd
