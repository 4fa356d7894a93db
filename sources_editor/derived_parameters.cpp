#include "derived_parameters.h"

#include <cmath>
#include <limits>

#include "real_text.h"

namespace ovd {

namespace {

std::optional<float> asFloat(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(value);
}

}  // namespace

std::optional<float> computeVs(double d, double w0, double ts, double p)
{
    const double t = ts + kNormalTemperature;
    return asFloat((kPi / 4) * d * d * w0 * (kNormalTemperature / t) * (p / kNormalPressure));
}

std::optional<float> computeW0(double vs, double d, double ts, double p)
{
    const double t = ts + kNormalTemperature;
    return asFloat(4 * vs * t * kNormalPressure / (d * d * kPi * kNormalTemperature * p));
}

std::optional<float> computeD(double vs, double w0, double ts, double p)
{
    const double t = ts + kNormalTemperature;
    const double square = 4 * vs * t * kNormalPressure / (w0 * kPi * kNormalTemperature * p);
    if (!(square >= 0))
        return std::nullopt;
    return asFloat(std::sqrt(square));
}

BatchResult computeForSelected(const std::vector<cZdroje*>& selected, DerivedValue what, double p)
{
    BatchResult result;
    for (cZdroje* s : selected) {
        if (s->TypZdrojeID() != kPointSource)
            continue;
        const double vs = s->Parameters(StackParam::kGasFlow), ts = s->Parameters(StackParam::kTemperature),
                     d = s->Parameters(StackParam::kDiameter), w0 = s->Parameters(StackParam::kExitVelocity);
        const std::string number = std::to_string(s->ICZ());
        // d needs w0 and w0 needs d as a divisor; Vs needs nothing
        const char* name = what == DerivedValue::D ? "d" : what == DerivedValue::W0 ? "w0" : "Vs";
        const char* divisor = what == DerivedValue::D ? "w0" : what == DerivedValue::W0 ? "d" : nullptr;
        if (divisor && (what == DerivedValue::D ? w0 : d) == 0) {
            result.log.push_back("Pro zdroj " + number + " nelze vypočítat '" + name + "', protože '" + divisor +
                                 "'=0");
            continue;
        }
        std::optional<float> value;
        int index = 0;
        switch (what) {
        case DerivedValue::D: value = computeD(vs, w0, ts, p), index = StackParam::kDiameter; break;
        case DerivedValue::W0: value = computeW0(vs, d, ts, p), index = StackParam::kExitVelocity; break;
        case DerivedValue::Vs: value = computeVs(d, w0, ts, p), index = StackParam::kGasFlow; break;
        }
        if (!value) {
            result.log.push_back("Pro zdroj " + number + " nelze vypočítat '" + name +
                                 "', protože výsledek nemá konečnou hodnotu");
            continue;
        }
        if (s->Parameters(index) != *value) {
            s->Parameters(index, *value);
            result.changed = true;
        }
    }
    result.log.push_back("Hotovo.");
    return result;
}

}  // namespace ovd
