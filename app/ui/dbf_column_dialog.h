#pragma once
// "Výběr sloupců pro zápis do textového souboru": which fields of a DBF file go into the
// text export.
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace ovd::mainui {

// Labels "NN .. NAME" in field order. The chosen field numbers (from 1, ascending), or
// nothing when the user cancels.
std::optional<std::vector<int>> chooseColumns(const std::vector<std::string>& labels, QWidget* parent);

}  // namespace ovd::mainui
