#pragma once
// The editing dialogs of the three kinds of source (frmBodovyZdroj, frmPlosnyZdroj,
// frmLiniovyZdroj) with the description panel uscPopis and the dust panel uscPrach.
#include "editor_context.h"

class QWidget;

namespace ovd::sourcesui {

// Shows the source's dialog modally; on OK the source takes the values over, the line
// defaults are remembered and the document is marked modified. Returns EditOk.
bool editSource(cZdroje& source, EditorContext&, QWidget* parent);

}  // namespace ovd::sourcesui
