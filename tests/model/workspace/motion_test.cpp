#include <cmath>
#include <limits>
#include <vector>

#include "model/workspace/motion.h"
#include "model/workspace/view.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

TEST(StepAngleBar, TableBoundaries) {
    struct Case {
        int position;
        float step;
        int small, large;
    } cases[] = {{0, 0.01f, 1, 5},          {704, 0.01f, 1, 5},         {705, 0.02f, 2, 10},
                 {3612, 0.05f, 5, 25},      {3613, 0.1f, 10, 50},       {7612, 0.5f, 50, 250},
                 {7613, 1, 100, 500},       {8000, 1, 100, 500},        {12000, 10, 1000, 4500},
                 {12704, 10, 1000, 4500},   {12705, 20, 2000, 4500},    {14408, 30, 3000, 4500},
                 {14409, 45, 4500, 4500},   {14613, 45, 4500, 4500},    {-5, 0.01f, 1, 5},
                 {99999, 45, 4500, 4500}};
    for (const Case& c : cases) {
        const StepAngleRow r = StepAngleForPosition(c.position);
        EXPECT_EQ(r.step, c.step) << c.position;
        EXPECT_EQ(r.smallChange, c.small) << c.position;
        EXPECT_EQ(r.largeChange, c.large) << c.position;
    }
}

TEST(DriverAngle, AdvancesAndWraps) {
    struct Case {
        float angle, step;
        Direction dir;
        float expected;
    } cases[] = {{350, 10, Direction::Fwd, 360},  {360, 10, Direction::Fwd, 10}, {-40, 0, Direction::Fwd, 320},
                 {400, 0, Direction::Fwd, 40},     {5, 10, Direction::Rev, 355},  {0, 45, Direction::Rev, 315},
                 {360.05f, 0, Direction::Fwd, 360.05f}};
    for (const Case& c : cases) {
        MotionState m;
        m.driverAngle = c.angle;
        m.tickStep = c.step;
        m.direction = c.dir;
        AdvanceDriverAngle(m);
        EXPECT_FLOAT_EQ(m.driverAngle, c.expected) << c.angle << " + " << c.step;
    }
    MotionState m;
    std::vector<float> seen;
    for (int i = 0; i < 38; ++i) {
        seen.push_back(m.driverAngle);
        AdvanceDriverAngle(m);
    }
    EXPECT_EQ(seen[36], 360.0f);
    EXPECT_EQ(seen[37], 10.0f);
}

TEST_F(StartedGear, ReverseArmBarSetsPositionAndDirection) {
    const float c = g.revArm.centre;
    ApplyRevArmBar(g, 1000); // right: towards the driver, forward gear
    EXPECT_FLOAT_EQ(g.motion.reverseArmPosition, c - 1.0f);
    EXPECT_EQ(g.motion.direction, Direction::Fwd);
    g.frontCutOffText = "50";
    ApplyRevArmBar(g, -1);
    EXPECT_EQ(g.motion.direction, Direction::Rev);
    EXPECT_TRUE(g.frontCutOffText.empty());
    ApplyRevArmBar(g, 0);
    EXPECT_EQ(g.motion.reverseArmPosition, c);
    EXPECT_EQ(g.motion.direction, Direction::Fwd);
}

TEST(Zoom, KeepsTheCentrePixelAndHoldsTheLimits) {
    ViewTransform v{28.5f, 110, 270};
    const WorldPoint before = ScreenToWorld(v, 320, 240);
    ApplyZoomStep(v, 0.1); // a right-arrow click
    EXPECT_FLOAT_EQ(v.zoom, 28.5f * 1.001f);
    const WorldPoint after = ScreenToWorld(v, 320, 240);
    EXPECT_NEAR(after.x, before.x, 1e-5);
    EXPECT_NEAR(after.y, before.y, 1e-5);

    ViewTransform big{2990, 100, 100};
    ApplyZoomStep(big, 1);
    EXPECT_EQ(big.zoom, 3000.0f);
    EXPECT_FLOAT_EQ(big.panHorz, static_cast<float>((100 - 320) * (2990 * 1.01) / 2990 + 320));

    ViewTransform small{0.5f, 0, 0};
    ApplyZoomStep(small, -10);
    EXPECT_EQ(small.zoom, 0.5f);
}

TEST_F(StartedGear, TickSolvesDrawsPointsAndAdvances) {
    g.motion.driverAngle = 30;
    TickModel(g);
    EXPECT_EQ(g.motion.driverAngle, 40);
    // The points are of the angle before the advance.
    EXPECT_EQ(g.piv.sx[2], Nearest(std::cos(30 * M_PI / 180) * 1.5 * 28.5 + 110));
    EXPECT_EQ(g.piv.sx[18], Nearest(static_cast<double>(g.motion.reverseArmPosition) * 28.5 + 110));
    EXPECT_EQ(g.piv.sx[1], 110);
    EXPECT_EQ(g.piv.sy[1], 270);
}

// A dimension that is not a number passes every guard of the solver; the
// tick still raises the error the window shows, naming the figures.
TEST_F(StartedGear, TickRaisesTheErrorForFiguresThatAreNotNumbers) {
    g.errorBeepOn = true;
    TickModel(g);
    EXPECT_FALSE(g.geometryError);
    g.cyl.valveFrontHalf() = std::numeric_limits<float>::quiet_NaN();
    TickModel(g);
    EXPECT_TRUE(g.geometryError);
    EXPECT_EQ(g.errorCause, GeometryCause::NotFinite);
}

// ---------------------------------------------------------------------------
// The motion buttons' rules: Run/Stop, the step presets and bar, 180 and 0.0.

TEST(RunStop, StartsAtTheSelectedStepAndStopsStill) {
    MotionState m;
    ASSERT_TRUE(m.running);
    m.selectedStep = 5;
    EXPECT_FALSE(ToggleRunning(m));
    EXPECT_FALSE(m.running);
    EXPECT_EQ(m.tickStep, 0.0f);
    EXPECT_TRUE(ToggleRunning(m));
    EXPECT_TRUE(m.running);
    EXPECT_EQ(m.tickStep, 5.0f);
}

TEST(HalfTurnButtons, StandTheDriverAtTheirAngle) {
    for (const bool half : {true, false}) {
        MotionState m;
        m.driverAngle = 77.7f;
        StandAtHalfTurn(m, half);
        EXPECT_EQ(m.driverAngle, half ? 180.0f : 0.0f);
        EXPECT_EQ(m.tickStep, 0.0f);
        EXPECT_FALSE(m.running);
    }
    EXPECT_EQ(DriverAngleBarPosition(123.456f), 12346);
    EXPECT_EQ(DriverAngleBarPosition(std::nan("")), 0);
}

TEST(StepPresets, SelectTheirStepAndDisableTheirOwnButton) {
    struct Case {
        bool running;
        int preset;
        float step;
        int bar;
    } cases[] = {{true, 0, 1, 8000}, {true, 1, 10, 12000}, {false, 2, 45, kStepBarMax}, {false, 0, 1, 8000}};
    for (const Case& c : cases) {
        MotionState m;
        m.running = c.running;
        m.tickStep = c.running ? 3.0f : 0.0f;
        EXPECT_EQ(SelectStepPreset(m, c.preset), c.bar);
        EXPECT_EQ(m.selectedStep, c.step);
        EXPECT_EQ(m.tickStep, c.running ? c.step : 0.0f) << "the running step follows only while running";
        for (int i = 0; i < 3; ++i) EXPECT_EQ(StepPresetEnabled(m, i), i != c.preset) << c.preset << " " << i;
        // The preset's bar position gives the preset's own step back.
        EXPECT_EQ(StepAngleForPosition(c.bar).step, c.step);
    }
}

TEST(StepBar, FirstReportArmsThenEachSelectsItsRow) {
    MotionState m;
    m.stepBarArmed = false;
    m.selectedStep = 10;
    EXPECT_FALSE(ApplyStepBar(m, 100).has_value());
    EXPECT_TRUE(m.stepBarArmed);
    EXPECT_EQ(m.selectedStep, 10.0f);
    const auto row = ApplyStepBar(m, 100);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->smallChange, 1);
    EXPECT_EQ(m.selectedStep, 0.01f);
    EXPECT_EQ(m.tickStep, 0.01f);
    m.running = false;
    m.tickStep = 0;
    ApplyStepBar(m, kStepBarMax);
    EXPECT_EQ(m.selectedStep, 45.0f);
    EXPECT_EQ(m.tickStep, 0.0f);
}

TEST_F(StartedGear, ReverseArmButtonsFollowTheArm) {
    const int end = 2000;
    const int fwd = NormalRevArmBarPosition(g, end);
    EXPECT_EQ(fwd, Nearest(static_cast<double>(g.frame.revArmToCentNorm) * end / g.frame.revArmToCentMax));
    EXPECT_EQ(NormalRevArmBarPosition(g, -end), -fwd);

    ApplyRevArmBar(g, 0);
    RevArmButtons b = RevArmButtonsAt(g, 0);
    EXPECT_FALSE(b.centre);
    EXPECT_TRUE(b.forward);
    EXPECT_TRUE(b.reverse);

    // At full forward the forward button has nothing left to do.
    g.motion.reverseArmPosition = g.revArm.centre - g.frame.revArmToCentNorm;
    b = RevArmButtonsAt(g, fwd);
    EXPECT_TRUE(b.centre);
    EXPECT_FALSE(b.forward);
    EXPECT_TRUE(b.reverse);
    g.motion.reverseArmPosition = g.revArm.centre + g.frame.revArmToCentNorm;
    b = RevArmButtonsAt(g, -fwd);
    EXPECT_TRUE(b.forward);
    EXPECT_FALSE(b.reverse);

    g.frontCutOffText = "50";
    g.rearCutOffText = "40";
    CentreReverseArm(g);
    EXPECT_EQ(g.motion.reverseArmPosition, g.revArm.centre);
    EXPECT_TRUE(g.frontCutOffText.empty());
    EXPECT_TRUE(g.rearCutOffText.empty());

    GearState zero = g;
    zero.frame.revArmToCentMax = 0;
    EXPECT_EQ(NormalRevArmBarPosition(zero, end), 0) << "no division by a zero range";
}

// ---------------------------------------------------------------------------
// The view controls' rules: jog bars, Norm, the presets, SetPanZoom.

TEST_F(StartedGear, ViewJogBarsStepTheirAxis) {
    const ViewTransform start = g.view;
    ApplyViewJog(g, JogAxis::PanVert, 10);
    EXPECT_FLOAT_EQ(g.view.panVert, start.panVert - 1.0f);
    ApplyViewJog(g, JogAxis::PanVert, 0); // the bar put back: no step
    EXPECT_FLOAT_EQ(g.view.panVert, start.panVert - 1.0f);
    ApplyViewJog(g, JogAxis::PanHorz, 10);
    EXPECT_FLOAT_EQ(g.view.panHorz, start.panHorz + 1.0f);
    ApplyViewJog(g, JogAxis::PanHorz, 0);
    ViewTransform zoomed = g.view;
    ApplyZoomStep(zoomed, 1.0);
    ApplyViewJog(g, JogAxis::Zoom, 10);
    EXPECT_EQ(g.view, zoomed);
}

TEST_F(StartedGear, PresetsStoreWhenStagedAndNormCancels) {
    ViewControlState s;
    g.viewPresets[3] = ViewTransform{10, 20, 30};
    PressPreset(g, s, 3);
    EXPECT_EQ(g.view, (ViewTransform{10, 20, 30}));
    EXPECT_FALSE(s.presetStaged);

    const ViewTransform mine{50, 60, 70};
    g.view = mine;
    PressPreset(g, s, 0);
    EXPECT_TRUE(s.presetStaged);
    EXPECT_EQ(g.viewPresets[0], mine);
    g.view = ViewTransform{1, 2, 3};
    PressPreset(g, s, 2);
    EXPECT_EQ(g.viewPresets[2], mine) << "the staged view is stored";
    EXPECT_EQ(g.view, mine);
    EXPECT_FALSE(s.presetStaged);

    PressPreset(g, s, 0);
    NormalView(g, s);
    EXPECT_FALSE(s.presetStaged);
    EXPECT_EQ(g.view, g.normalView);
    const ViewTransform five = g.viewPresets[5];
    PressPreset(g, s, 5);
    EXPECT_EQ(g.viewPresets[5], five) << "Norm cancelled the staging";

    const GearState before = g;
    PressPreset(g, s, kPresetCount); // no such button
    PressPreset(g, s, -1);
    EXPECT_EQ(g.view, before.view);
    EXPECT_EQ(g.viewPresets, before.viewPresets);
}

TEST(PanZoomItem, TogglesAndTheScreenDataResetsIt) {
    ViewControlState s;
    EXPECT_FALSE(s.panZoomBarsShown);
    EXPECT_TRUE(TogglePanZoomBars(s));
    EXPECT_FALSE(TogglePanZoomBars(s));
    EXPECT_TRUE(TogglePanZoomBars(s));
    ResetPanZoomItem(s);
    EXPECT_FALSE(s.panZoomBarsShown);
    EXPECT_TRUE(TogglePanZoomBars(s));
}

} // namespace
} // namespace vx
