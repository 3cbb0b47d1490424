#include <cmath>
#include <vector>

#include "model/motion.h"
#include "model/view.h"
#include "tests/model/test_support.h"

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

} // namespace
} // namespace vx
