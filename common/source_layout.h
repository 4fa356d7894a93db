#pragma once
// The source kinds and where each parameter of a source sits among the values of its
// description line (counted from 0, after the source number): the one place that names them
// for the input files, the model and the sources editor.
#include <cstdint>

namespace ovd {

enum SourceType : std::int16_t { kPointSource = 1, kAreaSource = 2, kLineSource = 3 };

// Point and area sources.
struct StackParam {
    enum : int {
        kEmission = 0,        // M (area: ME), g/s
        kHeight = 1,          // H, m above the terrain
        kGasFlow = 2,         // Vs, m3/s at normal conditions; an area source's is not used
        kTemperature = 3,     // ts, °C; an area source's plume rise Delta h when d and w0 are 0
        kDiameter = 4,        // d, m
        kExitVelocity = 5,    // w0, m/s
        kAlfa = 6,            // relative yearly use of the full output
        kHours = 7,           // Pd, hours a day in operation
        kElementSpacing = 8,  // Y0, m; area sources only (a point source writes 0)
    };
};

// Line sources (road segments).
struct LineParam {
    enum : int {
        kEmission = 0,  // ML, g/s/m
        kStartX = 1,    // X1el, m
        kStartY = 2,    // Y1el
        kEndX = 3,      // X2el
        kEndY = 4,      // Y2el
        kWidth = 5,     // X0el, m
        kHeight = 6,    // Z0el, m
        kAlfa = 7,
        kHours = 8,
    };
};

// Values a description line holds for every kind, and the parameters the editor keeps per kind.
constexpr int kDescriptionValueCount = 9;
constexpr int kPointParamCount = 8;
constexpr int kAreaParamCount = 9;
constexpr int kLineParamCount = 9;

constexpr int alfaPosition(int kind)
{
    return kind == kLineSource ? static_cast<int>(LineParam::kAlfa) : static_cast<int>(StackParam::kAlfa);
}

// An area source's parameter ts is the plume rise when d and w0 are both 0.
constexpr bool givesPlumeRise(double diameter, double exitVelocity)
{
    return diameter == 0 && exitVelocity == 0;
}

}  // namespace ovd
