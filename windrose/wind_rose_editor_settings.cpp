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

std::string flag(bool v)
{
    return v ? "1" : "0";
}

}  // namespace

std::string WindRoseEditorSettings::locate()
{
    return folderOf(Profile::locate()) + "xovrruz.ini";
}

namespace {

using Self = WindRoseEditorSettings;

// A switch stored as text: "false" (any case) and "0" are off, anything else on; an empty
// value leaves the default.
template <bool Self::*Flag> std::string switchText(const Self& s)
{
    return flag(s.*Flag);
}
template <bool Self::*Flag> void setSwitch(Self& s, const std::string& text)
{
    if (!text.empty())
        s.*Flag = !equalsIgnoreCase(text, "false") && text != "0";
}
template <bool Self::*Flag> constexpr TextAccess<Self> kSwitch{switchText<Flag>, setSwitch<Flag>};

// A row of `count` layer flags, "0"/"1" each.
template <std::string Self::*Row, std::size_t count> std::string layersText(const Self& s)
{
    return flags(s.*Row, count);
}
template <std::string Self::*Row, std::size_t count> void setLayers(Self& s, const std::string& text)
{
    s.*Row = flags(text, count);
}
template <std::string Self::*Row, std::size_t count>
constexpr TextAccess<Self> kLayers{layersText<Row, count>, setLayers<Row, count>};

}  // namespace

const std::vector<Param<WindRoseEditorSettings>> WindRoseEditorSettings::kParams = declare<Self>({
    inSection("Form",
              {key("Top", &Self::top, "-1"), key("Left", &Self::left, "-1"), key("Width", &Self::width, "-1"),
               key("Height", &Self::height, "-1"), key("OpenPath", &Self::openPath), key("SavePath", &Self::savePath)}),
    inSection("Table",
              {key("ColWidth_0", &Self::colWidth0, "-1"), key("ColWidth_10", &Self::colWidth10, "-1"),
               key("ColorText", &Self::colorText), key("ColorSum", &Self::colorSum, "13682355"),
               key("ColorErr", &Self::colorErr, "255"), key("ColorRozpocet", &Self::colorRozpocet, "14463853"),
               key("SafeSave", kSwitch<&Self::safeSave>, "1"), key("EditFont", &Self::editFont, "ARIAL,8,238,0,0,0,0"),
               key("Recount", &Self::recount)}),
    inSection("Graf",
              {key("BackColor", &Self::backColor, "16777215"), key("RasterColor", &Self::rasterColor),
               key("DrawColor", &Self::drawColor), key("DrawWidth", &Self::drawWidth, "2"),
               key("Visible", kSwitch<&Self::visible>, "1"), key("TridyVetru", kLayers<&Self::tridyVetru, 5>, "00000"),
               key("RychlostiVetru", kLayers<&Self::rychlostiVetru, 3>, "000"),
               key("ColorRychlostVetru", &Self::colorRychlostVetru), key("ColorTridaiVetru", &Self::colorTridaiVetru),
               key("MethodOfAproximation", &Self::methodOfAproximation)}),
});

WindRoseEditorSettings WindRoseEditorSettings::load(const std::string& path)
{
    return loadSettings<WindRoseEditorSettings>(SettingsFile(path));
}

bool WindRoseEditorSettings::save(const std::string& path, Reporter& reporter) const
{
    IniFile ini(path);
    bool ok = true;
    for (std::size_t i = 0; i < kParams.size();) {
        const std::string_view section = kParams[i].info.section;
        Keys keys;
        for (; i < kParams.size() && kParams[i].info.section == section; ++i)
            keys.emplace_back(kParams[i].info.key, paramText(*this, kParams[i]));
        ok = ini.writeSection(section, keys) && ok;
    }
    if (ok)
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
