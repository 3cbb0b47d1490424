// The main picture: its layers in order, drawn through a Canvas. Used by the
// main window's tick and by vexlin-cli render.
#pragma once

#include "model/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// Whole frame: white fill, default pen (black, the line width option), then
// the steam layer, window captions, mechanism, overlay, screen data and
// dimension locator layers.
void ComposeFrame(const GearState& g, Canvas& c);

// The mechanism layer's 21 elements in order.
void DrawMechanismLayer(const GearState& g, Canvas& c);

} // namespace vx
