#include "parameters.h"

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

bool readParamFlag(const SettingsFile& f, const ParamInfo& p)
{
    return f.readInt(p.section, p.key, scanLong(p.def).value_or(0)) == 1;
}

bool writeParamText(const SettingsFile& f, const ParamInfo& p, std::string_view value, Reporter& r)
{
    return f.writeString(p.section, p.key, value, r);
}

bool writeParamInt(const SettingsFile& f, const ParamInfo& p, long value, Reporter& r)
{
    return f.writeInt(p.section, p.key, value, r);
}

bool writeParamDouble(const SettingsFile& f, const ParamInfo& p, double value, Reporter& r)
{
    if (p.write == ParamWrite::Fixed)
        return f.writeString(p.section, p.key, cformat("%lf", value), r);
    return f.writeDouble(p.section, p.key, value, r);
}

bool writeParamFlag(const SettingsFile& f, const ParamInfo& p, bool value, Reporter& r)
{
    return f.writeBool(p.section, p.key, value, r);
}

const ParamInfo* findParam(std::span<const ParamInfo> params, std::string_view key)
{
    for (const ParamInfo& p : params)
        if (p.key == key)
            return &p;
    return nullptr;
}

}  // namespace ovd
