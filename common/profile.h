#pragma once
// The per-user application profile of the main program: window placement ("MainFrame"),
// the wind speeds of the speed classes ("RychlostRuzice") and the substance list ("Latky").
#include <string>

#include "settings_file.h"

namespace ovd {

class Profile : public SettingsFile {
public:
    explicit Profile(std::string path) : SettingsFile(std::move(path)) {}
    // The given path when not empty, else $OVARDIX_PROFILE, else
    // $XDG_CONFIG_HOME/ovardix/ovardix.ini (~/.config when unset).
    static std::string locate(const std::string& explicitPath = {});
    // A profile whose folder exists, so the first write can create the file.
    static Profile openDefault(const std::string& explicitPath = {});

    struct Placement {
        long x = 100, y = 100, cx = 500, cy = 250;
    };
    Placement placement() const;
    bool savePlacement(const Placement&, Reporter&) const;
};

}  // namespace ovd
