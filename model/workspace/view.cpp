#include "model/workspace/view.h"

#include "base/float_cast.h"

#include <cmath>
#include <cstddef>

#include "model/workspace/jog.h"

namespace vx {


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

// The outline points of the cylinder, piston and valve on the screen.
void ComputeOutlinePoints(GearState& g) {
    const ViewTransform& v = g.view;
    const CylinderDimensions& c = g.cyl;
    auto at = [&v](double x, double y) { return WorldToScreen(v, F(x), F(y)); };

    const double C = c.cylCtrToDriverCtr(), n = c.exhaustPortWidth();
    const double Yc = g.fixedPivots.cylinderCentreY;
    const double S = F(Yc + D(c.valveSurfaceToCL()));
    const double T = F(S + D(c.chamberHeight()));
    const double K = c.chamberLength(), H = c.boreLength(), G = c.boreDia(), I = c.cylSteamPortWidth();
    const double o = c.bridgeRear(), q = c.steamPortRear(), p = c.bridgeFront(), r = c.steamPortFront();

    auto& co = g.cylOutline;
    co[0] = at(C - n / 2, T);
    co[1] = at(C - K / 2, T);
    co[2] = at(C - K / 2, S);
    co[3] = at(C - n / 2 - o - q, S);
    co[4] = at(C - n / 2 - o - q, S - n / 3);
    co[5] = at(C - H / 2, Yc + G / 2);
    co[6] = at(C - H / 2, Yc - G / 2);
    co[7] = at(C + H / 2, Yc - G / 2);
    co[8] = at(C + H / 2, Yc + G / 2);
    co[9] = at(C + n / 2 + p + r, S - n / 3);
    co[10] = at(C + n / 2 + p + r, S);
    co[11] = at(C + K / 2, S);
    co[12] = at(C + K / 2, T);
    co[13] = at(C + n / 2, T);
    co[14] = at(C - n / 2, S - q);
    co[15] = at(C - n / 2, S);
    co[16] = at(C - n / 2 - o, S);
    co[17] = at(C - n / 2 - o, S - n / 1.5);
    co[18] = at(C - H / 2 + I, Yc + G / 2);
    co[19] = at(C + H / 2 - I, Yc + G / 2);
    co[20] = at(C + n / 2 + p, S - n / 1.5);
    co[21] = at(C + n / 2 + p, S);
    co[22] = at(C + n / 2, S);
    co[23] = at(C + n / 2, S - q);

    const double X3 = g.piv.x[3], P = c.pistonToCrosshead(), W = c.pistonWidth();
    const double X4 = g.piv.x[4], Y4 = g.piv.y[4];
    const double Vc = F(X4 + D(c.valveCtrToJoint()));
    const double vr = c.valveRearHalf(), vf = c.valveFrontHalf(), xr = c.cavityRearHalf(),
                 xf = c.cavityFrontHalf(), U = c.valveHeight();

    auto& vo = g.valveOutline;
    vo[0] = at(X3 + P + W / 2, Yc);
    vo[1] = at(X3 + P - W / 2, Yc + G / 2);
    vo[2] = at(X3 + P - W / 2, Yc - G / 2);
    vo[3] = at(X3 + P + W / 2, Yc - G / 2);
    vo[4] = at(X3 + P + W / 2, Yc + G / 2);
    vo[5] = at(Vc - vr, Y4);
    vo[6] = at(Vc - vr, S + U);
    vo[7] = at(Vc + vf, S + U);
    vo[8] = at(Vc + vf, S);
    vo[9] = at(Vc + xf, S);
    // The cavity top lies a third of the way down the valve, on the screen.
    const std::int32_t top = vo[6].y + (vo[8].y - vo[6].y) / 3;
    vo[10] = {at(Vc + xf, S).x, top};
    vo[11] = {at(Vc - xr, S).x, top};
    vo[12] = at(Vc - xr, S);
    vo[13] = at(Vc - vr, S);
}

} // namespace vx
