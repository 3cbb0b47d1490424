// The analyses on the exact solve: the sensitivity's slopes against wider
// central differences of the events, its kinks, its failing steps, and the
// balance of the worked example.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "base/fixed_format.h"
#include "model/analysis/balance.h"
#include "model/analysis/sensitivity.h"
#include "model/gear/dimensions.h"
#include "model/gear/exact_solver.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

// The figures of the nine notches of `g` with dimension `id` set to
// `value` (as an editor commits it), each notch run in the direction
// given; the value the dimension took.
struct Stepped {
    double value = 0;
    std::array<EventFigures, kNotchCount> figures{};
};
Stepped SteppedFigures(const GearState& g, int id, double value, const std::array<bool, kNotchCount>& forward) {
    GearState h = g;
    CommitDimension(h, id, static_cast<float>(value));
    Stepped s;
    s.value = DimensionValue(h, *FindDimension(id));
    const auto notches = NotchPositions(h, SolveMode::Exact);
    for (std::size_t p = 0; p < notches.size(); ++p) {
        const EventDirection d = forward[p] ? EventDirection::Forward : EventDirection::Reverse;
        s.figures[p] = FiguresOf(ComputeValveEvents(h, notches[p], d));
    }
    return s;
}

// A step of an angle the short way round 0/360.
double StepBetween(int id, double from, double to) {
    double d = to - from;
    if (IsAngleDimension(id)) d -= 360.0 * std::round(d / 360.0);
    return d;
}

// Over every dimension at the nine notches, each entry with a slope agrees
// within 1 % with a central difference of the events at 100 times its step,
// wherever the figure is smooth over that wider step too (its one-sided
// slopes there agree within 10 %). The figures hold about 1e-10 of their
// digits, so a slope is known to about 1e-9 over its step: below that a
// slope is nothing but those digits.
TEST(ExactSensitivity, SlopesAgreeWithWiderCentralDifferences) {
    const auto g = test::StartedDesign();
    SensitivitySettings s;
    const SensitivityResult r = ComputeSensitivity(*g, s);
    ASSERT_TRUE(r.Ok()) << r.error;
    ASSERT_EQ(r.positions.size(), std::size_t{kNotchCount});
    std::array<bool, kNotchCount> forward{};
    std::array<EventFigures, kNotchCount> nominal{};
    for (std::size_t p = 0; p < r.positions.size(); ++p) {
        forward[p] = r.positions[p].forward;
        nominal[p] = FiguresOf(r.positions[p].nominal);
    }
    int entries = 0, kinks = 0, compared = 0, rough = 0, noEvent = 0, fails = 0;
    for (std::size_t d = 0; d < r.ids.size(); ++d) {
        const int id = r.ids[d];
        const double v = DimensionValue(*g, *FindDimension(id));
        const double wide = 100 * r.steps[d];
        const Stepped lo = SteppedFigures(*g, id, v - wide, forward);
        const Stepped hi = SteppedFigures(*g, id, v + wide, forward);
        const double up = StepBetween(id, v, hi.value), down = StepBetween(id, lo.value, v);
        for (std::size_t p = 0; p < r.positions.size(); ++p) {
            for (int f = 0; f < kEventFigureCount; ++f) {
                const auto k = static_cast<std::size_t>(f);
                const SensitivityEntry& e = r.At(p, d, static_cast<EventFigure>(f));
                ++entries;
                if (e.status == SensitivityStatus::Kink) ++kinks;
                if (e.status == SensitivityStatus::NoEvent) ++noEvent;
                if (e.status == SensitivityStatus::Fails) ++fails;
                if (e.status != SensitivityStatus::Ok) continue;
                const auto& a = lo.figures[p][k];
                const auto& b = hi.figures[p][k];
                const auto& n = nominal[p][k];
                if (!a || !b || !n) {
                    ++rough;
                    continue;
                }
                const double slopeUp = (*b - *n) / up, slopeDown = (*n - *a) / down;
                const double noise = 1e-9 / r.steps[d];
                if (!(std::fabs(slopeUp - slopeDown) <= 0.1 * std::max(std::fabs(slopeUp), std::fabs(slopeDown)) + noise)) {
                    ++rough;
                    continue;
                }
                const double central = (*b - *a) / (up + down);
                ++compared;
                EXPECT_NEAR(e.derivative, central, 0.01 * std::fabs(central) + noise)
                    << FindDimension(id)->field << " notch " << p + 1 << " " << EventFigureName(static_cast<EventFigure>(f));
            }
        }
    }
    std::cout << "sensitivity: " << entries << " entries, " << compared << " compared, " << kinks << " kinks, "
              << rough << " not smooth over the wider step, " << noEvent << " without the event, " << fails
              << " failing\n";
    EXPECT_EQ(entries, 54 * kNotchCount * kEventFigureCount);
    EXPECT_GT(compared, entries / 2);
}

// The steps are chosen for accuracy: a millionth of the design's size, an
// angle's 1e-5 degree, and never under four units in the float's last place.
TEST(ExactSensitivity, StepsScaleWithTheDesign) {
    const auto one = test::StartedDesign();
    const auto big = test::ScaledDesign(64);
    EXPECT_DOUBLE_EQ(ExactSensitivityStep(*one, 13, 0.5f), 1e-6);
    EXPECT_DOUBLE_EQ(ExactSensitivityStep(*one, 8, 7.25f), 4 * std::ldexp(1.0, -23 + 2));
    EXPECT_DOUBLE_EQ(ExactSensitivityStep(*big, 13, 32.0f), 64e-6);
    EXPECT_DOUBLE_EQ(ExactSensitivityStep(*big, 8, 64 * 7.25f), 4 * std::ldexp(1.0, -23 + 8));
    EXPECT_DOUBLE_EQ(ExactSensitivityStep(*one, 6, 0.0f), 1e-5);
    EXPECT_DOUBLE_EQ(ExactSensitivityStep(*one, 6, 302.0f), 4 * std::ldexp(1.0, -23 + 8));
    EXPECT_DOUBLE_EQ(ExactSensitivityStep(*one, 13, 0.0f), 1e-6);
}

// A front lap that lets the front port open to steam at mid gear by 2e-7
// only: a step of the valve's half length closes it (the admission and
// the cut-off end within the step) or opens it wider, and the entry says
// kink, with no number, in the CSV and the ranking.
TEST(ExactSensitivity, AnEventThatEndsWithinTheStepIsAKink) {
    auto g = test::StartedDesign();
    SensitivitySettings s;
    s.notch = 4;
    s.ids = {FindDimensionByField("valveFrontHalf")->id, 8};
    const double mid = NotchPositions(*g, SolveMode::Exact)[4];
    const PositionEvents before = ComputeValveEvents(*g, mid);
    ASSERT_GT(before.front.maxSteamOpening, 0);
    // The valve's half length, lengthened by all but 2e-7 of the opening.
    const float half = g->cyl.valveFrontHalf();
    g->cyl.valveFrontHalf() = static_cast<float>(half + before.front.maxSteamOpening - 2e-7);
    const PositionEvents e = ComputeValveEvents(*g, NotchPositions(*g, SolveMode::Exact)[4]);
    ASSERT_GT(e.front.maxSteamOpening, 0);
    ASSERT_LT(e.front.maxSteamOpening, 1e-6);
    const SensitivityResult r = ComputeSensitivity(*g, s);
    ASSERT_TRUE(r.Ok()) << r.error;
    EXPECT_EQ(r.At(0, 0, EventFigure::CutOffFront).status, SensitivityStatus::Kink);
    EXPECT_EQ(r.At(0, 0, EventFigure::AdmissionFront).status, SensitivityStatus::Kink);
    // The rear end and the other dimension have their slopes.
    EXPECT_EQ(r.At(0, 0, EventFigure::CutOffRear).status, SensitivityStatus::Ok);
    EXPECT_EQ(r.At(0, 1, EventFigure::CutOffRear).status, SensitivityStatus::Ok);
    const std::string csv = SensitivityCsv(r);
    EXPECT_NE(csv.find(",valveFrontHalf,cutOffFront,kink,kink\n"), std::string::npos) << csv;
    EXPECT_NE(SensitivityRankingText(r, EventFigure::CutOffFront, 0).find("kink"), std::string::npos);
}

// A main rod that reaches the crosshead's line by 5e-7 only: the exact
// step down (1e-6) breaks the linkage, a tenth of it does not; a rod that
// reaches it just so fails both ways.
TEST(ExactSensitivity, AStepThatBreaksTheLinkageIsRetriedOnceThenFails) {
    struct Case {
        float margin;
        SensitivityStatus status;
    };
    for (const Case c : {Case{4.8e-7f, SensitivityStatus::Ok}, Case{0.0f, SensitivityStatus::Fails}}) {
        auto g = test::StartedDesign();
        const float reach = g->frame.stroke / 2;
        ASSERT_TRUE(CommitDimension(*g, 3, reach + c.margin));
        SensitivitySettings s;
        s.ids = {3};
        s.notch = 0;
        const SensitivityResult r = ComputeSensitivity(*g, s);
        ASSERT_TRUE(r.Ok());
        ASSERT_TRUE(r.positions[0].nominal.Closes()) << c.margin;
        const SensitivityEntry& e = r.At(0, 0, EventFigure::CutOffFront);
        EXPECT_EQ(e.status, c.status) << c.margin;
        EXPECT_TRUE(e.retried) << c.margin;
    }
}

// The worked example of the balance: the four dimensions a designer
// squares the gear with, each within +- 0.1, cut-off alone, over the four
// forward notches. On the exact solve the squared gear is no worse than on
// the classic one (1.21 points).
TEST(ExactBalance, TheWorkedExampleSquaresAsWellAsEver) {
    const auto g = test::StartedDesign();
    BalanceProblem p = DefaultBalanceProblem(*g);
    for (const char* field : {"valveCtrToJoint", "eccFwdRod", "radRodTotalLength", "exLinkEccRodBackSet"}) {
        const DimensionInfo* d = FindDimensionByField(field);
        const float v = DimensionValue(*g, *d);
        p.vary.push_back({d->id, static_cast<float>(v - 0.1), static_cast<float>(v + 0.1)});
    }
    p.weights = {1, 0, 0, 0};
    ASSERT_EQ(p.solve, SolveMode::Exact);
    const BalanceResult r = BalanceEvents(*g, p);
    ASSERT_TRUE(r.Ok()) << r.error;
    std::cout << "worked example on the exact solve: worst cut-off difference "
              << FixedString(r.before.worstCutOffDifference, 4) << " -> " << FixedString(r.after.worstCutOffDifference, 4)
              << " points, " << r.evaluations << " evaluations\n";
    EXPECT_NEAR(r.before.worstCutOffDifference, 9.19, 0.03);
    EXPECT_LE(r.after.worstCutOffDifference, 1.21);
    EXPECT_TRUE(r.after.closes);
}

} // namespace
} // namespace vx
