// The port events diagram: crossings, the event curves and their pens, the
// legend anchors on row 13, the normal line, both graphs, and what the
// drawing leaves in the model.
#include <gtest/gtest.h>

#include <cstring>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/ports_drawing.h"
#include "model/workspace/defaults.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"
#include "platform/recording_canvas.h"
#include "tests/kit/hostile_states.h"

namespace vx {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;

GearState StartedGear() {
    GearState g;
    StartUp(g);
    return g;
}

std::vector<const Op*> Texts(const RecordingCanvas& rc, const std::string& text) {
    std::vector<const Op*> out;
    for (const Op& op : rc.Ops())
        if (op.kind == Kind::Text && op.text == text) out.push_back(&op);
    return out;
}

int EventX(bool front, float x) {
    return front ? Nearest(0.84375 * x) + 9 : Nearest(540 - 0.84375 * x) + 9;
}

// The crossing of the front steam port's closing on one row, found from the
// solver's samples one turn forward from 4 degrees.
TEST(PortDiagram, CrossingIsTheInterpolatedZeroOfTheOpening) {
    GearState g = StartedGear();
    PortGraphFigures f;
    RecordingCanvas rc;
    DrawPortGraph(g, rc, PortGraphMode::Forward, true, &f);

    const int row = 9;
    GearState h = StartedGear();
    h.motion.reverseArmPosition = f.rows[row].position;
    float prevO = 0, prevP = 0, expected = -1;
    for (int j = 0; j <= kPortSteps; ++j) {
        h.motion.driverAngle = static_cast<float>((4 + 4 * j) % 360);
        SolveLinkage(h);
        ComputePortOpenings(h);
        const float o = h.ports.frontSteamOpening, p = h.ports.pistonPosition;
        if (j > 0 && o <= 0 && prevO > 0) expected = p - o * (prevP - p) / (prevO - o);
        prevO = o;
        prevP = p;
    }
    ASSERT_TRUE(f.rows[row].found[kFrontSteamCloses]);
    EXPECT_NEAR(f.rows[row].crossing[kFrontSteamCloses], expected, 1e-3);
    EXPECT_FLOAT_EQ(f.rows[row].position, static_cast<float>(g.revArm.centre - 9 * g.frame.revArmToCentMax / 18));
}

// Every event is found on every row of the default design, and each curve
// joins the crossings of consecutive rows: the first crossing draws nothing.
// The dynamic variables' rows stand above the grid's top row: no text of
// the block reaches the grid's ticks.
TEST(PortDiagram, TheBlockStandsAboveTheGrid) {
    GearState g = StartedGear();
    g.dynVarDisplay = true;
    g.dynVarSlots[1] = {2, g.frame.stroke, "Stroke"};
    g.dynVarSlots[2] = {1, g.frame.driverDia, "Driver Dia"};
    g.dynVarSlots[3] = {3, g.frame.mainRodLength, "Main Rod Length"};
    g.dynVarSlots[4] = {4, g.frame.eccCircleDia, "Eccentric Circle Dia"};
    RecordingCanvas rc(kDiagramWidth, kPortDiagramHeight);
    DrawPortGraph(g, rc, PortGraphMode::Forward, true);
    int rows = 0;
    for (const auto& op : rc.Ops()) {
        if (op.kind != RecordingCanvas::Kind::Text) continue;
        if (op.text != "Main Rod Length" && op.text != "Eccentric Circle Dia") continue;
        ++rows;
        EXPECT_LE(op.a[1] + 12, kPortGridTop) << op.text; // a line of the 11-pixel face is 12 high
    }
    EXPECT_EQ(rows, 2);
}

TEST(PortDiagram, CurvesJoinConsecutiveRows) {
    struct Case {
        PortGraphMode mode;
        Rgb front, rear;
    };
    for (const Case& cs : {Case{PortGraphMode::Forward, colors::kTeal, colors::kRed},
                           Case{PortGraphMode::Reverse, colors::kGreen, colors::kMaroon}}) {
        GearState g = StartedGear();
        PortGraphFigures f;
        RecordingCanvas rc;
        DrawPortGraph(g, rc, cs.mode, false, &f);
        std::vector<RecordingCanvas::Segment> curves;
        for (const auto& s : rc.Segments())
            if (s.color == cs.front || s.color == cs.rear) curves.push_back(s);
        ASSERT_EQ(curves.size(), static_cast<std::size_t>(kPortEventCount * (kPortRows - 1)));
        for (int e = 0; e < kPortEventCount; ++e) {
            const bool front = e == kFrontSteamOpens || e == kFrontExhaustOpens || e == kFrontSteamCloses ||
                               e == kFrontExhaustCloses;
            for (int i = 1; i < kPortRows; ++i) {
                SCOPED_TRACE(testing::Message() << "event " << e << " row " << i);
                ASSERT_TRUE(f.rows[static_cast<std::size_t>(i)].found[static_cast<std::size_t>(e)]);
                const int x1 = EventX(front, f.rows[static_cast<std::size_t>(i - 1)].crossing[static_cast<std::size_t>(e)]);
                const int x2 = EventX(front, f.rows[static_cast<std::size_t>(i)].crossing[static_cast<std::size_t>(e)]);
                const auto it = std::find_if(curves.begin(), curves.end(), [&](const auto& s) {
                    return s.x1 == x1 && s.y1 == 343 - 16 * (i - 1) && s.x2 == x2 && s.y2 == 343 - 16 * i;
                });
                ASSERT_NE(it, curves.end());
                EXPECT_EQ(it->color, front ? cs.front : cs.rear);
            }
        }
    }
}

// Full forward gear: admission just before the front dead centre, cut-off
// late in the stroke, release after it.
TEST(PortDiagram, CrossingsOfFullForwardGear) {
    GearState g = StartedGear();
    PortGraphFigures f;
    RecordingCanvas rc;
    DrawPortGraph(g, rc, PortGraphMode::Forward, true, &f);
    const PortEventRow& r = f.rows[kPortRows - 1];
    EXPECT_LT(r.crossing[kFrontSteamOpens], 10);
    EXPECT_GT(r.crossing[kFrontSteamCloses], 0.6 * 640);
    EXPECT_GT(r.crossing[kFrontExhaustOpens], r.crossing[kFrontSteamCloses]);
    EXPECT_GT(r.crossing[kRearSteamOpens], 630);
    for (float x : r.crossing) {
        EXPECT_GE(x, 0);
        EXPECT_LE(x, 640);
    }
}

TEST(PortDiagram, LegendHangsOnRow13) {
    GearState g = StartedGear();
    PortGraphFigures f;
    RecordingCanvas rc;
    DrawPortGraph(g, rc, PortGraphMode::Forward, true, &f);
    const PortEventRow& r = f.rows[kPortLegendRow];
    const auto anchor = [&](int e) { return static_cast<float>(0.84375 * r.crossing[static_cast<std::size_t>(e)] + 9); };
    EXPECT_EQ(f.anchors.admission, anchor(kFrontSteamOpens));
    EXPECT_EQ(f.anchors.exhaust, anchor(kFrontExhaustOpens));
    EXPECT_EQ(f.anchors.cutOff, anchor(kFrontSteamCloses));
    EXPECT_EQ(f.anchors.compression, anchor(kFrontExhaustCloses));

    const int C = Nearest(f.anchors.cutOff), E = Nearest(f.anchors.exhaust), K = Nearest(f.anchors.compression);
    struct Expected {
        const char* text;
        int x, y;
    };
    for (const Expected& e : {Expected{"Exp", C + 10, 129}, Expected{"Exh", E - 190, 163},
                              Expected{"Com", K - 25, 129}, Expected{"Adm", C - 140, 95}}) {
        const auto t = Texts(rc, e.text);
        ASSERT_EQ(t.size(), 1u) << e.text;
        EXPECT_EQ(t[0]->a[0], e.x) << e.text;
        EXPECT_EQ(t[0]->a[1], e.y) << e.text;
        EXPECT_TRUE(t[0]->style.bold);
    }
    // The legend is drawn with the pen the last event line left: a port pen.
    const auto segs = rc.Segments();
    const auto last = segs.back();
    EXPECT_EQ(last.x2, Nearest(f.anchors.cutOff - 150.0));
    EXPECT_EQ(last.y2, 101);
    EXPECT_TRUE(last.color == colors::kTeal || last.color == colors::kRed);
}

// A front steam port that never opens or closes leaves those anchors at 0:
// the legend's pieces near them go to the left edge.
TEST(PortDiagram, MissingAnchorStaysZero) {
    GearState g = StartedGear();
    g.cyl.valveFrontHalf() = -10;
    PortGraphFigures f;
    RecordingCanvas rc;
    DrawPortGraph(g, rc, PortGraphMode::Forward, true, &f);
    EXPECT_EQ(f.anchors.admission, 0);
    EXPECT_EQ(f.anchors.cutOff, 0);
    EXPECT_GT(f.anchors.exhaust, 0);
    for (const PortEventRow& r : f.rows) {
        EXPECT_FALSE(r.found[kFrontSteamOpens]);
        EXPECT_FALSE(r.found[kFrontSteamCloses]);
    }
    ASSERT_EQ(Texts(rc, "Exp").size(), 1u);
    EXPECT_EQ(Texts(rc, "Exp")[0]->a[0], 10);
    EXPECT_EQ(Texts(rc, "Adm")[0]->a[0], -140);
}

TEST(PortDiagram, NormalLine) {
    GearState g = StartedGear();
    RecordingCanvas rc;
    DrawPortGraph(g, rc, PortGraphMode::Forward, true);
    const int yN = Nearest(343 - 288.0 * g.frame.revArmToCentNorm / g.frame.revArmToCentMax);
    std::vector<RecordingCanvas::Segment> blue;
    for (const auto& s : rc.Segments())
        if (s.color == colors::kBlue) blue.push_back(s);
    ASSERT_EQ(blue.size(), 1u);
    EXPECT_EQ(blue[0].x1, 59);
    EXPECT_EQ(blue[0].x2, 650);
    EXPECT_EQ(blue[0].y1, yN);
    EXPECT_EQ(blue[0].y2, yN);
    const auto normal = Texts(rc, "Normal");
    ASSERT_EQ(normal.size(), 1u);
    EXPECT_EQ(normal[0]->a[1], yN - 7);
    EXPECT_EQ(normal[0]->color, colors::kBlue);
}

// The texts inside the grid come after the last curve, so that their
// opaque boxes keep them readable over the grid and the curves.
TEST(PortDiagram, KeyTextsLieOverTheCurves) {
    GearState g = StartedGear();
    RecordingCanvas rc;
    DrawPortGraph(g, rc, PortGraphMode::Forward, false);
    const auto& ops = rc.Ops();
    std::size_t lastLine = 0;
    for (std::size_t i = 0; i < ops.size(); ++i) // the curves' pens
        if (ops[i].kind == Kind::LineTo && (ops[i].color == colors::kTeal || ops[i].color == colors::kRed)) lastLine = i;
    ASSERT_GT(lastLine, 0u);
    for (const char* text : {"Maximum", "Normal", "R", "N", "Fwd.", "Front Port", "Rear Port"}) {
        const auto found = Texts(rc, text);
        ASSERT_FALSE(found.empty()) << text;
        for (const Op* op : found) {
            EXPECT_GT(op - ops.data(), static_cast<std::ptrdiff_t>(lastLine)) << text;
            EXPECT_TRUE(op->style.opaque) << text;
        }
    }
}

// No maximum travel: no height for the normal line, every row at the centre.
TEST(PortDiagram, ZeroMaximumTravelDrawsWithoutTheNormalLine) {
    GearState g = StartedGear();
    g.frame.revArmToCentMax = 0;
    PortGraphFigures f;
    RecordingCanvas rc;
    DrawPortGraph(g, rc, PortGraphMode::Forward, true, &f);
    for (const auto& s : rc.Segments()) EXPECT_NE(s.color, colors::kBlue);
    EXPECT_TRUE(Texts(rc, "Normal").empty());
    for (const PortEventRow& r : f.rows) EXPECT_EQ(r.position, g.revArm.centre);
    EXPECT_FALSE(Texts(rc, "Maximum").empty());
}

// Both graphs: the forward one with its key and the legend, the reverse one
// over it with its key and no legend; two columns of position labels.
TEST(PortDiagram, BothGraphs) {
    GearState g = StartedGear();
    RecordingCanvas rc;
    PortGraphFigures fwd, rev;
    DrawPortGraphs(g, rc, PortGraphMode::Both, &fwd, &rev);
    EXPECT_EQ(Texts(rc, "Exp").size(), 1u);
    ASSERT_EQ(Texts(rc, "Fwd.").size(), 1u);
    EXPECT_EQ(Texts(rc, "Fwd.")[0]->a[1], 290);
    ASSERT_EQ(Texts(rc, "Rev.").size(), 1u + kPortRows); // the key and the column title
    int left = 0, right = 0;
    for (const Op& op : rc.Ops()) {
        if (op.kind != Kind::Text || op.text.size() != 7 || op.text.find('.') == std::string::npos) continue;
        const int i = (336 - op.a[1]) / 16;
        ASSERT_GE(i, 0);
        ASSERT_LT(i, kPortRows);
        if (op.a[0] == 556) {
            ++left;
            EXPECT_EQ(op.text, [&] { char b[16]; std::snprintf(b, sizeof b, "%7.3f", fwd.rows[i].position); return std::string(b); }());
        } else if (op.a[0] == 596) {
            ++right;
            EXPECT_GT(rev.rows[i].position, fwd.rows[i].position - (i == 0 ? 1e-6f : 0));
        }
    }
    EXPECT_EQ(left, kPortRows);
    EXPECT_EQ(right, kPortRows);
    EXPECT_GT(rev.rows[18].position, g.revArm.centre);
    EXPECT_LT(fwd.rows[18].position, g.revArm.centre);
}

// The drawing leaves the gear exactly as it was: its sweeps solve on a copy
// of the solution, which ends at the last sample (full reverse at 4 degrees
// backward from 0, i.e. at 356 degrees).
TEST(PortDiagram, LeavesTheGearAsItWas) {
    GearState g = StartedGear();
    g.motion.driverAngle = 123;
    g.motion.reverseArmPosition = 7.5f;
    g.lastDiagramPosition = -2;
    const GearState before = g;
    RecordingCanvas rc;
    DrawPortGraphs(g, rc, PortGraphMode::Both);
    EXPECT_EQ(g.motion.driverAngle, 123);
    EXPECT_EQ(g.motion.reverseArmPosition, 7.5f);
    EXPECT_EQ(g.lastDiagramPosition, -2);
    EXPECT_EQ(std::memcmp(&g.piv, &before.piv, sizeof g.piv), 0);
    EXPECT_EQ(std::memcmp(&g.ports, &before.ports, sizeof g.ports), 0);
    // The diagram's own solve ends where the window's used to.
    DiagramSolve solve(g);
    const float fullReverse = static_cast<float>(g.revArm.centre + 18 * g.frame.revArmToCentMax / 18);
    GearState h = StartedGear();
    h.motion.reverseArmPosition = fullReverse;
    h.motion.driverAngle = 356;
    SolveLinkage(h);
    ComputePortOpenings(h);
    EXPECT_FLOAT_EQ(solve.WithPorts(356, fullReverse).ports.pistonPosition, h.ports.pistonPosition);
}

TEST(PortDiagram, ChoiceAndMode) {
    EXPECT_EQ(PortGraphModeOfChoice(1), PortGraphMode::Forward);
    EXPECT_EQ(PortGraphModeOfChoice(2), PortGraphMode::Reverse);
    EXPECT_EQ(PortGraphModeOfChoice(3), PortGraphMode::Both);
    EXPECT_EQ(PortGraphModeOfChoice(0), PortGraphMode::Both);
    for (PortGraphMode m : {PortGraphMode::Forward, PortGraphMode::Reverse, PortGraphMode::Both})
        EXPECT_EQ(PortGraphModeOfChoice(PortGraphChoiceOfMode(m)), m);
}

TEST(PortDiagram, HostileStatesDrawSafely) {
    for (const test::HostileState& h : test::HostileStates()) {
        SCOPED_TRACE(h.name);
        GearState g = test::SolvedHostileState(h);
        RecordingCanvas rc;
        DrawPortGraphs(g, rc, PortGraphMode::Both);
        for (const Op& op : rc.Ops()) {
            EXPECT_LE(std::abs(op.a[0]), kPixelLimit + 1000);
            EXPECT_LE(std::abs(op.a[1]), kPixelLimit + 1000);
        }
    }
    GearState g = StartedGear();
    g.frame.revArmToCentMax = std::numeric_limits<float>::quiet_NaN();
    g.frame.revArmToCentNorm = std::numeric_limits<float>::infinity();
    RecordingCanvas rc;
    DrawPortGraphs(g, rc, PortGraphMode::Both);
    for (const auto& s : rc.Segments()) EXPECT_NE(s.color, colors::kBlue);
}

} // namespace
} // namespace vx
