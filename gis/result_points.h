#pragma once
// The live records of a result table as points with typed attributes, for the GIS exports.
#include <optional>
#include <string>
#include <vector>

#include "common/dbf_reader.h"
#include "common/outcome.h"

namespace ovd {

enum class AttributeKind { Integer, Real, Text };

struct Attribute {
    std::string name;  // the field name without its padding
    AttributeKind kind = AttributeKind::Text;
    int decimals = 0;  // the field's decimal count
};

struct ResultPoint {
    std::size_t record = 0;  // from 1, as the table counts them
    double x = 0, y = 0;
    std::vector<std::optional<double>> numbers;  // per attribute; nullopt when blank or text
    std::vector<std::string> texts;              // per attribute, without padding
};

struct ResultPoints {
    std::vector<Attribute> attributes;
    std::vector<ResultPoint> points;
    // The table's header claims more records than the file holds: the "zkrácený" text that
    // the table viewer shows (empty for a whole table). The points are those present.
    std::string truncated;
    // Index of the attribute named so (case ignored), if any.
    std::optional<std::size_t> find(const std::string& name) const;
    // "ID" of a point as the user knows it: the first field's text.
    std::string label(const ResultPoint&) const;
};

// Numeric fields (N, F) without decimals are whole numbers, with decimals real numbers; other
// fields text. The problem names the file: not readable, no X_COORD or Y_COORD, a
// coordinate that is not a number, a numeric field reading "nan" or "inf" (naming the record
// and the field).
Outcome<ResultPoints> readResultPoints(const std::string& path);

}  // namespace ovd
