#include "parameters.h"

#include <cmath>
#include <limits>

#include "numbers.h"

namespace ovd {

std::string readParamText(const SettingsFile& f, const ParamInfo& p)
{
    return f.readString(p.section, p.key, p.def);
}

long readParamInt(const SettingsFile& f, const ParamInfo& p)
{
    return f.readInt(p.section, p.key, scanLong(p.def).value_or(0));
}

double readParamDouble(const SettingsFile& f, const ParamInfo& p)
{
    return f.readDouble(p.section, p.key, parseDecimal(p.def).value_or(0.0));
}

Outcome<double> readParamDecimal(const SettingsFile& f, const ParamInfo& p)
{
    return f.readDecimal(p.section, p.key, parseDecimal(p.def).value_or(0.0));
}

bool readParamFlag(const SettingsFile& f, const ParamInfo& p)
{
    return f.readInt(p.section, p.key, scanLong(p.def).value_or(0)) == 1;
}

float floatOrDefault(double v, const ParamInfo& p)
{
    if (std::fabs(v) <= static_cast<double>(std::numeric_limits<float>::max()))
        return static_cast<float>(v);
    return static_cast<float>(parseDecimal(p.def).value_or(0.0));
}

std::string wholeText(long v)
{
    return std::to_string(v);
}

std::string decimalText(double v, const ParamInfo& p)
{
    return p.write == ParamWrite::Fixed ? cformat("%lf", v) : formatDecimal(v);
}

const ParamInfo* findParam(std::span<const ParamInfo> params, std::string_view key)
{
    for (const ParamInfo& p : params)
        if (p.key == key)
            return &p;
    return nullptr;
}

}  // namespace ovd
