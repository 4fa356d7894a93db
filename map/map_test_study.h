#pragma once
// A small synthetic study for the map's tests: a 5 x 5 grid of points 100 m apart with one
// hot point in the middle, a point below every level, a stack and a line source.
#include <QGuiApplication>
#include <string>

#include "map_settings/map_settings.h"
#include "testing/test_support.h"

namespace ovd {

inline constexpr double kHotX = 200, kHotY = 200, kHotValue = 100;
inline constexpr double kLowX = 100, kLowY = 200, kLowValue = 1;
inline constexpr int kStudyPoints = 25;

// Writes rocni.dbf and zdroje.bin into the folder; the settings name them, levels 10;20;50.
MapSettings writeTestStudy(const TempDir&);

// Qt draws text only with an application: one on the offscreen platform for the whole test.
void ensureTestApplication();

}  // namespace ovd
