#include "model/gear/midgear.h"
#include "model/gear/solver.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

TEST_F(StartedGear, MidGearPutsTheDieAtTheLinkCentre) {
    g.motion.driverAngle = 123.5f;
    g.revArm.position[2] = 1;
    g.revArm.position[5] = 4;
    ASSERT_EQ(FindMidGear(g), MidGearResult::Found);
    const float c = g.revArm.centre;
    EXPECT_EQ(g.motion.driverAngle, 123.5f);
    EXPECT_EQ(g.motion.reverseArmPosition, c);
    EXPECT_EQ(g.piv.x[18], c);
    EXPECT_EQ(g.revArm.position[1], c);
    EXPECT_EQ(g.revArm.position[2], static_cast<float>(c - 1.0));
    EXPECT_EQ(g.revArm.position[3], static_cast<float>(c + 1.0));
    EXPECT_EQ(g.revArm.position[5], 4);
    // The last trial stood one final step past mid gear: the die was just short
    // of the link centre at the result, and past it 0.00016 further on.
    GearState s = g;
    s.motion.driverAngle = 0;
    for (int settle = 0; settle < 5; ++settle) SolveLinkage(s);
    EXPECT_NEAR(s.piv.y[8], s.piv.y[9], 0.002);
}

TEST_F(StartedGear, DiePastTheCentreAtTheFirstTrialGivesTheStart) {
    g.frame.revArmToCentMax = -1.0f; // the first trial already lies beyond mid gear
    ASSERT_EQ(FindMidGear(g), MidGearResult::Found);
    EXPECT_EQ(g.revArm.centre, static_cast<float>(g.fixedPivots.liftShaftX + 1.0));
}

TEST_F(StartedGear, SearchThatNeverReachesMidGearEndsAndKeepsTheCentre) {
    const float centre = g.revArm.centre;
    g.motion.driverAngle = 77;
    g.motion.reverseArmPosition = centre + 0.5f;
    g.frame.liftLinkRadRod = 1000.0f; // the die always rides at the top of the link
    g.geometryError = false;
    EXPECT_EQ(FindMidGear(g), MidGearResult::NotFound);
    EXPECT_EQ(g.revArm.centre, centre);
    EXPECT_EQ(g.motion.reverseArmPosition, centre + 0.5f);
    EXPECT_EQ(g.motion.driverAngle, 77);
    EXPECT_TRUE(g.geometryError);
}

// A negative arm turned half a turn is the same arm, but the search then
// takes "die below the centre" as short of mid gear: with the die above the
// centre at the start, every refinement steps back to the start.
TEST_F(StartedGear, NegativeRadiusRodArmReversesTheSideTest) {
    g.frame.liftArmRadRodEnd = -1.0f;
    g.frame.liftArmRadRodAngle = 255.0f;
    EXPECT_EQ(FindMidGear(g), MidGearResult::Found);
    EXPECT_EQ(g.revArm.centre, static_cast<float>(g.fixedPivots.liftShaftX - 1.074));
}

} // namespace
} // namespace vx
