// The kit's designs: the scaled design is the default at k = 1 to the last
// bit, and at another size a design that still closes, with mid gear found
// where the default's lies scaled.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "model/gear/dimensions.h"
#include "model/gear/solver.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

template <class T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(ScaledDesign, AtOneIsTheDefaultBitForBit) {
    const auto scaled = test::ScaledDesign(1);
    const auto started = test::StartedDesign();
    EXPECT_TRUE(SameBits(scaled->frame, started->frame));
    EXPECT_TRUE(SameBits(scaled->cyl.values, started->cyl.values));
    EXPECT_TRUE(SameBits(scaled->fixedPivots, started->fixedPivots));
    EXPECT_TRUE(SameBits(scaled->revArm.centre, started->revArm.centre));
    EXPECT_TRUE(SameBits(scaled->revArm.position, started->revArm.position));
    EXPECT_TRUE(SameBits(scaled->motion.reverseArmPosition, started->motion.reverseArmPosition));
    EXPECT_TRUE(SameBits(scaled->piv.x, started->piv.x));
    EXPECT_TRUE(SameBits(scaled->piv.y, started->piv.y));
}

TEST(ScaledDesign, ScalesEveryLengthAndNoAngle) {
    const auto scaled = test::ScaledDesign(2);
    const auto started = test::StartedDesign();
    for (const DimensionInfo& d : AllDimensions()) {
        const float want = IsAngleDimension(d.id) ? DimensionValue(*started, d) : 2 * DimensionValue(*started, d);
        EXPECT_EQ(DimensionValue(*scaled, d), want) << d.field;
    }
    // The fixed pivots are in the pivot table at their new places.
    EXPECT_EQ(scaled->piv.x[16], 2 * started->piv.x[16]);
    EXPECT_EQ(scaled->piv.y[27], 2 * started->piv.y[27]);
}

TEST(ScaledDesign, AtTwoClosesAtAngleZeroWithMidGearScaled) {
    const auto started = test::StartedDesign();
    const auto scaled = test::ScaledDesign(2);
    // The reverse arm position is a length too: mid gear lies where the
    // default's does, twice as far out (within the search's last step).
    EXPECT_NEAR(scaled->revArm.centre, 2 * started->revArm.centre, 1e-3);
    Solution s = *scaled;
    EXPECT_TRUE(SolveLinkage(*scaled, 0, scaled->revArm.centre, s));
    EXPECT_EQ(s.solveCause, GeometryCause::None);
    // The same gear twice as large: every pivot the default's, doubled.
    Solution d = *started;
    ASSERT_TRUE(SolveLinkage(*started, 0, started->revArm.centre, d));
    for (int i = 0; i < kPivotCount; ++i) {
        EXPECT_NEAR(s.piv.x[i], 2 * d.piv.x[i], 2e-3) << "pivot " << i;
        EXPECT_NEAR(s.piv.y[i], 2 * d.piv.y[i], 2e-3) << "pivot " << i;
    }
}

} // namespace
} // namespace vx
