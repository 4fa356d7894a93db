#pragma once
// A tool's settings as its start button takes them: a real value that is not a number
// refuses the run (with a message naming the key), so nothing is computed with a default
// that the user did not choose.
#include <optional>

#include "common/reporter.h"
#include "common/settings_file.h"

namespace ovd {

template <class Settings, class Source>
std::optional<Settings> loadCheckedSettings(const Source& file, Reporter& reporter)
{
    file.takeUnreadableValue();  // what earlier readers left is not this tool's
    Settings settings = loadSettings<Settings>(file);
    if (file.refuseUnreadableValue(reporter))
        return std::nullopt;
    return settings;
}

}  // namespace ovd
