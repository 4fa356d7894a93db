#include "input_lines.h"

#include "common/numbers.h"

namespace ovd {

namespace {

constexpr long kInt16Min = -32768, kInt16Max = 32767;

std::string prefix(const char* fmt, long lineNumber)
{
    return cformat(fmt, lineNumber);
}

bool missing(double v)
{
    return v == kMissingReal;
}
bool missing(long v)
{
    return v == kMissingWhole;
}

// The first of the line's number and X and Y out of range, as the checks name it; empty
// when all three are in range.
std::string numberOrPlaceError(long number, double x, double y, const char* numberName)
{
    if (number < 0 || missing(number))
        return cformat("%s : %ld - mimo povolený rozsah", numberName, number);
    if (missing(x))
        return "X-souřadnice mimo povolený rozsah";
    if (missing(y))
        return "Y-souřadnice mimo povolený rozsah";
    return {};
}

// The verdict of a line whose fields read: out of range with the message, when there is one.
LineVerdict rangeVerdict(const std::string& pre, const std::string& msg)
{
    LineVerdict v;
    if (!msg.empty()) {
        v.correctness = Correctness::OutOfRange;
        v.messages.push_back(pre + msg);
    }
    return v;
}

// Checks a line of points or of source coordinates: its separators, then its number and
// place, then what `others` says of the remaining fields ("" when they are in range).
template <class Parse, class Others>
LineVerdict checkPlacedLine(std::string_view line, long lineNumber, const char* where, int separators,
                            const char* numberName, Parse parse, Others others)
{
    std::string pre = prefix(where, lineNumber);
    if (auto v = syntaxVerdict(line, separators, separators, pre))
        return *v;
    const auto record = parse(line);
    std::string msg = numberOrPlaceError(record.number, record.x, record.y, numberName);
    if (msg.empty())
        msg = others(record);
    return rangeVerdict(pre, msg);
}

}  // namespace

ReferencePoint PointLine::record() const
{
    return ReferencePoint{static_cast<std::int32_t>(number), x, y, z, l};
}

PointLine parsePointLine(std::string_view line)
{
    PointLine p;
    FieldScanner s(line);
    p.number = s.whole();
    s.reals({&p.x, &p.y, &p.z, &p.l});
    p.complete = s.ok();
    return p;
}

LineVerdict checkPointLine(std::string_view line, long lineNumber)
{
    return checkPlacedLine(
        line, lineNumber, "Řádek %ld souboru s referenčními body : ", 4, "číslo referenčního bodu", parsePointLine,
        [](const PointLine& p) { return missing(p.z) || missing(p.l) ? "Z,L-souřadnice mimo povolený rozsah" : ""; });
}

CoordinateLine parseCoordinateLine(std::string_view line)
{
    CoordinateLine c;
    FieldScanner s(line);
    c.number = s.whole();
    s.reals({&c.x, &c.y, &c.z});
    if (s.separator())
        c.type = s.whole(kInt16Min, kInt16Max);
    if (s.separator())
        c.cluster = s.whole();
    if (s.separator())
        c.group = s.whole();
    c.complete = s.ok();
    return c;
}

LineVerdict checkCoordinateLine(std::string_view line, long lineNumber)
{
    return checkPlacedLine(line, lineNumber, "Řádek %ld souboru se souřadnicemi : ", 6, "číslo zdroje",
                           parseCoordinateLine, [](const CoordinateLine& c) {
                               return missing(c.z)            ? "Z-souřadnice mimo povolený rozsah"
                                   : c.type < 1 || c.type > 3 ? "Typ zdroje mimo povolený rozsah"
                                   : missing(c.cluster) || missing(c.group)
                                   ? "Indikace shluku/skupiny mimo povolený rozsah"
                                   : "";
                           });
}

DescriptionLine parseDescriptionLine(std::string_view line)
{
    DescriptionLine d;
    d.values.fill(kMissingReal);
    FieldScanner s(line);
    d.number = s.whole();
    for (double& value : d.values)
        if (s.separator())
            value = s.real();
    d.complete = s.ok();
    return d;
}

double normalFlueGasVolume(double diameter, double velocity, double temperature)
{
    return diameter * diameter * 3.14159265359 * 0.25 * velocity * 273.15 / (temperature + 273.15) * 101325 *
        9.869232667160129e-06;
}

LineVerdict checkDescriptionLine(std::string_view line, long lineNumber, std::optional<long> sourceType)
{
    std::string pre = prefix("Řádek %ld souboru s popisem : ", lineNumber);
    if (auto v = syntaxVerdict(line, 9, 10, pre))
        return *v;
    LineVerdict v;
    DescriptionLine d = parseDescriptionLine(line);
    if (d.number < 0 || !d.complete) {
        // A line that cannot be read always says so in the result list.
        v.correctness = Correctness::OutOfRange;
        v.messages.push_back(pre + "některý z parametrů mimo povolený rozsah");
        return v;
    }
    if (!sourceType) {
        v.correctness = Correctness::NoLink;
        return v;
    }
    const auto& x = d.values;
    if (*sourceType == kLineSource) {
        const double alfa = x[LineParam::kAlfa];
        bool ok = x[LineParam::kWidth] <= 100 && x[LineParam::kHeight] <= 10 && alfa >= 0 && alfa <= 1 &&
            x[LineParam::kHours] <= 24;
        if (!ok)
            v.messages.push_back(pre + "jeden parametrů X0el,Y0el,Alfa,Y0 mimo rozsah");
    } else {
        double height = x[StackParam::kHeight], vs = x[StackParam::kGasFlow], ts = x[StackParam::kTemperature],
               d0 = x[StackParam::kDiameter], w0 = x[StackParam::kExitVelocity], alfa = x[StackParam::kAlfa],
               pd = x[StackParam::kHours];
        if (height > 500) {
            v.messages.push_back(pre + "parametr H - výška komína mimo rozsah <0 - 500>");
        } else {
            if (ts > 350)
                v.messages.push_back(pre + "parametr ts - teplota spalin mimo rozsah <0 - 350>");
            if (d0 > 15)
                v.messages.push_back(pre + "parametr d - průměr komína mimo rozsah <0 - 15>");
            if (w0 > 100)
                v.messages.push_back(pre + "parametr w0 - výstupní rychlost mimo rozsah <0 - 100>");
            if (alfa < 0 || alfa > 1)
                v.messages.push_back(pre + "parametr alfa - rel. roční využití mimo rozsah <0 - 1>");
            if (pd > 24)
                v.messages.push_back(pre + "parametr Pd - počet hodin mimo rozsah <0 - 24>");
            if (vs > 2 * normalFlueGasVolume(d0, w0, ts))
                v.messages.push_back(pre + "parametr Vs - objem spalin mimo rozsah <zavislost na d,w0,ts>");
        }
    }
    if (!v.messages.empty())
        v.correctness = Correctness::OutOfRange;
    return v;
}

DustLine parseDustLine(std::string_view line)
{
    DustLine d;
    FieldScanner s(line);
    d.number = s.whole();
    d.numberOnly = s.ok() && commaCount(line) == 0;
    if (s.separator())
        d.density = s.real();
    if (s.separator())
        d.group = s.whole(kInt16Min, kInt16Max);
    d.complete = s.ok();
    return d;
}

ExpandedDust parseExpandedDust(std::string_view text)
{
    ExpandedDust e;
    FieldScanner s(text);
    e.number = s.whole();
    if (s.separator())
        e.density = s.real();
    if (s.separator())
        e.group = s.whole();
    if (s.separator())
        e.count = s.whole(0, 2147483647L);
    if (!s.ok())
        return e;
    for (long i = 0; i < e.count; ++i) {
        double pair[2];
        for (double& value : pair) {
            s.skipBlanks();
            if (!s.separator())
                return e;
            value = s.real();
            if (!s.atValueEnd())
                return e;
        }
        e.fractions.push_back({pair[0], pair[1]});
    }
    e.complete = true;
    return e;
}

std::optional<std::string> findDustGroupLine(const std::vector<std::string>& groupLines, long group)
{
    for (const std::string& line : groupLines) {
        auto n = recordNumber(line);
        if (n && *n == group)
            return line;
    }
    return std::nullopt;
}

std::string expandDustLine(std::string_view dustLine, const DustLine& parsed,
                           const std::vector<std::string>& groupLines)
{
    std::string out(dustLine);
    if (parsed.group == 0)
        return out;
    auto groupLine = findDustGroupLine(groupLines, parsed.group);
    if (!groupLine)
        return out;
    std::size_t comma = groupLine->find(',');
    if (comma != std::string::npos)
        out += groupLine->substr(comma);
    return out;
}

std::optional<LineVerdict> checkDustLine(std::string_view line, long lineNumber,
                                         const std::vector<std::string>& groupLines)
{
    std::string pre = prefix("Řádek %ld souboru s popisem prachu : ", lineNumber);
    LineVerdict v;
    if (isCommentLine(line)) {
        v.lineClass = LineClass::Comment;
        return v;
    }
    if (commaCount(line) < 2)
        return std::nullopt;
    DustLine d = parseDustLine(line);
    ExpandedDust e;
    std::string expanded;
    if (d.complete && d.number >= 0) {
        expanded = expandDustLine(line, d, groupLines);
        e = parseExpandedDust(expanded);
    }
    if (!d.complete || d.number < 0 || missing(e.count) || e.count < 0) {
        v.correctness = Correctness::OutOfRange;
        v.messages.push_back(pre + "některý z parametrů mimo povolený rozsah");
        return v;
    }
    // A count may be up to 2^31 - 1: counted in 64 bits, where a long has 32 (Windows).
    const long long commas = commaCount(expanded);
    const long long expected = 2LL * e.count + 3;
    if (commas > expected) {
        v.correctness = Correctness::Extra;
        v.messages.push_back(pre + "zadán nadbytečný počet vstupních parametrů");
    } else if (commas < expected) {
        v.correctness = Correctness::Missing;
        v.messages.push_back(pre + "zadán nedostatečný počet vstupních parametrů");
    } else if (!e.complete) {
        v.correctness = Correctness::OutOfRange;
        v.messages.push_back(pre + "některý z parametrů mimo povolený rozsah");
    }
    return v;
}

}  // namespace ovd
