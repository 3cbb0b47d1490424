// Mid-gear search over the reverse arm position.
#pragma once

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

} // namespace vx
