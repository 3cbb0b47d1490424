// The linkage solver: places every pivot for the current driver angle and
// reverse arm position. Allocates nothing; at most 2 x 101 search passes.
#pragma once

#include "model/gear_state.h"

namespace vx {

constexpr double kPi = 3.1415926535897932385;
constexpr double kDegToRad = kPi / 180.0;

// Sets geometryError when the error beep option is on; otherwise nothing.
inline void RaiseGeometryError(GearState& g) {
    if (g.errorBeepOn) g.geometryError = true;
}

// Guards shared by the solver, the port openings and the diagrams.
// Divisor guard: |d| < 0.00001 becomes +-0.00001 (raising the error).
float GuardDivisor(GearState& g, double d);
// Root guard: the square root of |q|, raising the error when q < 0.
double GuardedRoot(GearState& g, double q);
// Cosine guard: clamps to +-0.999999; raises only while searchStep < 0.01.
float GuardCosine(GearState& g, double c, float searchStep);

// Result of one solve: false when a search ran out of passes (the pivots not
// yet reached keep their previous values).
bool SolveLinkage(GearState& g);

} // namespace vx
