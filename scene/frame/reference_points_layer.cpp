#include "scene/frame/reference_points_layer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "base/fixed_format.h"
#include "model/workspace/view.h"
#include "scene/frame/screen_text.h"

namespace vx {
namespace {

// Text of `prefix` followed by v written as w:d, in a fixed buffer.
struct Number {
    char buf[kNumberBuffer + 8];
    std::string_view text;
    Number(std::string_view prefix, double v, int w, int d) {
        char digits[kNumberBuffer];
        const std::string_view n = FormatFixed(digits, v, w, d);
        const std::size_t p = std::min(prefix.size(), std::size_t{8});
        std::memcpy(buf, prefix.data(), p);
        std::memcpy(buf + p, n.data(), n.size());
        text = std::string_view(buf, p + n.size());
    }
};

// A fixed layout position, multiplied by the text scale.
int Sx(const GearState& g, double x) { return Nearest(x * g.textScaleX); }
int Sy(const GearState& g, double y) { return Nearest(y * g.textScaleY); }

void Put(const GearState& g, Canvas& c, double x, double y, std::string_view text, Rgb color = colors::kBlack) {
    c.Text(Sx(g, x), Sy(g, y), text, LayoutStyle(g, ReferenceTextStyle(color)));
}

// The reference point block's columns are 64 pixels apart: its texts are in
// the narrow face, which fits a label and a value of any size there.
void PutNarrow(const GearState& g, Canvas& c, double x, double y, std::string_view text) {
    TextStyle s = ReferenceTextStyle();
    s.face = FontFace::SansNarrow;
    c.Text(Sx(g, x), Sy(g, y), text, LayoutStyle(g, s));
}

constexpr std::string_view kDigits[] = {"0", "1", "2", "3", "4", "5", "6"};

float Distance(double x1, double y1, double x2, double y2) {
    return static_cast<float>(std::sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2)));
}

int SlotPivot(const GearState& g, int k) {
    return std::clamp(Nearest(g.pickPivot[static_cast<std::size_t>(k)]), 0, kPivotCount - 1);
}

void Cross(Canvas& c, int x, int y) {
    c.Line(x, y - 10, x, y + 10);
    c.Line(x - 10, y, x + 10, y);
}

} // namespace

TextStyle ReferenceTextStyle(Rgb color) {
    TextStyle s; // the screen data layer's text
    s.color = color;
    return s;
}

void DrawPivotDataDisplay(const GearState& g, Canvas& c) {
    if (!g.pivotDataOn) return;
    Put(g, c, 1, 128, "    Pivot Data");
    Put(g, c, 1, 138, "No.  Vert     Horz");
    for (int k = 1; k <= kPickSlots; ++k) {
        const double row = 140 + 10 * k;
        Put(g, c, 3, row, kDigits[k], colors::kRed);
        const auto slot = static_cast<std::size_t>(k);
        if (g.pickInUse[slot]) {
            const auto p = static_cast<std::size_t>(SlotPivot(g, k));
            const float x = g.piv.x[p], y = g.piv.y[p];
            Put(g, c, 12, row, Number("", y, 7, 3).text);
            Put(g, c, 50, row, Number("", x, 7, 3).text);
            // The label beside the pivot itself, where the picture puts it.
            c.Text(Nearest(static_cast<double>(x) * g.view.zoom + g.view.panHorz + 4),
                   Nearest(-static_cast<double>(y) * g.view.zoom + g.view.panVert - 12), kDigits[k],
                   ReferenceTextStyle(colors::kRed));
        }
        if (k < kPickSlots && g.pickInUse[slot] && g.pickInUse[slot + 1]) {
            const auto a = static_cast<std::size_t>(SlotPivot(g, k));
            const auto b = static_cast<std::size_t>(SlotPivot(g, k + 1));
            Put(g, c, 90, 145 + 10 * k, Number("", Distance(g.piv.x[a], g.piv.y[a], g.piv.x[b], g.piv.y[b]), 7, 3).text);
        }
    }
}

void DrawReferencePointDisplay(const GearState& g, Canvas& c) {
    if (!g.refPointsOn) return;
    const float itemColor = g.overlay[kOverlayItems].color;
    Rgb pen = colors::kBlack;
    if (itemColor >= 0 && itemColor <= 16777215.0f)
        pen = Rgb::FromColorRef(static_cast<std::uint32_t>(Nearest(itemColor)));
    c.SetPen(pen, g.lineWidth);

    const float x1 = g.piv.x[kRefPoint1], y1 = g.piv.y[kRefPoint1];
    const float x2 = g.piv.x[kRefPoint2], y2 = g.piv.y[kRefPoint2];
    const int sx1 = g.piv.sx[kRefPoint1], sy1 = g.piv.sy[kRefPoint1];
    const int sx2 = g.piv.sx[kRefPoint2], sy2 = g.piv.sy[kRefPoint2];

    Cross(c, sx2, sy2);
    PutNarrow(g, c, 143, 95, Number("Pt2V ", y2, 6, 3).text);
    PutNarrow(g, c, 143, 107, Number("Pt2H ", x2, 6, 3).text);
    c.Text(sx2 + 3, sy2 - 17, "2", ReferenceTextStyle());

    Cross(c, sx1, sy1);
    PutNarrow(g, c, 143, 71, Number("Pt1V ", y1, 6, 3).text);
    PutNarrow(g, c, 143, 83, Number("Pt1H ", x1, 6, 3).text);
    c.Text(sx1 + 3, sy1 - 17, "1", ReferenceTextStyle());

    // The differences' column starts four pixels left of the classic 210 and
    // 209: a number's point is drawn with its digits in the sans, and the
    // widest differences must still end before the panel right of them.
    PutNarrow(g, c, 206, 71, Number("", static_cast<float>(static_cast<double>(y1) - y2), 6, 3).text);
    PutNarrow(g, c, 206, 83, Number("", static_cast<float>(static_cast<double>(x1) - x2), 6, 3).text);
    PutNarrow(g, c, 207, 95, "Pt1-Pt2");
    PutNarrow(g, c, 206, 107, Number("", Distance(x1, y1, x2, y2), 6, 3).text);
}

} // namespace vx
