// The main picture: its layers in order, drawn through a Canvas. Used by the
// main window's tick and by vexlin-cli render.
#pragma once

#include "model/gear_state.h"
#include "platform/canvas.h"

namespace vx {

class Clock;
class Random;
class Sound;

// Size of the main picture in pixels; it does not follow the window's size.
constexpr int kFrameWidth = 1280;
constexpr int kFrameHeight = 1024;

// What the layers need from the platform: the date and time of the captions,
// the steam display's random numbers, the exhaust and error sounds. A null
// member falls back to the system clock, a fixed-seed generator and silence.
struct FrameServices {
    const Clock* clock = nullptr;
    Random* random = nullptr;
    Sound* sound = nullptr;
};

// Whole frame: white fill, default pen (black, the line width option), then
// the steam layer, window captions, mechanism, overlay, screen data and
// dimension locator layers. Layers that keep state from frame to frame (the
// cut-off capture, the error indicator cycle, the steam colours, the
// locator's blink) write it into the model.
void ComposeFrame(GearState& g, Canvas& c, const FrameServices& s = {});

// The mechanism layer's 21 elements in order.
void DrawMechanismLayer(const GearState& g, Canvas& c);

// The other layers of the frame, in the order ComposeFrame draws them.
// ComposeFrame decides whether the optional ones are drawn at all. The
// overlay layer is in data/overlay_layer.h, the locator in
// mainwindow/dimension_locator_layer.h.
void DrawSteamLayer(GearState& g, Canvas& c, const FrameServices& s);      // steam display on
// Sets the eight window captions into g.display.captions (window titles:
// nothing is drawn); see window_captions.h.
void DrawWindowCaptions(GearState& g, Canvas& c, const FrameServices& s);
void DrawScreenDataLayer(GearState& g, Canvas& c, const FrameServices& s); // screen data on

} // namespace vx
