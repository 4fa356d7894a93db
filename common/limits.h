#pragma once
// Sizes of a study that every tool refuses to exceed.

namespace ovd {

// Reference points of one study: the grid tool, the concentration and the daily runs.
inline constexpr long kMaxReferencePoints = 30000;

}  // namespace ovd
