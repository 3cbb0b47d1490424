// The main picture: its layers in order, drawn through a Canvas. Used by the
// main window's tick and by vexlin-cli render.
#pragma once

#include "model/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// Size of the main picture in pixels; it does not follow the window's size.
constexpr int kFrameWidth = 1280;
constexpr int kFrameHeight = 1024;

// Whole frame: white fill, default pen (black, the line width option), then
// the steam layer, window captions, mechanism, overlay, screen data and
// dimension locator layers.
void ComposeFrame(const GearState& g, Canvas& c);

// The mechanism layer's 21 elements in order.
void DrawMechanismLayer(const GearState& g, Canvas& c);

// The other layers of the frame, in the order ComposeFrame draws them.
// ComposeFrame decides whether the optional ones are drawn at all.
void DrawSteamLayer(const GearState& g, Canvas& c);        // steam display on
void DrawWindowCaptions(const GearState& g, Canvas& c);
void DrawOverlayLayer(const GearState& g, Canvas& c);
void DrawScreenDataLayer(const GearState& g, Canvas& c);   // screen data on
void DrawDimensionLocator(const GearState& g, Canvas& c);  // a dimension shown

} // namespace vx
