#pragma once
// Typed reading and writing of string settings in an initialisation file. An empty or
// missing value gives the default. Whole numbers read like atoi; a real quantity that is
// not one number as a whole gives the default to a lenient reader, and to a checked one the
// problem naming its file, section and key, so that the tool can refuse to run on it. Every
// failed write is reported once ("Nepodařilo se zapsat do ini souboru").
#include <optional>
#include <string>
#include <string_view>

#include "ini_file.h"
#include "outcome.h"
#include "reporter.h"

namespace ovd {

inline constexpr std::string_view kIniWriteFailed = "Nepodařilo se zapsat do ini souboru";

class SettingsFile {
public:
    explicit SettingsFile(std::string path = {})
        : m_ini(std::move(path))
    { }
    const std::string& path() const { return m_ini.path(); }
    const IniFile& ini() const { return m_ini; }

    std::string readString(std::string_view section, std::string_view key, std::string_view def = {}) const;
    long readInt(std::string_view section, std::string_view key, long def = 0) const;
    // A decimal comma reads as the decimal point it means ("3,5" is 3.5).
    double readDouble(std::string_view section, std::string_view key, double def = 0) const;
    // The same, refusing a value that is not a number with a message naming it.
    Outcome<double> readDecimal(std::string_view section, std::string_view key, double def = 0) const;
    bool readBool(std::string_view section, std::string_view key, bool def = false) const;

    bool writeString(std::string_view section, std::string_view key, std::string_view value, Reporter&) const;
    bool writeInt(std::string_view section, std::string_view key, long value, Reporter&) const;
    bool writeDouble(std::string_view section, std::string_view key, double value, Reporter&) const;
    bool writeBool(std::string_view section, std::string_view key, bool value, Reporter&) const;

protected:
    void setPath(std::string path) { m_ini = IniFile(std::move(path)); }

private:
    IniFile m_ini;
};

}  // namespace ovd
