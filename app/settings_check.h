#pragma once
// A tool's settings as its start button takes them: a real value that is not a number
// refuses the run (with a message naming the key), so nothing is computed with a default
// that the user did not choose.
#include <optional>

#include "common/parameters.h"
#include "common/reporter.h"

namespace ovd {

template <class Settings> std::optional<Settings> loadCheckedSettings(const SettingsFile& file, Reporter& reporter)
{
    Outcome<Settings> settings = readSettings<Settings>(file);
    if (!settings) {
        settings.problem().report(reporter);
        return std::nullopt;
    }
    return std::move(*settings);
}

}  // namespace ovd
