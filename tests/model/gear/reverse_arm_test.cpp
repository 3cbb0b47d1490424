// The reverse arm's rules, side by side: which way a position runs for the
// running gear and for the steam diagram, a diagram row's label, the bar's
// scale and the travel's landmarks.
#include <gtest/gtest.h>

#include <cmath>

#include "model/gear/reverse_arm.h"
#include "model/workspace/defaults.h"
#include "model/workspace/motion.h"

namespace vx {
namespace {

TEST(ReverseArmRules, DirectionAtMidGearAndEitherSide) {
    const float c = 7.5f;
    struct Row {
        float position;
        Direction running;   // the window, the analyses, the command line
        bool steamForward;   // the steam diagram's crank
        const char* label;   // a diagram's position row
    } rows[] = {
        {c - 1, Direction::Fwd, true, "Fwd"},
        {c, Direction::Fwd, false, "Cen"}, // mid gear: runs forward, the steam diagram turns back
        {c + 1, Direction::Rev, false, "Rev"},
        {std::nextafter(c, 0.0f), Direction::Fwd, true, "Fwd"},
        {std::nextafter(c, 100.0f), Direction::Rev, false, "Rev"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.position);
        EXPECT_EQ(DirectionAt(r.position, c), r.running);
        EXPECT_EQ(SteamDiagramTurnsForward(r.position, c), r.steamForward);
        EXPECT_EQ(PositionLabel(r.position, c), r.label);
    }
}

TEST(ReverseArmRules, BarScaleAndLandmarks) {
    GearState g;
    StartUp(g);
    EXPECT_EQ(OffsetOfRevArmBar(-1000), 1.0);
    EXPECT_EQ(OffsetOfRevArmBar(250), -0.25);
    EXPECT_EQ(RevArmBarOf(g.revArm.centre, g.revArm.centre - 0.25), 250.0);
    // The bar spans mid gear +- Max.
    EXPECT_EQ(RevArmBarLimit(g), static_cast<int>(std::lround(1000.0 * g.frame.revArmToCentMax)));
    const TravelLandmarks t = TravelLandmarksOf(g);
    const double c = g.revArm.centre;
    EXPECT_EQ(t.cen, c);
    EXPECT_EQ(t.max, c + g.frame.revArmToCentMax);
    EXPECT_EQ(t.min, c - g.frame.revArmToCentMax);
    EXPECT_EQ(t.rev, c + g.frame.revArmToCentNorm);
    EXPECT_EQ(t.fwd, c - g.frame.revArmToCentNorm);
    // A bar position applied puts the arm at that offset from mid gear.
    ApplyRevArmBar(g, -1000);
    EXPECT_EQ(g.motion.reverseArmPosition, ReverseArmAtOffset(g, 1.0));
}

// The two ways the crank turns by a step: the running gear comes back into
// the turn once past 360.1, a diagram's sweep past 360 as often as it takes.
TEST(CrankTurn, TheRunningGearAndADiagramsSweep) {
    struct Row {
        float from;
        double step;
        float diagram;
    } rows[] = {{356, 4, 360}, {358, 4, 2}, {2, -4, 358}, {0, -4, 356}, {10, 4, 14}, {359, 725, 4}};
    for (const Row& r : rows) EXPECT_FLOAT_EQ(StepDiagramAngle(r.from, r.step), r.diagram) << r.from << " " << r.step;
    MotionState m;
    m.driverAngle = 356;
    m.tickStep = 4;
    AdvanceDriverAngle(m);
    EXPECT_EQ(m.driverAngle, 360); // shown as 360, not 0
    AdvanceDriverAngle(m);
    EXPECT_FLOAT_EQ(m.driverAngle, 4);
}

} // namespace
} // namespace vx
