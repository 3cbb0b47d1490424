// Balancing the valve events: the default design's forward notches squared,
// the same numbers on every run and on any number of threads, a square
// design left alone, problems that cannot be searched told in words, the
// penalty of a linkage that does not close, cancelling, and the result
// written through the editors' commit with its undo entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "model/analysis/balance.h"
#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

int Id(std::string_view field) { return FindDimensionByField(field)->id; }

float Value(const GearState& g, int id) { return DimensionValue(g, *FindDimension(id)); }

std::uint32_t Bits(float v) { return std::bit_cast<std::uint32_t>(v); }

// The four dimensions a designer squares the gear with, each within +- 0.1,
// over the four forward notches, cut-off alone.
BalanceProblem SquaringProblem(const GearState& g) {
    BalanceProblem p = DefaultBalanceProblem(g);
    for (const char* field : {"valveCtrToJoint", "eccFwdRod", "radRodTotalLength", "exLinkEccRodBackSet"}) {
        const int id = Id(field);
        const float v = Value(g, id);
        p.vary.push_back({id, static_cast<float>(v - 0.1), static_cast<float>(v + 0.1)});
    }
    p.weights = {1, 0, 0, 0};
    return p;
}

void ExpectSameResult(const BalanceResult& a, const BalanceResult& b) {
    ASSERT_EQ(a.changes.size(), b.changes.size());
    for (std::size_t i = 0; i < a.changes.size(); ++i) EXPECT_EQ(Bits(a.changes[i].after), Bits(b.changes[i].after));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(a.after.objective), std::bit_cast<std::uint64_t>(b.after.objective));
    EXPECT_EQ(a.evaluations, b.evaluations);
}

class BalanceTest : public StartedGear {};

TEST_F(BalanceTest, TheDefaultDesignsForwardNotchesAreSquaredWithinTheBounds) {
    const BalanceProblem p = SquaringProblem(g);
    const GearState before = g;
    const BalanceResult r = BalanceEvents(g, p);
    ASSERT_TRUE(r.Ok()) << r.error;

    // Half forward cuts off at 42.5 % front and 33.4 % rear.
    ASSERT_EQ(r.before.positions.size(), 4u);
    EXPECT_NEAR(*r.before.positions[2].events.front.cutOff, 42.5, 0.05);
    EXPECT_NEAR(*r.before.positions[2].events.rear.cutOff, 33.4, 0.05);
    EXPECT_NEAR(r.before.worstCutOffDifference, 9.2, 0.05);
    EXPECT_LT(r.after.worstCutOffDifference, 1.5);
    EXPECT_LT(r.after.objective, r.before.objective);
    EXPECT_TRUE(r.after.closes);
    EXPECT_FALSE(r.cancelled);
    EXPECT_LE(r.evaluations, p.maxEvaluations);
    EXPECT_TRUE(r.Changed());
    for (std::size_t i = 0; i < r.changes.size(); ++i) {
        EXPECT_EQ(r.changes[i].id, p.vary[i].id);
        EXPECT_EQ(Bits(r.changes[i].before), Bits(Value(g, p.vary[i].id)));
        EXPECT_GE(r.changes[i].after, p.vary[i].lower);
        EXPECT_LE(r.changes[i].after, p.vary[i].upper);
    }
    // The positions follow the balanced design's own mid gear.
    for (const BalancePosition& bp : r.after.positions) {
        EXPECT_TRUE(bp.forward);
        EXPECT_LT(bp.position, bp.centre);
    }
    // The search works on copies only.
    for (const DimensionInfo& d : AllDimensions()) EXPECT_EQ(Bits(Value(g, d.id)), Bits(Value(before, d.id)));
    EXPECT_EQ(g.revArm.centre, before.revArm.centre);
    EXPECT_EQ(g.motion.driverAngle, before.motion.driverAngle);
}

TEST_F(BalanceTest, TheSameProblemGivesTheSameNumbersOnEveryRunAndAnyNumberOfThreads) {
    BalanceProblem p = SquaringProblem(g);
    p.maxEvaluations = 25;
    p.threads = 1;
    const BalanceResult one = BalanceEvents(g, p);
    p.threads = 3;
    const BalanceResult three = BalanceEvents(g, p);
    const BalanceResult again = BalanceEvents(g, p);
    ASSERT_TRUE(one.Ok());
    EXPECT_EQ(one.evaluations, 25);
    ExpectSameResult(one, three);
    ExpectSameResult(three, again);
}

TEST_F(BalanceTest, TheOrderTheDimensionsAreListedInDoesNotMatter) {
    const BalanceProblem p = SquaringProblem(g);
    BalanceProblem reversed = p;
    std::reverse(reversed.vary.begin(), reversed.vary.end());
    const BalanceResult a = BalanceEvents(g, p);
    const BalanceResult b = BalanceEvents(g, reversed);
    ASSERT_TRUE(a.Ok());
    ASSERT_TRUE(b.Ok());
    EXPECT_LT(b.after.worstCutOffDifference, 1.5);
    EXPECT_EQ(a.after.objective, b.after.objective);
    for (std::size_t i = 0; i < a.changes.size(); ++i)
        EXPECT_EQ(Bits(a.changes[i].after), Bits(b.changes[a.changes.size() - 1 - i].after)) << i;
}

TEST_F(BalanceTest, ADesignAlreadySquareStaysPut) {
    // Square the half-forward notch with the radius rod alone...
    BalanceProblem p = DefaultBalanceProblem(g);
    p.positions = {-0.5 * g.frame.revArmToCentNorm};
    p.vary = {DefaultBalanceBound(g, Id("radRodTotalLength"))};
    p.weights = {1, 0, 0, 0};
    const BalanceResult first = BalanceEvents(g, p);
    ASSERT_TRUE(first.Ok());
    ASSERT_LT(first.after.worstCutOffDifference, 0.05);
    ASSERT_EQ(ApplyBalance(g, first), MidGearResult::Found);

    // ...then search again from the square design: nothing moves further
    // than the stopping tolerance.
    const BalanceResult second = BalanceEvents(g, p);
    ASSERT_TRUE(second.Ok());
    const BalanceBound& b = p.vary[0];
    const double width = static_cast<double>(b.upper) - b.lower;
    EXPECT_LE(std::fabs(static_cast<double>(second.changes[0].after) - second.changes[0].before), p.tolerance * width);
    EXPECT_LE(second.after.worstCutOffDifference, first.after.worstCutOffDifference);
}

TEST_F(BalanceTest, AProblemThatCannotBeSearchedIsToldInWordsAndChangesNothing) {
    const int rod = Id("radRodTotalLength");
    struct Case {
        const char* what;
        void (*spoil)(BalanceProblem&, int rod);
        const char* words;
    };
    const Case cases[] = {
        {"nothing varied", [](BalanceProblem& p, int) { p.vary.clear(); }, "at least one dimension"},
        {"no such id", [](BalanceProblem& p, int) { p.vary[0].id = 77; }, "no dimension with id 77"},
        {"reverse arm travel", [](BalanceProblem& p, int) { p.vary[0].id = 25; }, "revArmToCentNorm"},
        {"twice",
         [](BalanceProblem& p, int rod) {
             p.vary.push_back({rod, 5, 6});
         },
         "radRodTotalLength is chosen twice"},
        {"empty bounds",
         [](BalanceProblem& p, int) {
             p.vary[0].lower = 5.2f;
             p.vary[0].upper = 5.0f;
         },
         "radRodTotalLength: the lower bound 5.19999981 is above the upper bound 5"},
        {"bound not a number",
         [](BalanceProblem& p, int) { p.vary[0].upper = std::numeric_limits<float>::quiet_NaN(); },
         "radRodTotalLength: the bounds must be finite"},
        {"no positions", [](BalanceProblem& p, int) { p.positions.clear(); }, "at least one reverse arm position"},
        {"position infinite", [](BalanceProblem& p, int) { p.positions[1] = std::numeric_limits<double>::infinity(); },
         "positions must be finite"},
        {"weight negative", [](BalanceProblem& p, int) { p.weights.lead = -1; },
         "weights must be finite and not negative"},
        {"weights all 0",
         [](BalanceProblem& p, int) {
             p.weights = {0, 0, 0, 0};
         },
         "nothing to balance"},
        {"weights that overflow",
         [](BalanceProblem& p, int) {
             p.weights = {1e308, 1e308, 0, 1e101};
         },
         "the weights cutoff=1e+308, lead=1e+308, compression=1e+101 are too large"},
        {"budget 0", [](BalanceProblem& p, int) { p.maxEvaluations = 0; }, "budget must be at least 1, got 0"},
        {"tolerance 0", [](BalanceProblem& p, int) { p.tolerance = 0; }, "tolerance"},
    };
    const GearState before = g;
    for (const Case& c : cases) {
        BalanceProblem p = DefaultBalanceProblem(g);
        p.vary = {{rod, 5.0f, 5.2f}};
        c.spoil(p, rod);
        int told = 0;
        const BalanceResult r = BalanceEvents(g, p, [&](const BalanceProgress&) { return ++told, true; });
        EXPECT_NE(r.error.find(c.words), std::string::npos) << c.what << ": " << r.error;
        EXPECT_EQ(CheckBalanceProblem(g, p), r.error) << c.what;
        EXPECT_EQ(told, 0) << c.what;
        EXPECT_TRUE(r.changes.empty()) << c.what;
        EXPECT_FALSE(r.Changed()) << c.what;
    }
    for (const DimensionInfo& d : AllDimensions()) EXPECT_EQ(Bits(Value(g, d.id)), Bits(Value(before, d.id)));
}

TEST_F(BalanceTest, BoundsWhereTheLinkageNeverClosesLeaveTheDesignAsItWas) {
    // A radius rod far too short to reach the rocker anywhere in its bounds,
    // on a design that does not close either.
    const int rod = Id("radRodTotalLength");
    CommitDimension(g, rod, 0.5f);
    BalanceProblem p = DefaultBalanceProblem(g);
    p.vary = {{rod, 0.4f, 0.6f}};
    p.maxEvaluations = 12;
    const BalanceResult r = BalanceEvents(g, p);
    ASSERT_TRUE(r.Ok()) << r.error;
    EXPECT_TRUE(r.infeasible);
    EXPECT_FALSE(r.Changed());
    EXPECT_FALSE(r.after.closes);
    EXPECT_TRUE(std::isfinite(r.before.objective));
    EXPECT_GE(r.before.objective, kBalancePenalty);
    EXPECT_EQ(Value(g, rod), 0.5f);
}

TEST_F(BalanceTest, AnEvaluationIsAlwaysAFiniteNumber) {
    // Values beyond reason in the design, in the linkage (an eccentric rod)
    // or in the piston (the stroke): a penalty, never NaN or infinity.
    for (const char* field : {"eccFwdRod", "stroke"}) {
        for (const float bad :
             {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e30f, 0.0f}) {
            GearState h = g;
            CommitDimension(h, Id(field), bad);
            const BalanceEvaluation e = EvaluateBalance(h, DefaultBalanceProblem(h));
            EXPECT_TRUE(std::isfinite(e.objective)) << field << " " << bad;
            EXPECT_FALSE(e.closes) << field << " " << bad;
            EXPECT_TRUE(std::isfinite(e.worstCutOffDifference)) << field << " " << bad;
        }
    }
    // Weights at the edge of the double range: still finite.
    BalanceProblem huge = DefaultBalanceProblem(g);
    huge.weights = {1e308, 1e308, 1e308, 1e308};
    GearState h = g;
    CommitDimension(h, Id("radRodTotalLength"), 0.5f);
    EXPECT_TRUE(std::isfinite(EvaluateBalance(h, huge).objective));
    EXPECT_TRUE(std::isfinite(EvaluateBalance(g, huge).objective));

    // The default design closes at every forward notch: a plain weighted sum.
    const BalanceEvaluation e = EvaluateBalance(g, DefaultBalanceProblem(g));
    EXPECT_TRUE(e.closes);
    double sum = 0;
    for (const BalancePosition& bp : e.positions) {
        const double dc = static_cast<double>(*bp.events.front.cutOff) - *bp.events.rear.cutOff;
        const double dl = static_cast<double>(bp.events.front.lead) - bp.events.rear.lead;
        EXPECT_EQ(bp.cost, dc * dc + 10000 * dl * dl);
        sum += bp.cost;
    }
    EXPECT_EQ(e.objective, sum);

    // Release or compression weighed alone: the squared front - rear
    // difference of that event, as the events give it.
    struct Only {
        const char* what;
        BalanceWeights weights;
        std::optional<double> EndEvents::*event;
    };
    const Only only[] = {{"release", {0, 0, 1, 0}, &EndEvents::release},
                         {"compression", {0, 0, 0, 1}, &EndEvents::compression}};
    for (const Only& o : only) {
        BalanceProblem p = DefaultBalanceProblem(g);
        p.weights = o.weights;
        for (const BalancePosition& bp : EvaluateBalance(g, p).positions) {
            const PositionEvents ev = ComputeValveEvents(g, bp.position);
            ASSERT_TRUE(ev.front.*o.event && ev.rear.*o.event) << o.what;
            const double d = static_cast<double>(*(ev.front.*o.event)) - *(ev.rear.*o.event);
            EXPECT_EQ(bp.cost, d * d) << o.what << " at " << bp.position;
        }
    }
}

// Lead alone weighed: a front steam port made 10^4 wider leads by 10^4
// more at every position (a cost of 10^8 each, above the penalty of 10^6),
// while a radius rod too short closes nowhere. The design that closes costs
// less, whatever the number of positions.
TEST_F(BalanceTest, APenaltyCostsMoreThanAnyDesignThatCloses) {
    GearState wide = g;
    wide.cyl.steamPortFront() += 10000.0f;
    GearState open = g;
    CommitDimension(open, Id("radRodTotalLength"), 0.5f);
    for (const std::size_t count : {std::size_t{1}, std::size_t{40}}) {
        BalanceProblem p = DefaultBalanceProblem(g);
        p.weights = {0, 1, 0, 0};
        p.positions.assign(count, -g.frame.revArmToCentNorm);
        p.threads = 1;
        const BalanceEvaluation closing = EvaluateBalance(wide, p);
        const BalanceEvaluation failing = EvaluateBalance(open, p);
        EXPECT_TRUE(closing.closes) << count;
        EXPECT_FALSE(failing.closes) << count;
        EXPECT_LT(closing.objective, failing.objective) << count;
    }
}

TEST_F(BalanceTest, DefaultBoundsAndPositions) {
    const BalanceBound rod = DefaultBalanceBound(g, Id("radRodTotalLength"));
    EXPECT_FLOAT_EQ(rod.lower, 5.1f * 0.95f);
    EXPECT_FLOAT_EQ(rod.upper, 5.1f * 1.05f);
    const BalanceBound angle = DefaultBalanceBound(g, Id("eccFwdAngle"));
    EXPECT_FLOAT_EQ(angle.lower, 299.0f);
    EXPECT_FLOAT_EQ(angle.upper, 305.0f);
    const BalanceBound zero = DefaultBalanceBound(g, Id("exLinkEccRodBackSet"));
    EXPECT_FLOAT_EQ(zero.lower, -0.05f);
    EXPECT_FLOAT_EQ(zero.upper, 0.05f);
    EXPECT_EQ(ForwardNotches(g), (std::vector<double>{-1.0, -0.75, -0.5, -0.25}));
    // An offset beyond the travel is held at mid gear - Max (7.621721 - 1.074),
    // as the events command holds it.
    BalanceProblem far = DefaultBalanceProblem(g);
    far.positions = {-2};
    far.solve = SolveMode::Classic;
    EXPECT_EQ(EvaluateBalance(g, far).positions.at(0).position, 6.547721f);
    // On the exact solve, from the exact mid gear.
    far.solve = SolveMode::Exact;
    EXPECT_EQ(EvaluateBalance(g, far).positions.at(0).position,
              MidGearCentre(g, SolveMode::Exact) - double{g.frame.revArmToCentMax});
}

TEST_F(BalanceTest, CancellingKeepsTheBestFoundSoFar) {
    BalanceProblem p = SquaringProblem(g);
    std::vector<double> told;
    const BalanceResult r = BalanceEvents(g, p, [&](const BalanceProgress& progress) {
        EXPECT_EQ(progress.evaluations, static_cast<int>(told.size()) + 1);
        EXPECT_EQ(progress.maxEvaluations, p.maxEvaluations);
        if (!told.empty()) {
            EXPECT_LE(progress.bestObjective, told.back());
        }
        told.push_back(progress.bestObjective);
        return told.size() < 6;
    });
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.evaluations, 6);
    EXPECT_EQ(told.size(), 6u);
    EXPECT_LE(r.after.objective, r.before.objective);
    if (r.Changed()) {
        EXPECT_EQ(r.after.objective, told.back());
    }
}

TEST_F(BalanceTest, ApplyMakesOneUndoEntryPerChangedDimensionAndUndoWalksItBack) {
    BalanceProblem p = SquaringProblem(g);
    p.maxEvaluations = 30;
    const BalanceResult r = BalanceEvents(g, p);
    ASSERT_TRUE(r.Changed());
    int changed = 0;
    int newest = 0;
    for (const BalanceChange& c : r.changes)
        if (Bits(c.before) != Bits(c.after)) ++changed, newest = c.id;

    const GearState before = g;
    ASSERT_EQ(ApplyBalance(g, r), MidGearResult::Found);
    EXPECT_EQ(g.undoCount, before.undoCount + changed);
    for (const BalanceChange& c : r.changes) EXPECT_EQ(Bits(Value(g, c.id)), Bits(c.after));
    // The newest change is the newest dynamic variable, and mid gear moved
    // with the design.
    EXPECT_EQ(g.dynVarSlots[1].id, newest);
    GearState search = g;
    FindMidGear(search);
    EXPECT_EQ(g.revArm.centre, search.revArm.centre);
    EXPECT_NE(g.revArm.centre, before.revArm.centre);

    // (UnDo refreshes the slots by a step up and back, which may move a
    // value by its last bit.)
    for (int k = 0; k < changed; ++k) UndoLast(g);
    for (const DimensionInfo& d : AllDimensions()) EXPECT_FLOAT_EQ(Value(g, d.id), Value(before, d.id)) << d.field;
    EXPECT_EQ(g.undoCount, before.undoCount);
}

} // namespace
} // namespace vx
