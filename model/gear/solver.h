// The linkage solver: places every pivot for the current driver angle and
// reverse arm position. Allocates nothing; at most 2 x 101 search passes.
#pragma once

#include <cmath>

#include "model/state/gear_state.h"

namespace vx {

constexpr double kPi = 3.1415926535897932385;
constexpr double kDegToRad = kPi / 180.0;

// The searches settle when their step is within this length.
inline constexpr float kSearchTolerance = 0.0001f;

// Records why a solve could not close: the first cause of a solve wins.
inline void RecordSolveCause(Solution& s, float angle, GeometryCause cause) {
    if (s.solveCause == GeometryCause::None) {
        s.solveCause = cause;
        s.solveCauseAngle = angle;
    }
}

// Raises the error indicator when the error beep option is on; otherwise
// nothing. The cause that raised it is kept until the indicator's cycle
// clears the flag.
inline void RaiseErrorIndicator(FrameState& f, bool errorBeepOn, GeometryCause cause, float angle) {
    if (!errorBeepOn) return;
    if (!f.geometryError) {
        f.errorCause = cause;
        f.errorCauseAngle = angle;
    }
    f.geometryError = true;
}

// Both: the cause recorded on the solution, the indicator raised when the
// error beep option is on.
inline void RaiseGeometryError(GearState& g, GeometryCause cause = GeometryCause::Guard) {
    RecordSolveCause(g, g.motion.driverAngle, cause);
    RaiseErrorIndicator(g, g.errorBeepOn, cause, g.motion.driverAngle);
}

// The guards without their error, for passes computed ahead of their turn
// and for callers that note the cause themselves: each says whether it
// fired.
inline float ClampDivisor(double d, bool& fired) {
    constexpr float kMin = 0.00001f;
    float v = static_cast<float>(d);
    if (v >= 0.0f && v < kMin) {
        v = kMin;
        fired = true;
    } else if (v < 0.0f && v > -kMin) {
        v = -kMin;
        fired = true;
    }
    return v;
}

inline double RootOfMagnitude(double q, bool& fired) {
    if (q < 0.0) {
        q = -q;
        fired = true;
    }
    return std::sqrt(q);
}

// Guards shared by the solver, the port openings and the diagrams; `cause`
// names the step that could not close when the guard raises the error.
// Divisor guard: |d| < 0.00001 becomes +-0.00001 (raising the error).
float GuardDivisor(GearState& g, double d, GeometryCause cause = GeometryCause::Guard);
// Root guard: the square root of |q|, raising the error when q < 0.
double GuardedRoot(GearState& g, double q, GeometryCause cause = GeometryCause::Guard);
// Cosine guard: clamps to +-0.999999; raises only while searchStep < 0.01.
float GuardCosine(GearState& g, double c, float searchStep, GeometryCause cause = GeometryCause::Guard);
// The same guards for a solve of its own: the cause recorded on `s` only.
float GuardDivisor(Solution& s, float angle, double d, GeometryCause cause);
double GuardedRoot(Solution& s, float angle, double q, GeometryCause cause);

// The rocker's lower end height (pivot 5 Y) is carried from one solve to the
// next, where the radius rod search starts from it. A fresh start solves
// from this height; a full reset and an open start from it again, and so
// does a solve that finds a non-finite height carried over, so that one
// impossible design cannot spoil the good ones after it.
inline constexpr float kRockerLowerEndSeed = 0;
inline void ReseedRockerLowerEnd(Solution& s) { s.piv.y[5] = kRockerLowerEndSeed; }
// The port event values that follow from the cylinder and valve dimensions
// alone (the six event levels, laps, exhaust clearances, lead terms); every
// solve computes them, and a drawing of them computes them first.
void ComputeEventLevels(const Design& d, EventValues& events);

// Solves the design at a driver angle and reverse arm position into `s`:
// the fixed pivots placed, then every moving pivot, the link angle and the
// port event values. Reads nothing else of `s` but the rocker's lower end
// height (Y of pivot 5), the seed the previous solve carries over (see
// above). False when a search ran out of passes (the pivots not yet reached
// keep their previous values); the cause is in s.solveCause, cleared first.
bool SolveLinkage(const Design& design, float driverAngle, float reverseArmPosition, Solution& s);

// Whether the classic searches left the linkage open: a search ran out of
// passes, or a lifting link misses its length by more than kClassicClosure
// (a walk that climbs to the most its first step lets it reach settles
// there without an error, short of a linkage larger than that).
inline constexpr double kClassicClosure = 0.01;
bool ClassicSearchesMissed(const Design& design, const Solution& s);

// The classic solve, and where its searches miss a linkage the exact solve
// closes (exact_solver.h), the exact solve's pivots in its place, `exactly`
// set. Where the classic searches close, the classic solve to the bit.
bool SolveLinkageOrExactly(const Design& design, float driverAngle, float reverseArmPosition, Solution& s,
                           bool& exactly);

// The window's solve: at the workspace's driver angle and reverse arm
// position, into the bundle's solution (SolveLinkageOrExactly), raising the
// error indicator when it could not close and the error beep option is on.
// The first time it takes the exact solve it says so once on the
// indicator (GeometryCause::SolvedExactly).
bool SolveLinkage(GearState& g);

} // namespace vx
