// Sensitivity of the valve events to the dimensions: the central
// difference against the events of the two stepped designs, the steps, the
// retry at a tenth of the step, entries that fail, the ranking, the same
// bits on any number of threads, cancelling and settings that are wrong.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "model/analysis/sensitivity.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

// The figure of a design with one dimension set, found as the command line
// finds it: the value committed, mid gear found again, the events at the
// same offset from it.
std::optional<float> FigureAt(GearState g, int id, float value, double offset, EventFigure f, bool forward) {
    CommitDimension(g, id, value);
    EXPECT_EQ(FindMidGear(g), MidGearResult::Found);
    const std::vector<double> offsets{offset};
    const float position = PositionsFromOffsets(g, offsets)[0];
    const PositionEvents e =
        ComputeValveEvents(g, position, forward ? EventDirection::Forward : EventDirection::Reverse, SolveMode::Classic);
    return FiguresOf(e)[static_cast<std::size_t>(f)];
}

TEST(EventFigures, NamesReadBackAndDifferencesAreFrontMinusRear) {
    for (int k = 0; k < kEventFigureCount; ++k) {
        const auto f = static_cast<EventFigure>(k);
        EXPECT_EQ(FindEventFigure(EventFigureName(f)), f);
    }
    EXPECT_FALSE(FindEventFigure("cutoff").has_value());
    PositionEvents e;
    e.front.cutOff = 70.5f;
    e.rear.cutOff = 68.25f;
    e.front.lead = 0.01f;
    e.rear.lead = 0.03f;
    const EventFigures f = FiguresOf(e);
    EXPECT_EQ(f[static_cast<std::size_t>(EventFigure::CutOffDiff)], 2.25f);
    EXPECT_EQ(f[static_cast<std::size_t>(EventFigure::LeadDiff)], static_cast<float>(double{0.01f} - double{0.03f}));
    EXPECT_FALSE(f[static_cast<std::size_t>(EventFigure::ReleaseFront)].has_value());
}

TEST(Sensitivity, StepsAreScaledToTheDimension) {
    EXPECT_DOUBLE_EQ(SensitivityStep(8, 7.25f), 7.25e-3);
    EXPECT_DOUBLE_EQ(SensitivityStep(23, -2.0f), 2e-3);
    EXPECT_DOUBLE_EQ(SensitivityStep(13, 0.0f), 1e-4);
    EXPECT_DOUBLE_EQ(SensitivityStep(6, 302.0f), 0.01);
    EXPECT_DOUBLE_EQ(ShopTolerance(8), 0.001);
    EXPECT_DOUBLE_EQ(ShopTolerance(21), 0.1);
}

// On the classic solve, whose steps SensitivityStep gives.
TEST_F(StartedGear, DerivativesAreTheCentralDifferencesOfTheSteppedDesigns) {
    SensitivitySettings s;
    s.solve = SolveMode::Classic;
    s.ids = {8, 122, 17, 6};
    s.offsets = {-1.0, -0.5};
    const SensitivityResult r = ComputeSensitivity(g, s);
    ASSERT_TRUE(r.Ok()) << r.error;
    ASSERT_EQ(r.positions.size(), 2u);
    for (std::size_t p = 0; p < r.positions.size(); ++p) {
        EXPECT_TRUE(r.positions[p].forward);
        for (std::size_t d = 0; d < r.ids.size(); ++d) {
            const int id = r.ids[d];
            const float v = DimensionValue(g, *FindDimension(id));
            const double h = SensitivityStep(id, v);
            const float lo = static_cast<float>(v - h), hi = static_cast<float>(v + h);
            for (const EventFigure f : {EventFigure::CutOffFront, EventFigure::CutOffDiff, EventFigure::LeadRear}) {
                const auto a = FigureAt(g, id, lo, s.offsets[p], f, true);
                const auto b = FigureAt(g, id, hi, s.offsets[p], f, true);
                ASSERT_TRUE(a && b);
                const SensitivityEntry& e = r.At(p, d, f);
                ASSERT_EQ(e.status, SensitivityStatus::Ok) << id;
                EXPECT_FALSE(e.retried);
                const float expected =
                    static_cast<float>((double{*b} - double{*a}) / (double{hi} - double{lo}));
                EXPECT_EQ(e.derivative, expected) << id << " " << EventFigureName(f);
                EXPECT_EQ(e.perTolerance, static_cast<float>(double{expected} * ShopTolerance(id)));
            }
        }
    }
}

TEST_F(StartedGear, OneNotchGivesThatNotchOfTheNine) {
    SensitivitySettings s;
    s.ids = {8, 25};
    const SensitivityResult all = ComputeSensitivity(g, s);
    s.notch = 2;
    const SensitivityResult one = ComputeSensitivity(g, s);
    ASSERT_TRUE(all.Ok() && one.Ok());
    ASSERT_EQ(one.positions.size(), 1u);
    EXPECT_EQ(one.positions[0].position, all.positions[2].position);
    for (std::size_t d = 0; d < 2; ++d)
        for (int f = 0; f < kEventFigureCount; ++f)
            EXPECT_EQ(one.At(0, d, static_cast<EventFigure>(f)).derivative,
                      all.At(2, d, static_cast<EventFigure>(f)).derivative);
    // Norm moves the notches off mid gear, so it moves the events there.
    EXPECT_NE(one.At(0, 1, EventFigure::CutOffFront).derivative, 0.0f);
    s.notch = 9;
    EXPECT_NE(ComputeSensitivity(g, s).error.find("notch"), std::string::npos);
}

TEST_F(StartedGear, ADimensionTheEventsDoNotReadHasNoEffect) {
    SensitivitySettings s;
    s.ids = {1, 103}; // the driver's and the bore's diameters are only drawn
    s.offsets = {-1.0};
    const SensitivityResult r = ComputeSensitivity(g, s);
    ASSERT_TRUE(r.Ok());
    for (std::size_t d = 0; d < 2; ++d)
        for (int f = 0; f < kEventFigureCount; ++f) {
            const SensitivityEntry& e = r.At(0, d, static_cast<EventFigure>(f));
            ASSERT_EQ(e.status, SensitivityStatus::Ok);
            EXPECT_EQ(e.derivative, 0.0f);
        }
}

TEST_F(StartedGear, SameBitsOnOneAndThreeThreads) {
    SensitivitySettings s;
    s.ids = {8, 9, 17, 19, 122};
    s.offsets = {-1.0, 0.75};
    s.threads = 1;
    const SensitivityResult one = ComputeSensitivity(g, s);
    s.threads = 3;
    const SensitivityResult three = ComputeSensitivity(g, s);
    ASSERT_TRUE(one.Ok() && three.Ok());
    EXPECT_FALSE(three.positions[1].forward);
    EXPECT_EQ(SensitivityCsv(one), SensitivityCsv(three));
    ASSERT_EQ(one.entries.size(), three.entries.size());
    for (std::size_t i = 0; i < one.entries.size(); ++i)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(one.entries[i].derivative),
                  std::bit_cast<std::uint64_t>(three.entries[i].derivative));
}

// A main rod just long enough to reach the crosshead's line (the crank pin
// rises to stroke / 2 above it at 90 and 270 degrees): a step down (1e-3
// of the rod, 0.0015, on the classic solve) breaks the linkage. Where a
// tenth of the step closes (a margin of 0.0002), the retry finds the
// derivative; where it does not (0.0001), the entry fails and has no number.
TEST_F(StartedGear, AStepThatBreaksTheLinkageIsRetriedOnceThenFails) {
    const float reach = g.frame.stroke / 2; // the crank pin's height above the line
    struct Case {
        float margin;
        SensitivityStatus status;
    };
    for (const Case c : {Case{0.0002f, SensitivityStatus::Ok}, Case{0.0001f, SensitivityStatus::Fails}}) {
        GearState h = g;
        CommitDimension(h, 3, reach + c.margin);
        ASSERT_EQ(FindMidGear(h), MidGearResult::Found);
        SensitivitySettings s;
        s.solve = SolveMode::Classic;
        s.ids = {3, 8};
        s.offsets = {-1.0};
        const SensitivityResult r = ComputeSensitivity(h, s);
        ASSERT_TRUE(r.Ok());
        ASSERT_TRUE(r.positions[0].nominal.Closes()) << c.margin;
        const SensitivityEntry& e = r.At(0, 0, EventFigure::CutOffFront);
        EXPECT_EQ(e.status, c.status) << c.margin;
        EXPECT_TRUE(e.retried);
        const SensitivityEntry& other = r.At(0, 1, EventFigure::CutOffFront);
        EXPECT_EQ(other.status, SensitivityStatus::Ok);
        EXPECT_FALSE(other.retried);
        const std::string csv = SensitivityCsv(r);
        const std::string row = ",mainRodLength,cutOffFront,";
        const auto at = csv.find(row);
        ASSERT_NE(at, std::string::npos);
        const std::string rest = csv.substr(at + row.size(), csv.find('\n', at) - at - row.size());
        if (c.status == SensitivityStatus::Fails) EXPECT_EQ(rest, "fails,fails");
        else EXPECT_NE(rest.find_first_of("0123456789"), std::string::npos) << rest;
    }
}

TEST_F(StartedGear, ADesignThatDoesNotCloseHasNoNumbers) {
    g.frame.mainRodLength = g.frame.stroke / 4;
    SensitivitySettings s;
    s.ids = {8};
    s.offsets = {-1.0};
    const SensitivityResult r = ComputeSensitivity(g, s);
    ASSERT_TRUE(r.Ok());
    EXPECT_FALSE(r.Closes());
    for (int f = 0; f < kEventFigureCount; ++f)
        EXPECT_EQ(r.At(0, 0, static_cast<EventFigure>(f)).status, SensitivityStatus::Fails);
    // Every row ends ",fails,fails": never a number.
    const std::string csv = SensitivityCsv(r);
    std::size_t rows = 0;
    for (std::size_t at = kSensitivityCsvHeader.size(); at < csv.size(); ++rows) {
        const std::size_t end = csv.find('\n', at);
        EXPECT_TRUE(csv.substr(at, end - at).ends_with(",fails,fails")) << csv.substr(at, end - at);
        at = end + 1;
    }
    EXPECT_EQ(rows, std::size_t{kEventFigureCount});
    EXPECT_NE(SensitivityRankingText(r, EventFigure::CutOffDiff, 5).find("does not close"), std::string::npos);
}

TEST_F(StartedGear, TheRankingPutsTheLargestMoveFirst) {
    SensitivitySettings s;
    s.ids = {1, 8, 17, 6, 122};
    s.offsets = {-1.0};
    const SensitivityResult r = ComputeSensitivity(g, s);
    ASSERT_TRUE(r.Ok());
    const std::vector<int> order = RankDimensions(r, 0, EventFigure::CutOffDiff);
    ASSERT_EQ(order.size(), 5u);
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_GE(std::fabs(r.At(0, static_cast<std::size_t>(order[i - 1]), EventFigure::CutOffDiff).perTolerance),
                  std::fabs(r.At(0, static_cast<std::size_t>(order[i]), EventFigure::CutOffDiff).perTolerance));
    EXPECT_EQ(r.ids[static_cast<std::size_t>(order.back())], 1); // no effect at all
    const std::string text = SensitivityRankingText(r, EventFigure::CutOffDiff, 2);
    EXPECT_NE(text.find(FindDimension(r.ids[static_cast<std::size_t>(order[0])])->field), std::string::npos);
    EXPECT_EQ(text.find("driverDia"), std::string::npos); // beyond the top two
}

TEST(Sensitivity, TopDimensionsSumTheMovesOverThePositions) {
    SensitivityResult r;
    r.ids = {2, 3, 8, 9};
    r.positions.resize(2);
    r.entries.assign(2 * 4 * kEventFigureCount, SensitivityEntry{});
    const auto set = [&](std::size_t p, std::size_t d, SensitivityStatus s, float v) {
        SensitivityEntry& e = r.entries[(p * 4 + d) * kEventFigureCount + static_cast<std::size_t>(EventFigure::CutOffDiff)];
        e.status = s;
        e.perTolerance = v;
    };
    set(0, 0, SensitivityStatus::Ok, 0.3f);  // stroke: 0.3 + 0.3
    set(1, 0, SensitivityStatus::Ok, -0.3f);
    set(0, 1, SensitivityStatus::Ok, 0.5f);  // main rod: 0.5, then fails
    set(1, 1, SensitivityStatus::Fails, 0);
    set(0, 2, SensitivityStatus::Ok, 0.1f);  // eccFwdRod: 0.1 + 0.4
    set(1, 2, SensitivityStatus::Ok, 0.4f);
    // eccRevRod: no number anywhere
    const int all[] = {9, 8, 3, 2, 77};
    EXPECT_EQ(TopDimensions(r, EventFigure::CutOffDiff, 2, all), (std::vector<int>{2, 8}));
    EXPECT_EQ(TopDimensions(r, EventFigure::CutOffDiff, 9, all), (std::vector<int>{2, 8, 3}));
    const int some[] = {3, 9};
    EXPECT_EQ(TopDimensions(r, EventFigure::CutOffDiff, 4, some), (std::vector<int>{3}));
}

TEST_F(StartedGear, CancellingEndsTheRunWithoutEntries) {
    SensitivitySettings s;
    s.ids = {8, 9, 17, 122};
    s.offsets = {-1.0};
    s.threads = 1;
    long long calls = 0, lastTotal = 0;
    const SensitivityResult r = ComputeSensitivity(g, s, [&](long long done, long long total) {
        ++calls;
        lastTotal = total;
        EXPECT_LE(done, total);
        return false;
    });
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.Ok());
    EXPECT_TRUE(r.entries.empty());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(lastTotal, 8);
    EXPECT_EQ(SensitivityCsv(r), kSensitivityCsvHeader);
}

TEST(Sensitivity, WrongSettingsNameTheFault) {
    GearState g;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        SensitivitySettings s;
        const char* says;
    };
    const Case cases[] = {
        {{{}, -1, EventDirection::Auto, {8, 999}, 0}, "999"},
        {{{}, -1, EventDirection::Auto, {8, 8}, 0}, "eccFwdRod is chosen twice"},
        {{{0.5, nan}, -1, EventDirection::Auto, {}, 0}, "finite"},
        {{{}, -1, EventDirection::Auto, {}, -1}, "threads"},
        {{{}, -1, EventDirection::Auto, {}, 65}, "threads"},
    };
    for (const Case& c : cases) {
        const SensitivityResult r = ComputeSensitivity(g, c.s);
        EXPECT_NE(r.error.find(c.says), std::string::npos) << r.error;
        EXPECT_TRUE(r.entries.empty());
    }
}

} // namespace
} // namespace vx
