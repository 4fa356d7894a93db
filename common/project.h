#pragma once
// The project settings file: the main program's document. A project never saved lives
// in a temporary file "OVD_..." and is untitled.
#include <optional>
#include <string>

#include "settings_file.h"

namespace ovd {

class Project : public SettingsFile {
public:
    Project() = default;
    // Opens an existing or new project file at this path (created on the first write).
    static Project open(const std::string& path);
    // A new untitled project in the temporary folder; nullopt when no file can be made.
    static std::optional<Project> createUntitled(const std::string& folder = {});

    bool untitled() const { return m_untitled; }
    // "Bez názvu - Ovardix", or the path followed by " - Ovardix".
    std::string windowTitle() const;

    enum class SaveResult { Saved, Declined, Failed };
    // Asks before overwriting another existing file, copies the whole file byte for byte,
    // and makes the copy the project. Saving onto the project's own path changes nothing.
    SaveResult saveAs(const std::string& target, Reporter&);

private:
    bool m_untitled = false;
};

}  // namespace ovd
