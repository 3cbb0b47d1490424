// Tolerance and wear: the draws stay within the ranges, no tolerance gives
// the design's own figures, one toleranced dimension stays between the
// events at the ends of its range, the same seed gives the same bits on any
// number of threads, failed samples are counted, cancelling, and settings
// that are wrong.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <set>
#include <string_view>
#include <vector>

#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "model/analysis/tolerance.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

constexpr auto kCutOffFront = static_cast<std::size_t>(EventFigure::CutOffFront);
constexpr auto kCutOffDiff = static_cast<std::size_t>(EventFigure::CutOffDiff);

TEST(Tolerance, DefaultsCoverEveryLengthAndAngleButTheReverseArmTravel) {
    ASSERT_EQ(AllDimensions().size(), std::size_t{kDimensionCount});
    ToleranceSettings s = DefaultToleranceSettings();
    for (const DimensionInfo& d : AllDimensions()) {
        const float expected = IsToleranceExempt(d.id)     ? 0.0f
                               : IsAngleDimension(d.id) ? kDefaultAngleTolerance
                                                        : kDefaultLengthTolerance;
        EXPECT_EQ(ToleranceOf(s, d.id), expected) << d.field;
    }
    LeaveOutValveAndPorts(s);
    EXPECT_EQ(ToleranceOf(s, 117), 0.0f);
    EXPECT_EQ(ToleranceOf(s, 113), 0.0f);
    EXPECT_EQ(ToleranceOf(s, 122), kDefaultLengthTolerance); // the valve stem is part of the gear
    EXPECT_EQ(s.samples, 1000);
    EXPECT_TRUE(CheckToleranceSettings(s).empty());
}

TEST(Tolerance, StreamsDependOnSeedAndSampleOnly) {
    SampleStream a(7, 3), b(7, 3), c(7, 4), d(8, 3);
    for (int i = 0; i < 100; ++i) {
        const double x = a.Next();
        EXPECT_EQ(x, b.Next());
        EXPECT_NE(x, c.Next());
        EXPECT_NE(x, d.Next());
        EXPECT_GE(x, 0.0);
        EXPECT_LT(x, 1.0);
    }
}

TEST_F(StartedGear, DrawsStayWithinToleranceAndWear) {
    ToleranceSettings s = DefaultToleranceSettings();
    s.wear = 0.003f;
    s.seed = 42;
    const auto all = AllDimensions();
    for (int i = 0; i < 200; ++i) {
        const auto v = SampleDimensions(g, s, i);
        for (std::size_t k = 0; k < all.size(); ++k) {
            const double nominal = DimensionValue(g, all[k]);
            double room = s.tolerance[k];
            if (IsRodOrLinkLength(all[k].id)) room += s.wear;
            EXPECT_LE(std::fabs(v[k] - nominal), room + 1e-5) << all[k].field;
            if (room == 0) {
                EXPECT_EQ(v[k], DimensionValue(g, all[k])) << all[k].field;
            }
        }
    }
}

// The wear list: the pin spacings of the rods, links and arms, the
// expansion link's two pin heights among them, and not the link's slot
// length (along which the die slides: no pin to wear).
TEST(Tolerance, WearTakesUpThePinSpacingsAndNotTheSlot) {
    const std::set<std::string_view> worn = {
        "mainRodLength",    "eccFwdRod",         "eccRevRod",       "exLinkSupportVert", "exLinkEccRodVert",
        "liftLinkExLink",   "liftLinkRadRod",    "radRodTotalLength", "radRodShortEnd",  "liftArmExLinkEnd",
        "liftArmRadRodEnd", "reverseArmLength",  "rockerUpperTotal", "rockerLowerLength", "pistonToCrosshead",
        "valveCtrToJoint"};
    for (const DimensionInfo& d : AllDimensions()) {
        EXPECT_EQ(IsRodOrLinkLength(d.id), worn.count(d.field) == 1) << d.field;
        if (IsRodOrLinkLength(d.id)) {
            EXPECT_FALSE(IsAngleDimension(d.id)) << d.field;
        }
    }
    EXPECT_FALSE(IsRodOrLinkLength(10)); // exLinkLength
}

// Wear alone moves exactly the worn spacings, each within +- the wear, and
// the cut-off's spread under it grows with the wear.
TEST_F(StartedGear, WearAloneMovesTheWornSpacingsAndWidensTheCutOff) {
    ToleranceSettings s = DefaultToleranceSettings();
    ClearTolerances(s);
    s.wear = 0.004f;
    const auto all = AllDimensions();
    std::vector<bool> moved(all.size(), false);
    for (int i = 0; i < 100; ++i) {
        const auto v = SampleDimensions(g, s, i);
        for (std::size_t k = 0; k < all.size(); ++k) {
            const double delta = double{v[k]} - double{DimensionValue(g, all[k])};
            if (!IsRodOrLinkLength(all[k].id)) {
                EXPECT_EQ(delta, 0.0) << all[k].field;
                continue;
            }
            EXPECT_LE(std::fabs(delta), s.wear + 1e-5) << all[k].field;
            if (delta != 0) moved[k] = true;
        }
    }
    for (std::size_t k = 0; k < all.size(); ++k)
        EXPECT_EQ(moved[k], IsRodOrLinkLength(all[k].id)) << all[k].field;

    s.samples = 40;
    s.offsets = {-1.0};
    double width[2] = {};
    for (int k = 0; k < 2; ++k) {
        s.wear = k == 0 ? 0.001f : 0.004f;
        const ToleranceResult r = RunTolerance(g, s);
        ASSERT_TRUE(r.Ok()) << r.error;
        const FigureSpread& sp = r.positions[0].figures[kCutOffFront];
        ASSERT_EQ(sp.count, 40);
        EXPECT_LE(sp.min, *sp.nominal + 1e-3);
        EXPECT_GE(sp.max, *sp.nominal - 1e-3);
        width[k] = double{sp.p95} - double{sp.p05};
    }
    EXPECT_GT(width[0], 0.0);             // wear alone moves the cut-off
    EXPECT_GT(width[1], 2.0 * width[0]);  // four times the wear, a wider spread
}

TEST_F(StartedGear, NoToleranceAndNoWearGiveTheDesignsOwnFigures) {
    ToleranceSettings s = DefaultToleranceSettings();
    ClearTolerances(s);
    s.samples = 5;
    s.offsets = {-1.0, 1.0};
    const ToleranceResult r = RunTolerance(g, s);
    ASSERT_TRUE(r.Ok()) << r.error;
    ASSERT_EQ(r.positions.size(), 2u);
    for (const TolerancePosition& tp : r.positions) {
        ASSERT_TRUE(tp.nominal.Closes());
        EXPECT_EQ(tp.linkageFailures, 0);
        for (const FigureSpread& sp : tp.figures) {
            ASSERT_TRUE(sp.nominal.has_value());
            EXPECT_EQ(sp.count, 5);
            EXPECT_EQ(sp.failed, 0.0f);
            for (const float q : {sp.min, sp.p05, sp.median, sp.p95, sp.max})
                EXPECT_EQ(std::bit_cast<std::uint32_t>(q), std::bit_cast<std::uint32_t>(static_cast<float>(*sp.nominal)));
        }
    }
}

TEST_F(StartedGear, OneToleranceStaysBetweenTheEventsAtTheEndsOfItsRange) {
    ToleranceSettings s;
    ToleranceOf(s, 8) = 0.01f;
    s.samples = 40;
    s.offsets = {-1.0};
    const ToleranceResult r = RunTolerance(g, s);
    ASSERT_TRUE(r.Ok());
    const FigureSpread& sp = r.positions[0].figures[kCutOffFront];
    ASSERT_EQ(sp.count, 40);
    std::optional<float> ends[2];
    for (int k = 0; k < 2; ++k) {
        GearState h = g;
        CommitDimension(h, 8, static_cast<float>(double{g.frame.eccFwdRod} + (k == 0 ? -0.01 : 0.01)));
        ASSERT_EQ(FindMidGear(h), MidGearResult::Found);
        const PositionEvents e = ComputeValveEvents(h, PositionsFromOffsets(h, s.offsets, s.solve)[0]);
        ends[k] = FiguresOf(e)[kCutOffFront];
        ASSERT_TRUE(ends[k]);
    }
    const double lo = std::min(*ends[0], *ends[1]), hi = std::max(*ends[0], *ends[1]);
    EXPECT_GT(hi - lo, 0.05); // the tolerance moves the cut-off
    EXPECT_GE(sp.min, lo - 0.05);
    EXPECT_LE(sp.max, hi + 0.05);
    EXPECT_LE(sp.min, sp.p05);
    EXPECT_LE(sp.p05, sp.median);
    EXPECT_LE(sp.median, sp.p95);
    EXPECT_LE(sp.p95, sp.max);
    EXPECT_LT(sp.min, *sp.nominal);
    EXPECT_GT(sp.max, *sp.nominal);
    int counted = 0;
    for (const int c : r.positions[0].histogram) counted += c;
    EXPECT_EQ(counted, r.positions[0].figures[kCutOffDiff].count);
}

TEST_F(StartedGear, TheSameSeedGivesTheSameBitsOnOneAndThreeThreads) {
    ToleranceSettings s = DefaultToleranceSettings();
    s.wear = 0.002f;
    s.samples = 30;
    s.seed = 12345;
    s.offsets = {-1.0, -0.25};
    s.threads = 1;
    const std::string one = ToleranceCsv(RunTolerance(g, s));
    s.threads = 3;
    const std::string three = ToleranceCsv(RunTolerance(g, s));
    EXPECT_EQ(one, three);
    s.seed = 12346;
    EXPECT_NE(ToleranceCsv(RunTolerance(g, s)), one);
}

// A main rod that only just reaches the crosshead's line (at 1.5 sin 88
// degrees, the highest sample the search solves): the shorter samples
// cannot close the linkage, and they are counted, not dropped.
TEST_F(StartedGear, FailedSamplesAreCounted) {
    CommitDimension(g, 3, static_cast<float>(double{g.frame.stroke} / 2 + 0.0005));
    ASSERT_EQ(FindMidGear(g), MidGearResult::Found);
    ToleranceSettings s;
    ToleranceOf(s, 3) = 0.002f;
    s.samples = 40;
    s.offsets = {-1.0};
    const ToleranceResult r = RunTolerance(g, s);
    ASSERT_TRUE(r.Ok());
    const TolerancePosition& tp = r.positions[0];
    ASSERT_TRUE(tp.nominal.Closes());
    EXPECT_GT(tp.linkageFailures, 0);
    EXPECT_LT(tp.linkageFailures, 40);
    const FigureSpread& sp = tp.figures[kCutOffFront];
    EXPECT_EQ(sp.count + tp.linkageFailures, 40);
    EXPECT_FLOAT_EQ(sp.failed, static_cast<float>(tp.linkageFailures) / 40);
    EXPECT_NE(ToleranceText(r).find(std::to_string(tp.linkageFailures) + " not closing"), std::string::npos);
}

TEST_F(StartedGear, ADesignThatDoesNotCloseSaysSoInItsRows) {
    g.frame.mainRodLength = g.frame.stroke / 4;
    ToleranceSettings s;
    s.samples = 3;
    s.offsets = {-1.0};
    const ToleranceResult r = RunTolerance(g, s);
    ASSERT_TRUE(r.Ok());
    EXPECT_FALSE(r.Closes());
    const std::string csv = ToleranceCsv(r);
    EXPECT_NE(csv.find(",cutOffFront,fails,,,,,,0.0000,1.0000\n"), std::string::npos) << csv;
}

TEST_F(StartedGear, CancellingEndsTheRun) {
    ToleranceSettings s = DefaultToleranceSettings();
    s.samples = 200;
    s.offsets = {-1.0};
    s.threads = 1;
    int calls = 0;
    const ToleranceResult r = RunTolerance(g, s, [&](long long done, long long total) {
        EXPECT_EQ(total, 200);
        EXPECT_GT(done, 0);
        return ++calls < 2;
    });
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(r.positions.empty());
    EXPECT_EQ(ToleranceCsv(r), kToleranceCsvHeader);
}

TEST(Tolerance, WrongSettingsNameTheFault) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        void (*change)(ToleranceSettings&);
        const char* says;
    };
    static float bad = 0;
    const Case cases[] = {
        {[](ToleranceSettings& s) { ToleranceOf(s, 8) = -0.1f; }, "eccFwdRod"},
        {[](ToleranceSettings& s) { ToleranceOf(s, 6) = bad; }, "eccFwdAngle"},
        {[](ToleranceSettings& s) { s.wear = -1; }, "wear"},
        {[](ToleranceSettings& s) { s.wear = bad; }, "wear"},
        {[](ToleranceSettings& s) { s.samples = 0; }, "samples"},
        {[](ToleranceSettings& s) { s.samples = kMaxToleranceSamples + 1; }, "samples"},
        {[](ToleranceSettings& s) { s.threshold = bad; }, "threshold"},
        {[](ToleranceSettings& s) { s.offsets = {1.0, double{bad}}; }, "positions"},
        {[](ToleranceSettings& s) { s.threads = 65; }, "threads"},
    };
    GearState g;
    for (const float value : {nan, inf}) {
        bad = value;
        for (const Case& c : cases) {
            ToleranceSettings s = DefaultToleranceSettings();
            c.change(s);
            const ToleranceResult r = RunTolerance(g, s);
            EXPECT_NE(r.error.find(c.says), std::string::npos) << r.error;
            EXPECT_TRUE(r.positions.empty());
        }
    }
}

} // namespace
} // namespace vx
