// What the four valve diagrams (sine, oval, steam, port events) draw alike:
// the window font and number formats, the valve travel scale and port lines
// of the sine and oval diagrams, the header with the reverse arm positions,
// the lead/lap/clearance figures, the dynamic-variable block with the undo
// line, and saving and restoring the motion around a drawing pass.
//
// Every diagram draws in client pixels of its window at the default font
// (origin top left, y down), through a Canvas only, so the windows and
// vexlin-cli draw the same picture; at the large font a window draws the
// same picture through a ScaledCanvas, larger as a whole. Texts are drawn
// in the window font on an opaque white ground.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "base/fixed_format.h"
#include "model/workspace/dimension_edit.h"
#include "model/state/gear_state.h"
#include "model/gear/ports.h"
#include "model/gear/reverse_arm.h"
#include "model/gear/solver.h"
#include "model/workspace/undo_redo.h"
#include "platform/canvas.h"

namespace vx {

// Client areas of the diagram windows (the pictures are this size too).
constexpr int kDiagramWidth = 632;
constexpr int kSineDiagramHeight = 414;
constexpr int kOvalDiagramHeight = 426;
constexpr int kSteamDiagramHeight = 414;
constexpr int kPortDiagramHeight = 414;

// ---------------------------------------------------------------------------
// Texts and numbers.

// The window font ("MS Sans Serif" 8 pt, drawn as an 11 px sans), opaque on
// white, in the given colour.
TextStyle DiagramTextStyle(Rgb color = colors::kBlack, bool bold = false);
void DiagramText(Canvas& c, int x, int y, std::string_view text, Rgb color = colors::kBlack,
                 bool bold = false);

// A number formatted into a fixed buffer (no allocation).
class NumberText {
public:
    std::string_view View() const { return {buf_, static_cast<std::size_t>(len_)}; }
    operator std::string_view() const { return View(); }

private:
    friend NumberText StrReal(double v, int width, int decimals);
    friend NumberText StrInt(long long n, int width);
    char buf_[kNumberBuffer] = {};
    int len_ = 0;
};

// Str(v:w:d): right-aligned in at least `width` characters with `decimals`
// decimals; a wider number is written in full (up to the buffer's 64
// characters). NaN and infinities are written "nan", "inf", "-inf".
NumberText StrReal(double v, int width, int decimals);
// Str(n:w): an integer right-aligned in at least `width` characters.
NumberText StrInt(long long n, int width);

// ---------------------------------------------------------------------------
// Valve travel (sine and oval diagrams).

// The vertical scale the drawing computes with: verticalScale as stored,
// except that a value read from a file or typed that is below 0.1 (0,
// negative, NaN) draws as 0.1, and one above kMaxDrawingScale as that, so
// that nothing divides by zero and the scale is not flooded with ticks. At
// that scale any valve travel is drawn within two pixels of the centre line
// already.
inline constexpr double kMaxDrawingScale = 1000;
double DrawingScale(const GearState& g);

// Picture y of a valve travel v above the exhaust port centre:
// nearest(215 - v * 375 / s).
int TravelY(double v, double s);

// "Front", "Rear", "Units Travel", "Scale =" and the stored scale.
void DrawTravelTitles(const GearState& g, Canvas& c);
// The ticks and labels of the valve travel scale; labels at x labelX.
void DrawTravelScale(Canvas& c, double s, int labelX);
// The six port lines from x0 to x1: the front levels in lime, the rear ones
// in red. They start right of the travel scale's ticks (x 36 .. 44), so
// that they never strike through its labels.
constexpr int kPortLinesLeft = 45;
void DrawPortLines(const EventValues& e, Canvas& c, double s, int x0, int x1);
// The six line labels: the front steam and the rear exhaust labels at
// x frontSteamX, the front exhaust and the rear steam labels at x
// frontExhaustX, with the lap-dependent offsets.
void DrawPortLineLabels(const GearState& g, const EventValues& e, Canvas& c, double s, int frontSteamX,
                        int frontExhaustX);
// Whether the lap-dependent offsets take their first form
// (valveRearHalf > steamPortRear).
bool RearHalfAbovePort(const GearState& g);

// ---------------------------------------------------------------------------
// Header with the reverse arm positions (sine, oval, steam).

// "Reverse Arm Positions", "Center" and the centre position.
void DrawDiagramHeader(const GearState& g, Canvas& c);
// How the header's rows are set. Classic: 12 pixels apart in the window
// face. Compact (the steam diagram, whose card starts at y 70 right below
// the header): 9 pixels apart in the window face at 9 pixels, without a ground, so that
// five rows end above the card while the header stands over it.
enum class HeaderRows { Classic, Compact };

// Row i (1..9) of the header: number, position and "Fwd"/"Rev"/"Cen".
void DrawHeaderRow(const GearState& g, Canvas& c, int i, float position, HeaderRows rows = HeaderRows::Classic);
// "Fwd", "Rev" or "Cen" for a position against the centre.

// ---------------------------------------------------------------------------
// Lead, lap and exhaust clearance (sine and oval).

// Whether a list position lies strictly within 0.05 of the centre.
bool NearCentre(const GearState& g, float position);

// The lead trackers of one curve: the extreme X of the valve spindle joint
// over the samples of a position near the centre.
struct LeadTracker {
    float hi = 0;
    float lo = 1000;
    void Sample(float x4);
};

struct LeadLapFigures {
    float upperLead = 0;
    float frontLap = 0;
    float frontExhaustClearance = 0;
    float rearExhaustClearance = 0;
    float rearLap = 0;
    float lowerLead = 0;
};
LeadLapFigures ComputeLeadLap(const EventValues& e, const LeadTracker& t);
// The "Lead", "Lap", "ExCl" texts and the six figures at the right edge.
void DrawLeadLapFigures(Canvas& c, const LeadLapFigures& f);

// One point of a valve travel curve as drawn: the sample's driver angle and
// valve travel, and where it lies on the picture.
struct TravelPoint {
    float angle = 0;
    float travel = 0;
    int x = 0, y = 0;
};
constexpr int kMaxTravelPoints = 67; // the sine diagram's samples per curve

// What a sine or oval drawing found per list position, for the command
// line's figures.
struct LeadLapRow {
    float position = 0;
    bool hasFigures = false; // the position lies within 0.05 of the centre
    LeadLapFigures figures;
    int pointCount = 0;
    std::array<TravelPoint, kMaxTravelPoints> points{};
    void AddPoint(const TravelPoint& p) {
        if (pointCount < kMaxTravelPoints) points[static_cast<std::size_t>(pointCount++)] = p;
    }
};
struct LeadLapTable {
    int count = 0;
    std::array<LeadLapRow, kRevArmPositions> rows{};
};

// A diagram's own solves of the gear it draws, on a copy of the gear's
// solution, so that drawing leaves the gear as it is: the port event levels
// of the design as it is now (not as last solved), then a solve at each
// angle and reverse arm position the diagram asks for.
class DiagramSolve {
public:
    explicit DiagramSolve(const GearState& g) : g_(g), s_(g) { ComputeEventLevels(g, s_.events); }
    const Solution& At(float driverAngle, float reverseArm) {
        SolveLinkage(g_, driverAngle, reverseArm, s_);
        return s_;
    }
    // Solved, with the piston's place and the port openings.
    const Solution& WithPorts(float driverAngle, float reverseArm) {
        SolveLinkage(g_, driverAngle, reverseArm, s_);
        ComputePortOpenings(g_, driverAngle, s_);
        return s_;
    }
    const Solution& Now() const { return s_; }

private:
    const GearState& g_;
    Solution s_;
};

// The curves of a sine or oval drawing: for each drawn position, its header
// row drawn, `curve(i, position, tracker, near, row)` drawn (sampling the lead tracker where the position is near the centre,
// and adding its points to `row` when figures are asked for, else row is
// null), then the lead, lap and clearance figures of a position near the
// centre.
template <class Curve>
void DrawLeadLapCurves(const GearState& g, const EventValues& events, Canvas& c, LeadLapTable* figures, Curve curve) {
    c.SetPen(colors::kBlack, 1);
    const int count = DrawnPositionCount(g);
    if (figures) figures->count = count;
    for (int i = 1; i <= count; ++i) {
        const float position = g.revArm.position[static_cast<std::size_t>(i)];
        DrawHeaderRow(g, c, i, position);

        const bool near = NearCentre(g, position);
        LeadTracker tracker;
        LeadLapRow* row = figures ? &figures->rows[static_cast<std::size_t>(i - 1)] : nullptr;
        if (row) row->pointCount = 0;
        curve(i, position, tracker, near, row);
        LeadLapFigures f;
        if (near) {
            f = ComputeLeadLap(events, tracker);
            DrawLeadLapFigures(c, f);
        }
        if (row) {
            row->position = position;
            row->hasFigures = near;
            row->figures = f;
        }
    }
}

// ---------------------------------------------------------------------------
// Dynamic-variable block and undo line (drawn last by all four diagrams).

// How a window lays out the block. The names, values and undo line stand
// beside the bars and the UnDo button. BesideTheButton: the undo line
// beside the UnDo button. PortGraph (the
// port events window, whose graph starts right below the bars): the undo
// line below the travel axis, at kUndoLineBelowAxisY.
// There the block's four rows stand kPortBlockRowPitch apart from the top,
// above the grid's top row (whose ticks start at y 45), beside bars as far
// apart, and the UnDo button stands left of the bars.
enum class DynVarBlockLayout { BesideTheButton, PortGraph };
constexpr int kUndoLineBelowAxisY = 384;
constexpr int kBlockRowPitch = 12;
constexpr int kPortBlockRowPitch = 10;
constexpr int kPortGridTop = 45;

// Draws the slot names and values (or the red "First Select Dimensions"
// banner) while the dynamic variables are shown, and the undo line while
// the undo display is on (the shared text kept so far, then the diagram's
// own over it; the window keeps the new one, RebuildDiagramUndoLine). The names and
// the undo line are in the narrow face, which fits their places.
void DrawDynVarBlock(const GearState& g, Canvas& c, DynVarBlockLayout layout = DynVarBlockLayout::BesideTheButton);

// The states of a diagram window's own controls that the block decides:
// the four bars shown with the dynamic variables and enabled for assigned
// slots, the UnDo button shown with the undo display.
struct DynVarControlStates {
    bool barsVisible = false;
    std::array<bool, 5> barEnabled{}; // 1..4 used
    bool undoVisible = false;
};
DynVarControlStates DynVarControls(const GearState& g);

// The grid of rows of ticks every 5 % of piston travel, shared by the oval
// and the steam diagrams.
void DrawPistonTravelGrid(Canvas& c);

// A filled box [left, right) x [top, bottom), one line per pixel row (the
// canvas draws outlines only); leaves the pen in `color`.
void FillBox(Canvas& c, int left, int top, int right, int bottom, Rgb color);

} // namespace vx
