// The valve events on the exact solve: any size, smooth in every dimension,
// each event where its opening changes sign to 1e-9 degrees, and within the
// classic quantisation of the classic events.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "model/analysis/valve_events.h"
#include "model/gear/exact_solver.h"
#include "model/gear/dimensions.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

struct DesignCase {
    const char* name;
    std::unique_ptr<GearState> (*make)();
};
const DesignCase kDesigns[] = {
    {"default", [] { return test::StartedDesign(); }},
    {"varied 1", [] { return test::VariedDesign(1); }},
    {"varied 2", [] { return test::VariedDesign(2); }},
};

using AngleOf = std::optional<double> EndEvents::*;
constexpr AngleOf kAngles[] = {&EndEvents::admissionAngle, &EndEvents::cutOffAngle, &EndEvents::releaseAngle,
                               &EndEvents::compressionAngle};
constexpr AngleOf kPercents[] = {&EndEvents::admission, &EndEvents::cutOff, &EndEvents::release,
                                 &EndEvents::compression};
using LengthOf = double EndEvents::*;
constexpr LengthOf kEndLengths[] = {&EndEvents::lead, &EndEvents::maxSteamOpening, &EndEvents::maxExhaustOpening};

// Compares the events `b` of a design k times as large with `a`: angles
// and percentages within `tol`, lengths k times as large within `rel`.
// Lengths are relative to the design's size: a small lead is the difference
// of two lengths of the design's size.
void ExpectScaled(const PositionEvents& a, const PositionEvents& b, double k, double tol, double rel,
                  const std::string& what) {
    ASSERT_TRUE(a.Closes() && b.Closes()) << what;
    EXPECT_EQ(a.forward, b.forward) << what;
    const auto length = [&](double x, double y, const char* name) {
        EXPECT_NEAR(y / k, x, rel * std::max(std::fabs(x), 1.0)) << what << " " << name;
    };
    for (const bool rear : {false, true}) {
        const EndEvents& x = a.End(rear);
        const EndEvents& y = b.End(rear);
        for (const auto* set : {&kAngles, &kPercents}) {
            for (const AngleOf m : *set) {
                ASSERT_EQ(bool(x.*m), bool(y.*m)) << what;
                if (!(x.*m)) continue;
                double d = std::fabs(*(x.*m) - *(y.*m));
                if (set == &kAngles) d = std::min(d, 360 - d);
                EXPECT_LE(d, tol) << what << (rear ? " rear" : " front");
            }
        }
        for (const LengthOf m : kEndLengths) length(x.*m, y.*m, "opening");
        EXPECT_EQ(x.steamOpenings, y.steamOpenings) << what;
        EXPECT_EQ(x.exhaustOpenings, y.exhaustOpenings) << what;
    }
    length(a.valveTravel, b.valveTravel, "travel");
    length(a.dieSlip, b.dieSlip, "die slip");
}

// Every length times k: the same events, the lengths k times as large, mid
// gear k times as far from the origin. Powers of two scale every float
// exactly; other factors round each dimension to its float.
TEST(ExactEvents, AnySizeGivesTheSameEvents) {
    struct Scale {
        float k;
        double tol, rel;
    } scales[] = {{1.0f / 16, 1e-9, 1e-12}, {16, 1e-9, 1e-12}, {64, 1e-9, 1e-12},
                  {0.05f, 1e-4, 1e-6},      {13, 1e-4, 1e-6},  {25.4f, 1e-4, 1e-6}, {100, 1e-4, 1e-6}};
    for (const DesignCase& c : kDesigns) {
        const auto one = c.make();
        const auto notches = NotchPositions(*one, SolveMode::Exact);
        std::array<PositionEvents, kNotchCount> base;
        ComputeValveEventsTable(*one, notches, EventDirection::Auto, base);
        for (const Scale& s : scales) {
            auto g = c.make();
            test::ScaleDesign(*g, s.k);
            const auto at = NotchPositions(*g, SolveMode::Exact);
            std::array<PositionEvents, kNotchCount> scaled;
            ComputeValveEventsTable(*g, at, EventDirection::Auto, scaled);
            for (int i = 0; i < kNotchCount; ++i) {
                const auto n = static_cast<std::size_t>(i);
                const std::string what = std::string(c.name) + " k " + std::to_string(s.k) + " notch " + std::to_string(i);
                EXPECT_NEAR(at[n] / s.k, notches[n], s.rel * std::fabs(notches[n])) << what;
                ExpectScaled(base[n], scaled[n], s.k, s.tol, s.rel, what);
            }
        }
    }
}

// The exact solve closes at every angle at every size, where the classic
// searches (which start with a step of 0.5) reach no higher than 0.625.
TEST(ExactEvents, ClosesAtEveryAngleAtEverySize) {
    for (const float k : {0.05f, 1.0f, 13.0f, 15.0f, 20.0f, 25.4f, 100.0f}) {
        auto g = test::ScaledDesign(k);
        for (const double position : NotchPositions(*g, SolveMode::Exact)) {
            ExactWarmStart warm;
            for (int tenth = 0; tenth < 3600; tenth += 5) {
                ExactPivots p;
                ASSERT_EQ(SolveExact(*g, tenth / 10.0, position, p, &warm), GeometryCause::None)
                    << "k " << k << " angle " << tenth / 10.0;
            }
        }
    }
}

// Each event angle lies within 1e-9 degrees of where its opening changes
// sign, on the exact solve itself.
TEST(ExactEvents, EventsLieWhereTheOpeningsChangeSign) {
    const auto g = test::StartedDesign();
    for (const double position : NotchPositions(*g, SolveMode::Exact)) {
        const PositionEvents e = ComputeValveEvents(*g, position);
        ASSERT_TRUE(e.Closes());
        const auto opening = [&](double angle, bool rear, bool steam) {
            ExactPivots p;
            SolveExact(*g, std::fmod(angle + 360.0, 360.0), position, p);
            const ExactPorts o = ExactPortOpenings(*g, std::fmod(angle + 360.0, 360.0), p.valveOffset);
            return steam ? (rear ? o.rearSteam : o.frontSteam) : (rear ? o.rearExhaust : o.frontExhaust);
        };
        const double step = e.forward ? kExactEventAngleTolerance : -kExactEventAngleTolerance;
        for (const bool rear : {false, true}) {
            const EndEvents& x = e.End(rear);
            struct Event {
                const std::optional<double>& angle;
                bool steam, opens;
            } events[] = {{x.admissionAngle, true, true},
                          {x.cutOffAngle, true, false},
                          {x.releaseAngle, false, true},
                          {x.compressionAngle, false, false}};
            for (const Event& ev : events) {
                ASSERT_TRUE(ev.angle);
                EXPECT_EQ(opening(*ev.angle - step, rear, ev.steam) > 0, !ev.opens) << position << " " << *ev.angle;
                EXPECT_EQ(opening(*ev.angle + step, rear, ev.steam) > 0, ev.opens) << position << " " << *ev.angle;
            }
            // Lead: the steam opening with the crank on this end's dead centre.
            EXPECT_NEAR(x.lead, opening(rear ? 180 : 0, rear, true), 1e-13);
        }
    }
}

// The front cut-off at full forward, with one dimension of the default
// design changed as the editors change it.
double FrontCutOff(int id, float value) {
    auto g = test::StartedDesign();
    EXPECT_TRUE(CommitDimension(*g, id, value));
    const PositionEvents e = ComputeValveEvents(*g, NotchPositions(*g, SolveMode::Exact)[0]);
    EXPECT_TRUE(e.Closes() && e.front.cutOff);
    return e.front.cutOff.value_or(0);
}

// The ExLink Length is the slot's length: it moves nothing.
TEST(ExactEvents, TheSlotsLengthMovesNoEvent) {
    const double first = FrontCutOff(10, 2.995f);
    for (int i = 1; i <= 10; ++i) EXPECT_NEAR(FrontCutOff(10, 2.995f + 0.001f * static_cast<float>(i)), first, 1e-9) << i;
}

// A dimension that moves the events moves them smoothly: a quadratic
// through eleven cut-offs, 2^-13 apart in the forward eccentric rod, leaves
// residuals below 1e-8 points.
TEST(ExactEvents, CutOffIsSmoothInTheEccentricRod) {
    constexpr int kPoints = 11;
    const double h = std::ldexp(1.0, -13);
    std::array<double, kPoints> y{};
    for (int i = 0; i < kPoints; ++i) y[static_cast<std::size_t>(i)] = FrontCutOff(8, static_cast<float>(7.25 + i * h));
    // Least squares in x = i - 5 (orthogonal over the symmetric points).
    double s0 = 0, s1 = 0, s2 = 0, sx2 = 0, sx4 = 0;
    for (int i = 0; i < kPoints; ++i) {
        const double x = i - 5, v = y[static_cast<std::size_t>(i)];
        s0 += v, s1 += x * v, s2 += x * x * v, sx2 += x * x, sx4 += x * x * x * x;
    }
    const double n = kPoints;
    const double c = (s2 - sx2 / n * s0) / (sx4 - sx2 * sx2 / n);
    const double a = (s0 - c * sx2) / n, b = s1 / sx2;
    double worst = 0;
    for (int i = 0; i < kPoints; ++i) {
        const double x = i - 5;
        worst = std::max(worst, std::fabs(y[static_cast<std::size_t>(i)] - (a + b * x + c * x * x)));
    }
    EXPECT_LT(worst, 1e-8);
    EXPECT_GT(std::fabs(y[10] - y[0]), 1e-4); // it does move the cut-off
}

// The exact events differ from the classic ones by no more than the classic
// solve's quantisation.
TEST(ExactEvents, WithinTheClassicQuantisationOfTheClassicEvents) {
    for (const DesignCase& c : kDesigns) {
        const auto g = c.make();
        for (const float position : NotchPositions(*g)) {
            // Mid gear itself runs forward by the classic search's mid gear.
            const EventDirection d = RunsForward(*g, position, EventDirection::Auto) ? EventDirection::Forward
                                                                                     : EventDirection::Reverse;
            const PositionEvents exact = ComputeValveEvents(*g, position, d, SolveMode::Exact);
            const PositionEvents classic = ComputeValveEvents(*g, position, d, SolveMode::Classic);
            ASSERT_TRUE(exact.Closes() && classic.Closes());
            ASSERT_EQ(exact.forward, classic.forward);
            for (const bool rear : {false, true}) {
                const EndEvents& x = exact.End(rear);
                const EndEvents& y = classic.End(rear);
                for (const auto* set : {&kAngles, &kPercents}) {
                    for (const AngleOf m : *set) {
                        ASSERT_EQ(bool(x.*m), bool(y.*m)) << c.name;
                        if (!(x.*m)) continue;
                        double d = std::fabs(*(x.*m) - *(y.*m));
                        if (set == &kAngles) d = std::min(d, 360 - d);
                        EXPECT_LE(d, 0.03) << c.name << " at " << position;
                    }
                }
                for (const LengthOf m : kEndLengths) EXPECT_NEAR(x.*m, y.*m, 0.001) << c.name;
            }
            EXPECT_NEAR(exact.valveTravel, classic.valveTravel, 0.001) << c.name;
            EXPECT_NEAR(exact.dieSlip, classic.dieSlip, 0.001) << c.name;
        }
    }
}

// The same call gives the same bits, whatever the work state solved before.
TEST(ExactEvents, AFunctionOfTheDesignAndPositionOnly) {
    const auto g = test::StartedDesign();
    const auto notches = NotchPositions(*g, SolveMode::Exact);
    GearState work = *g;
    PositionEvents first, again;
    ComputeValveEvents(work, notches[0], EventDirection::Auto, first);
    ComputeValveEvents(work, notches[8], EventDirection::Auto, again);
    ComputeValveEvents(work, notches[0], EventDirection::Auto, again);
    EXPECT_EQ(first.front.cutOffAngle, again.front.cutOffAngle);
    EXPECT_EQ(first.rear.release, again.rear.release);
    EXPECT_EQ(first.dieSlip, again.dieSlip);
}

} // namespace
} // namespace vx
