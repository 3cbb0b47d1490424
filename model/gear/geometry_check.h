// Whether the linkage closes through a whole turn at one reverse arm
// position: a settling turn, then every angle 0, S, 2S, ... below 360
// solved as the window solves it (the linkage, then the piston and the
// ports), the failures counted with the first. Works on a copy of the
// design; re-entrant.
//
// PistonAndPortsFault is the one rule for what counts as a fault after the
// linkage is solved: the check, the valve events (and so the balance and
// the report) all go through it.
#pragma once

#include <iterator>
#include <span>

#include "model/state/gear_state.h"
#include "model/state/geometry_error.h"

namespace vx {

struct TurnCheck {
    float position = 0;
    int angles = 0;   // angles checked
    int failures = 0; // of them, where the linkage did not close
    GeometryCause firstCause = GeometryCause::None;
    float firstAngle = 0;
    bool Closes() const { return failures == 0; }
};

// Finds the piston and the port openings of the linkage just solved
// (ComputePortOpenings) and returns the first fault of the solve and of
// that step: the solve's cause, a guard raised for the piston or the ports,
// or NotFinite when the piston or an opening is not a finite number.
GeometryCause PistonAndPortsFault(GearState& g);

// step in degrees, held within 0.01 .. 360. A design that fails the
// validity gate (design_validity.h) fails at every angle with the cause
// BadLength, unsolved; a solve that leaves a figure not finite fails with
// NotFinite.
TurnCheck CheckTurn(GearState design, float position, double step = 1.0);

// Whether every figure of a solved position is a finite number: the solved
// pivots (not the reference points), the link angle, the valve offset and,
// with `ports` (after ComputePortOpenings), the piston position and the
// four port openings.
bool FiguresFinite(const GearState& g, bool ports);

// The solve's cause, or NotFinite when the solve raised none but left a
// figure that is not finite.
GeometryCause SolvedPositionCause(const GearState& g, bool ports);

// A length the gear needs above zero (the stroke, the driver, the rods, the
// link, the lifting links and arms, the rocker's arms) that is not: zero,
// negative or NaN.
struct LengthFault {
    int id = 0; // the dimension's id
    float value = 0;
};
constexpr int kPositiveLengthIds[] = {1, 2, 3, 4, 8, 9, 10, 14, 15, 16, 18, 20, 22, 30, 32};
int NonPositiveLengths(const GearState& g, std::span<LengthFault, std::size(kPositiveLengthIds)> out);

} // namespace vx
