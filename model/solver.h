// The linkage solver: places every pivot for the current driver angle and
// reverse arm position. Allocates nothing; at most 2 x 101 search passes.
#pragma once

#include "model/gear_state.h"

namespace vx {

constexpr double kPi = 3.1415926535897932385;
constexpr double kDegToRad = kPi / 180.0;

// Sets geometryError when the error beep option is on; otherwise nothing.
// The cause is recorded either way (the first one of a solve wins; see
// GearState::solveCause and errorCause).
inline void RaiseGeometryError(GearState& g, GeometryCause cause = GeometryCause::Guard) {
    if (g.solveCause == GeometryCause::None) {
        g.solveCause = cause;
        g.solveCauseAngle = g.motion.driverAngle;
    }
    if (g.errorBeepOn) {
        if (!g.geometryError) {
            g.errorCause = cause;
            g.errorCauseAngle = g.motion.driverAngle;
        }
        g.geometryError = true;
    }
}

// Guards shared by the solver, the port openings and the diagrams; `cause`
// names the step that could not close when the guard raises the error.
// Divisor guard: |d| < 0.00001 becomes +-0.00001 (raising the error).
float GuardDivisor(GearState& g, double d, GeometryCause cause = GeometryCause::Guard);
// Root guard: the square root of |q|, raising the error when q < 0.
double GuardedRoot(GearState& g, double q, GeometryCause cause = GeometryCause::Guard);
// Cosine guard: clamps to +-0.999999; raises only while searchStep < 0.01.
float GuardCosine(GearState& g, double c, float searchStep, GeometryCause cause = GeometryCause::Guard);

// The rocker's lower end height (pivot 5 Y) is carried from one solve to the
// next, where the radius rod search starts from it. A fresh start solves
// from this height; a full reset and an open start from it again, and so
// does a solve that finds a non-finite height carried over, so that one
// impossible design cannot spoil the good ones after it.
inline constexpr float kRockerLowerEndSeed = 0;
inline void ReseedRockerLowerEnd(GearState& g) { g.piv.y[5] = kRockerLowerEndSeed; }
// The port event values that follow from the cylinder and valve dimensions
// alone (the six event levels, laps, exhaust clearances, lead terms); every
// solve computes them, and a drawing of them computes them first.
void ComputeEventLevels(GearState& g);

// Result of one solve: false when a search ran out of passes (the pivots not
// yet reached keep their previous values). Starts by clearing solveCause.
bool SolveLinkage(GearState& g);

} // namespace vx
