#pragma once
// "Nastavení tlaku vzduchu": the air pressure p of the point dialog's computations.
#include <optional>

class QWidget;

namespace ovd::sourcesui {

// The new pressure, or nullopt for Storno; the dialog opens at `anchor`.
std::optional<float> askPressure(float current, QWidget* anchor);

}  // namespace ovd::sourcesui
