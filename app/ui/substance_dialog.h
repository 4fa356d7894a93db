#pragma once
// "Nový záznam s údaji o znečišťující látce": a new entry of the pollutant list.
#include <optional>

#include "model/substances.h"

class QWidget;

namespace ovd::mainui {

// The entry as entered, or nothing when the dialog was closed with "Ukonči".
std::optional<Substance> askNewSubstance(QWidget* parent);

}  // namespace ovd::mainui
