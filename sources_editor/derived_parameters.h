#pragma once
// Flue gas volume Vs, chimney diameter d and exit velocity w0 of a point source, each from
// the other two, the flue gas temperature ts and the air pressure p.
#include <optional>
#include <string>
#include <vector>

#include "source.h"

namespace ovd {

inline constexpr double kPi = 3.1415926535;
inline constexpr double kNormalTemperature = 273.15;
inline constexpr double kNormalPressure = 101325;

// Each result as a finite 32-bit float, or nullopt when the formula has none
// (ts = -273.15, a zero divisor, a result beyond the float range).
std::optional<float> computeVs(double d, double w0, double ts, double p);
std::optional<float> computeW0(double vs, double d, double ts, double p);
std::optional<float> computeD(double vs, double w0, double ts, double p);

// The message shown when a formula has no finite result.
inline constexpr std::string_view kNoFiniteResult =
    "Výsledek nelze vypočítat: pro zadané hodnoty nemá vzorec konečnou hodnotu.";

enum class DerivedValue { W0, D, Vs };

struct BatchResult {
    std::vector<std::string> log;  // the error list, ending with "Hotovo."
    bool changed = false;          // a source got a new value
};

// Computes the value for every point source among `selected` with the pressure p, in
// order; other kinds are skipped silently.
BatchResult computeForSelected(const std::vector<cZdroje*>& selected, DerivedValue, double p);

}  // namespace ovd
