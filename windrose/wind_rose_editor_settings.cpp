#include "wind_rose_editor_settings.h"

#include "common/numbers.h"
#include "common/paths.h"
#include "common/profile.h"
#include "common/settings_file.h"
#include "common/text.h"

namespace ovd {

namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;

std::string flags(std::string stored, std::size_t count)
{
    stored.resize(count, '0');
    for (char& c : stored)
        if (c != '1')
            c = '0';
    return stored;
}

void setFlag(std::string& text, int index, std::size_t count, bool shown)
{
    text = flags(text, count);
    if (index >= 0 && static_cast<std::size_t>(index) < count)
        text[static_cast<std::size_t>(index)] = shown ? '1' : '0';
}

std::string number(long v)
{
    return std::to_string(v);
}
std::string flag(bool v)
{
    return v ? "1" : "0";
}

}  // namespace

std::string WindRoseEditorSettings::locate()
{
    return folderOf(Profile::locate()) + "xovrruz.ini";
}

WindRoseEditorSettings WindRoseEditorSettings::load(const std::string& path)
{
    SettingsFile f(path);
    WindRoseEditorSettings s;
    s.top = f.readInt("Form", "Top", s.top);
    s.left = f.readInt("Form", "Left", s.left);
    s.width = f.readInt("Form", "Width", s.width);
    s.height = f.readInt("Form", "Height", s.height);
    s.openPath = f.readString("Form", "OpenPath");
    s.savePath = f.readString("Form", "SavePath");
    s.colWidth0 = f.readInt("Table", "ColWidth_0", s.colWidth0);
    s.colWidth10 = f.readInt("Table", "ColWidth_10", s.colWidth10);
    s.colorText = f.readInt("Table", "ColorText", s.colorText);
    s.colorSum = f.readInt("Table", "ColorSum", s.colorSum);
    s.colorErr = f.readInt("Table", "ColorErr", s.colorErr);
    s.colorRozpocet = f.readInt("Table", "ColorRozpocet", s.colorRozpocet);
    std::string safe = f.readString("Table", "SafeSave");
    if (!safe.empty())
        s.safeSave = !equalsIgnoreCase(safe, "false") && safe != "0";
    s.editFont = f.readString("Table", "EditFont", s.editFont);
    s.recount = f.readString("Table", "Recount");
    s.backColor = f.readInt("Graf", "BackColor", s.backColor);
    s.rasterColor = f.readInt("Graf", "RasterColor", s.rasterColor);
    s.drawColor = f.readInt("Graf", "DrawColor", s.drawColor);
    s.drawWidth = f.readInt("Graf", "DrawWidth", s.drawWidth);
    std::string visible = f.readString("Graf", "Visible");
    if (!visible.empty())
        s.visible = !equalsIgnoreCase(visible, "false") && visible != "0";
    s.tridyVetru = flags(f.readString("Graf", "TridyVetru", s.tridyVetru), 5);
    s.rychlostiVetru = flags(f.readString("Graf", "RychlostiVetru", s.rychlostiVetru), 3);
    s.colorRychlostVetru = f.readInt("Graf", "ColorRychlostVetru", s.colorRychlostVetru);
    s.colorTridaiVetru = f.readInt("Graf", "ColorTridaiVetru", s.colorTridaiVetru);
    s.methodOfAproximation = f.readInt("Graf", "MethodOfAproximation", s.methodOfAproximation);
    return s;
}

bool WindRoseEditorSettings::save(const std::string& path, Reporter& reporter) const
{
    IniFile ini(path);
    Keys form = {{"Top", number(top)},       {"Left", number(left)}, {"Width", number(width)},
                 {"Height", number(height)}, {"OpenPath", openPath}, {"SavePath", savePath}};
    Keys table = {{"ColWidth_0", number(colWidth0)},
                  {"ColWidth_10", number(colWidth10)},
                  {"ColorText", number(colorText)},
                  {"ColorSum", number(colorSum)},
                  {"ColorErr", number(colorErr)},
                  {"ColorRozpocet", number(colorRozpocet)},
                  {"SafeSave", flag(safeSave)},
                  {"EditFont", editFont},
                  {"Recount", recount}};
    Keys graf = {{"BackColor", number(backColor)},
                 {"RasterColor", number(rasterColor)},
                 {"DrawColor", number(drawColor)},
                 {"DrawWidth", number(drawWidth)},
                 {"Visible", flag(visible)},
                 {"TridyVetru", flags(tridyVetru, 5)},
                 {"RychlostiVetru", flags(rychlostiVetru, 3)},
                 {"ColorRychlostVetru", number(colorRychlostVetru)},
                 {"ColorTridaiVetru", number(colorTridaiVetru)},
                 {"MethodOfAproximation", number(methodOfAproximation)}};
    if (ini.writeSection("Form", form) && ini.writeSection("Table", table) && ini.writeSection("Graf", graf))
        return true;
    reporter.message(Severity::Error, kCaptionError, kIniWriteFailed);
    return false;
}

bool WindRoseEditorSettings::classLayerShown(int k) const
{
    return k >= 0 && k < 5 && flags(tridyVetru, 5)[static_cast<std::size_t>(k)] == '1';
}

bool WindRoseEditorSettings::speedLayerShown(int k) const
{
    return k >= 0 && k < 3 && flags(rychlostiVetru, 3)[static_cast<std::size_t>(k)] == '1';
}

void WindRoseEditorSettings::showClassLayer(int k, bool shown)
{
    setFlag(tridyVetru, k, 5, shown);
}
void WindRoseEditorSettings::showSpeedLayer(int k, bool shown)
{
    setFlag(rychlostiVetru, k, 3, shown);
}

StoredFont StoredFont::parse(std::string_view text)
{
    StoredFont font;
    std::vector<std::string> parts;
    while (true) {
        std::size_t comma = text.find(',');
        parts.push_back(trim(text.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        text = text.substr(comma + 1);
    }
    if (!parts[0].empty())
        font.name = parts[0];
    if (parts.size() > 1)
        if (auto v = parseDouble(parts[1]); v && *v > 0 && *v < 500)
            font.size = *v;
    if (parts.size() > 2)
        font.charset = static_cast<int>(parseLong(parts[2]).value_or(font.charset));
    bool* flagsOut[] = {&font.bold, &font.italic, &font.strikethrough, &font.underline};
    for (std::size_t i = 0; i < 4 && i + 3 < parts.size(); ++i)
        *flagsOut[i] = parseLong(parts[i + 3]).value_or(0) != 0 || equalsIgnoreCase(parts[i + 3], "true");
    return font;
}

std::string StoredFont::text() const
{
    return name + ", " + formatDecimal(size) + ", " + std::to_string(charset) + ", " + flag(bold) + ", " +
        flag(italic) + ", " + flag(strikethrough) + ", " + flag(underline);
}

}  // namespace ovd
