#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>

#include "base/fixed_format.h"
#include "model/gear/dimensions.h"
#include "model/gear/geometry_check.h"
#include "model/gear/exact_solver.h"
#include "model/gear/midgear.h"
#include "model/gear/solver.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

// The classic solve settled at one angle: solved again until the rocker's
// lower end, carried from solve to solve, stops moving.
bool SettledClassic(GearState& g, float angle, float position) {
    g.motion.driverAngle = angle;
    g.motion.reverseArmPosition = position;
    bool closed = false;
    for (int i = 0; i < 40; ++i) {
        const float before = g.piv.y[5];
        closed = SolveLinkage(g, angle, position, g);
        if (g.piv.y[5] == before) break;
    }
    return closed && g.solveCause == GeometryCause::None;
}

// The moving pivots both solves place.
constexpr int kMoving[] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18, 21, 22, 23, 24, 25, 26, 28, 29};

struct DesignCase {
    const char* name;
    std::unique_ptr<GearState> (*make)();
};
const DesignCase kDesigns[] = {
    {"default", [] { return test::StartedDesign(); }},
    {"varied 1", [] { return test::VariedDesign(1); }},
    {"varied 2", [] { return test::VariedDesign(2); }},
    {"scaled 1/3", [] { return test::ScaledDesign(1.0f / 3); }},
    {"scaled 8", [] { return test::ScaledDesign(8.0f); }},
};

// Wherever the classic searches close, the exact solve closes on the same
// branch: every pivot within the classic searches' quantisation (their last
// step, 0.00016, carried through the levers) of the classic one.
TEST(ExactSolver, SameBranchAsTheClassicSearchesWhereTheyClose) {
    for (const DesignCase& c : kDesigns) {
        auto g = c.make();
        const double scale = DesignScale(*g);
        double worst = 0;
        int compared = 0;
        for (const float offset : {-1.0f, -0.5f, 0.0f, 0.5f, 1.0f}) {
            const float position = static_cast<float>(g->revArm.centre + offset * g->frame.revArmToCentNorm);
            ExactWarmStart warm;
            for (int angle = 0; angle < 360; angle += 5) {
                if (!SettledClassic(*g, static_cast<float>(angle), position)) continue;
                ExactPivots e;
                ASSERT_EQ(SolveExact(*g, angle, position, e, &warm), GeometryCause::None) << c.name << " " << angle;
                for (const int p : kMoving) {
                    const auto i = static_cast<std::size_t>(p);
                    worst = std::max({worst, std::fabs(e.x[i] - g->piv.x[i]), std::fabs(e.y[i] - g->piv.y[i])});
                }
                ++compared;
            }
        }
        EXPECT_GT(compared, 300) << c.name;
        EXPECT_LT(worst, 0.002 * std::max(1.0, scale)) << c.name;
        std::cout << c.name << ": " << compared << " solves, largest pivot difference from the classic "
                  << ShortestString(static_cast<float>(worst)) << '\n';
    }
}

// A cold solve and one warm-started from a neighbouring angle agree to the
// roots' tolerance, and the solve's closure equations hold.
TEST(ExactSolver, WarmAndColdAgreeAndTheLinksHoldTheirLengths) {
    auto g = test::StartedDesign();
    const double position = g->revArm.centre - g->frame.revArmToCentNorm;
    ExactWarmStart warm;
    for (int angle = 0; angle < 720; angle += 7) {
        ExactPivots warmSolve, cold;
        ASSERT_EQ(SolveExact(*g, angle, position, warmSolve, &warm), GeometryCause::None);
        ASSERT_EQ(SolveExact(*g, angle, position, cold), GeometryCause::None);
        for (int p = 0; p < kPivotCount; ++p) {
            const auto i = static_cast<std::size_t>(p);
            EXPECT_NEAR(warmSolve.x[i], cold.x[i], 1e-11) << p;
            EXPECT_NEAR(warmSolve.y[i], cold.y[i], 1e-11) << p;
        }
        const auto& X = cold.x;
        const auto& Y = cold.y;
        const FrameDimensions& f = g->frame;
        EXPECT_NEAR(std::hypot(X[14] - X[15], Y[14] - Y[15]), f.liftLinkExLink, 1e-12);
        EXPECT_NEAR(std::hypot(X[26] - X[17], Y[26] - Y[17]), f.liftLinkRadRod, 1e-12);
        EXPECT_NEAR(std::hypot(X[5] - X[27], Y[5] - Y[27]), f.rockerLowerLength, 1e-12);
        EXPECT_NEAR(std::hypot(X[5] - X[8], Y[5] - Y[8]), f.radRodTotalLength, 1e-12);
        EXPECT_NEAR(std::hypot(X[10] - X[12], Y[10] - Y[12]), f.eccFwdRod, 1e-12);
        EXPECT_NEAR(std::hypot(X[11] - X[13], Y[11] - Y[13]), f.eccRevRod, 1e-12);
    }
}

// Every length times k gives every pivot times k, at any k: the searches
// step by the design's own size and have no ceiling.
TEST(ExactSolver, ScalesWithTheDesign) {
    auto one = test::StartedDesign();
    const double centre = *FindExactMidGear(*one);
    for (const float k : {1.0f / 16, 0.05f, 13.0f, 16.0f, 25.4f, 64.0f, 100.0f}) {
        auto g = test::ScaledDesign(k);
        const auto mid = FindExactMidGear(*g);
        ASSERT_TRUE(mid) << k;
        const bool power = k == 1.0f / 16 || k == 16.0f || k == 64.0f;
        const double rel = power ? 1e-12 : 1e-6;
        EXPECT_NEAR(*mid / k, centre, rel * std::fabs(centre) + rel) << k;
        for (const double offset : {-1.0, 0.0, 1.0}) {
            ExactWarmStart warm1, warmK;
            for (int angle = 0; angle < 360; ++angle) {
                ExactPivots a, b;
                ASSERT_EQ(SolveExact(*one, angle, centre + offset * one->frame.revArmToCentNorm, a, &warm1),
                          GeometryCause::None);
                ASSERT_EQ(SolveExact(*g, angle, *mid + offset * g->frame.revArmToCentNorm, b, &warmK),
                          GeometryCause::None)
                    << "k " << k << " angle " << angle;
                for (const int p : kMoving) {
                    const auto i = static_cast<std::size_t>(p);
                    ASSERT_NEAR(b.x[i] / k, a.x[i], rel * 20) << "k " << k << " pivot " << p << " angle " << angle;
                    ASSERT_NEAR(b.y[i] / k, a.y[i], rel * 20) << "k " << k << " pivot " << p << " angle " << angle;
                }
            }
        }
    }
}

// The exact mid gear is the classic one to the classic search's step.
TEST(ExactMidGear, AgreesWithTheClassicSearch) {
    for (const DesignCase& c : kDesigns) {
        auto g = c.make();
        const auto mid = FindExactMidGear(*g);
        ASSERT_TRUE(mid) << c.name;
        EXPECT_NEAR(*mid, g->revArm.centre, 0.0005 * std::max(1.0, DesignScale(*g))) << c.name;
        ExactPivots p;
        SolveExact(*g, 0, *mid, p);
        EXPECT_NEAR(p.y[8], p.y[9], 1e-12 * DesignScale(*g)) << c.name;
    }
}

// Where there is no closing position the exact solve names the step.
TEST(ExactSolver, NamesTheCauseWhereNothingCloses) {
    struct Case {
        const char* name;
        void (*edit)(Design&);
        GeometryCause cause;
    } cases[] = {
        {"main rod shorter than the crank", [](Design& d) { d.frame.mainRodLength = 0.5f; }, GeometryCause::MainRod},
        {"not a number", [](Design& d) { d.frame.eccFwdRod = std::nanf(""); }, GeometryCause::LinkLiftSearch},
        // The link would have to stand where the eccentric rod cannot reach.
        {"lifting link out of reach", [](Design& d) { d.frame.liftLinkExLink = 1e6f; }, GeometryCause::EccentricRod},
    };
    for (const Case& c : cases) {
        auto g = test::StartedDesign();
        c.edit(*g);
        ExactPivots p;
        EXPECT_EQ(SolveExact(*g, 90, g->revArm.centre, p), c.cause) << c.name;
        EXPECT_FALSE(p.Closes()) << c.name;
    }
}

} // namespace
} // namespace vx

namespace vx {
namespace {

// Where the classic searches close, the window's solve is the classic
// solve to the bit: it never takes the exact one.
TEST(WindowSolve, ClassicToTheBitWhereTheClassicSearchesClose) {
    for (const DesignCase& c : kDesigns) {
        auto g = c.make();
        g->errorBeepOn = true;
        for (const float offset : {-1.0f, 0.0f, 1.0f}) {
            g->motion.reverseArmPosition = g->revArm.centre + offset * g->frame.revArmToCentNorm;
            Solution classic = *g;
            for (int angle = 0; angle < 360; angle += 3) {
                g->motion.driverAngle = static_cast<float>(angle);
                SolveLinkage(*g, g->motion.driverAngle, g->motion.reverseArmPosition, classic);
                EXPECT_FALSE(ClassicSearchesMissed(*g, classic)) << c.name << " " << angle;
                SolveLinkage(*g);
                EXPECT_EQ(g->piv.x, classic.piv.x) << c.name << " " << angle;
                EXPECT_EQ(g->piv.y, classic.piv.y) << c.name << " " << angle;
            }
        }
        EXPECT_FALSE(g->exactSolveNoticed) << c.name;
        EXPECT_FALSE(g->geometryError) << c.name;
    }
}

// Above the classic searches' reach (every length 13 times the default's
// or more) the window's solve takes the exact one: every angle closes,
// mid gear is the exact one to the classic search's step, and the error
// indicator says so once, without the error's sound.
TEST(WindowSolve, TakesTheExactSolveWhereTheClassicSearchesDoNotReach) {
    const auto one = test::StartedDesign();
    for (const float k : {13.0f, 20.0f, 25.4f, 100.0f}) {
        auto g = test::ScaledDesign(k);
        EXPECT_NEAR(g->revArm.centre, k * one->revArm.centre, 0.001 * k) << k;
        g->errorBeepOn = true;
        int exactly = 0;
        for (const float offset : {-1.0f, 0.0f, 1.0f}) {
            const float position = g->revArm.centre + offset * g->frame.revArmToCentNorm;
            g->motion.reverseArmPosition = position;
            for (int angle = 0; angle < 360; ++angle) {
                g->motion.driverAngle = static_cast<float>(angle);
                // The classic solve from the same rocker height carried over.
                Solution classic = *g;
                SolveLinkage(*g, g->motion.driverAngle, position, classic);
                ASSERT_TRUE(SolveLinkage(*g)) << k << " " << angle;
                ASSERT_EQ(g->solveCause, GeometryCause::None) << k << " " << angle;
                if (!ClassicSearchesMissed(*g, classic)) {
                    ASSERT_EQ(g->piv.x, classic.piv.x) << k << " " << angle;
                    continue;
                }
                ++exactly;
                ExactPivots e;
                ASSERT_EQ(SolveExact(*g, angle, position, e), GeometryCause::None);
                for (const int p : kMoving) {
                    const auto i = static_cast<std::size_t>(p);
                    ASSERT_EQ(g->piv.x[i], static_cast<float>(e.x[i])) << k << " " << angle << " " << p;
                    ASSERT_EQ(g->piv.y[i], static_cast<float>(e.y[i])) << k << " " << angle << " " << p;
                }
            }
            const TurnCheck check = CheckTurn(*g, position, 1.0);
            EXPECT_EQ(check.failures, 0) << k;
        }
        EXPECT_GT(exactly, 0) << k;
        EXPECT_TRUE(g->exactSolveNoticed) << k;
        EXPECT_TRUE(g->geometryError) << k;
        EXPECT_EQ(g->errorCause, GeometryCause::SolvedExactly) << k;
    }
}

} // namespace
} // namespace vx
