#include "source_list.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "real_text.h"

namespace ovd {

std::optional<std::int32_t> SourceNumbering::next()
{
    if (m_counter + 1 > kMaxAutomaticNumber)
        return std::nullopt;
    ++m_counter;
    return static_cast<std::int32_t>(m_counter);
}

void SourceNumbering::noteNumber(long number)
{
    if (number <= kMaxAutomaticNumber && number > m_counter)
        m_counter = number;
}

void SourceNumbering::setMinNewID(long value)
{
    m_minNewID = value;
    if (m_counter < value)
        m_counter = value;
}

std::optional<long> minNewIDFromText(std::string_view text)
{
    LenientNumber n = readLenient(text);
    if (n.outOfRange)
        return std::nullopt;
    bool out = false;
    std::int32_t v = toInt32(std::fabs(n.value), &out);
    if (out)
        return std::nullopt;
    return std::min<long>(v, kMaxMinNewID);
}

void LineDefaults::remember(const cZdroje& line)
{
    ml = line.Parameters(LineParam::kEmission);
    x2 = line.Parameters(LineParam::kEndX);
    y2 = line.Parameters(LineParam::kEndY);
    width = line.Parameters(LineParam::kWidth);
    height = line.Parameters(LineParam::kHeight);
    alfa = line.Parameters(LineParam::kAlfa);
    hours = line.Parameters(LineParam::kHours);
}

void LineDefaults::apply(cZdroje& line) const
{
    // The next segment starts where the last one ended.
    line.Parameters(LineParam::kEmission, ml);
    line.Parameters(LineParam::kStartX, x2);
    line.Parameters(LineParam::kStartY, y2);
    line.Parameters(LineParam::kEndX, 0);
    line.Parameters(LineParam::kEndY, 0);
    line.Parameters(LineParam::kWidth, width);
    line.Parameters(LineParam::kHeight, height);
    line.Parameters(LineParam::kAlfa, alfa);
    line.Parameters(LineParam::kHours, hours);
}

std::unique_ptr<cZdroje> newSource(int kind, SourceNumbering& numbering, const LineDefaults& defaults)
{
    auto source = createSource(kind);
    if (!source)
        return nullptr;
    auto number = numbering.next();
    if (!number)
        return nullptr;
    source->ICZ(*number);
    if (kind == kLineSource)
        defaults.apply(*source);
    return source;
}

std::vector<std::size_t> findDuplicates(const std::vector<const cZdroje*>& sources)
{
    std::vector<std::size_t> order(sources.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (sources[a]->ICZ() != sources[b]->ICZ())
            return sources[a]->ICZ() < sources[b]->ICZ();
        return sources[a]->TypZdrojeID() < sources[b]->TypZdrojeID();
    });
    std::vector<std::size_t> duplicates;
    const cZdroje* previous = nullptr;
    for (std::size_t i : order) {
        const cZdroje* s = sources[i];
        if (previous && previous->CKU() == s->CKU() && previous->ICZ() == s->ICZ() && previous->Komin() == s->Komin()) {
            duplicates.push_back(i);
            continue;
        }
        previous = s;
    }
    return duplicates;
}

bool computeMiddlePoints(const std::vector<cZdroje*>& selected)
{
    bool changed = false;
    for (cZdroje* s : selected) {
        if (s->TypZdrojeID() != kLineSource)
            continue;
        std::int32_t x = 0, y = 0;
        if (!middlePoint(s->Parameters(LineParam::kStartX), s->Parameters(LineParam::kStartY),
                         s->Parameters(LineParam::kEndX), s->Parameters(LineParam::kEndY), x, y))
            continue;
        if (Coordinate::whole(x) != s->coordinateX() || Coordinate::whole(y) != s->coordinateY()) {
            s->x(x);
            s->Y(y);
            changed = true;
        }
    }
    return changed;
}

std::string clipboardText(const std::vector<const cZdroje*>& sources)
{
    std::string text;
    for (const cZdroje* s : sources)
        text += zeroPadded(s->ICZ(), 9) + "\t" + s->NazevZdroje() + "\r\n";
    return text;
}

}  // namespace ovd
