#include "profile.h"

#include <cstdlib>
#include <filesystem>

#include "numbers.h"
#include "paths.h"
#include "platform.h"

namespace ovd {

std::string Profile::locate(const std::string& explicitPath)
{
    if (!explicitPath.empty())
        return explicitPath;
    if (std::optional<std::string> env = environmentValue("OVARDIX_PROFILE"); env && !env->empty())
        return *env;
    std::string base = settingsBaseFolder().value_or(tempFolder());
    if (base.back() != '/')
        base.push_back('/');
    return base + "ovardix/ovardix.ini";
}

Profile Profile::openDefault(const std::string& explicitPath)
{
    std::string path = locate(explicitPath);
    std::string folder = folderOf(path);
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(fsPath(folder), ec);
    }
    return Profile(path);
}

Profile::Placement Profile::placement() const
{
    Placement p;
    p.x = readInt("MainFrame", "x", p.x);
    p.y = readInt("MainFrame", "y", p.y);
    p.cx = readInt("MainFrame", "cx", p.cx);
    p.cy = readInt("MainFrame", "cy", p.cy);
    return p;
}

bool Profile::savePlacement(const Placement& p, Reporter& reporter) const
{
    bool ok = writeInt("MainFrame", "x", p.x, reporter);
    ok = writeInt("MainFrame", "y", p.y, reporter) && ok;
    ok = writeInt("MainFrame", "cx", p.cx, reporter) && ok;
    return writeInt("MainFrame", "cy", p.cy, reporter) && ok;
}

}  // namespace ovd

namespace ovd {

static const char* const kSpeedKeys[3] = {"Rychlost1", "Rychlost2", "Rychlost3"};

Profile::WindSpeeds Profile::windSpeeds() const
{
    WindSpeeds w;
    for (int i = 0; i < 3; ++i)
        w.speed[i] = readDouble("RychlostRuzice", kSpeedKeys[i], w.speed[i]);
    return w;
}

Outcome<Profile::WindSpeeds> Profile::checkedWindSpeeds() const
{
    WindSpeeds w;
    for (int i = 0; i < 3; ++i) {
        Outcome<double> v = readDecimal("RychlostRuzice", kSpeedKeys[i], w.speed[i]);
        if (!v)
            return v.problem();
        w.speed[i] = *v;
    }
    return w;
}

bool Profile::saveWindSpeeds(const WindSpeeds& w, Reporter& reporter) const
{
    bool ok = true;
    for (int i = 0; i < 3; ++i)
        ok = writeString("RychlostRuzice", kSpeedKeys[i], cformat("%lf", w.speed[i]), reporter) && ok;
    return ok;
}

}  // namespace ovd
