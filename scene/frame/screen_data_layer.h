// The screen data layer of the main picture: view bar labels, readouts, the
// error indicator's cycle, cut-off capture and readouts, the reference
// point, pivot data and overlay prompt displays at their places, and the
// dynamic-variable lines; plus the undo line drawn just before it.
//
// Effects on the window's controls (the `Error` item and its tooltip,
// `UnDoDn`, the SBDynVar bars' enabling) are written into
// g.display.controls; the window applies them after the frame.
#pragma once

#include "scene/frame/frame_services.h"
#include "model/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// Frame counts of the error indicator's cycle: the item shows in frames
// 1..9, is hidden with "Error.wav" at frame 10, and the cycle ends (counter
// and flag cleared) after frame 20.
constexpr int kErrorSoundFrame = 10;
constexpr int kErrorCycleFrames = 20;

// Runs every frame, screen data on or not: shows `UnDoDn` and draws the
// undo line while both screen data and the dynamic variables are on.
void DrawUndoLine(GearState& g, Canvas& c);

// The layer: drawn only while the screen data are on.
void DrawScreenDataLayer(GearState& g, Canvas& c, const FrameServices& s);

// The parts of the layer, in the order DrawScreenDataLayer runs them.
void DrawReadouts(const GearState& g, Canvas& c);
void StepErrorIndicator(GearState& g, Sound* sound);
void DrawCutOffReadouts(GearState& g, Canvas& c);
void DrawDynVarLines(GearState& g, Canvas& c);

} // namespace vx
