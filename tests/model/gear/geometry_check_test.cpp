// The faults a turn check counts besides the solver's own: lengths the gear
// needs above zero, and figures that are not finite numbers.
#include "model/gear/geometry_check.h"

#include <gtest/gtest.h>

#include <cmath>

#include <array>
#include <limits>
#include <memory>

#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

std::unique_ptr<GearState> Design() {
    auto g = test::StartedDesign();
    return g;
}

int Id(const char* field) { return FindDimensionByField(field)->id; }

TEST(GeometryCheck, LengthsTheGearNeedsAboveZero) {
    constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* field;
        float value;
        int faults;
    } cases[] = {
        {"stroke", 3.0f, 0},          {"stroke", 0.0f, 1},          {"stroke", -5.0f, 1},
        {"stroke", kNan, 1},          {"eccRevRod", 0.0f, 1},       {"mainRodLength", -0.1f, 1},
        {"cylCLAboveDriver", -2.0f, 0}, // a height, not a length: may be negative
        {"liftShaftVert", -3.0f, 0},
    };
    for (const auto& c : cases) {
        auto g = Design();
        CommitDimension(*g, Id(c.field), c.value);
        std::array<LengthFault, std::size(kPositiveLengthIds)> out{};
        const int n = NonPositiveLengths(*g, out);
        EXPECT_EQ(n, c.faults) << c.field;
        if (n == 1) {
            EXPECT_EQ(out[0].id, Id(c.field));
        }
        const TurnCheck t = CheckTurn(*g, g->revArm.centre, 90);
        if (c.faults > 0) {
            // A dimension that is not a number is named as such.
            EXPECT_EQ(t.firstCause, std::isnan(c.value) ? GeometryCause::NotFinite : GeometryCause::BadLength)
                << c.field;
            EXPECT_EQ(t.failures, t.angles);
        }
    }
}

TEST(GeometryCheck, AFigureThatIsNotANumberIsAFault) {
    auto g = Design();
    g->motion.driverAngle = 30;
    SolveLinkage(*g);
    ComputePortOpenings(*g);
    EXPECT_TRUE(FiguresFinite(*g, true));
    EXPECT_EQ(SolvedPositionCause(*g, true), GeometryCause::None);

    CommitDimension(*g, Id("valveCtrToJoint"), std::numeric_limits<float>::quiet_NaN());
    SolveLinkage(*g);
    ComputePortOpenings(*g);
    EXPECT_EQ(g->solveCause, GeometryCause::None); // the solver itself raises nothing
    EXPECT_FALSE(FiguresFinite(*g, false));
    EXPECT_EQ(SolvedPositionCause(*g, true), GeometryCause::NotFinite);
    const TurnCheck t = CheckTurn(*g, g->revArm.centre, 90);
    EXPECT_EQ(t.firstCause, GeometryCause::NotFinite);
    EXPECT_EQ(t.failures, 4);

    // The reference points are the user's: not figures of the gear.
    auto h = Design();
    SolveLinkage(*h);
    h->piv.x[19] = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(FiguresFinite(*h, false));
}

TEST(GeometryCheck, ColumnValuesNeverRunTogether) {
    char buf[kNumberBuffer];
    EXPECT_EQ(FormatColumn(buf, 28.15931, 12, 5), "    28.15931");
    EXPECT_EQ(FormatColumn(buf, -117359.43275, 12, 5), " -1.1736e+05");
    EXPECT_EQ(FormatColumn(buf, 117331.27344, 12, 5), " 1.17331e+05");
    EXPECT_EQ(FormatColumn(buf, -1e300, 12, 5), " -1.000e+300"); // fewer decimals, one blank kept
    EXPECT_EQ(FormatColumn(buf, std::numeric_limits<double>::quiet_NaN(), 12, 5), "         nan");
}

} // namespace
} // namespace vx
