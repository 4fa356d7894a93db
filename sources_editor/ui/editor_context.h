#pragma once
// What the editor's windows share: the sources, the settings, the groups and the flags.
#include <string>

#include "common/reporter.h"
#include "common/settings_file.h"
#include "sources_editor/dust_groups.h"
#include "sources_editor/editor_settings.h"
#include "sources_editor/source_list.h"

namespace ovd::sourcesui {

struct EditorContext {
    explicit EditorContext(std::string settingsPath)
        : settingsFile(std::move(settingsPath))
        , settings(EditorSettings::load(settingsFile))
        , numbering(settings.minNewID)
    {
        dustOff = settings.noPrach;
    }

    SettingsFile settingsFile;
    EditorSettings settings;
    SourceList list;
    SourceNumbering numbering;
    LineDefaults lineDefaults;
    cSkupinyPrachu groups;
    std::string projectPath;         // /ini
    bool saveWithoutAsking = false;  // /s
    bool dustOff = true;             // this run's dust switch (NoPrach, or /s without groups)
    bool modified = false;
    int lastTab = 0;  // the tab shown when a source dialog last closed
    Reporter* reporter = nullptr;
};

}  // namespace ovd::sourcesui
