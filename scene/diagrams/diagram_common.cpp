#include "scene/diagrams/diagram_common.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "base/fixed_format.h"
#include "model/workspace/view.h"
#include "model/workspace/undo_redo.h"
#include "scene/frame/dyn_var_texts.h"

namespace vx {

// ---------------------------------------------------------------------------
// Texts and numbers.

TextStyle DiagramTextStyle(Rgb color, bool bold) {
    TextStyle s;
    s.face = FontFace::Sans;
    s.pixelSize = 11;
    s.bold = bold;
    s.color = color;
    s.opaque = true;
    s.background = colors::kWhite;
    return s;
}

void DiagramText(Canvas& c, int x, int y, std::string_view text, Rgb color, bool bold) {
    c.Text(x, y, text, DiagramTextStyle(color, bold));
}

NumberText StrReal(double v, int width, int decimals) {
    NumberText t;
    t.len_ = static_cast<int>(FormatFixed(t.buf_, v, width, decimals).size());
    return t;
}

NumberText StrInt(long long n, int width) {
    NumberText t;
    t.len_ = static_cast<int>(FormatInt(t.buf_, n, width).size());
    return t;
}

// ---------------------------------------------------------------------------
// Valve travel.

double DrawingScale(const GearState& g) {
    const double s = g.revArm.verticalScale;
    if (!(s >= 0.1)) return 0.1; // 0, negative and NaN
    return std::min(s, kMaxDrawingScale);
}

int TravelY(double v, double s) { return Nearest(215.0 - v * 375.0 / s); }

void DrawTravelTitles(const GearState& g, Canvas& c) {
    DiagramText(c, 9, 46, "Front");
    DiagramText(c, 9, 374, "Rear");
    DiagramText(c, 9, 32, "Units Travel");
    DiagramText(c, 9, 18, "Scale =");
    DiagramText(c, 50, 18, StrReal(g.revArm.verticalScale, 3, 1));
}

void DrawTravelScale(Canvas& c, double s, int labelX) {
    c.SetPen(colors::kBlack, 1);
    const int g = Nearest(4.0 * s);
    const bool every = s <= 3.75;
    // At large scales several ticks fall on one pixel row: the row's tick
    // is drawn once.
    int last = INT32_MIN;
    for (int h = -5 * g; h <= 5 * g; ++h) {
        if (h % 5 != 0 && !every) continue;
        const int t = Nearest(h * 7.5 / s + 215.0);
        if (t != last) c.Line(39, t, 44, t);
        last = t;
    }
    last = INT32_MIN;
    for (int l = -g; l <= g; ++l) {
        if (l % 5 != 0 && !every) continue;
        const int t = Nearest(l * 37.5 / s + 215.0);
        if (t != last) c.Line(36, t, 44, t);
        last = t;
        DiagramText(c, labelX, Nearest(210.0 - l * 37.5 / s), StrReal(l * 0.1, 1, 1));
    }
}

void DrawPortLines(const EventValues& e, Canvas& c, double s, int x0, int x1) {
    c.SetPen(colors::kLime, 1);
    for (const float level : {e.frontSteamOpenLevel, e.frontSteamMaxLevel, e.frontExhaustOpenLevel}) {
        const int y = TravelY(level, s);
        c.Line(x0, y, x1, y);
    }
    c.SetPen(colors::kRed, 1);
    for (const float level : {e.rearSteamOpenLevel, e.rearSteamMaxLevel, e.rearExhaustOpenLevel}) {
        const int y = Nearest(215.0 + level * 375.0 / s);
        c.Line(x0, y, x1, y);
    }
    c.SetPen(colors::kBlack, 1);
}

bool RearHalfAbovePort(const GearState& g) { return g.cyl.valveRearHalf() > g.cyl.steamPortRear(); }

void DrawPortLineLabels(const GearState& g, const EventValues& e, Canvas& c, double s, int frontSteamX,
                        int frontExhaustX) {
    const bool above = RearHalfAbovePort(g);
    const double a = above ? 218 : 200;
    const double b = above ? 200 : 218;
    const double k = 375.0 / s;
    DiagramText(c, frontSteamX, Nearest(a - e.frontSteamOpenLevel * k), "Front Steam Port Open");
    DiagramText(c, frontSteamX, Nearest(a - e.frontSteamMaxLevel * k), "Front Steam Port Max");
    DiagramText(c, frontExhaustX, Nearest(b - e.frontExhaustOpenLevel * k), "Front Exhaust Port Open");
    DiagramText(c, frontExhaustX, Nearest(b + e.rearSteamOpenLevel * k), "Rear Steam Port Open");
    DiagramText(c, frontExhaustX, Nearest(b + e.rearSteamMaxLevel * k), "Rear Steam Port Max");
    DiagramText(c, frontSteamX, Nearest(a + e.rearExhaustOpenLevel * k), "Rear Exhaust Port Open");
}

// ---------------------------------------------------------------------------
// Header.

void DrawDiagramHeader(const GearState& g, Canvas& c) {
    DiagramText(c, 500, 0, "Reverse Arm Positions");
    DiagramText(c, 520, 13, "Center");
    DiagramText(c, 580, 13, StrReal(g.revArm.centre, 6, 3));
}

void DrawHeaderRow(const GearState& g, Canvas& c, int i, float position, HeaderRows rows) {
    const bool compact = rows == HeaderRows::Compact;
    const int y = i * (compact ? 9 : 12) + (compact ? 14 : 12);
    TextStyle style = DiagramTextStyle();
    if (compact) {
        // Rows closer than the line height: a smaller size, so that the rows
        // keep a clear line between them, drawn without a ground, which
        // would cut the row above. The window face, as in the other
        // diagrams' headers: the narrow face at this size loses strokes.
        style.pixelSize = 9;
        style.opaque = false;
    }
    c.Text(545, y, StrInt(i, 5), style);
    c.Text(580, y, StrReal(position, 6, 3), style);
    c.Text(533, y, PositionLabel(position, g.revArm.centre), style);
}

// ---------------------------------------------------------------------------
// Lead, lap and exhaust clearance.

bool NearCentre(const GearState& g, float position) {
    const auto lo = static_cast<float>(static_cast<double>(g.revArm.centre) - 0.05);
    const auto hi = static_cast<float>(static_cast<double>(g.revArm.centre) + 0.05);
    return lo < position && position < hi;
}

void LeadTracker::Sample(float x4) {
    hi = std::max(hi, x4);
    lo = std::min(lo, x4);
}

LeadLapFigures ComputeLeadLap(const EventValues& e, const LeadTracker& t) {
    LeadLapFigures f;
    f.upperLead = static_cast<float>(static_cast<double>(e.upperLeadTerm) + t.hi);
    f.frontLap = e.frontLap;
    f.frontExhaustClearance = e.frontExhaustClearance;
    f.rearExhaustClearance = e.rearExhaustClearance;
    f.rearLap = e.rearLap;
    f.lowerLead = static_cast<float>(static_cast<double>(e.lowerLeadTerm) - t.lo);
    return f;
}

void DrawLeadLapFigures(Canvas& c, const LeadLapFigures& f) {
    DiagramText(c, 595, 153, "Lead");
    DiagramText(c, 595, 182, "Lap");
    DiagramText(c, 595, 211, "ExCl");
    DiagramText(c, 595, 253, "Lap");
    DiagramText(c, 595, 282, "Lead");
    DiagramText(c, 592, 166, StrReal(f.upperLead, 6, 3));
    DiagramText(c, 592, 195, StrReal(f.frontLap, 6, 3));
    DiagramText(c, 592, 224, StrReal(f.frontExhaustClearance, 6, 3));
    DiagramText(c, 592, 237, StrReal(f.rearExhaustClearance, 6, 3));
    DiagramText(c, 592, 266, StrReal(f.rearLap, 6, 3));
    DiagramText(c, 592, 295, StrReal(f.lowerLead, 6, 3));
}

// ---------------------------------------------------------------------------
// Dynamic-variable block and undo line.

namespace {

} // namespace

// The texts of the block that would not fit their places in the window
// face: the dimension names between their column and the values, and the
// undo line, in the narrow face.
TextStyle NarrowDiagramTextStyle() {
    TextStyle s = DiagramTextStyle();
    s.face = FontFace::SansNarrow;
    return s;
}

void DrawDynVarBlock(const GearState& g, Canvas& c, DynVarBlockLayout layout) {
    // The block stands beside the bars and the UnDo button.
    const int x = 235;
    const TextStyle narrow = NarrowDiagramTextStyle();
    if (g.dynVarDisplay) {
        if (!DynVarSlotAssigned(g, 1)) {
            DrawFirstSelectBanner(c, DiagramTextStyle(colors::kRed), [x](int dy) { return CanvasPoint{x, 2 + dy}; });
        } else {
            const bool port = layout == DynVarBlockLayout::PortGraph;
            const int pitch = port ? kPortBlockRowPitch : kBlockRowPitch;
            const int top = port ? 0 : 2;
            for (int n = 1; n <= 4; ++n) {
                const DynVarSlot& s = g.dynVarSlots[static_cast<std::size_t>(n)];
                const int y = top + pitch * (n - 1);
                TextStyle name = narrow;
                TextStyle value = DiagramTextStyle();
                if (port) {
                    // Rows closer than the line height: a smaller size in the
                    // window face (the narrow face at this size loses
                    // strokes), without a ground, which would cut the row
                    // above.
                    name.face = FontFace::Sans;
                    for (TextStyle* t : {&name, &value}) {
                        t->pixelSize = 9;
                        t->opaque = false;
                    }
                }
                c.Text(x, y, s.name, name);
                c.Text(363, y, StrReal(ShownDimensionValue(s.id, s.value), 6, 3), value);
            }
        }
    }
    const int ux = 150;
    const int uy = layout == DynVarBlockLayout::PortGraph ? kUndoLineBelowAxisY : 51;
    if (g.undoDisplay) {
        // The line kept so far, then this diagram's own over it; the window
        // keeps the new line after the drawing (RebuildDiagramUndoLine).
        const std::string_view current = UndoLineView(g);
        if (!current.empty()) c.Text(ux, uy, current, narrow);
        if (g.dynVarDisplay) {
            FixedText<128> line;
            ComposeDiagramUndoLine(g, line);
            c.Text(ux, uy, line.View(), narrow);
        }
    } else {
        // What an undo or redo by key did, in the hidden line's place.
        FixedText<128> notice;
        if (ComposeUndoNotice(g, notice)) c.Text(ux, uy, notice.View(), narrow);
    }
}

DynVarControlStates DynVarControls(const GearState& g) {
    DynVarControlStates s;
    s.barsVisible = g.dynVarDisplay;
    for (int n = 1; n <= 4; ++n)
        s.barEnabled[static_cast<std::size_t>(n)] = DynVarSlotAssigned(g, n);
    s.undoVisible = g.undoDisplay;
    return s;
}


void DrawPistonTravelGrid(Canvas& c) {
    c.SetPen(colors::kBlack, 1);
    for (int i = 1; i <= 9; ++i) {
        for (int k = 2; k <= 20; ++k) c.Line(27 * k + 17, 32 * i + 52, 27 * k + 17, 32 * i + 58);
        for (int k = 2; k <= 10; ++k) c.Line(54 * k - 10, 32 * i + 50, 54 * k - 10, 32 * i + 60);
    }
}

void FillBox(Canvas& c, int left, int top, int right, int bottom, Rgb color) {
    c.FillRect(left, top, right, bottom, color);
}

} // namespace vx
