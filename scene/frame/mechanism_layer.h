// The mechanism layer of the main picture: the cylinder, valve, wheels,
// rods, links and pivots of the gear as the model has placed them.
#pragma once

#include "model/state/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// The layer's 21 elements in order.
void DrawMechanismLayer(const GearState& g, Canvas& c);

} // namespace vx
