// The sine diagram and the parts every diagram shares, through the
// recording canvas: grid, scales, port lines, header, curves, the lead and
// lap figures near mid gear, the dynamic-variable block and undo line, and
// what a drawing pass leaves in the model.
#include <gtest/gtest.h>

#include <cstring>

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <limits>

#include "scene/diagrams/oval_diagram.h"
#include "scene/diagrams/sine_diagram.h"
#include "scene/frame/screen_data_layer.h"
#include "model/workspace/dynvar.h"
#include "model/workspace/view.h"
#include "platform/scaled_canvas.h"
#include "tests/scene/diagrams/diagram_test_support.h"

namespace vx {
namespace {

// The block drawn as a diagram window draws it: the drawing, then the window
// keeps the undo line the diagram drew.
void DrawBlockAsTheWindowDoes(GearState& g, Canvas& c) {
    DrawDynVarBlock(g, c);
    if (g.undoDisplay) RebuildDiagramUndoLine(g);
}

using test::CountText;
using test::FindText;
using test::GearWithPositions;
using test::HasTextAt;
using Segment = RecordingCanvas::Segment;

// Curve segments: black, 8 pixels wide, starting at x 58 or beyond.
std::vector<Segment> CurveSegments(const RecordingCanvas& rc) {
    std::vector<Segment> out;
    for (const Segment& s : rc.Segments())
        if (s.color == colors::kBlack && s.x1 >= 58 && s.x2 == s.x1 + 8) out.push_back(s);
    return out;
}

int CountSegments(const RecordingCanvas& rc, int x1, int x2) {
    int n = 0;
    for (const Segment& s : rc.Segments())
        if (s.x1 == x1 && s.x2 == x2 && s.y1 == s.y2) ++n;
    return n;
}

TEST(SineDiagram, GridAngleLabelsAndTitles) {
    GearState g = GearWithPositions({});
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawSineDiagram(g, rc);

    int shortTicks = 0, longTicks = 0;
    for (const Segment& s : rc.Segments()) {
        if (s.x1 != s.x2) continue;
        if (s.y2 - s.y1 == 4 && s.x1 % 10 == 0 && (s.y1 - 53) % 32 == 0) ++shortTicks;
        if (s.y2 - s.y1 == 10 && s.x1 % 90 == 0 && (s.y1 - 50) % 32 == 0) ++longTicks;
    }
    EXPECT_EQ(shortTicks, 9 * 53);
    EXPECT_EQ(longTicks, 9 * 6);
    for (auto [x, text] : {std::pair{86, "0"}, {173, "90"}, {260, "180"}, {350, "270"}, {446, "0"}, {533, "90"}})
        EXPECT_TRUE(HasTextAt(rc, text, x, 353)) << text << " at " << x;
    EXPECT_TRUE(HasTextAt(rc, "Driver Clockwise Rotation --->", 86, 367));
    EXPECT_TRUE(HasTextAt(rc, "Front", 9, 46));
    EXPECT_TRUE(HasTextAt(rc, "Rear", 9, 374));
    EXPECT_TRUE(HasTextAt(rc, "Units Travel", 9, 32));
    EXPECT_TRUE(HasTextAt(rc, "Scale =", 9, 18));
    EXPECT_TRUE(HasTextAt(rc, "1.5", 50, 18));
    // Texts are opaque on white in the window font.
    const auto front = FindText(rc, "Front");
    ASSERT_TRUE(front);
    EXPECT_TRUE(front->style.opaque);
    EXPECT_EQ(front->style.background, colors::kWhite);
    EXPECT_EQ(front->style.pixelSize, 11);
}

struct ScaleCase {
    float scale;
    int minorTicks; // (39, t) .. (44, t)
    int majorTicks; // (36, t) .. (44, t), each labelled
};

class SineTravelScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(SineTravelScale, TicksEveryStepUpTo375) {
    const ScaleCase& c = GetParam();
    GearState g = GearWithPositions({});
    g.revArm.verticalScale = c.scale;
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawSineDiagram(g, rc);
    EXPECT_EQ(CountSegments(rc, 39, 44), c.minorTicks);
    EXPECT_EQ(CountSegments(rc, 36, 44), c.majorTicks);
    EXPECT_TRUE(HasTextAt(rc, "0.0", 14, 210));
}

INSTANTIATE_TEST_SUITE_P(Scales, SineTravelScale,
                         ::testing::Values(ScaleCase{1.5f, 61, 13}, ScaleCase{3.75f, 151, 31},
                                           ScaleCase{4.0f, 33, 7},
                                           // A scale of 0 or less from a file draws as 0.1.
                                           ScaleCase{0.0f, 1, 1}, ScaleCase{-2.0f, 1, 1}));

TEST(SineDiagram, HostileScalesDrawBoundedPictures) {
    for (float s : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e30f, 1e-30f}) {
        GearState g = GearWithPositions({0});
        g.revArm.position[1] = g.revArm.centre;
        g.revArm.verticalScale = s;
        RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
        DrawSineDiagram(g, rc);
        EXPECT_LT(rc.Ops().size(), 20000u) << s;
        for (const Segment& seg : rc.Segments()) {
            EXPECT_LE(std::abs(seg.y1), kPixelLimit);
            EXPECT_LE(std::abs(seg.y2), kPixelLimit);
        }
        EXPECT_TRUE(FindText(rc, "Scale =")) << s;
    }
}

// The curves and port lines follow the stored scale that the label prints,
// in both travel diagrams, far beyond the scales a design usually has.
TEST(TravelDiagrams, DrawAtTheStoredScale) {
    const struct {
        const char* name;
        void (*draw)(GearState&, Canvas&);
        int height;
    } diagrams[] = {{"sine", [](GearState& g, Canvas& c) { DrawSineDiagram(g, c); }, kSineDiagramHeight},
                    {"oval", [](GearState& g, Canvas& c) { DrawOvalDiagram(g, c); }, kOvalDiagramHeight}};
    for (const auto& d : diagrams) {
        for (float scale : {1.5f, 150.0f, 900.0f}) {
            SCOPED_TRACE(std::string(d.name) + " " + std::to_string(scale));
            GearState g = GearWithPositions({});
            g.revArm.verticalScale = scale;
            RecordingCanvas rc(kDiagramWidth, d.height);
            d.draw(g, rc);
            const auto lime = test::SegmentsIn(rc, colors::kLime);
            ASSERT_FALSE(lime.empty());
            EXPECT_EQ(lime[0].y1, TravelY(g.events.frontSteamOpenLevel, scale));
            EXPECT_TRUE(FindText(rc, StrReal(scale, 3, 1).View()));
        }
    }
}

TEST(SineDiagram, PortLinesInLimeAndRed) {
    GearState g = GearWithPositions({});
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawSineDiagram(g, rc);
    const auto lime = test::SegmentsIn(rc, colors::kLime);
    const auto red = test::SegmentsIn(rc, colors::kRed);
    ASSERT_EQ(lime.size(), 3u);
    ASSERT_EQ(red.size(), 3u);
    const EventValues& e = g.events;
    const double k = 375 / 1.5;
    EXPECT_EQ(lime[0].y1, Nearest(215 - e.frontSteamOpenLevel * k));
    EXPECT_EQ(lime[2].y1, Nearest(215 - e.frontExhaustOpenLevel * k));
    EXPECT_EQ(red[0].y1, Nearest(215 + e.rearSteamOpenLevel * k));
    for (const auto& s : lime) EXPECT_TRUE(s.x1 == kPortLinesLeft && s.x2 == 583 && s.y1 == s.y2);
    for (const auto& s : red) EXPECT_TRUE(s.x1 == kPortLinesLeft && s.x2 == 583 && s.y1 == s.y2);
    // The labels: front steam at x 60 with the first offset (valve half
    // wider than the port in the default design).
    ASSERT_GT(g.cyl.valveRearHalf(), g.cyl.steamPortRear());
    EXPECT_TRUE(HasTextAt(rc, "Front Steam Port Open", 60, Nearest(218 - e.frontSteamOpenLevel * k)));
    EXPECT_TRUE(HasTextAt(rc, "Front Exhaust Port Open", 230, Nearest(200 - e.frontExhaustOpenLevel * k)));
    EXPECT_TRUE(HasTextAt(rc, "Rear Steam Port Max", 230, Nearest(200 + e.rearSteamMaxLevel * k)));
    EXPECT_TRUE(HasTextAt(rc, "Rear Exhaust Port Open", 60, Nearest(218 + e.rearExhaustOpenLevel * k)));
}

TEST(SineDiagram, LabelOffsetsSwapWithTheRearLap) {
    GearState g = GearWithPositions({});
    g.cyl.valveRearHalf() = g.cyl.steamPortRear();
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawSineDiagram(g, rc);
    const double k = 375 / 1.5;
    EXPECT_TRUE(HasTextAt(rc, "Front Steam Port Open", 60, Nearest(200 - g.events.frontSteamOpenLevel * k)));
    EXPECT_TRUE(HasTextAt(rc, "Front Exhaust Port Open", 230, Nearest(218 - g.events.frontExhaustOpenLevel * k)));
}

TEST(SineDiagram, TwoCurvesOneForwardOneReverse) {
    GearState probe = GearWithPositions({});
    const float c = probe.revArm.centre;
    GearState g = GearWithPositions({c + 1.5f, c - 1.5f});
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawSineDiagram(g, rc);

    const auto curve = CurveSegments(rc);
    ASSERT_EQ(curve.size(), 2u * 66);
    EXPECT_EQ(curve.front().x1, 58);
    EXPECT_EQ(curve[65].x2, 586);
    // Header rows: number, position, direction.
    const int y1 = Nearest(12.0) + 12, y2 = Nearest(24.0) + 12;
    EXPECT_TRUE(HasTextAt(rc, "    1", 545, y1));
    EXPECT_TRUE(HasTextAt(rc, "Rev", 533, y1));
    EXPECT_TRUE(HasTextAt(rc, "    2", 545, y2));
    EXPECT_TRUE(HasTextAt(rc, "Fwd", 533, y2));
    EXPECT_TRUE(HasTextAt(rc, "Reverse Arm Positions", 500, 0));
    EXPECT_TRUE(HasTextAt(rc, "Center", 520, 13));
    // Bold numbers at x 45, at the height of each curve's first sample.
    const auto one = FindText(rc, " 1");
    const auto two = FindText(rc, " 2");
    ASSERT_TRUE(one && two);
    EXPECT_TRUE(one->style.bold);
    EXPECT_EQ(one->a[0], 45);
    EXPECT_EQ(one->a[1], curve[0].y1);
    EXPECT_EQ(two->a[0], 45);
    EXPECT_EQ(two->a[1], curve[66].y1);
    EXPECT_EQ(CountText(rc, "Lead"), 0);
}

struct NearCase {
    float offset;
    const char* label;
    bool figures;
};

class SineLeadFigures : public ::testing::TestWithParam<NearCase> {};

TEST_P(SineLeadFigures, OnlyWithinFiveHundredthsOfMidGear) {
    const NearCase& n = GetParam();
    GearState probe = GearWithPositions({});
    GearState g = GearWithPositions({probe.revArm.centre + n.offset});
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    LeadLapTable table;
    DrawSineDiagram(g, rc, &table);
    EXPECT_TRUE(HasTextAt(rc, n.label, 533, 24));
    EXPECT_EQ(CountText(rc, "Lead"), n.figures ? 2 : 0);
    EXPECT_EQ(CountText(rc, "ExCl"), n.figures ? 1 : 0);
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.rows[0].hasFigures, n.figures);
    if (n.figures) {
        EXPECT_TRUE(HasTextAt(rc, "Lead", 595, 153));
        EXPECT_TRUE(HasTextAt(rc, std::string(StrReal(table.rows[0].figures.frontLap, 6, 3).View()), 592, 195));
        EXPECT_TRUE(HasTextAt(rc, std::string(StrReal(table.rows[0].figures.lowerLead, 6, 3).View()), 592, 295));
        // The lap and clearance figures are the solver's.
        EXPECT_EQ(table.rows[0].figures.frontLap, g.events.frontLap);
        EXPECT_EQ(table.rows[0].figures.rearExhaustClearance, g.events.rearExhaustClearance);
        // The leads follow the spindle joint over the curve's own samples.
        std::vector<float> angles;
        for (int j = 7; j <= 73; ++j) angles.push_back(static_cast<float>((8 * j + 272) % 360 == 0 ? 360 : (8 * j + 272) % 360));
        const test::SweptLeads leads = test::SweepLeads(probe, probe.revArm.centre + n.offset, angles);
        const auto upper = test::TextsAt(rc, 592, 166), lower = test::TextsAt(rc, 592, 295);
        ASSERT_EQ(upper.size(), 1u);
        ASSERT_EQ(lower.size(), 1u);
        EXPECT_NEAR(test::NumberIn(upper[0].text), leads.upper, 0.0006) << upper[0].text;
        EXPECT_NEAR(test::NumberIn(lower[0].text), leads.lower, 0.0006) << lower[0].text;
        EXPECT_NEAR(table.rows[0].figures.upperLead, leads.upper, 1e-5);
        EXPECT_NEAR(table.rows[0].figures.lowerLead, leads.lower, 1e-5);
    }
}

INSTANTIATE_TEST_SUITE_P(Offsets, SineLeadFigures,
                         ::testing::Values(NearCase{0, "Cen", true}, NearCase{0.04f, "Rev", true},
                                           NearCase{-0.04f, "Fwd", true}, NearCase{0.05f, "Rev", false},
                                           NearCase{-0.05f, "Fwd", false}));

TEST(LeadTracker, StartsAtZeroAndAThousand) {
    // A spindle joint whose X stays negative leaves the upper tracker at 0,
    // so the upper lead is the lead term itself.
    LeadTracker tracker;
    for (float x : {-3.0f, -2.0f}) tracker.Sample(x);
    EXPECT_EQ(tracker.hi, 0.0f);
    EXPECT_EQ(tracker.lo, -3.0f);
    EventValues events;
    events.upperLeadTerm = 0.25f;
    EXPECT_EQ(ComputeLeadLap(events, tracker).upperLead, 0.25f);
}

// The drawing leaves the gear exactly as it was (its own solves work on a
// copy); the window then keeps the last position drawn.
TEST(SineDiagram, LeavesTheGearAsItWasAndTheWindowKeepsTheLastPosition) {
    GearState probe = GearWithPositions({});
    const float c = probe.revArm.centre;
    GearState g = GearWithPositions({c, c - 1, c + 1});
    g.motion.driverAngle = 123.5f;
    g.motion.reverseArmPosition = c - 0.3f;
    g.lastDiagramPosition = 42;
    const GearState before = g;
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawSineDiagram(g, rc);
    EXPECT_EQ(g.motion.driverAngle, 123.5f);
    EXPECT_EQ(g.motion.reverseArmPosition, c - 0.3f);
    EXPECT_EQ(std::memcmp(&g.piv, &before.piv, sizeof g.piv), 0);
    EXPECT_EQ(std::memcmp(&g.events, &before.events, sizeof g.events), 0);
    EXPECT_EQ(g.lastDiagramPosition, 42);
    KeepLastDiagramPosition(g);
    EXPECT_EQ(g.lastDiagramPosition, c + 1);

    // An empty list draws no curves and leaves LastDiagramPosition alone.
    GearState e = GearWithPositions({});
    e.lastDiagramPosition = 42;
    RecordingCanvas rc2(kDiagramWidth, kSineDiagramHeight);
    DrawSineDiagram(e, rc2);
    KeepLastDiagramPosition(e);
    EXPECT_EQ(e.lastDiagramPosition, 42);
    EXPECT_TRUE(CurveSegments(rc2).empty());
    EXPECT_TRUE(FindText(rc2, "Reverse Arm Positions"));
}

// The drawing is the default layout whatever the text scale: a window at
// the large font draws it through a ScaledCanvas, which moves every point,
// texts and curves alike, and grows the texts.
TEST(SineDiagram, LargeFontsScaleTheWholePicture) {
    GearState g = GearWithPositions({0});
    g.revArm.position[1] = g.revArm.centre;
    GearState large = g;
    large.textScaleX = 1.27f;
    large.textScaleY = 1.22f;
    RecordingCanvas plain(kDiagramWidth, kSineDiagramHeight), atLarge(kDiagramWidth, kSineDiagramHeight);
    DrawSineDiagram(g, plain);
    DrawSineDiagram(large, atLarge);
    ASSERT_EQ(plain.Ops().size(), atLarge.Ops().size());
    for (std::size_t i = 0; i < plain.Ops().size(); ++i) {
        EXPECT_TRUE(std::equal(std::begin(plain.Ops()[i].a), std::end(plain.Ops()[i].a), std::begin(atLarge.Ops()[i].a)));
        EXPECT_EQ(plain.Ops()[i].text, atLarge.Ops()[i].text);
    }
    RecordingCanvas grown(Nearest(kDiagramWidth * 1.27), Nearest(kSineDiagramHeight * 1.22));
    ScaledCanvas scaled(grown, large.textScaleX, large.textScaleY);
    DrawSineDiagram(large, scaled);
    EXPECT_TRUE(HasTextAt(grown, "Reverse Arm Positions", Nearest(1.27 * 500.0), 0));
    EXPECT_TRUE(HasTextAt(grown, "Cen", Nearest(1.27 * 533.0), Nearest(1.22 * 24.0)));
    EXPECT_TRUE(HasTextAt(grown, "Front", Nearest(1.27 * 9), Nearest(1.22 * 46)));
    EXPECT_TRUE(HasTextAt(grown, "Lead", Nearest(1.27 * 595), Nearest(1.22 * 153)));
    EXPECT_EQ(FindText(grown, "Lead")->style.pixelSize, Nearest(11 * 1.22));
}

// ---------------------------------------------------------------------------
// Dynamic-variable block and undo line (shared by every diagram).

void AssignSlot1(GearState& g) {
    g.dynVarSlots[0] = {2, g.frame.stroke, "Stroke"};
    SelectDynVar(g);
}

TEST(DiagramDynVarBlock, BannerWhileSlotOneIsEmpty) {
    GearState g = GearWithPositions({});
    g.dynVarDisplay = true;
    g.dynVarSlots[2] = {3, 1.0f, "Main Rod"}; // slot 2 assigned, slot 1 not
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawBlockAsTheWindowDoes(g, rc);
    const std::string stars(31, '*');
    EXPECT_TRUE(HasTextAt(rc, stars, 235, 2));
    EXPECT_TRUE(HasTextAt(rc, "* First Select Dimensions *", 235, 12));
    EXPECT_TRUE(HasTextAt(rc, stars, 235, 26));
    EXPECT_EQ(FindText(rc, stars)->color, colors::kRed);
    EXPECT_FALSE(FindText(rc, "Main Rod"));
    const DynVarControlStates s = DynVarControls(g);
    EXPECT_TRUE(s.barsVisible);
    EXPECT_FALSE(s.barEnabled[1]);
    EXPECT_TRUE(s.barEnabled[2]);
}

// An angle stepped past a whole turn, and back by UnDo, is stored folded
// while its slot and undo entry may keep it unfolded: every window shows
// it in [0, 360), as stored.
TEST(DiagramDynVarBlock, AnglesReadFoldedInEveryWindowAfterStepsAndUnDo) {
    GearState g = GearWithPositions({});
    g.frame.eccRevAngle = 359.95f;
    g.dynVarSlots[0] = {7, g.frame.eccRevAngle, "Eccentric Reverse Angle"};
    SelectDynVar(g);
    g.dynVarDisplay = g.undoDisplay = g.screenDataOn = true;
    DynVarBarEnter(g, 1);
    DynVarBarChange(g, 1, 1); // one step up, over 360
    DynVarBarGestureEnd(g, 1);
    ASSERT_NEAR(g.frame.eccRevAngle, 0.05f, 1e-4f);
    ASSERT_GT(g.undo[1].newValue, 360.0f); // the entry keeps the unfolded value
    const auto lines = [&g](const char* when, const std::string& value, const std::string& undo) {
        SCOPED_TRACE(when);
        RecordingCanvas diagram(kDiagramWidth, kSineDiagramHeight);
        DrawBlockAsTheWindowDoes(g, diagram);
        EXPECT_TRUE(HasTextAt(diagram, value, 363, 2));
        RecordingCanvas main;
        DrawDynVarLines(g, main);
        EXPECT_TRUE(HasTextAt(main, value, 498, 71));
        if (undo.empty()) return;
        EXPECT_EQ(std::string(g.undoLineText.data()).rfind(undo, 0), 0u) << g.undoLineText.data();
        DrawUndoLine(g, main);
        EXPECT_TRUE(FindText(main, undo)) << undo;
    };
    lines("after the step", " 0.050", " 1- Eccentric Reverse Angle  0.050 to 359.950");
    UndoLast(g);
    EXPECT_FLOAT_EQ(g.frame.eccRevAngle, 359.95f);
    // The slot reads the dimension as stored, bit for bit.
    ASSERT_EQ(g.dynVarSlots[1].value, g.frame.eccRevAngle);
    lines("after UnDo", "359.950", "");
}

TEST(DiagramDynVarBlock, SlotRowsAndRebuiltUndoLine) {
    GearState g = GearWithPositions({});
    AssignSlot1(g);
    g.dynVarDisplay = g.undoDisplay = true;
    g.undoPending = true;
    BeginUndoEntry(g);
    g.undo[1] = {2, 3.0f, 3.25f, "Stroke"};
    g.undoPending = false;
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawBlockAsTheWindowDoes(g, rc);
    EXPECT_TRUE(HasTextAt(rc, "Stroke", 235, 2));
    EXPECT_TRUE(HasTextAt(rc, std::string(StrReal(g.frame.stroke, 6, 3).View()), 363, 2));
    EXPECT_TRUE(HasTextAt(rc, std::string(kUnassignedSlotName), 235, 14));
    // Spaces up to the line's full length cover a longer line drawn before.
    std::string line = " 1- Stroke  3.250 to  3.000";
    line.resize(kUndoLineChars, ' ');
    EXPECT_EQ(std::string(g.undoLineText.data()), line);
    EXPECT_TRUE(HasTextAt(rc, line, 150, 51));
}

TEST(DiagramDynVarBlock, UndoLineWithoutDynamicVariablesDrawsTheOldText) {
    GearState g = GearWithPositions({});
    g.undoDisplay = true;
    g.dynVarDisplay = false;
    std::snprintf(g.undoLineText.data(), g.undoLineText.size(), "old line");
    g.undoCount = 1;
    g.undo[1] = {2, 3.0f, 3.25f, "Stroke"};
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawBlockAsTheWindowDoes(g, rc);
    EXPECT_TRUE(HasTextAt(rc, "old line", 150, 51));
    EXPECT_EQ(test::Texts(rc).size(), 1u);
    EXPECT_EQ(std::string(g.undoLineText.data()).substr(0, 10), " 1- Stroke");
    EXPECT_FALSE(DynVarControls(g).barsVisible);
    EXPECT_TRUE(DynVarControls(g).undoVisible);
}

TEST(DiagramDynVarBlock, RedoLineWhenUndoIsEmptyAndNoticeWhenTheLineIsHidden) {
    GearState g = GearWithPositions({});
    AssignSlot1(g);
    g.dynVarDisplay = g.undoDisplay = true;
    g.redoCount = 2;
    g.redo[1] = {2, 3.0f, 3.25f, "Stroke"};
    RecordingCanvas rc(kDiagramWidth, kSineDiagramHeight);
    DrawBlockAsTheWindowDoes(g, rc);
    std::string line = " 2- ReDo Stroke  3.000 to  3.250";
    line.resize(kUndoLineChars, ' ');
    EXPECT_EQ(std::string(g.undoLineText.data()), line);
    EXPECT_TRUE(HasTextAt(rc, line, 150, 51));

    g.dynVarDisplay = g.undoDisplay = false;
    g.noticeEntry = {2, 3.0f, 3.25f, "Stroke"};
    g.noticeRedo = true;
    g.noticeFrames = 3;
    RecordingCanvas hidden(kDiagramWidth, kSineDiagramHeight);
    DrawDynVarBlock(g, hidden);
    EXPECT_TRUE(HasTextAt(hidden, "ReDone Stroke  3.000 to  3.250", 150, 51));
    EXPECT_EQ(test::Texts(hidden).size(), 1u);
}

TEST(DiagramNumbers, StrFormats) {
    EXPECT_EQ(StrReal(1.5, 6, 3).View(), " 1.500");
    EXPECT_EQ(StrReal(-12345.678, 6, 3).View(), "-12345.678");
    EXPECT_EQ(StrReal(0.5, 1, 1).View(), "0.5");
    EXPECT_EQ(StrReal(std::numeric_limits<double>::quiet_NaN(), 6, 3).View(), "   nan");
    EXPECT_EQ(StrReal(-std::numeric_limits<double>::infinity(), 6, 3).View(), "  -inf");
    EXPECT_EQ(StrReal(3.4e38, 6, 3).View().size(), 43u);
    EXPECT_EQ(StrInt(7, 5).View(), "    7");
    EXPECT_EQ(StrInt(12, 1).View(), "12");
}

} // namespace
} // namespace vx
