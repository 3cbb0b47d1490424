// Piston position, port openings and the outline points of cylinder,
// piston and valve.
#pragma once

#include "model/state/gear_state.h"

namespace vx {

// The piston's place (0..640) and the four port openings at a driver angle,
// from the solved valve spindle (pivot 4): into sol.ports, a guarded step's
// cause recorded on sol. Returns the first guarded step's cause, None when
// none was.
GeometryCause ComputePortOpenings(const Design& d, float driverAngle, Solution& sol);
// The same for the window's gear at its driver angle, raising the error
// indicator for a guarded step.
void ComputePortOpenings(GearState& g);

} // namespace vx
