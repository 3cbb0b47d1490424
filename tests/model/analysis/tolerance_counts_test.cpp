// What the tolerance run counts: its quantiles by their definition on a
// known set, a sample that loses mid gear as failed, failures and closing
// samples making up the samples, and the share over the threshold taken of
// |difference| on the closing samples.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

#include "model/analysis/tolerance.h"
#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

// The lead is a figure of every sample that closes.
constexpr auto kLeadFront = static_cast<std::size_t>(EventFigure::LeadFront);
constexpr auto kCutOffDiff = static_cast<std::size_t>(EventFigure::CutOffDiff);

// q(p) = x[lo] + (h - lo)(x[lo+1] - x[lo]), h = (n - 1) p, on sets whose
// answers are worked by hand.
TEST(ToleranceQuantile, FollowsTheDefinitionOnKnownSets) {
    struct Case {
        std::vector<float> sorted;
        double p;
        float q;
    } cases[] = {
        {{10, 20, 30, 40, 50}, 0.05, 12},   // h = 0.2
        {{10, 20, 30, 40, 50}, 0.5, 30},    // h = 2
        {{10, 20, 30, 40, 50}, 0.95, 48},   // h = 3.8
        {{10, 20, 30, 40}, 0.5, 25},        // h = 1.5
        {{1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024}, 0.05, 1.5f}, // h = 0.5
        {{1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024}, 0.95, 768},  // h = 9.5
        {{-3, -1, 0, 2}, 0.0, -3},
        {{-3, -1, 0, 2}, 1.0, 2},
        {{7}, 0.95, 7},
    };
    for (const Case& c : cases) EXPECT_FLOAT_EQ(ToleranceQuantile(c.sorted, c.p), c.q) << c.p;
}

// Only the lift shaft's height drawn, widely: some samples' die never comes
// level with the link, so they lose mid gear. Each of them is a failure,
// whatever the events at a stale mid gear would be, and failures plus the
// samples that gave a figure are all the samples.
TEST_F(StartedGear, ASampleThatLosesMidGearIsAFailure) {
    ToleranceSettings s = DefaultToleranceSettings();
    ClearTolerances(s);
    ToleranceOf(s, 23) = 60.0f; // liftShaftVert
    s.samples = 40;
    s.offsets = {-1.0};
    s.threads = 1;
    int lost = 0;
    const auto all = AllDimensions();
    for (int i = 0; i < s.samples; ++i) {
        GearState w = g;
        const auto v = SampleDimensions(g, s, i);
        for (std::size_t k = 0; k < all.size(); ++k)
            if (std::bit_cast<std::uint32_t>(v[k]) != std::bit_cast<std::uint32_t>(DimensionValue(g, all[k])))
                CommitDimension(w, all[k].id, v[k]);
        lost += FindMidGear(w) == MidGearResult::Found ? 0 : 1;
    }
    ASSERT_GT(lost, 0);
    ASSERT_LT(lost, s.samples);
    const ToleranceResult r = RunTolerance(g, s);
    ASSERT_TRUE(r.Ok()) << r.error;
    const TolerancePosition& tp = r.positions.at(0);
    EXPECT_GE(tp.linkageFailures, lost);
    EXPECT_EQ(tp.linkageFailures + tp.figures[kLeadFront].count, s.samples);
}

// Full forward gear under wide tolerances: the cut-off differences lie on
// both sides of zero. Every closing sample's |difference| is above 0, and
// the share is of the closing samples, failures left out.
TEST_F(StartedGear, OverThresholdShareIsOfMagnitudesOnClosingSamples) {
    ToleranceSettings s = DefaultToleranceSettings();
    SetAllTolerances(s, false, 0.01f);
    s.wear = 0.05f;
    s.samples = 200;
    s.offsets = {-1.0};
    s.threshold = 0;
    const ToleranceResult r = RunTolerance(g, s);
    ASSERT_TRUE(r.Ok()) << r.error;
    const TolerancePosition& tp = r.positions.at(0);
    const FigureSpread& diff = tp.figures[kCutOffDiff];
    ASSERT_LT(diff.p05, 0.0f);
    ASSERT_GT(diff.p95, 0.0f);
    ASSERT_GT(diff.count, 0);
    EXPECT_FLOAT_EQ(tp.overThreshold, 1.0f);
    // At the median's magnitude or so, some are over and some are not.
    s.threshold = std::fabs(diff.median) + 0.5f * (diff.p95 - diff.p05) / 2;
    const ToleranceResult half = RunTolerance(g, s);
    const float share = half.positions.at(0).overThreshold;
    EXPECT_GT(share, 0.0f);
    EXPECT_LT(share, 1.0f);
}

} // namespace
} // namespace vx
