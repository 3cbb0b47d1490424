// The screen data layer of the main picture: view bar labels, readouts, the
// caught cut-offs, the reference point, pivot data and overlay prompt
// displays at their places, and the dynamic-variable lines; plus the undo
// line drawn just before it. What changes from frame to frame (the error
// indicator, the cut-offs caught, the bars' enabling) is the frame's
// advance's (model/workspace/frame_advance.h).
#pragma once

#include "scene/frame/frame_services.h"
#include "model/state/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// Runs every frame, screen data on or not: draws the undo line while both
// screen data and the dynamic variables are on, else the notice of the last
// undo or redo while it is shown.
void DrawUndoLine(const GearState& g, Canvas& c);

// The layer: drawn only while the screen data are on.
void DrawScreenDataLayer(const GearState& g, Canvas& c);

// The parts of the layer, in the order DrawScreenDataLayer runs them.
void DrawReadouts(const GearState& g, Canvas& c);
void DrawCutOffReadouts(const GearState& g, Canvas& c);
void DrawDynVarLines(const GearState& g, Canvas& c);

} // namespace vx
