#pragma once
// ESRI shapefiles: the SHP main file and its SHX index, written side by side through
// temporary files that replace the targets only when both are complete. The 100-byte
// main header mixes big-endian integers (file code, length) with little-endian ones.
#include <cstdint>
#include <string>

#include "common/file_io.h"

namespace ovd {

enum class ShapeType : std::int32_t { Point = 1, PolyLine = 3 };

struct ShapeBox {
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

void putBigEndian32(std::string& out, std::int32_t value);
// File code 9994, five zeros, the length in 16-bit words, version 1000, the shape type,
// the box and zero Z and M ranges.
std::string shapeMainHeader(ShapeType, std::int32_t fileLengthWords, const ShapeBox&);

// Content lengths in 16-bit words: a point 10, a two-point polyline of one part 40.
inline constexpr std::int32_t kPointContentWords = 10;
inline constexpr std::int32_t kSegmentContentWords = 40;
// The most records a file of this content length can hold while its length in words
// still fits the header's 32-bit field.
std::int64_t maxShapeRecords(std::int32_t contentWords);

class ShapefileOutput {
public:
    enum class Failure { None, Shp, Shx };
    // Creates the temporary files; tells which of the two could not be created.
    Failure open(const std::string& shpPath, const std::string& shxPath);
    // Both main headers for `records` records of one content length.
    bool begin(ShapeType, std::int64_t records, const ShapeBox&);
    bool addPoint(double x, double y);
    // A polyline of one part with two points, its own box in front of them.
    bool addSegment(double x1, double y1, double x2, double y2);
    // Renames both files over their targets; false (targets as they were) on a failure
    // or when fewer or more records came than begin() announced.
    bool commit() { return prepare() && publish(); }
    // The halves of commit(), for a shapefile committed together with its table: both
    // files complete on the disk, then both renamed.
    bool prepare();
    bool publish();
    void discard();
    // The two files, for a caller that publishes them together with others.
    std::vector<AtomicOutput*> files() { return {&m_shp, &m_shx}; }

private:
    bool addRecord(std::int32_t contentWords, const std::string& content);
    bool flushBuffers();

    AtomicOutput m_shp, m_shx;
    std::string m_shpBuffer, m_shxBuffer;
    std::int64_t m_expected = 0, m_written = 0;
    std::int32_t m_offsetWords = 50;
    bool m_failed = false;
};

}  // namespace ovd
