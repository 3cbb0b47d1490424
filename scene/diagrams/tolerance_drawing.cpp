#include "scene/diagrams/tolerance_drawing.h"

#include <algorithm>
#include <cmath>

#include "base/fixed_format.h"
#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/sensitivity_drawing.h"
#include "scene/diagrams/table_drawing.h"
#include "scene/diagrams/valve_events_drawing.h"

namespace vx {
namespace {

constexpr int kPx = 11;
constexpr Rgb kBar{70, 110, 200};
constexpr Rgb kGreyInk{96, 96, 96};

TextStyle Style(Rgb color = colors::kBlack, bool bold = false) { return SansStyle(kPx, color, bold); }



// The pixel column of value v on an axis from lo to hi across [x0, x1],
// safe for any value.
int XOf(double v, double lo, double hi, int x0, int x1) {
    const double t = hi > lo ? (v - lo) / (hi - lo) : 0.5;
    return x0 + static_cast<int>(std::lround(std::clamp(t, 0.0, 1.0) * (x1 - x0)));
}

void DashedVertical(Canvas& c, int x, int top, int bottom, Rgb color) {
    c.SetPen(color, 1);
    for (int y = top; y < bottom; y += 6) c.Line(x, y, x, std::min(y + 3, bottom));
}

std::string Caption(const ToleranceResult& r, std::size_t i) {
    const TolerancePosition& p = r.positions[i];
    std::string name = r.positions.size() == static_cast<std::size_t>(kNotchCount)
                           ? std::to_string(i + 1) + " " + NotchName(static_cast<int>(i))
                           : "Reverse arm " + FixedString(p.position, 4);
    return name + (p.forward ? " (fwd): " : " (rev): ") + FixedString(100.0 * double{p.overThreshold}, 1) + " % of closing over, " +
           std::to_string(p.linkageFailures) + " failed";
}

} // namespace

void DrawToleranceHistogram(Canvas& c, const TolerancePosition& p, float threshold, std::string_view caption,
                            int left, int top, int width, int height) {
    c.Text(left, top, caption, Style(colors::kBlack, true));
    const int x0 = left + 4, x1 = left + width - 4;
    const int base = top + height - 16; // the axis
    const int roof = top + 18;
    c.SetPen(colors::kSilver, 1);
    c.Line(x0, roof, x0, base);
    const auto& nominal = p.figures[static_cast<std::size_t>(EventFigure::CutOffDiff)].nominal;
    int most = 0;
    for (const int n : p.histogram) most = std::max(most, n);
    if (most == 0 && !nominal) {
        c.Text(x0 + 4, roof + 10, "no sample gave a cut-off difference", Style(colors::kRed));
        return;
    }
    const double lo = p.histLow, hi = p.histHigh;
    for (int b = 0; b < kToleranceHistogramBins; ++b) {
        const int n = p.histogram[static_cast<std::size_t>(b)];
        if (n == 0) continue;
        const int bl = x0 + (x1 - x0) * b / kToleranceHistogramBins;
        const int br = x0 + (x1 - x0) * (b + 1) / kToleranceHistogramBins;
        const int h = static_cast<int>(std::lround(static_cast<double>(n) / most * (base - roof)));
        FillBox(c, bl + 1, base - std::max(h, 1), br, base, kBar);
    }
    c.SetPen(colors::kBlack, 1);
    c.Line(x0, base, x1, base);
    // The threshold either side of zero, where it falls inside the range.
    for (const double t : {-double{threshold}, double{threshold}})
        if (t > lo && t < hi) DashedVertical(c, XOf(t, lo, hi, x0, x1), roof, base, kGreyInk);
    if (nominal) {
        const int x = XOf(*nominal, lo, hi, x0, x1);
        c.SetPen(colors::kRed, 2);
        c.Line(x, roof - 2, x, base + 3);
        c.Text(std::min(x + 3, x1 - 50), roof - 2, "nominal", Style(colors::kRed));
    }
    const std::string low = FixedString(lo, 2), high = FixedString(hi, 2);
    c.Text(x0, base + 2, low, Style(kGreyInk));
    c.Text(x1 - SansTextWidth(high, kPx), base + 2, high, Style(kGreyInk));
    const std::string unit = "front - rear cut-off, points";
    c.Text((x0 + x1 - SansTextWidth(unit, kPx)) / 2, base + 2, unit, Style(kGreyInk));
}

int DrawToleranceTable(Canvas& c, const ToleranceResult& r, int left, int top) {
    static constexpr const char* kHeads[] = {"position", "dir",       "cut-off diff", "5 %",    "median",
                                             "95 %",     "lead diff 5 %", "95 %",     "over",   "failed"};
    static constexpr int kWidths[] = {80, 36, 90, 70, 70, 70, 100, 80, 70, 70};
    int x = left;
    for (std::size_t k = 0; k < std::size(kHeads); ++k) {
        const int w = kWidths[k];
        const std::string_view h = kHeads[k];
        c.Text(k < 2 ? x : x + w - SansTextWidth(h, kPx, true), top, h, Style(colors::kBlack, true));
        x += w;
    }
    int y = top + kPx + 5;
    c.SetPen(colors::kSilver, 1);
    c.Line(left, y - 2, x, y - 2);
    for (const TolerancePosition& p : r.positions) {
        const FigureSpread& cut = p.figures[static_cast<std::size_t>(EventFigure::CutOffDiff)];
        const FigureSpread& lead = p.figures[static_cast<std::size_t>(EventFigure::LeadDiff)];
        const auto figure = [](const FigureSpread& s, float v, int decimals) {
            return s.count > 0 ? FixedString(v, decimals) : std::string("-");
        };
        const std::string cells[] = {
            FixedString(p.position, 4),
            p.forward ? "fwd" : "rev",
            !p.nominal.Closes() ? std::string("fails") : cut.nominal ? FixedString(*cut.nominal, 3) : std::string("-"),
            figure(cut, cut.p05, 3),
            figure(cut, cut.median, 3),
            figure(cut, cut.p95, 3),
            figure(lead, lead.p05, 5),
            figure(lead, lead.p95, 5),
            FixedString(100.0 * double{p.overThreshold}, 1) + " %",
            FixedString(100.0 * double{cut.failed}, 1) + " %",
        };
        x = left;
        for (std::size_t k = 0; k < std::size(cells); ++k) {
            const int w = kWidths[k];
            const bool bad = (k == 2 && !p.nominal.Closes()) || (k == 9 && cut.failed > 0);
            const TextStyle s = Style(bad ? colors::kRed : colors::kBlack);
            c.Text(k < 2 ? x : x + w - SansTextWidth(cells[k], kPx), y, cells[k], s);
            x += w;
        }
        y += kPx + 4;
    }
    return y;
}

int DrawToleranceSummary(Canvas& c, const ToleranceResult& r, int left, int top, int width) {
    if (!r.Ok()) {
        c.Text(left, top, r.cancelled ? "Cancelled." : r.error, Style(colors::kRed));
        return top + kPx + 6;
    }
    constexpr int kColumns = 3;
    constexpr int kHeight = 140;
    const int cell = width / kColumns;
    const std::size_t shown = std::min<std::size_t>(r.positions.size(), 9);
    int y = top;
    for (std::size_t i = 0; i < shown; ++i) {
        const int col = static_cast<int>(i % kColumns);
        const int row = static_cast<int>(i / kColumns);
        y = top + row * (kHeight + 8);
        DrawToleranceHistogram(c, r.positions[i], r.threshold, Caption(r, i), left + col * cell, y, cell - 12,
                               kHeight);
    }
    if (shown > 0) y += kHeight + 14;
    std::string note = std::to_string(r.samples) + " samples. The red line is the design's own difference; the "
                       "dashed lines are +-" + FixedString(r.threshold, 2) + " points.";
    c.Text(left, y, note, Style(kGreyInk));
    return DrawToleranceTable(c, r, left, y + kPx + 8);
}

void DrawTolerancePicture(const GearState& g, Canvas& c, const ToleranceResult* r, std::string_view status) {
    c.Text(8, kToleranceChartTop, status, Style(r ? colors::kRed : colors::kBlack));
    if (r) DrawToleranceSummary(c, *r, 8, kToleranceChartTop + 20, c.Width() - 16);
    DrawDynVarBlock(g, c);
}

} // namespace vx
