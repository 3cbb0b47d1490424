#include "scene/diagrams/work_drawing.h"

#include "model/gear/reverse_arm.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "base/fixed_format.h"
#include "model/analysis/work_text.h"
#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/table_drawing.h"
#include "scene/diagrams/valve_events_drawing.h"

namespace vx {
namespace {

int LineHeight(int px) { return px + px / 3 + 1; }

// A pixel coordinate from any double: NaN to `fallback`, the rest held
// within a range every canvas clips safely.
int Pixel(double v, int fallback = 0) {
    if (!(v == v)) return fallback;
    return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6)));
}


// Maps values onto a box: x from x0..x1, y from y0 (bottom) to y1 (top).
struct Axes {
    int left, top, right, bottom;
    double x0, x1, y0, y1;
    int X(double x) const {
        const double t = (x - x0) / (x1 - x0);
        return Pixel(left + t * (right - left), left);
    }
    int Y(double y) const {
        double t = (y - y0) / (y1 - y0);
        t = std::clamp(t, -0.02, 1.02); // a peak beyond the scale stays at the box's edge
        return Pixel(bottom - t * (bottom - top), bottom);
    }
};

// The samples of one stroke: evenly spaced, with the card's corners.
constexpr int kEvenSamples = 48;
using Samples = std::array<double, kEvenSamples + 1 + 2>;

int StrokeSamples(double e1, double e2, Samples& xs) {
    int n = 0;
    for (int i = 0; i <= kEvenSamples; ++i) xs[static_cast<std::size_t>(n++)] = static_cast<double>(i) / kEvenSamples;
    for (const double e : {e1, e2})
        if (e > 0 && e < 1) xs[static_cast<std::size_t>(n++)] = e;
    std::sort(xs.begin(), xs.begin() + n);
    return n;
}

void DrawCardLine(Canvas& c, const Axes& ax, const IndicatorCard& card, const WorkSettings& s, Rgb ink) {
    if (!card.hasCard) return;
    c.SetPen(ink, 2);
    const double cl = s.clearance;
    Samples xs;
    const int nOut = StrokeSamples(card.cutOff, card.release, xs);
    c.MoveTo(ax.X(cl), ax.Y(CardPressure(card, s, true, 0)));
    for (int i = 1; i < nOut; ++i) {
        const double x = xs[static_cast<std::size_t>(i)];
        c.LineTo(ax.X(cl + x), ax.Y(CardPressure(card, s, true, static_cast<float>(x))));
    }
    const int nRet = StrokeSamples(card.compression, card.admission, xs);
    for (int i = nRet - 1; i >= 0; --i) {
        const double x = xs[static_cast<std::size_t>(i)];
        c.LineTo(ax.X(cl + x), ax.Y(CardPressure(card, s, false, static_cast<float>(x))));
    }
    // Back to the start: the admission line at dead centre.
    c.LineTo(ax.X(cl), ax.Y(CardPressure(card, s, true, 0)));
}

std::string MepText(const IndicatorCard& card) { return card.hasCard ? FixedString(card.mep, 1) : std::string("-"); }

} // namespace

void DrawWorkCard(Canvas& c, const PositionWork& w, const WorkSettings& s, int number, int left, int top, int width,
                  int height, int px) {
    const int line = LineHeight(px);
    // Caption: number, position, direction, MEP front / rear.
    std::string caption = std::to_string(number) + ".  " + FixedString(w.position, 4) + (w.forward ? " Fwd" : " Rev");
    c.Text(left, top, caption, SansStyle(px, colors::kBlack, true));
    int x = left + SansTextWidth(caption, px, true) + px;
    const std::string f = "MEP " + MepText(w.front);
    c.Text(x, top, f, SansStyle(px, kWorkFrontInk));
    x += SansTextWidth(f, px) + px / 2;
    const std::string r = MepText(w.rear);
    c.Text(x, top, r, SansStyle(px, kWorkRearInk));

    const double cl = s.clearance;
    double peak = s.admissionPressure;
    for (const IndicatorCard* card : {&w.front, &w.rear}) peak = std::max<double>(peak, CardPeakPressure(*card, s));
    peak = std::min(peak, 2.0 * s.admissionPressure); // a compression loop far above p1 is cut at the top
    const int labelWidth = SansTextWidth(FixedString(s.admissionPressure, 0), px) + 4;
    Axes ax{left + labelWidth, top + line + 2, left + width - 6, top + height - line - 2, 0.0, 1.0 + cl, 0.0,
            peak * 1.05};
    if (!(ax.x1 > ax.x0)) ax.x1 = 1;
    if (!(ax.y1 > ax.y0)) ax.y1 = 1;

    // The clearance: hatched left of the dead centre.
    const int dc = ax.X(cl);
    c.SetPen(colors::kSilver, 1);
    for (int hx = ax.left + 2; hx < dc; hx += 3) c.Line(hx, ax.top, hx, ax.bottom);
    // Back pressure and admission pressure.
    c.Line(ax.left, ax.Y(s.backPressure), ax.right, ax.Y(s.backPressure));
    c.Line(ax.left, ax.Y(s.admissionPressure), ax.right, ax.Y(s.admissionPressure));
    // Axes, the dead centres.
    c.SetPen(colors::kBlack, 1);
    c.Line(ax.left, ax.top, ax.left, ax.bottom);
    c.Line(ax.left, ax.bottom, ax.right + 1, ax.bottom);
    c.SetPen(colors::kGrey, 1);
    c.Line(dc, ax.top, dc, ax.bottom);
    c.Line(ax.right, ax.top, ax.right, ax.bottom);
    const TextStyle small = SansStyle(px, colors::kGrey);
    const std::string p1 = FixedString(s.admissionPressure, 0);
    c.Text(ax.left - SansTextWidth(p1, px) - 3, ax.Y(s.admissionPressure) - px / 2, p1, small);
    c.Text(ax.left - SansTextWidth("0", px) - 3, ax.bottom - px / 2, "0", small);
    c.Text(ax.left, ax.bottom + 2, "clearance", SansStyle(px - 1, colors::kGrey));
    const std::string_view vol = "volume";
    c.Text(ax.right - SansTextWidth(vol, px - 1), ax.bottom + 2, vol, SansStyle(px - 1, colors::kGrey));

    // Rear first, so that the front card lies on top where they coincide.
    DrawCardLine(c, ax, w.rear, s, kWorkRearInk);
    DrawCardLine(c, ax, w.front, s, kWorkFrontInk);
    if (!w.HasCards()) {
        const std::string_view none = !w.front.hasCard && !w.rear.hasCard ? "no cards" : !w.front.hasCard
                                                                                             ? "no front card"
                                                                                             : "no rear card";
        TextStyle ink = SansStyle(px, colors::kRed, true);
        ink.opaque = true; // readable over the other end's card
        c.Text((ax.left + ax.right - SansTextWidth(none, px, true)) / 2, (ax.top + ax.bottom) / 2, none, ink);
    }
}

void DrawWorkCards(Canvas& c, std::span<const PositionWork> work, const WorkSettings& s, int left, int top,
                   int width, int height, int columns, int px) {
    if (work.empty()) {
        c.Text(left, top, "No reverse arm positions listed (SetRevArmPos)", SansStyle(px + 1, colors::kRed));
        return;
    }
    columns = std::max(1, columns);
    const int n = static_cast<int>(work.size());
    const int rows = (n + columns - 1) / columns;
    const int cw = width / columns, ch = height / std::max(1, rows);
    for (int i = 0; i < n; ++i) {
        const int col = i % columns, row = i / columns;
        DrawWorkCard(c, work[static_cast<std::size_t>(i)], s, i + 1, left + col * cw, top + row * ch, cw - 10,
                     ch - 8, px);
    }
}

void DrawEconomyCurve(Canvas& c, std::span<const PositionWork> notches, const WorkSettings& s, int left, int top,
                      int width, int height, int px) {
    const int line = LineHeight(px);
    c.Text(left, top, "Economy curve over the notches", SansStyle(px, colors::kBlack, true));
    c.Text(left, top + line, "MEP front", SansStyle(px, kWorkFrontInk));
    int lx = left + SansTextWidth("MEP front", px) + px;
    c.Text(lx, top + line, "MEP rear", SansStyle(px, kWorkRearInk));
    lx += SansTextWidth("MEP rear", px) + px;
    c.Text(lx, top + line, "steam per work", SansStyle(px, kWorkSteamInk));

    // The notches with both cards, in order of cut-off.
    std::array<std::size_t, kNotchCount> order{};
    std::array<double, kNotchCount> cut{};
    int n = 0;
    double mepLow = 0, mepHigh = s.admissionPressure, steamHigh = 0;
    for (std::size_t i = 0; i < notches.size() && n < kNotchCount; ++i) {
        const PositionWork& w = notches[i];
        if (!w.HasCards()) continue;
        cut[i] = 50.0 * (static_cast<double>(w.front.cutOff) + static_cast<double>(w.rear.cutOff));
        order[static_cast<std::size_t>(n++)] = i;
        mepLow = std::min({mepLow, static_cast<double>(w.front.mep), static_cast<double>(w.rear.mep)});
        for (const IndicatorCard* card : {&w.front, &w.rear})
            if (card->steamPerWork) steamHigh = std::max(steamHigh, static_cast<double>(*card->steamPerWork));
    }
    std::sort(order.begin(), order.begin() + n, [&](std::size_t a, std::size_t b) { return cut[a] < cut[b]; });
    if (!(steamHigh > 0)) steamHigh = 1;
    steamHigh *= 1.1;

    const int axisLabel = SansTextWidth("0000", px) + 4;
    Axes mep{left + axisLabel, top + 2 * line + 6, left + width - axisLabel, top + height - line - 4, 0, 100, mepLow,
             mepHigh};
    Axes steam = mep;
    steam.y0 = 0;
    steam.y1 = steamHigh;

    c.SetPen(colors::kSilver, 1);
    for (int k = 1; k <= 4; ++k) c.Line(mep.X(25.0 * k), mep.top, mep.X(25.0 * k), mep.bottom);
    c.SetPen(colors::kBlack, 1);
    c.Line(mep.left, mep.top, mep.left, mep.bottom);
    c.Line(mep.left, mep.bottom, mep.right + 1, mep.bottom);
    c.SetPen(kWorkSteamInk, 1);
    c.Line(mep.right, mep.top, mep.right, mep.bottom);
    const TextStyle grey = SansStyle(px, colors::kGrey);
    for (int k = 0; k <= 4; ++k) {
        const std::string t = std::to_string(25 * k);
        c.Text(mep.X(25.0 * k) - SansTextWidth(t, px) / 2, mep.bottom + 2, t, grey);
    }
    const std::string_view xl = "cut-off, % of stroke";
    c.Text((mep.left + mep.right - SansTextWidth(xl, px)) / 2, mep.bottom + 2 + line - 2, xl, grey);
    for (const double v : {mepLow, mepHigh}) {
        const std::string t = FixedString(v, 0);
        c.Text(mep.left - SansTextWidth(t, px) - 3, mep.Y(v) - px / 2, t, grey);
    }
    const std::string sh = FixedString(steamHigh, 2);
    c.Text(mep.right + 3, steam.Y(steamHigh) - px / 2, sh, SansStyle(px, kWorkSteamInk));
    if (n == 0) {
        c.Text(mep.left + 6, (mep.top + mep.bottom) / 2, "no notch has both cards", SansStyle(px, colors::kRed));
        return;
    }

    struct Series {
        Rgb ink;
        const Axes* ax;
        bool steamOf;
        bool rear;
    };
    const Series series[] = {{kWorkFrontInk, &mep, false, false},
                             {kWorkRearInk, &mep, false, true},
                             {kWorkSteamInk, &steam, true, false}};
    for (const Series& se : series) {
        c.SetPen(se.ink, se.steamOf ? 1 : 2);
        bool started = false;
        for (int j = 0; j < n; ++j) {
            const PositionWork& w = notches[order[static_cast<std::size_t>(j)]];
            double v;
            if (se.steamOf) {
                // The mean of the ends' steam per work where both have one.
                if (!w.front.steamPerWork || !w.rear.steamPerWork) continue;
                v = 0.5 * (static_cast<double>(*w.front.steamPerWork) + static_cast<double>(*w.rear.steamPerWork));
            } else {
                v = w.End(se.rear).mep;
            }
            const int x = se.ax->X(cut[order[static_cast<std::size_t>(j)]]), y = se.ax->Y(v);
            if (started) c.LineTo(x, y);
            c.Line(x - 2, y - 2, x + 3, y + 3);
            c.Line(x - 2, y + 2, x + 3, y - 3);
            c.MoveTo(x, y);
            started = true;
        }
    }
}

namespace {

constexpr TableColumn kTable[] = {
    {"", "No.", 3, 0},          {"Reverse", "arm", 8, 1},        {"", "", 4, 2},
    {"Cut-off %", "front", 7, 3}, {"", "rear", 7, 4},            {"MEP", "front", 8, 5},
    {"", "rear", 8, 6},         {"", "F-R", 8, 7},               {"MEP / p1", "front", 7, 8},
    {"", "rear", 7, 9},         {"Steam/stroke", "front", 7, 10}, {"", "rear", 7, 11},
    {"Steam/work", "front", 7, 12}, {"", "rear", 7, 13},           {"Tractive", "effort p*L^2", 12, 14},
};
std::string Cell(int col, const PositionWork& w, int number, float midGear) {
    const IndicatorCard& f = w.front;
    const IndicatorCard& r = w.rear;
    const auto fig = [](const IndicatorCard& c, float v, int d) { return c.hasCard ? FixedString(v, d) : std::string("-"); };
    const auto opt = [](const std::optional<float>& v, int d) { return v ? FixedString(*v, d) : std::string("-"); };
    switch (col) {
    case 0: return std::to_string(number);
    case 1: return FixedString(w.position, 4);
    case 2: return std::string(PositionLabel(w.position, midGear));
    case 3: return fig(f, f.cutOff * 100.0f, 2);
    case 4: return fig(r, r.cutOff * 100.0f, 2);
    case 5: return fig(f, f.mep, 2);
    case 6: return fig(r, r.mep, 2);
    case 7: return opt(MepDifference(w), 2);
    case 8: return fig(f, f.mepRatio, 4);
    case 9: return fig(r, r.mepRatio, 4);
    case 10: return fig(f, f.steamPerStroke, 4);
    case 11: return fig(r, r.steamPerStroke, 4);
    case 12: return opt(f.steamPerWork, 4);
    case 13: return opt(r.steamPerWork, 4);
    case 14: return opt(w.tractiveEffort, 1);
    default: return {};
    }
}

constexpr int kMaxCaseLines = 3;

} // namespace

int WorkTableWidth(int px) { return TableWidth(kTable, px); }

int DrawWorkTable(Canvas& c, std::span<const PositionWork> work, float midGear, int left, int top, int px) {
    const int line = LineHeight(px);
    const int rowsTop = DrawTableHeading(c, kTable, work.size(), TableInks{kWorkFrontInk, kWorkRearInk}, left, top, px);
    int y = DrawTableRows(c, kTable, work.size(), left, rowsTop, px,
                          [&](std::size_t row, const TableColumn& col, const TableCellBox& box) {
                              DrawTableFigure(c, box, Cell(col.figure, work[row], static_cast<int>(row) + 1, midGear),
                                              SansStyle(px));
                          });
    // The cards that are not the plain one, and why.
    int lines = 0;
    int number = 1;
    for (const PositionWork& w : work) {
        for (const bool rear : {false, true}) {
            const std::uint32_t cases = w.End(rear).cases;
            if (cases == 0) continue;
            if (lines == kMaxCaseLines) {
                c.Text(left, y, "... (more in the Copy)", SansStyle(px, colors::kRed));
                return y + line;
            }
            const std::string t =
                std::to_string(number) + (rear ? " rear: " : " front: ") + CardCasesText(cases);
            c.Text(left, y, t, SansStyle(px, w.End(rear).hasCard ? colors::kMaroon : colors::kRed));
            y += line;
            ++lines;
        }
        ++number;
    }
    return y;
}

void DrawWorkPicture(const GearState& g, Canvas& c, const WorkTable& t, const WorkSettings& s) {
    constexpr int kPx = 11;
    constexpr int kLeft = 8;
    constexpr int kTop = 72;
    const std::string head = "Ideal indicator cards from the exact events: " + WorkSettingsText(s) +
                             "; absolute pressures; tractive effort in " + std::string(kTractiveEffortUnit);
    c.Text(kLeft, kTop, head, SansStyle(kPx));
    constexpr int kCardsTop = kTop + 20;
    constexpr int kCardsHeight = 372;
    const int n = t.count;
    const int columns = n <= 1 ? 1 : n <= 4 ? 2 : 3;
    DrawWorkCards(c, t.List(), s, kLeft, kCardsTop, 600, kCardsHeight, columns, 10);
    DrawEconomyCurve(c, t.notches, s, 614, kCardsTop, 278, 300, 10);
    DrawWorkTable(c, t.List(), g.revArm.centre, kLeft, kCardsTop + kCardsHeight + 6, kPx);
    DrawDynVarBlock(g, c);
}

} // namespace vx
