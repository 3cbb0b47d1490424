// Piston position, port openings and the outline points of cylinder,
// piston and valve.
#pragma once

#include "model/gear_state.h"

namespace vx {

void ComputePortOpenings(GearState& g);
void ComputeOutlinePoints(GearState& g);

} // namespace vx
