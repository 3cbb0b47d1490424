// The dimension locator's figure: while the frame shows a locator (its
// advance, model/workspace/frame_advance.h, decides which, the blink and the
// view), a thick blinking line along the dimension with its name over the
// moving gear, and an hourglass sign at the left.
#pragma once

#include "model/state/gear_state.h"
#include "model/workspace/locator.h"
#include "platform/canvas.h"

namespace vx {

void DrawDimensionLocator(const GearState& g, Canvas& c);

} // namespace vx
