#include "source.h"

#include <cassert>

#include "real_text.h"

namespace ovd {

EditorSourceBase::EditorSourceBase(const Kind& kind)
    : m_kind(kind)
    , m_parameters(static_cast<std::size_t>(kind.parameterCount), 0.0f)
{ }

void EditorSourceBase::ICZ(std::int32_t number)
{
    m_number = number;
    m_name = TypZdroje() + " " + std::to_string(number);
}

std::string EditorSourceBase::LineSource() const
{
    return zeroPadded(m_number, 9) + ", " + m_x.written(7) + ", " + m_y.written(7) + ", " + m_z.written(4) +
        ", " + std::to_string(typeDigit()) + ", " + std::to_string(m_cluster) + ", " + std::to_string(m_group) + " ;" +
        m_name;
}

void EditorSourceBase::LineSource(std::string_view line)
{
    const auto fields = splitFields(line, ',');
    bool out = false;
    m_number = readLenientInt(fieldAt(fields, 1), &out);
    m_x = Coordinate::read(fieldAt(fields, 2), &out);
    m_y = Coordinate::read(fieldAt(fields, 3), &out);
    m_z = Coordinate::read(fieldAt(fields, 4), &out);
    m_cluster = readLenientInt(fieldAt(fields, 6), &out);
    m_group = readLenientInt(fieldAt(fields, 7), &out);
    if (out)
        ++m_outOfRange;
    const auto parts = splitFields(line, ';');
    m_name = parts.size() > 1 ? std::string(parts[1]) : std::string();
}

std::string EditorSourceBase::LineParameters() const
{
    std::string line = zeroPadded(m_number, 9);
    for (float p : m_parameters)
        line += ", " + formatReal(p);
    for (int i = parameterCount(); i < writtenValueCount(); ++i)
        line += ", 0";
    return line;
}

void EditorSourceBase::LineParameters(std::string_view line)
{
    // Text after the semicolon is a remark, never a value.
    line = line.substr(0, line.find(';'));
    const auto fields = splitFields(line, ',');
    bool out = false;
    for (std::size_t i = 0; i < m_parameters.size(); ++i)
        m_parameters[i] = readLenientFloat(fieldAt(fields, i + 2), &out);
    if (out)
        ++m_outOfRange;
}

std::string EditorSourceBase::LineDust() const
{
    return zeroPadded(m_number, 9);
}

std::string cBodovyZdroj::LineDust() const
{
    return zeroPadded(ICZ(), 9) + "," + Prach();
}

float EditorSourceBase::Parameters(int i) const
{
    assert(i >= 0 && i < parameterCount());
    if (i < 0 || i >= parameterCount())
        return 0;
    return m_parameters[static_cast<std::size_t>(i)];
}

void EditorSourceBase::Parameters(int i, float value)
{
    assert(i >= 0 && i < parameterCount());
    if (i < 0 || i >= parameterCount())
        return;
    m_parameters[static_cast<std::size_t>(i)] = value;
}

void EditorSourceBase::finishEdit(bool ok, const SourceEdit& values)
{
    m_editOk = ok;
    if (!ok)
        return;
    m_name = values.name;
    m_x = values.x;
    m_y = values.y;
    m_z = values.z;
    m_cluster = values.cluster;
    m_group = values.group;
    for (std::size_t i = 0; i < m_parameters.size() && i < values.parameters.size(); ++i)
        m_parameters[i] = values.parameters[i];
    m_dust = values.dust;
}

int EditorSourceBase::takeOutOfRangeCount()
{
    int n = m_outOfRange;
    m_outOfRange = 0;
    return n;
}

std::unique_ptr<cZdroje> createSource(int kind)
{
    switch (kind) {
    case kPointSource: return std::make_unique<cBodovyZdroj>();
    case kAreaSource: return std::make_unique<cPlosnyZdroj>();
    case kLineSource: return std::make_unique<cLiniovyZdroj>();
    default: return nullptr;
    }
}

bool middlePoint(float x1, float y1, float x2, float y2, std::int32_t& x, std::int32_t& y)
{
    bool out = false;
    std::int32_t mx = toInt32((static_cast<double>(x1) + x2) * 0.5, &out);
    std::int32_t my = toInt32((static_cast<double>(y1) + y2) * 0.5, &out);
    if (out)
        return false;
    x = mx;
    y = my;
    return true;
}

}  // namespace ovd
