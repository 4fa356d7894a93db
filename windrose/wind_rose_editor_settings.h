#pragma once
// The wind rose editor's own settings, kept per user in "xovrruz.ini" beside the main
// program's profile: sections "Form", "Table" and "Graf". Sizes are twips, colours
// Windows integers (red + 256 green + 65536 blue).
#include <string>

#include "common/parameters.h"
#include "common/reporter.h"

namespace ovd {

struct WindRoseEditorSettings {
    // "Form": placement of the main window (negative: not stored yet) and dialog folders.
    long top = -1, left = -1, width = -1, height = -1;
    std::string openPath, savePath;
    // "Table"
    long colWidth0 = -1, colWidth10 = -1;
    long colorText = 0;
    long colorSum = 13682355;
    long colorErr = 255;
    long colorRozpocet = 14463853;
    bool safeSave = true;
    std::string editFont = "ARIAL,8,238,0,0,0,0";
    std::string recount;
    // "Graf"
    long backColor = 16777215, rasterColor = 0, drawColor = 0;
    long drawWidth = 2;
    bool visible = true;
    std::string tridyVetru = "00000";    // stability classes I-V: layer shown
    std::string rychlostiVetru = "000";  // speed classes 1.7, 5, 11 m/s: layer shown
    long colorRychlostVetru = 0, colorTridaiVetru = 0;
    long methodOfAproximation = 0;

    using Self = WindRoseEditorSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, each section's in the order written

    // "xovrruz.ini" in the folder of the per-user profile.
    static std::string locate();
    static WindRoseEditorSettings load(const std::string& path);
    // All three sections, each written whole; a section that cannot be written does not stop
    // the others, and false (reported once) when any failed.
    bool save(const std::string& path, Reporter&) const;

    bool classLayerShown(int stabilityClass) const;
    bool speedLayerShown(int speedClass) const;
    void showClassLayer(int stabilityClass, bool shown);
    void showSpeedLayer(int speedClass, bool shown);
};

// The table font as stored: name, size, character set, bold, italic, strikethrough,
// underline joined by ", " (or ",").
struct StoredFont {
    std::string name = "ARIAL";
    double size = 8;
    int charset = 238;
    bool bold = false, italic = false, strikethrough = false, underline = false;
    static StoredFont parse(std::string_view text);
    std::string text() const;
};

}  // namespace ovd
