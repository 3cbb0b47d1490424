// Whether the linkage closes through a whole turn at one reverse arm
// position: a settling turn, then every angle 0, S, 2S, ... below 360
// solved as the window solves it, the failures counted with the first.
// Works on a copy of the design; re-entrant.
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

// step in degrees, held within 0.01 .. 360.
TurnCheck CheckTurn(GearState design, float position, double step = 1.0);

} // namespace vx
