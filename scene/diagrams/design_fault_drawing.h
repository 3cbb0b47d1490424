// What an analysis window draws in place of its figures when the design
// fails the validity gate (model/gear/design_validity.h): the cause, named.
#pragma once

#include "model/state/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// Draws the gate's cause and what to do about it, with the dynamic-variable
// block, and returns true when the design fails the gate; draws nothing and
// returns false when it passes.
bool DrawDesignFault(const GearState& g, Canvas& c);

} // namespace vx
