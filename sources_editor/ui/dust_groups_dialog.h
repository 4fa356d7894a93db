#pragma once
// The dust groups dialog frmSkupinyPrachu: groups of the current file, their particles,
// opening and saving groups files.
#include "editor_context.h"

class QWidget;

namespace ovd::sourcesui {

void editDustGroups(EditorContext&, QWidget* parent);

}  // namespace ovd::sourcesui
