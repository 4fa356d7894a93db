#pragma once
// The sources editor's own settings, kept per user in "xovrzdr.ini" beside the main
// program's profile: options, last paths, column widths and window geometry.
#include <string>

#include "common/parameters.h"
#include "common/reporter.h"
#include "common/settings_file.h"

namespace ovd {

struct EditorSettings {
    std::string lastPoints, lastDescription, lastDust;  // "Soubory", "LastPathFile:1..3"
    bool zdrojeBezPopisu = true;
    std::string souborSkupinPrachu;
    long tab1Sl1 = 1755, tab1Sl2 = 3360;  // column widths in twips
    long minNewID = 50000;
    bool autoCalcXY = false;
    float tlakVzduchu = 101325;
    bool noPrach = true;

    using Self = EditorSettings;
    static const std::vector<Param<Self>> kParams;  // its keys, declared beside its code

    static EditorSettings load(const SettingsFile&);
    // Every key; a failed one is reported and the others are still written.
    bool save(const SettingsFile&, Reporter&) const;
};

// The settings file of the editor: "xovrzdr.ini" in the folder of the main program's
// per-user profile (so $OVARDIX_PROFILE moves both).
std::string editorSettingsPath();

// The last folder a file dialog chose for a kind of file (1 points, 2 description, 3 dust,
// 4 dust groups), section "FileDialog".
std::string lastDialogPath(const SettingsFile&, int kind);
bool saveDialogPath(const SettingsFile&, int kind, const std::string& path, Reporter&);

// Main window: section "Form:" + name; dialogs: "SubForm:" + name with offsets.
struct WindowGeometry {
    long top = 0, left = 0, width = 0, height = 0, windowState = 0;
    bool stored = false;  // the section held a size
};
WindowGeometry loadFormGeometry(const SettingsFile&, const std::string& name);
bool saveFormGeometry(const SettingsFile&, const std::string& name, const WindowGeometry&, Reporter&);
// RelTop / RelLeft as top / left; width and height only for resizable dialogs.
WindowGeometry loadSubFormGeometry(const SettingsFile&, const std::string& name);
bool saveSubFormGeometry(const SettingsFile&, const std::string& name, const WindowGeometry&, bool withSize, Reporter&);

}  // namespace ovd
