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

#include "model/gear_state.h"
#include "model/geometry_error.h"

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

// step in degrees, held within 0.01 .. 360.
TurnCheck CheckTurn(GearState design, float position, double step = 1.0);

} // namespace vx
