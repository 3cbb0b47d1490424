// World-to-screen conversion and the safe rounding of reals to pixels.
#pragma once

#include <cstdint>

#include "base/nearest.h"
#include "model/state/gear_state.h"

namespace vx {

inline ScreenPoint WorldToScreen(const ViewTransform& v, double x, double y) {
    return {Nearest(x * static_cast<double>(v.zoom) + static_cast<double>(v.panHorz)),
            Nearest(-y * static_cast<double>(v.zoom) + static_cast<double>(v.panVert))};
}

struct WorldPoint {
    float x = 0;
    float y = 0;
};
WorldPoint ScreenToWorld(const ViewTransform& v, double sx, double sy);

// Zoom step d (percent) about the fixed pixel (320, 240), with the limits.
void ApplyZoomStep(ViewTransform& v, double d);

// The three view jog bars: each reported position is one relative step
// (JogStep) of its axis.
enum class JogAxis { PanVert, PanHorz, Zoom };
void ApplyViewJog(GearState& g, JogAxis axis, int position);

// The view controls' own state: whether "P" has staged a store into the
// next preset chosen, and whether the SetPanZoom item last showed the view
// bars (its caption then offers to hide them).
struct ViewControlState {
    bool presetStaged = false;
    bool panZoomBarsShown = false;
};

// "Norm": the normal view, and a staged store cancelled.
void NormalView(GearState& g, ViewControlState& s);
// Preset button k: 0 ("P") keeps the current view in slot 0 and stages a
// store; 1..6 store the staged view first if one is staged, then show the
// preset.
void PressPreset(GearState& g, ViewControlState& s, int k);
// SetPanZoom: shows the view bars if hidden, hides them if shown; returns
// whether they are shown.
bool TogglePanZoomBars(ViewControlState& s);
// The screen data coming back shows the bars itself: the item offers to show
// them again.
void ResetPanZoomItem(ViewControlState& s);

// Screen points of pivots 0..29, then screen x of pivot 18 once more from
// reverseArmPosition.
void ComputePivotScreenPoints(GearState& g);

// The cylinder's C(0..23), the valve's V(0..13) and the piston's outline
// points on the screen, from the design, the solved valve spindle and the
// piston's place.
void ComputeOutlinePoints(GearState& g);

} // namespace vx
