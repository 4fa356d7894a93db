#include "shapefile_writer.h"

#include <algorithm>
#include <limits>

#include "common/le_io.h"

namespace ovd {

namespace {

constexpr std::int32_t kFileCode = 9994;
constexpr std::int32_t kVersion = 1000;
constexpr std::int32_t kHeaderWords = 50;
constexpr std::size_t kFlushSize = 1 << 16;

}  // namespace

void putBigEndian32(std::string& out, std::int32_t value)
{
    auto v = static_cast<std::uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

std::string shapeMainHeader(ShapeType type, std::int32_t fileLengthWords, const ShapeBox& box)
{
    std::string out;
    out.reserve(100);
    putBigEndian32(out, kFileCode);
    for (int i = 0; i < 5; ++i)
        putBigEndian32(out, 0);
    putBigEndian32(out, fileLengthWords);
    putI32(out, kVersion);
    putI32(out, static_cast<std::int32_t>(type));
    putF64(out, box.xmin);
    putF64(out, box.ymin);
    putF64(out, box.xmax);
    putF64(out, box.ymax);
    for (int i = 0; i < 4; ++i)
        putF64(out, 0.0);
    return out;
}

std::int64_t maxShapeRecords(std::int32_t contentWords)
{
    return (std::numeric_limits<std::int32_t>::max() - kHeaderWords) / (contentWords + 4);
}

ShapefileOutput::Failure ShapefileOutput::open(const std::string& shpPath, const std::string& shxPath)
{
    discard();
    if (!m_shp.open(shpPath))
        return Failure::Shp;
    if (!m_shx.open(shxPath)) {
        m_shp.discard();
        return Failure::Shx;
    }
    return Failure::None;
}

bool ShapefileOutput::begin(ShapeType type, std::int64_t records, const ShapeBox& box)
{
    std::int32_t contentWords = type == ShapeType::Point ? kPointContentWords : kSegmentContentWords;
    if (records < 0 || records > maxShapeRecords(contentWords)) {
        m_failed = true;
        return false;
    }
    m_expected = records;
    m_written = 0;
    m_offsetWords = kHeaderWords;
    auto shpWords = static_cast<std::int32_t>(kHeaderWords + (contentWords + 4) * records);
    auto shxWords = static_cast<std::int32_t>(kHeaderWords + 4 * records);
    m_shpBuffer = shapeMainHeader(type, shpWords, box);
    m_shxBuffer = shapeMainHeader(type, shxWords, box);
    return true;
}

bool ShapefileOutput::addRecord(std::int32_t contentWords, const std::string& content)
{
    if (m_failed || m_written >= m_expected) {
        m_failed = true;
        return false;
    }
    ++m_written;
    putBigEndian32(m_shpBuffer, static_cast<std::int32_t>(m_written));
    putBigEndian32(m_shpBuffer, contentWords);
    m_shpBuffer += content;
    putBigEndian32(m_shxBuffer, m_offsetWords);
    putBigEndian32(m_shxBuffer, contentWords);
    m_offsetWords += 4 + contentWords;
    if (m_shpBuffer.size() >= kFlushSize)
        return flushBuffers();
    return true;
}

bool ShapefileOutput::addPoint(double x, double y)
{
    std::string content;
    putI32(content, static_cast<std::int32_t>(ShapeType::Point));
    putF64(content, x);
    putF64(content, y);
    return addRecord(kPointContentWords, content);
}

bool ShapefileOutput::addSegment(double x1, double y1, double x2, double y2)
{
    std::string content;
    putI32(content, static_cast<std::int32_t>(ShapeType::PolyLine));
    putF64(content, std::min(x1, x2));
    putF64(content, std::min(y1, y2));
    putF64(content, std::max(x1, x2));
    putF64(content, std::max(y1, y2));
    putI32(content, 1);  // parts
    putI32(content, 2);  // points
    putI32(content, 0);  // the part starts at the first point
    putF64(content, x1);
    putF64(content, y1);
    putF64(content, x2);
    putF64(content, y2);
    return addRecord(kSegmentContentWords, content);
}

bool ShapefileOutput::flushBuffers()
{
    if (!m_shp.write(m_shpBuffer) || !m_shx.write(m_shxBuffer))
        m_failed = true;
    m_shpBuffer.clear();
    m_shxBuffer.clear();
    return !m_failed;
}

bool ShapefileOutput::prepare()
{
    if (m_failed || m_written != m_expected || !m_shp.isOpen() || !m_shx.isOpen() || !flushBuffers() ||
        !m_shp.prepare() || !m_shx.prepare()) {
        discard();
        return false;
    }
    return true;
}

bool ShapefileOutput::publish()
{
    return publishTogether({&m_shp, &m_shx});
}

void ShapefileOutput::discard()
{
    m_shp.discard();
    m_shx.discard();
    m_shpBuffer.clear();
    m_shxBuffer.clear();
    m_failed = false;
    m_expected = m_written = 0;
}

}  // namespace ovd
