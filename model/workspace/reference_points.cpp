#include "model/workspace/reference_points.h"

#include <algorithm>
#include <cmath>

#include "model/workspace/jog.h"
#include "model/workspace/view.h"

namespace vx {

int NearestPivot(const PivotTable& piv, float x, float y, int previous) {
    float best = 10000;
    int result = previous;
    for (int i = 1; i < kScreenPivotCount; ++i) {
        if (i == kRefPoint1 || i == kRefPoint2) continue;
        const auto n = static_cast<std::size_t>(i);
        const auto d = static_cast<float>(std::fabs(static_cast<double>(y) - piv.y[n]) +
                                          std::fabs(static_cast<double>(x) - piv.x[n]));
        if (d < best) {
            best = d;
            result = i;
        }
    }
    return result;
}

int ReferenceBarStep(GearState& g, int bar, int p) {
    const double d = JogStep(g.refJog.at(static_cast<std::size_t>(bar)), p, kReferenceJog);
    const int point = bar < kRef2Vert ? 1 : 2;
    float& coord = (bar == kRef1Vert || bar == kRef2Vert) ? RefY(g, point) : RefX(g, point);
    coord = static_cast<float>(coord + d);
    return point;
}

void ZeroReferencePoint(GearState& g, int point) {
    RefX(g, point) = 0;
    RefY(g, point) = 0;
}

namespace {
int LimitToBar(std::int32_t p) { return std::clamp(p, -500, 500); }
} // namespace

CentreBars CentreOnReferencePoint(GearState& g, int point) {
    ViewTransform& v = g.view;
    const ViewTransform& n = g.normalView;
    const double x = RefX(g, point);
    const double y = RefY(g, point);
    v.panHorz = static_cast<float>(320 - x * v.zoom);
    v.panVert = static_cast<float>(y * v.zoom + 240);
    const double zn = n.zoom, hn = n.panHorz, vn = n.panVert, z = v.zoom;
    CentreBars bars;
    bars.panHorz = LimitToBar(Nearest(((v.panHorz - 320.0) * zn / z + 320 - hn) * 100 / (-hn)));
    bars.panVert = LimitToBar(Nearest(((v.panVert - 240.0) * zn / z + 240 - vn) * 200 / vn));
    return bars;
}

SlotZone PickSlotZone(const GearState& g, int k) {
    return {Nearest((142.0 + 10 * k) * g.textScaleY), Nearest((151.0 + 10 * k) * g.textScaleY),
            Nearest(20.0 * g.textScaleX)};
}

PressOutcome PressOnPicture(GearState& g, int x, int y, PressButton button, const OverlayPickQuery& overlay,
                            const std::function<void()>& openDrawLines) {
    PressOutcome out;
    const bool left = button == PressButton::Left;
    const bool right = button == PressButton::Right;
    const bool outside = OutsideControlPanel(x, y);
    const WorldPoint w = ScreenToWorld(g.view, x, y);

    // 1, 2: the reference points, outside the control panel.
    if (g.refPointsOn && left && outside) {
        RefX(g, 1) = w.x;
        RefY(g, 1) = w.y;
        out.enableRefPt1Zero = true;
    }
    if (g.refPointsOn && right && outside) {
        RefX(g, 2) = w.x;
        RefY(g, 2) = w.y;
        out.enableRefPt2Zero = true;
    }
    // 3..5: hand the picked point back to the lines-and-circles dialog.
    auto handOff = [&] {
        out.openDrawLines = true;
        if (openDrawLines) openDrawLines();
    };
    if (g.refPointsOn && left && overlay.typeAndColourChosen && overlay.refChoice >= 0 && overlay.refChoice <= 2)
        handOff();
    if (left) g.leftClickSeen = true;
    if (g.refPointsOn && right && overlay.typeAndColourChosen && overlay.refChoice == 3 && g.leftClickSeen) {
        g.leftClickSeen = false;
        handOff();
    }
    // 6: fill the armed slot with the pivot nearest to the press.
    if (g.pivotDataOn && g.slotArmed && g.refPointsOn && left) {
        RefX(g, 1) = w.x;
        RefY(g, 1) = w.y;
        g.lastPickedPivot = NearestPivot(g.piv, w.x, w.y, g.lastPickedPivot);
        g.slotArmed = false;
        g.pickPivot[static_cast<std::size_t>(g.armedSlot)] = static_cast<float>(g.lastPickedPivot);
    }
    // 7: arm a slot by a press on its label (also right after filling one).
    if (g.pivotDataOn && !g.slotArmed && g.refPointsOn && left) {
        for (int k = 1; k <= kPickSlots; ++k) {
            const SlotZone z = PickSlotZone(g, k);
            if (y > z.top && y < z.bottom && x > 0 && x < z.right) {
                g.armedSlot = k;
                g.slotArmed = true;
                g.pickInUse[static_cast<std::size_t>(k)] = true;
            }
        }
    }
    // 8: any press ends the dimension locator.
    if (g.locatorDimension > 0) out.endLocator = true;
    return out;
}

} // namespace vx
