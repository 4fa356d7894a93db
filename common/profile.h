#pragma once
// The per-user application profile of the main program: window placement ("MainFrame"),
// the wind speeds of the speed classes ("RychlostRuzice") and the substance list ("Latky").
#include <string>

#include "settings_file.h"

namespace ovd {

class Profile : public SettingsFile {
public:
    explicit Profile(std::string path)
        : SettingsFile(std::move(path))
    { }
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

    // Wind speeds (m/s at 10 m) of the speed classes 1, 2, 3: "RychlostRuzice",
    // "Rychlost1".."Rychlost3", defaults 1.7, 5.0, 11.0; written back with "%lf".
    struct WindSpeeds {
        double speed[3] = {1.7, 5.0, 11.0};
    };
    WindSpeeds windSpeeds() const;
    // The same as a run takes them: a speed that is not a number is refused, naming its key.
    Outcome<WindSpeeds> checkedWindSpeeds() const;
    bool saveWindSpeeds(const WindSpeeds&, Reporter&) const;
};

}  // namespace ovd
