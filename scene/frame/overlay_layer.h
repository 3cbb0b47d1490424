// The user's lines and circles over the gear, and the prompts shown while a
// line or circle waits for its pivots to be picked.
#pragma once

#include "model/state/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// Items 1..20, drawn after the mechanism.
void DrawOverlayLayer(const GearState& g, Canvas& c);
// The pick prompts, drawn by the screen data layer at their place.
void DrawOverlayPickPrompts(const GearState& g, Canvas& c);

} // namespace vx
