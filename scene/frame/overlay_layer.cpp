#include "scene/frame/overlay_layer.h"

#include <array>
#include <cstdint>
#include <limits>

#include "data/overlay.h"
#include "model/workspace/view.h"
#include "scene/frame/screen_text.h"

namespace vx {

namespace {

float Sum(float a, float b) {
    const double s = static_cast<double>(a) + b;
    constexpr double kMax = std::numeric_limits<float>::max();
    if (s > kMax) return std::numeric_limits<float>::infinity();
    if (s < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(s);
}

// The pen colour of an item. An empty item (-1) or any other value that is
// no colour number draws in black, so that whatever is drawn next with this
// pen (the reference point crosses) stays visible.
Rgb ItemColor(float color) {
    const std::int32_t n = Nearest(color);
    if (n < 0 || n > 0xFFFFFF) return colors::kBlack;
    return Rgb::FromColorRef(static_cast<std::uint32_t>(n));
}

// Current world position of an anchor pivot; false for a number outside the
// pivot table (possible only from a file).
bool AnchorAt(const GearState& g, float number, float& x, float& y) {
    const std::int32_t p = Nearest(number);
    if (p < 0 || p >= kPivotCount) return false;
    x = g.piv.x[static_cast<std::size_t>(p)];
    y = g.piv.y[static_cast<std::size_t>(p)];
    return true;
}

void DrawItem(const GearState& g, const OverlayItem& it, Canvas& c) {
    const ViewTransform& v = g.view;
    const double zoom = v.zoom, panH = v.panHorz, panV = v.panVert;
    if (it.kind == 0) {
        float x1 = it.horz1, y1 = it.vert1, x2 = it.horz2, y2 = it.vert2;
        if (it.refMode == 1 || it.refMode == 2 || it.refMode == 3) {
            float ax = 0, ay = 0;
            if (!AnchorAt(g, it.anchorPivot1, ax, ay)) return;
            x1 = Sum(ax, it.horz1);
            y1 = Sum(ay, it.vert1);
            if (it.refMode == 1) {
                x2 = Sum(ax, it.horz2);
                y2 = Sum(ay, it.vert2);
            } else if (it.refMode == 3) {
                float bx = 0, by = 0;
                if (!AnchorAt(g, it.anchorPivot2, bx, by)) return;
                x2 = Sum(bx, it.horz2);
                y2 = Sum(by, it.vert2);
            }
        } else if (it.refMode != 0) {
            return;
        }
        const ScreenPoint s1 = WorldToScreen(v, x1, y1);
        const ScreenPoint s2 = WorldToScreen(v, x2, y2);
        c.Line(s1.x, s1.y, s2.x, s2.y);
        return;
    }
    if (it.kind == 1) {
        float cx = it.horz1, cy = it.vert1;
        if (it.refMode == 1) {
            float ax = 0, ay = 0;
            if (!AnchorAt(g, it.anchorPivot1, ax, ay)) return;
            cx = Sum(ax, it.horz1);
            cy = Sum(ay, it.vert1);
        } else if (it.refMode != 0) {
            return;
        }
        const double r = it.horz2;
        const float left = Sum(cx, static_cast<float>(-r)), right = Sum(cx, static_cast<float>(r));
        const float low = Sum(cy, static_cast<float>(-r)), high = Sum(cy, static_cast<float>(r));
        c.Ellipse(Nearest(left * zoom + panH), Nearest(-low * zoom + panV + 1),
                  Nearest(right * zoom + panH + 1), Nearest(-high * zoom + panV));
    }
}

} // namespace

void DrawOverlayLayer(const GearState& g, Canvas& c) {
    for (std::size_t i = 1; i <= kOverlayItems; ++i) {
        const OverlayItem& it = g.overlay[i];
        c.SetPen(ItemColor(it.color), g.lineWidth);
        DrawItem(g, it, c);
    }
}

// How far the pick prompts move down while the pivot data list is shown:
// past its last row (y 200 .. 209) and the "DataTable" button (y 214 .. 228).
constexpr int kPromptBelowPivotData = 102;

void DrawOverlayPickPrompts(const GearState& g, Canvas& c) {
    if (!g.pivotPickPending) return;
    static constexpr std::array<const char*, 3> kOnePivot = {
        "STOP MOTION AND SELECT PIVOT 1", "USE LEFT MOUSE BUTTON", "MOVE MOTION IF NECESSARY TO CLEAR PIVOT"};
    static constexpr std::array<const char*, 3> kTwoPivots = {
        "STOP MOTION AND SELECT PIVOT 1 AND PIVOT 2", "USE LEFT MOUSE BUTTON FIRST THEN RIGHT",
        "MOVE MOTION IF NECESSARY TO CLEAR PIVOTS"};
    static constexpr std::array<int, 3> kRows = {130, 143, 156};
    const auto& lines = g.overlayChoice.ref == 3 ? kTwoPivots : kOnePivot;
    TextStyle style;
    style.bold = true;
    style.color = colors::kRed;
    // Below the pivot data list while that is shown, so that both can be read.
    const int below = g.pivotDataOn ? kPromptBelowPivotData : 0;
    const std::int32_t x = Nearest(static_cast<double>(g.textScaleX) * 10);
    for (std::size_t k = 0; k < lines.size(); ++k)
        c.Text(x, Nearest(static_cast<double>(g.textScaleY) * (kRows[k] + below)), lines[k], LayoutStyle(g, style));
}

} // namespace vx
