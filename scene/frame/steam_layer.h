// The steam display: coloured dots over the cylinder drawing showing live
// steam, the phase of each cylinder end, exhaust steam and the chimney
// plume, and the exhaust beat played at each exhaust port opening. Drawn
// before the mechanism, so its outlines lie over the dots.
#pragma once

#include <cstdint>

#include "platform/canvas.h"
#include "scene/frame/frame_services.h"
#include "model/gear_state.h"

namespace vx {

// Steam density bounds of a cylinder end.
constexpr float kMinSteamDensity = 25;
constexpr float kMaxSteamDensity = 2000;

// Wave output volume for an exhaust beat at loudness v (the steam density
// stored at the other end's previous beat); 0 leaves the volume unchanged.
std::uint16_t ExhaustVolume(int v);

// The phase colour rules of one end, applied to `color` as left by the
// previous end (the front end starts from black). Updates the end's phase
// memory and returns the new colour.
Rgb StepPhaseColor(SteamEnd& end, Rgb color, float steamOpening, float exhaustOpening);

// The layer: drawn only while the steam display is on.
void DrawSteamLayer(GearState& g, Canvas& c, const FrameServices& s);

} // namespace vx
