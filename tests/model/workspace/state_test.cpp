#include <cmath>
#include <set>

#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "model/gear/solver.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

TEST_F(StartedGear, StartsWithEveryDefaultNominalAndRunningForward) {
    for (const DimensionInfo& d : AllDimensions())
        EXPECT_EQ(DimensionValue(g, d), d.defaultValue) << d.field;
    EXPECT_EQ(g.designName, "Nominal");
    EXPECT_TRUE(g.motion.running);
    EXPECT_EQ(g.motion.tickStep, 10.0f);
    EXPECT_EQ(g.motion.direction, Direction::Fwd);
    EXPECT_EQ(g.motion.reverseArmPosition, g.revArm.centre);
    EXPECT_EQ(g.fixedPivots.liftShaftX, 7.633f);
    EXPECT_EQ(g.fixedPivots.rockerPivotY, 1.13f);
    EXPECT_EQ(g.piv.y[4], g.fixedPivots.cylinderCentreY + g.cyl.valveStemToCL());
    EXPECT_EQ(g.view, (ViewTransform{28.5f, 110, 270}));
    EXPECT_EQ(g.viewPresets[5], (ViewTransform{250, -3450, 700}));
    EXPECT_EQ(g.dynVarSlots[3].name, kUnassignedSlotName);
    EXPECT_EQ(kUnassignedSlotName.size(), 15u);
    EXPECT_EQ(RevArmBarLimit(g), 1074);
}

TEST(DimensionTable, IdsFieldsAndStorageAreConsistent) {
    EXPECT_EQ(FrameDimensionTable().size(), 32u);
    EXPECT_EQ(CylinderDimensionTable().size(), 22u);
    GearState g;
    std::set<float*> places;
    for (const DimensionInfo& d : AllDimensions()) {
        EXPECT_EQ(FindDimension(d.id), &d);
        EXPECT_EQ(FindDimensionByField(d.field), &d);
        EXPECT_LE(d.shortName.size(), 25u);
        EXPECT_TRUE(places.insert(&DimensionRef(g, d)).second) << d.field << " shares storage";
    }
    EXPECT_EQ(places.count(&g.cyl.spare()), 0u);
    for (int id : {0, 33, 100, 123, -1}) EXPECT_EQ(FindDimension(id), nullptr);
    EXPECT_EQ(FindDimensionByField("nope"), nullptr);
}

TEST_F(StartedGear, FrameResetKeepsMidGearFullResetRecomputesIt) {
    const float centre = g.revArm.centre;
    g.frame.reverseArmLength = 3.0f;
    g.fixedPivots.liftShaftX = 7.0f;
    FrameReset(g);
    EXPECT_EQ(g.fixedPivots.liftShaftX, 7.633f);
    EXPECT_EQ(g.revArm.centre, centre);

    g.fixedPivots.liftShaftX = 7.2f;
    ASSERT_EQ(FindMidGear(g), MidGearResult::Found);
    EXPECT_NE(g.revArm.centre, centre);
    g.designName = "gear";
    g.dynVarDisplay = g.undoDisplay = true;
    g.view.zoom = 99;
    EXPECT_EQ(FullReset(g), MidGearResult::Found);
    EXPECT_EQ(g.revArm.centre, centre);
    EXPECT_EQ(g.motion.reverseArmPosition, centre);
    EXPECT_EQ(g.designName, "Nominal");
    EXPECT_FALSE(g.dynVarDisplay || g.undoDisplay);
    EXPECT_EQ(g.view.zoom, 28.5f);
}

TEST_F(StartedGear, SpindleHeightFollowsCylinderLineAndStemHeight) {
    const float y4 = g.piv.y[4];
    CommitDimension(g, 102, 0.5f); // cylCLAboveDriver
    EXPECT_FLOAT_EQ(g.piv.y[4], y4 + 0.5f);
    EXPECT_EQ(g.fixedPivots.cylinderCentreY, 0.5f);
    CommitDimension(g, 109, 2.5f); // valveStemToCL
    EXPECT_FLOAT_EQ(g.piv.y[4], 3.0f);
    EXPECT_EQ(g.fixedPivots.cylinderCentreY, 0.5f);
    SolveLinkage(g);
    EXPECT_FLOAT_EQ(g.piv.y[4], 3.0f);
}

TEST_F(StartedGear, CommitKeepsNormWithinMaxAndPullsPositionsIn) {
    const float c = g.revArm.centre;
    g.revArm.position = {0, c, c - 1, c + 1, c + 0.5f, 0, 0, 0, 0, 0};
    CommitDimension(g, 25, 2.0f); // Norm above Max: Norm := Max
    EXPECT_EQ(g.frame.revArmToCentNorm, 1.074f);
    CommitDimension(g, 25, 0.25f);
    EXPECT_EQ(g.frame.revArmToCentNorm, 0.25f);
    EXPECT_EQ(g.revArm.position[2], c - 1); // only a crossing pulls positions in
    CommitDimension(g, 26, 0.1f); // Max below Norm: Max := Norm, positions to c +- Norm
    EXPECT_EQ(g.frame.revArmToCentMax, 0.25f);
    EXPECT_FLOAT_EQ(g.revArm.position[2], c - 0.25f);
    EXPECT_FLOAT_EQ(g.revArm.position[3], c + 0.25f);
    EXPECT_FLOAT_EQ(g.revArm.position[4], c + 0.25f);
    EXPECT_EQ(g.revArm.position[5], 0.0f);
    EXPECT_EQ(RevArmBarLimit(g), 250);
}

TEST(FoldAngle, BringsEveryValueIntoOneTurnAndAlwaysEnds) {
    struct Case {
        float in, out;
    } cases[] = {{0, 0}, {359.5f, 359.5f}, {360, 0}, {725, 5}, {-30, 330}, {-720, 0},
                 {1e30f, static_cast<float>(std::fmod(static_cast<double>(1e30f), 360.0))}, {INFINITY, 0}, {-INFINITY, 0}};
    for (const Case& c : cases) EXPECT_FLOAT_EQ(FoldAngle(c.in), c.out) << c.in;
    EXPECT_LT(FoldAngle(-1e-9f), 360.0f);
    EXPECT_TRUE(std::isnan(FoldAngle(NAN)));
}

TEST_F(StartedGear, CommittedAnglesAreFolded) {
    CommitDimension(g, 6, -58);
    EXPECT_EQ(g.frame.eccFwdAngle, 302.0f);
    CommitDimension(g, 21, 435);
    EXPECT_EQ(g.frame.liftArmRadRodAngle, 75.0f);
    EXPECT_FALSE(CommitDimension(g, 99, 1));
}

} // namespace
} // namespace vx
