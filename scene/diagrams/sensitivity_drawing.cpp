#include "scene/diagrams/sensitivity_drawing.h"

#include <algorithm>
#include <cmath>

#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/analysis/valve_events_text.h"
#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/table_drawing.h"
#include "scene/diagrams/valve_events_drawing.h"

namespace vx {
namespace {

constexpr int kPx = 11;
constexpr Rgb kGrowBar{70, 110, 200};
constexpr Rgb kShrinkBar{210, 90, 60};
constexpr Rgb kGreyInk{96, 96, 96};

TextStyle Style(Rgb color = colors::kBlack, bool bold = false) { return SansStyle(kPx, color, bold); }



// The dimension's name as a reader knows it: the field and the short name.
std::string RowName(int id) {
    const DimensionInfo* d = FindDimension(id);
    return std::string(d->field);
}

} // namespace

std::string NotchName(int k) {
    static constexpr const char* kNames[kNotchCount] = {
        "Normal full forward", "3/4 forward", "1/2 forward", "1/4 forward", "Mid gear",
        "1/4 reverse",         "1/2 reverse", "3/4 reverse", "Normal full reverse"};
    return k >= 0 && k < kNotchCount ? kNames[k] : std::string("Position ") + std::to_string(k + 1);
}

int SensitivityChartRowAt(int top, int y) {
    const int first = top + kSensitivityRowHeight + 6;
    if (y < first) return -1;
    return (y - first) / kSensitivityRowHeight;
}

int DrawSensitivityChart(Canvas& c, const SensitivityResult& r, std::size_t position, EventFigure f, int count,
                         int left, int top, int width) {
    if (!r.Ok() || position >= r.positions.size()) {
        c.Text(left, top, "No sensitivity to show.", Style(colors::kRed));
        return top + kSensitivityRowHeight;
    }
    const SensitivityPosition& sp = r.positions[position];
    const bool lead = IsLeadFigure(f);
    std::string title = std::string(EventFigureName(f)) + " at reverse arm " + FixedString(sp.position, 4) +
                        (sp.forward ? ", forward" : ", reverse") + ": how far a tolerance of 0.001 (0.1 degree for "
                        "an angle) moves it, in " + (lead ? "length units" : "points of stroke");
    c.Text(left, top, title, Style(colors::kBlack, true));
    int y = top + kSensitivityRowHeight + 6;
    if (!sp.nominal.Closes()) {
        c.Text(left, y, "The linkage does not close here: " + ValveEventsErrorText(sp.nominal), Style(colors::kRed));
        return y + kSensitivityRowHeight;
    }

    const std::vector<int> order = RankDimensions(r, position, f);
    const std::size_t n = count > 0 ? std::min(order.size(), static_cast<std::size_t>(count)) : order.size();
    double largest = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const SensitivityEntry& e = r.At(position, static_cast<std::size_t>(order[i]), f);
        if (e.status == SensitivityStatus::Ok) largest = std::max(largest, std::fabs(double{e.perTolerance}));
    }
    constexpr int kNameWidth = 190;
    constexpr int kValueWidth = 90;
    const int barLeft = left + kNameWidth;
    const int barWidth = std::max(40, width - kNameWidth - kValueWidth);
    const int axis = barLeft + barWidth / 2;
    const int half = barWidth / 2 - 2;
    const int decimals = lead ? 6 : 4;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t d = static_cast<std::size_t>(order[i]);
        const SensitivityEntry& e = r.At(position, d, f);
        if (i % 2 == 1) FillBox(c, left, y - 1, left + width, y + kSensitivityRowHeight - 1, Rgb{244, 244, 244});
        c.Text(left, y + 2, std::to_string(i + 1) + "  " + RowName(r.ids[d]), Style());
        if (e.status == SensitivityStatus::Ok) {
            const double share = largest > 0 ? std::fabs(double{e.perTolerance}) / largest : 0;
            const int length = static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * half));
            const bool grows = e.perTolerance >= 0;
            if (length > 0) {
                if (grows) FillBox(c, axis, y + 2, axis + length, y + kSensitivityRowHeight - 3, kGrowBar);
                else FillBox(c, axis - length, y + 2, axis, y + kSensitivityRowHeight - 3, kShrinkBar);
            }
            std::string value = FixedString(e.perTolerance, decimals);
            if (e.retried) value += " *";
            c.Text(barLeft + barWidth + 6, y + 2, value, Style());
        } else {
            const bool fails = e.status == SensitivityStatus::Fails;
            const bool kink = e.status == SensitivityStatus::Kink;
            c.Text(axis + 6, y + 2,
                   fails ? "fails: the linkage does not close at the step"
                         : (kink ? "kink: the figure turns a corner here" : "no event"),
                   Style(fails ? colors::kRed : kGreyInk));
        }
        y += kSensitivityRowHeight;
    }
    c.SetPen(colors::kBlack, 1);
    c.Line(axis, top + kSensitivityRowHeight + 2, axis, y + 2);
    y += 6;
    c.Text(left, y,
           "Blue: the figure grows with the dimension; red: it shrinks. * found at a tenth of the step.",
           Style(kGreyInk));
    return y + kSensitivityRowHeight;
}

void DrawSensitivityPicture(const GearState& g, Canvas& c, const SensitivityResult& r, std::size_t position,
                            EventFigure f, int count) {
    const int y = DrawSensitivityChart(c, r, position, f, count, 8, kSensitivityChartTop, c.Width() - 16);
    c.Text(8, y, "Double-click a row to make its dimension a dynamic variable.", Style(kGreyInk));
    DrawDynVarBlock(g, c);
}

} // namespace vx
