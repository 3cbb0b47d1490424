// The dimension locator drawn on a recording canvas: its view, lines, name
// and blink colours for a frame and a cylinder dimension, its end after 1000
// frames or on a mouse press, and every one of the 54 dimension ids.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "scene/frame/dimension_locator_layer.h"
#include "model/workspace/defaults.h"
#include "model/workspace/motion.h"
#include "model/workspace/view.h"
#include "model/workspace/frame_advance.h"
#include "platform/recording_canvas.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

class LocatorTest : public test::StartedGear {
protected:
    void SetUp() override {
        StartedGear::SetUp();
        if (HasFatalFailure()) return;
        g.motion.tickStep = 0; // a still gear: the points are the same every frame
        TickModel(g);
    }
    // One frame: its advance (the tick's model work and the locator's
    // step), then the locator's figure.
    void Frame() {
        AdvanceFrame(g);
        c.Reset();
        DrawDimensionLocator(g, c);
    }
    // The view the gear takes from the next frame on: the locator draws
    // through its view at once, and the gear's pivots are placed through it
    // from the next frame.
    ViewTransform NextView() const { return g.viewPending ? g.pendingView : g.view; }
    // The thick lines: the dimension itself (the hourglass is thinner).
    std::vector<RecordingCanvas::Segment> Thick() const {
        std::vector<RecordingCanvas::Segment> out;
        for (const auto& s : c.Segments())
            if (s.width == 3) out.push_back(s);
        return out;
    }
    const RecordingCanvas::Op* NameText() const {
        for (const auto& op : c.Ops())
            if (op.kind == RecordingCanvas::Kind::Text) return &op;
        return nullptr;
    }
    CanvasPoint Pivot(int n) const { return {g.piv.sx[n], g.piv.sy[n]}; }

    RecordingCanvas c;
};

TEST_F(LocatorTest, FrameDimensionSetsItsViewAndDrawsItsLineAndName) {
    const ViewTransform user = g.view;
    g.locatorDimension = 2; // "Stroke": crank pin through the axle to the opposite point
    Frame();
    EXPECT_EQ(g.savedView, user);
    EXPECT_EQ(g.view, user); // this frame's gear was placed through the user's view
    EXPECT_EQ(g.picture.locatorView, NextView());
    EXPECT_FLOAT_EQ(NextView().zoom, 30.0f);
    EXPECT_FLOAT_EQ(NextView().panHorz, 290.0f);
    EXPECT_FLOAT_EQ(NextView().panVert, 212.0f);
    Frame(); // from the second frame on the points follow the locator's view
    const auto thick = Thick();
    ASSERT_EQ(thick.size(), 1u);
    const ScreenPoint far = WorldToScreen(g.view, 2.0 * g.piv.x[1] - g.piv.x[2], 2.0 * g.piv.y[1] - g.piv.y[2]);
    EXPECT_EQ(thick[0].x1, g.piv.sx[2]);
    EXPECT_EQ(thick[0].y1, g.piv.sy[2]);
    EXPECT_EQ(thick[0].x2, far.x);
    EXPECT_EQ(thick[0].y2, far.y);
    // The stroke line passes through the axle.
    EXPECT_NEAR((thick[0].x1 + thick[0].x2) / 2.0, g.piv.sx[1], 1.0);
    const auto* name = NameText();
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text, "Stroke");
    EXPECT_EQ(name->a[0], 30);
    EXPECT_EQ(name->a[1], 75);
}

TEST_F(LocatorTest, LineIsRedForThreeFramesAndBlackForThree) {
    g.locatorDimension = 8;
    std::string colours;
    for (int i = 0; i < 13; ++i) {
        Frame();
        colours += Thick().at(0).color == colors::kRed ? 'R' : 'B';
    }
    EXPECT_EQ(colours, "RRRBBBRRRBBBR");
}

TEST_F(LocatorTest, HourglassIsDrawnInBlackAtTheLeft) {
    g.locatorDimension = 10;
    Frame();
    int hourglass = 0;
    for (const auto& s : c.Segments())
        if (s.width != 3) {
            EXPECT_EQ(s.color, colors::kBlack);
            EXPECT_TRUE(s.x1 >= 20 && s.x1 <= 44 && s.y1 >= 100 && s.y1 <= 142);
            ++hourglass;
        }
    EXPECT_EQ(hourglass, 4 + 5 + 5 + 4 + 2 + 3);
}

TEST_F(LocatorTest, CylinderDimensionUsesTheOutlineAndTheGraphicZoom) {
    g.graphicZoomFactor = 15; // every locator zoom is halved
    g.locatorDimension = 103; // bore diameter: C(5) to C(6)
    Frame();
    EXPECT_FLOAT_EQ(NextView().zoom, 27.5f);
    EXPECT_FLOAT_EQ(NextView().panHorz, -500.0f);
    EXPECT_FLOAT_EQ(NextView().panVert, 285.0f);
    Frame();
    const auto thick = Thick();
    ASSERT_EQ(thick.size(), 1u);
    EXPECT_EQ(thick[0].x1, g.cylOutline[5].x);
    EXPECT_EQ(thick[0].y1, g.cylOutline[5].y);
    EXPECT_EQ(thick[0].x2, g.cylOutline[6].x);
    EXPECT_EQ(thick[0].y2, g.cylOutline[6].y);
    EXPECT_EQ(NameText()->text, "Cylinder Bore Dia");
}

TEST_F(LocatorTest, TravelLineRunsBothWaysFromMidGearInTurnColours) {
    g.locatorDimension = 25;
    Frame();
    Frame();
    const auto thick = Thick();
    ASSERT_EQ(thick.size(), 2u);
    const int y = g.piv.sy[18] + 5;
    const double centre = g.revArm.centre;
    const double norm = g.frame.revArmToCentNorm;
    EXPECT_EQ(thick[0].x1, WorldToScreen(g.view, centre - norm, 0).x);
    EXPECT_EQ(thick[0].x2, WorldToScreen(g.view, centre, 0).x);
    EXPECT_EQ(thick[1].x2, WorldToScreen(g.view, centre + norm, 0).x);
    EXPECT_EQ(thick[0].y1, y);
    EXPECT_EQ(thick[1].y2, y);
    EXPECT_EQ(thick[0].color, colors::kRed);
    EXPECT_EQ(thick[1].color, colors::kBlack);
}

TEST_F(LocatorTest, MainRodKeepsTheUsersPan) {
    g.view = {40, 123, 321};
    g.locatorDimension = 3;
    Frame();
    EXPECT_FLOAT_EQ(NextView().zoom, 28.5f);
    EXPECT_FLOAT_EQ(NextView().panHorz, 123.0f);
    EXPECT_FLOAT_EQ(NextView().panVert, 321.0f);
}

TEST_F(LocatorTest, EndsAfterAThousandFramesWithTheUsersViewAndTheEditorToReopen) {
    const ViewTransform user = g.view;
    g.locatorDimension = 110;
    for (int i = 0; i < 1000; ++i) Frame();
    EXPECT_EQ(g.locatorDimension, 110);
    EXPECT_FALSE(g.locatorEnded);
    Frame();
    EXPECT_EQ(g.locatorDimension, 0);
    EXPECT_EQ(NextView(), user);
    EXPECT_TRUE(g.locatorEnded);
    EXPECT_TRUE(g.locatorReopenCylinder);
    EXPECT_EQ(g.locatorFrameCount, 0);
    EXPECT_EQ(g.locatorBlinkCount, 0);
}

TEST_F(LocatorTest, MousePressEndsItOnTheNextFrame) {
    const ViewTransform user = g.view;
    g.locatorDimension = 14;
    Frame();
    Frame();
    EndLocator(g);
    Frame();
    EXPECT_EQ(g.locatorDimension, 0);
    EXPECT_EQ(NextView(), user);
    EXPECT_TRUE(g.locatorEnded);
    EXPECT_FALSE(g.locatorReopenCylinder);
    EndLocator(g); // with no locator running a press changes nothing
    EXPECT_EQ(g.locatorFrameCount, 0);
}

TEST_F(LocatorTest, HostileZoomFactorStaysSafe) {
    for (float f : {0.0f, -1.0f, 1e-40f, std::nanf("")}) {
        g.graphicZoomFactor = f;
        g.locatorDimension = 1;
        Frame();
        Frame();
        EXPECT_FALSE(Thick().empty());
    }
}

// The 54 ids: name, zoom N (with G = 7.5), pan (or the user's), and where
// the line starts ('P' pivot, 'C' cylinder outline, 'V' valve outline; '-'
// a computed point).
struct IdRow {
    int id;
    const char* name;
    float n;
    float panHorz, panVert; // NaN: kept
    char startSet;
    int start;
};

constexpr float kKeep = __builtin_nanf("");

const IdRow kRows[] = {
    {1, "Driver Dia", 30, 290, 212, '-', 0},
    {2, "Stroke", 30, 290, 212, 'P', 2},
    {3, "Main Rod Length", 28.5f, kKeep, kKeep, 'P', 2},
    {4, "Eccentric Circle Dia", 62, 280, 212, 'P', 12},
    {5, "Eccentric Dia", 62, 280, 212, 'P', 21},
    {6, "Eccentric Forward Angle", 62, 280, 212, 'P', 2},
    {7, "Eccentric Reverse Angle", 62, 280, 212, 'P', 2},
    {8, "Eccentric Forward Rod", 50, 100, 212, 'P', 12},
    {9, "Eccentric Reverse Rod", 50, 100, 212, 'P', 13},
    {10, "ExLink Length", 33, 100, 212, 'P', 6},
    {11, "ExLink Support Piv Vert", 33, 100, 212, 'P', 9},
    {12, "ExLink-Ecc Rod Piv Vert", 33, 100, 212, 'P', 10},
    {13, "ExLink-Ecc Rod Pivot BkS", 33, 100, 212, 'P', 9},
    {14, "Lift Link for ExLink", 40, 50, 250, 'P', 14},
    {15, "Lift Link for RadRod", 40, 50, 250, 'P', 17},
    {16, "Radius Rod Total Length", 40, 50, 250, 'P', 5},
    {17, "Radius Rod Short End", 33, 100, 250, 'P', 8},
    {18, "Lift Arm ExLink End", 33, 100, 250, 'P', 15},
    {19, "Lift Arm ExLink Angle", 33, 100, 250, 'P', 15},
    {20, "Lift Arm RadRod End", 33, 100, 250, 'P', 16},
    {21, "Lift Arm RadRod Angle", 33, 100, 250, 'P', 17},
    {22, "Reverse Arm Length", 33, 100, 250, 'P', 16},
    {23, "Rev/Lift Arm Pivot Vert", 33, 100, 250, 'P', 16},
    {24, "Rev/Lift Arm Pivot Horz", 33, 100, 250, 'P', 16},
    {25, "Rev Arm to Cent Norm", 33, 100, 250, '-', 0},
    {26, "Rev Arm to Cent Max", 33, 100, 250, '-', 0},
    {27, "Rocker Pivot Vert", 33, 100, 212, 'P', 27},
    {28, "ExLink Support Piv BkS", 33, 100, 212, 'P', 14},
    {29, "Rocker Pivot Horz", 33, 100, 212, '-', 0},
    {30, "Rocker Upper End", 33, 100, 212, 'P', 27},
    {31, "Rocker Upper BackSet", 33, 100, 212, 'P', 28},
    {32, "Rocker Lower End", 33, 100, 212, 'P', 5},
    {101, "Cyl ctr to Driver ctr", 28.5f, kKeep, kKeep, 'P', 1},
    {102, "Cyl CL above Driver ctr", 55, -500, 285, '-', 0},
    {103, "Cylinder Bore Dia", 55, -500, 285, 'C', 5},
    {104, "Cylinder Bore Length", 55, -500, 285, 'C', 6},
    {105, "Cyl Steam Port Width", 55, -500, 285, 'C', 5},
    {106, "Piston ctr to Crosshead", 40, -250, 285, 'P', 3},
    {107, "Piston Width", 55, -500, 285, 'V', 1},
    {108, "Valve Surface to Cyl CL", 55, -500, 285, '-', 0},
    {109, "Valve Stem CL to Cyl CL", 55, -500, 285, '-', 0},
    {110, "Exhaust Port  Width", 55, -500, 285, 'C', 15},
    {111, "Bridge Width   Rear", 55, -500, 285, 'C', 15},
    {112, "Bridge Width   Front", 55, -500, 285, 'C', 21},
    {113, "Steam Port Width  Rear", 55, -500, 285, 'C', 3},
    {114, "Steam Port Width   Front", 55, -500, 285, 'C', 10},
    {115, "Valve Chamber    Height", 55, -500, 285, 'C', 1},
    {116, "Valve Chamber Length", 55, -500, 285, 'C', 2},
    {117, "Valve Height", 55, -500, 285, 'V', 6},
    {118, "Valve Length  Rear Half", 55, -500, 285, 'V', 6},
    {119, "Valve Length   Front Half", 55, -500, 285, 'V', 7},
    {120, "Valve Exh CavityRearHalf", 55, -500, 285, 'V', 12},
    {121, "Valve ExhCavityFrontHalf", 55, -500, 285, 'V', 9},
    {122, "Valve Stem", 55, -500, 285, 'P', 4},
};

TEST_F(LocatorTest, EveryDimensionIdIsDrawnWhereItLies) {
    ASSERT_EQ(LocatorIds().size(), std::size(kRows));
    const ViewTransform user = g.view;
    for (const IdRow& r : kRows) {
        SCOPED_TRACE(r.id);
        g.view = user;
        g.viewPending = false;
        g.locatorFrameCount = 0;
        g.locatorBlinkCount = 0;
        g.locatorDimension = r.id;
        Frame();
        Frame();
        EXPECT_FLOAT_EQ(g.view.zoom, r.n);
        if (std::isnan(r.panHorz)) {
            EXPECT_EQ(g.view.panHorz, user.panHorz);
            EXPECT_EQ(g.view.panVert, user.panVert);
        } else {
            EXPECT_EQ(g.view.panHorz, r.panHorz);
            EXPECT_EQ(g.view.panVert, r.panVert);
        }
        const auto* name = NameText();
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text, r.name);
        const auto thick = Thick();
        ASSERT_FALSE(thick.empty());
        // Something of the dimension is drawn: a thick line of some length
        // (the back sets and the cylinder height are 0 by default: no length,
        // but the ends still lie on the gear).
        const bool zeroBackSet = r.id == 13 || r.id == 28 || r.id == 31 || r.id == 102;
        const auto& s = thick.front();
        if (!zeroBackSet) {
            EXPECT_TRUE(s.x1 != s.x2 || s.y1 != s.y2 || thick.size() > 1);
        }
        int x = 0, y = 0;
        switch (r.startSet) {
        case 'P': x = g.piv.sx[r.start]; y = g.piv.sy[r.start]; break;
        case 'C': x = g.cylOutline[r.start].x; y = g.cylOutline[r.start].y; break;
        case 'V': x = g.valveOutline[r.start].x; y = g.valveOutline[r.start].y; break;
        default: continue;
        }
        EXPECT_EQ(s.x1, x);
        EXPECT_EQ(s.y1, y);
    }
}

} // namespace
} // namespace vx
