#pragma once
// "Načti zdroje znečištění" and "Ulož zdroje znečištění": the three file paths of a load
// or a save, with browse buttons that remember their folders per kind of file.
#include <optional>

#include "editor_context.h"
#include "sources_editor/source_files.h"

class QWidget;

namespace ovd::sourcesui {

struct LoadChoice {
    SourcePaths paths;
    bool append = false;
};
// nullopt for Storno.
std::optional<LoadChoice> askLoadFiles(EditorContext&, QWidget* parent);
std::optional<SourcePaths> askSaveFiles(EditorContext&, QWidget* parent);

}  // namespace ovd::sourcesui
