#include "editor_settings.h"

#include <cmath>
#include <limits>

#include "common/numbers.h"
#include "common/paths.h"
#include "common/profile.h"
#include "source_list.h"

namespace ovd {

EditorSettings EditorSettings::load(const SettingsFile& f)
{
    EditorSettings s;
    s.lastPoints = f.readString("Soubory", "LastPathFile:1");
    s.lastDescription = f.readString("Soubory", "LastPathFile:2");
    s.lastDust = f.readString("Soubory", "LastPathFile:3");
    s.zdrojeBezPopisu = f.readBool("Soubory", "ZdrojeBezPopisu", true);
    s.souborSkupinPrachu = f.readString("Soubory", "SouborSkupinPrachu");
    s.tab1Sl1 = f.readInt("Tabulky", "Tab1Sl1", 1755);
    s.tab1Sl2 = f.readInt("Tabulky", "Tab1Sl2", 3360);
    const long minNewID = f.readInt("Ostatni", "MinNewID", 50000);
    s.minNewID = minNewID < 0 ? 0 : std::min(minNewID, kMaxMinNewID);
    s.autoCalcXY = f.readInt("Ostatni", "AutoCalcXY", 0) != 0;
    const double p = f.readDouble("Ostatni", "TlakVzduchu", 101325);
    s.tlakVzduchu =
        std::fabs(p) <= static_cast<double>(std::numeric_limits<float>::max()) ? static_cast<float>(p) : 101325.0f;
    s.noPrach = f.readInt("Ostatni", "NoPrach", 1) != 0;
    return s;
}

bool EditorSettings::save(const SettingsFile& f, Reporter& r) const
{
    return f.writeString("Soubory", "LastPathFile:1", lastPoints, r) &&
        f.writeString("Soubory", "LastPathFile:2", lastDescription, r) &&
        f.writeString("Soubory", "LastPathFile:3", lastDust, r) &&
        f.writeBool("Soubory", "ZdrojeBezPopisu", zdrojeBezPopisu, r) &&
        f.writeString("Soubory", "SouborSkupinPrachu", souborSkupinPrachu, r) &&
        f.writeInt("Tabulky", "Tab1Sl1", tab1Sl1, r) && f.writeInt("Tabulky", "Tab1Sl2", tab1Sl2, r) &&
        f.writeInt("Ostatni", "MinNewID", minNewID, r) && f.writeInt("Ostatni", "AutoCalcXY", autoCalcXY ? 1 : 0, r) &&
        f.writeString("Ostatni", "TlakVzduchu", formatDecimal(tlakVzduchu), r) &&
        f.writeInt("Ostatni", "NoPrach", noPrach ? 1 : 0, r);
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
    return f.writeInt(section, "Top", g.top, r) && f.writeInt(section, "Left", g.left, r) &&
        f.writeInt(section, "Width", g.width, r) && f.writeInt(section, "Height", g.height, r) &&
        f.writeInt(section, "WindowState", g.windowState, r);
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
    bool ok = f.writeInt(section, "RelTop", g.top, r) && f.writeInt(section, "RelLeft", g.left, r);
    if (ok && withSize)
        ok = f.writeInt(section, "Width", g.width, r) && f.writeInt(section, "Height", g.height, r);
    return ok;
}

}  // namespace ovd
