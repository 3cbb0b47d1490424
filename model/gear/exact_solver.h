// The exact solve: the same linkage as the classic solver (solver.h), closed
// in double precision.
//
// Each of the classic searches becomes a bracketed root: the link height held
// by the link's lifting link, and the die height held by the radius rod's
// lifting link. The rocker, whose lower end the classic solve carries from
// one solve to the next until it settles, is closed where it settles: the
// lower end on both the radius rod's circle and the rocker's, on the side the
// classic solve settles on. The brackets start as the classic walks do, with
// steps that scale with the design (DesignScale), so the roots are the ones
// the classic searches find wherever those close, at any size, to about
// 1e-13 of the design's size.
//
// A solve is a pure function of the design, the angle and the position. A
// warm start (ExactWarmStart) from a nearby solve only makes it cheaper: a
// turn solved angle after angle costs a few evaluations per root. Allocates
// nothing; re-entrant.
#pragma once

#include <array>

#include "model/state/design.h"
#include "model/state/geometry_error.h"
#include "model/state/solution.h"

namespace vx {

// The size of the design the exact solve steps by: a third of the stroke
// (1 for the default design), or the span of the fixed pivots when the
// stroke is no length.
double DesignScale(const Design& design);

// Every pivot of one exact solve, in double precision (pivots 1 to 29 as
// the classic table numbers them; 19 and 20, the reference points, and 0
// are left at zero), with the link angle (radians) and the valve offset.
struct ExactPivots {
    std::array<double, kPivotCount> x{};
    std::array<double, kPivotCount> y{};
    double linkAngle = 0;
    double valveOffset = 0;
    // The step that could not close (None when the linkage closed).
    GeometryCause cause = GeometryCause::None;

    bool Closes() const { return cause == GeometryCause::None; }
};

// What one solve leaves for the next nearby one: the two roots and their
// slopes. `valid` false (or a default value) starts cold.
struct ExactWarmStart {
    bool valid = false;
    double linkHeight = 0, dieHeight = 0;
    double linkSlope = 0, dieSlope = 0;
};

// Solves the design at a driver angle (degrees) and reverse arm position
// (world) into `out`. Returns the cause when the linkage does not close
// (None when it does): the pivots are then the search's last, finite where
// the design is. `warm`, when given, seeds the roots and receives them.
GeometryCause SolveExact(const Design& design, double driverAngle, double reverseArmPosition, ExactPivots& out,
                         ExactWarmStart* warm = nullptr);

// The piston's place (0..640, as the classic ports give it) and the four port
// openings from an exact solve, in double precision; `cause` is set for a
// stroke of 0 or a main rod that cannot reach.
struct ExactPorts {
    double piston = 0;
    double frontSteam = 0, frontExhaust = 0, rearSteam = 0, rearExhaust = 0;
    GeometryCause cause = GeometryCause::None;
};
ExactPorts ExactPortOpenings(const Design& design, double driverAngle, double valveOffset);

// An exact solve as a classic solution: every pivot rounded to float, the
// link angle, the event levels and the valve offset; the cause as the
// solution's solve cause at `driverAngle`. Screen points and port openings
// are left for the caller, as after SolveLinkage.
void ToClassicSolution(const Design& design, const ExactPivots& exact, float driverAngle, Solution& s);

} // namespace vx
