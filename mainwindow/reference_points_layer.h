// The reference point and pivot data texts of the main picture, drawn by the
// screen data layer at their places in its order.
#pragma once

#include "model/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// The picked pivots' coordinates (while the pivot data display is on).
void DrawPivotDataDisplay(const GearState& g, Canvas& c);
// The reference points' coordinates and distances (while the reference
// points mode is on).
void DrawReferencePointDisplay(const GearState& g, Canvas& c);

} // namespace vx
