#pragma once
// "Možnosti": MinNewID, dust work and sources without a description; "Výpočet hodnot
// bodových zdrojů": Vs, d or w0 of the selected point sources.
#include <QString>

#include <vector>

#include "editor_context.h"

class QWidget;

namespace ovd::sourcesui {

// True on OK (the settings and the counter are updated).
bool editOptions(EditorContext&, QWidget* parent);

// Runs the batch dialog over the selected sources; true when a source changed.
bool computeSelected(EditorContext&, const std::vector<cZdroje*>& selected, QWidget* parent);

// "OVARDIX - Zdroje znečištění ovzduší", the build's version.
QString productName();
QString productVersion();

}  // namespace ovd::sourcesui
