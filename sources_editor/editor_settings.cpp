#include "editor_settings.h"

#include <algorithm>

#include "common/numbers.h"
#include "common/paths.h"
#include "common/profile.h"
#include "source_list.h"

namespace ovd {

namespace {

using Self = EditorSettings;

// A switch stored as a whole number: any number but 0 is on, a text that is none the default.
template <bool Self::*Flag> long switchValue(const Self& s)
{
    return s.*Flag ? 1 : 0;
}
template <bool Self::*Flag> void setSwitch(Self& s, long v)
{
    s.*Flag = v != 0;
}
template <bool Self::*Flag> constexpr IntAccess<Self> kSwitch{switchValue<Flag>, setSwitch<Flag>};

// The first number a new source gets, kept within what the numbering can give.
constexpr IntAccess<Self> kMinNewID{[](const Self& s) { return s.minNewID; },
                                    [](Self& s, long v) { s.minNewID = v < 0 ? 0 : std::min(v, kMaxMinNewID); }};

}  // namespace

const std::vector<Param<EditorSettings>> EditorSettings::kParams = declare<Self>({
    inSection("Soubory",
              {key("LastPathFile:1", &Self::lastPoints), key("LastPathFile:2", &Self::lastDescription),
               key("LastPathFile:3", &Self::lastDust), key("ZdrojeBezPopisu", kSwitch<&Self::zdrojeBezPopisu>, "1"),
               key("SouborSkupinPrachu", &Self::souborSkupinPrachu)}),
    inSection("Tabulky", {key("Tab1Sl1", &Self::tab1Sl1, "1755"), key("Tab1Sl2", &Self::tab1Sl2, "3360")}),
    inSection("Ostatni",
              {key("MinNewID", kMinNewID, "50000"), key("AutoCalcXY", kSwitch<&Self::autoCalcXY>, "0"),
               key("TlakVzduchu", &Self::tlakVzduchu, "101325"), key("NoPrach", kSwitch<&Self::noPrach>, "1")}),
});

EditorSettings EditorSettings::load(const SettingsFile& f)
{
    return loadSettings<EditorSettings>(f);
}

bool EditorSettings::save(const SettingsFile& f, Reporter& r) const
{
    return saveSettings(*this, f, r);
}

std::string editorSettingsPath()
{
    return folderOf(Profile::locate()) + "xovrzdr.ini";
}

std::string lastDialogPath(const SettingsFile& f, int kind)
{
    return f.readString("FileDialog", "LastPathFile:" + std::to_string(kind));
}

bool saveDialogPath(const SettingsFile& f, int kind, const std::string& path, Reporter& r)
{
    return f.writeString("FileDialog", "LastPathFile:" + std::to_string(kind), path, r);
}

WindowGeometry loadFormGeometry(const SettingsFile& f, const std::string& name)
{
    const std::string section = "Form:" + name;
    WindowGeometry g;
    g.top = f.readInt(section, "Top");
    g.left = f.readInt(section, "Left");
    g.width = f.readInt(section, "Width");
    g.height = f.readInt(section, "Height");
    g.windowState = f.readInt(section, "WindowState");
    g.stored = g.width > 0 && g.height > 0;
    return g;
}

bool saveFormGeometry(const SettingsFile& f, const std::string& name, const WindowGeometry& g, Reporter& r)
{
    const std::string section = "Form:" + name;
    // Each key is written even when one before it failed.
    bool ok = f.writeInt(section, "Top", g.top, r);
    ok = f.writeInt(section, "Left", g.left, r) && ok;
    ok = f.writeInt(section, "Width", g.width, r) && ok;
    ok = f.writeInt(section, "Height", g.height, r) && ok;
    return f.writeInt(section, "WindowState", g.windowState, r) && ok;
}

WindowGeometry loadSubFormGeometry(const SettingsFile& f, const std::string& name)
{
    const std::string section = "SubForm:" + name;
    WindowGeometry g;
    g.stored = f.ini().find(section, "RelTop").has_value();
    g.top = f.readInt(section, "RelTop");
    g.left = f.readInt(section, "RelLeft");
    g.width = f.readInt(section, "Width");
    g.height = f.readInt(section, "Height");
    return g;
}

bool saveSubFormGeometry(const SettingsFile& f, const std::string& name, const WindowGeometry& g, bool withSize,
                         Reporter& r)
{
    const std::string section = "SubForm:" + name;
    bool ok = f.writeInt(section, "RelTop", g.top, r);
    ok = f.writeInt(section, "RelLeft", g.left, r) && ok;
    if (withSize) {
        ok = f.writeInt(section, "Width", g.width, r) && ok;
        ok = f.writeInt(section, "Height", g.height, r) && ok;
    }
    return ok;
}

}  // namespace ovd
