#include "wind_rose_editor_settings.h"

#include <iterator>
#include <variant>

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

namespace {

using S = WindRoseEditorSettings;

// How a key is stored: a whole number, text, a flag ("1"/"0"; "false" and "0" read as off),
// or a row of layer flags of the given count ("0"/"1" each).
enum class Kind { Number, Text, Flag, Layers };

struct Entry {
    const char* section;
    const char* key;
    std::variant<long S::*, std::string S::*, bool S::*> member;
    Kind kind;
    std::size_t layers = 0;
};

// Every key of the file, each section's keys in the order they are written.
const Entry kEntries[] = {
    {"Form", "Top", &S::top, Kind::Number},
    {"Form", "Left", &S::left, Kind::Number},
    {"Form", "Width", &S::width, Kind::Number},
    {"Form", "Height", &S::height, Kind::Number},
    {"Form", "OpenPath", &S::openPath, Kind::Text},
    {"Form", "SavePath", &S::savePath, Kind::Text},
    {"Table", "ColWidth_0", &S::colWidth0, Kind::Number},
    {"Table", "ColWidth_10", &S::colWidth10, Kind::Number},
    {"Table", "ColorText", &S::colorText, Kind::Number},
    {"Table", "ColorSum", &S::colorSum, Kind::Number},
    {"Table", "ColorErr", &S::colorErr, Kind::Number},
    {"Table", "ColorRozpocet", &S::colorRozpocet, Kind::Number},
    {"Table", "SafeSave", &S::safeSave, Kind::Flag},
    {"Table", "EditFont", &S::editFont, Kind::Text},
    {"Table", "Recount", &S::recount, Kind::Text},
    {"Graf", "BackColor", &S::backColor, Kind::Number},
    {"Graf", "RasterColor", &S::rasterColor, Kind::Number},
    {"Graf", "DrawColor", &S::drawColor, Kind::Number},
    {"Graf", "DrawWidth", &S::drawWidth, Kind::Number},
    {"Graf", "Visible", &S::visible, Kind::Flag},
    {"Graf", "TridyVetru", &S::tridyVetru, Kind::Layers, 5},
    {"Graf", "RychlostiVetru", &S::rychlostiVetru, Kind::Layers, 3},
    {"Graf", "ColorRychlostVetru", &S::colorRychlostVetru, Kind::Number},
    {"Graf", "ColorTridaiVetru", &S::colorTridaiVetru, Kind::Number},
    {"Graf", "MethodOfAproximation", &S::methodOfAproximation, Kind::Number},
};

void readEntry(const SettingsFile& f, const Entry& e, S& s)
{
    if (auto* number = std::get_if<long S::*>(&e.member)) {
        s.** number = f.readInt(e.section, e.key, s.**number);
    } else if (auto* flag = std::get_if<bool S::*>(&e.member)) {
        std::string text = f.readString(e.section, e.key);
        if (!text.empty())
            s.** flag = !equalsIgnoreCase(text, "false") && text != "0";
    } else {
        std::string& text = s.*std::get<std::string S::*>(e.member);
        text = f.readString(e.section, e.key, text);
        if (e.kind == Kind::Layers)
            text = flags(text, e.layers);
    }
}

std::string entryText(const Entry& e, const S& s)
{
    if (auto* whole = std::get_if<long S::*>(&e.member))
        return number(s.**whole);
    if (auto* flagged = std::get_if<bool S::*>(&e.member))
        return flag(s.**flagged);
    const std::string& text = s.*std::get<std::string S::*>(e.member);
    return e.kind == Kind::Layers ? flags(text, e.layers) : text;
}

}  // namespace

WindRoseEditorSettings WindRoseEditorSettings::load(const std::string& path)
{
    SettingsFile f(path);
    WindRoseEditorSettings s;
    for (const Entry& e : kEntries)
        readEntry(f, e, s);
    return s;
}

bool WindRoseEditorSettings::save(const std::string& path, Reporter& reporter) const
{
    IniFile ini(path);
    bool ok = true;
    for (std::size_t i = 0; i < std::size(kEntries) && ok;) {
        const std::string_view section = kEntries[i].section;
        Keys keys;
        for (; i < std::size(kEntries) && kEntries[i].section == section; ++i)
            keys.emplace_back(kEntries[i].key, entryText(kEntries[i], *this));
        ok = ini.writeSection(std::string(section), keys);
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
