// The dimension locator: the blinking lines and name of one dimension drawn
// over the moving gear.
#pragma once

#include "model/gear_state.h"
#include "platform/canvas.h"

namespace vx {

void DrawDimensionLocator(GearState& g, Canvas& c);

} // namespace vx
