// The steam display: coloured dots over the cylinder drawing showing live
// steam, the phase of each cylinder end, exhaust steam and the chimney
// plume, as the frame's advance left them (model/workspace/frame_advance.h).
// Drawn before the mechanism, so its outlines lie over the dots. The dots'
// places come from the random numbers, reseeded every frame.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "scene/frame/frame_services.h"
#include "model/state/gear_state.h"

namespace vx {

// The layer: drawn only while the steam display is on.
void DrawSteamLayer(const GearState& g, Canvas& c, const FrameServices& s);

} // namespace vx
