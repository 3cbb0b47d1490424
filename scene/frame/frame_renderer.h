// The main picture: its layers in order, drawn through a Canvas. Used by the
// main window's tick, by vexlin-cli render, the animation and the report.
#pragma once

#include "model/state/gear_state.h"
#include "platform/canvas.h"
#include "scene/frame/frame_services.h"

namespace vx {

// Whole frame: white fill, default pen (black, the line width option), then
// the steam layer, mechanism, overlay, screen data and dimension locator
// layers, drawn from the gear as it stands and nothing else done. What
// changes from frame to frame (the cut-off capture, the error indicator
// cycle, the steam colours, the locator's blink) is the frame's advance's,
// taken before (AdvanceFrame, model/workspace/frame_advance.h).
void ComposeFrame(const GearState& g, Canvas& c, const FrameServices& s = {});

} // namespace vx
