#include "settings_file.h"

#include "numbers.h"
#include "text.h"

namespace ovd {

std::string SettingsFile::readString(std::string_view section, std::string_view key, std::string_view def) const
{
    return m_ini.read(section, key, def);
}

long SettingsFile::readInt(std::string_view section, std::string_view key, long def) const
{
    auto text = m_ini.find(section, key);
    if (!text || text->empty())
        return def;
    // Whole numbers read like atoi: the leading number counts ("3 x" is 3).
    auto v = scanLong(*text);
    return v ? *v : def;
}

double SettingsFile::readDouble(std::string_view section, std::string_view key, double def) const
{
    Outcome<double> v = readDecimal(section, key, def);
    return v ? *v : def;
}

Outcome<double> SettingsFile::readDecimal(std::string_view section, std::string_view key, double def) const
{
    auto text = m_ini.find(section, key);
    if (!text || text->empty())
        return def;
    if (auto v = parseDecimal(*text))
        return *v;
    return Problem::error(cformat("Hodnota \"%s\" klíče %s v sekci [%s] souboru %s není číslo!", text->c_str(),
                                  std::string(key).c_str(), std::string(section).c_str(), path().c_str()));
}

bool SettingsFile::readBool(std::string_view section, std::string_view key, bool def) const
{
    return readInt(section, key, def ? 1 : 0) != 0;
}

bool SettingsFile::writeString(std::string_view section, std::string_view key, std::string_view value,
                               Reporter& reporter) const
{
    if (m_ini.write(section, key, value))
        return true;
    reporter.message(Severity::Error, kCaptionError, kIniWriteFailed);
    return false;
}

bool SettingsFile::writeInt(std::string_view section, std::string_view key, long value, Reporter& reporter) const
{
    return writeString(section, key, std::to_string(value), reporter);
}

bool SettingsFile::writeDouble(std::string_view section, std::string_view key, double value, Reporter& reporter) const
{
    return writeString(section, key, formatDecimal(value), reporter);
}

bool SettingsFile::writeBool(std::string_view section, std::string_view key, bool value, Reporter& reporter) const
{
    return writeString(section, key, value ? "1" : "0", reporter);
}

}  // namespace ovd
