#include "model/view.h"

#include <cmath>
#include <cstddef>

#include "model/jog.h"

namespace vx {

std::int32_t Nearest(double v) {
    if (std::isnan(v)) return 0;
    if (v >= kPixelLimit) return kPixelLimit;
    if (v <= -kPixelLimit) return -kPixelLimit;
    return static_cast<std::int32_t>(std::nearbyint(v)); // current mode: to nearest, ties to even
}

WorldPoint ScreenToWorld(const ViewTransform& v, double sx, double sy) {
    const double z = v.zoom;
    return {static_cast<float>((sx - v.panHorz) / z), static_cast<float>(-(sy - v.panVert) / z)};
}

void ApplyZoomStep(ViewTransform& v, double d) {
    const double Z = v.zoom, H = v.panHorz, V = v.panVert;
    const float znew = static_cast<float>(Z + Z * d * 0.01);
    v.panHorz = static_cast<float>((H - 320) * znew / Z + 320);
    v.panVert = static_cast<float>(znew * (V - 240) / Z + 240);
    v.zoom = znew;
    if (v.zoom > 3000.0f) v.zoom = 3000.0f;
    if (!(v.zoom >= 0.5f)) v.zoom = 0.5f;
}

void ApplyViewJog(GearState& g, JogAxis axis, int position) {
    ViewTransform& v = g.view;
    switch (axis) {
    case JogAxis::PanVert:
        v.panVert = static_cast<float>(v.panVert - JogStep(g.panVertJog, position, kPanZoomJog));
        return;
    case JogAxis::PanHorz:
        v.panHorz = static_cast<float>(v.panHorz + JogStep(g.panHorzJog, position, kPanZoomJog));
        return;
    case JogAxis::Zoom:
        ApplyZoomStep(v, JogStep(g.zoomJog, position, kPanZoomJog));
        return;
    }
}

void NormalView(GearState& g, ViewControlState& s) {
    g.view = g.normalView;
    s.presetStaged = false;
}

void PressPreset(GearState& g, ViewControlState& s, int k) {
    if (k < 0 || k >= kPresetCount) return;
    if (k == 0) {
        g.viewPresets[0] = g.view;
        s.presetStaged = true;
        return;
    }
    const auto slot = static_cast<std::size_t>(k);
    if (s.presetStaged) g.viewPresets[slot] = g.viewPresets[0];
    g.view = g.viewPresets[slot];
    s.presetStaged = false;
}

bool TogglePanZoomBars(ViewControlState& s) {
    s.panZoomBarsShown = !s.panZoomBarsShown;
    return s.panZoomBarsShown;
}

void ResetPanZoomItem(ViewControlState& s) { s.panZoomBarsShown = false; }

void ComputePivotScreenPoints(GearState& g) {
    for (int n = 0; n < kScreenPivotCount; ++n) {
        const ScreenPoint s = WorldToScreen(g.view, g.piv.x[static_cast<std::size_t>(n)],
                                            g.piv.y[static_cast<std::size_t>(n)]);
        g.piv.sx[static_cast<std::size_t>(n)] = s.x;
        g.piv.sy[static_cast<std::size_t>(n)] = s.y;
    }
    g.piv.sx[18] = WorldToScreen(g.view, g.motion.reverseArmPosition, 0).x;
}

} // namespace vx
