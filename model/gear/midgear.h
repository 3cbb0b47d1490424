// Mid-gear search over the reverse arm position.
#pragma once

#include <optional>

#include "model/state/gear_state.h"

namespace vx {

enum class MidGearResult { Found, NotFound };

// Upper bound on the trial solves of one search.
constexpr int kMidGearTrialLimit = 4000;

// Finds the reverse arm position at which the die stands level with the link
// centre at driver angle 0. Writes centre, positions 1..3, reverseArmPosition
// and X of pivot 18, and restores the driver angle. When the trial bound is
// reached it keeps the previous centre, positions and reverse arm position,
// raises the geometry error and returns NotFound.
MidGearResult FindMidGear(GearState& g);

// The same mid gear on the exact solve (exact_solver.h): the reverse arm
// position where the die stands level with the link centre at driver angle
// 0, as a root on the position, walked from the same start with steps that
// scale with the design, to about 1e-13 of its size. Nothing when the walk
// finds no such position or a value is not a number.
std::optional<double> FindExactMidGear(const Design& design);

} // namespace vx
