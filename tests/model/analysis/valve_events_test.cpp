// Exact valve events: each event where the opening really changes sign,
// ports that never open or open twice, both running directions, designs that
// do not close, and many threads on their own copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "model/gear/dimensions.h"
#include "model/gear/geometry_check.h"
#include "model/workspace/motion.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/analysis/valve_events.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

// The linkage at one angle, solved until the rocker has settled.
PortOpenings SettledAt(GearState g, float position, double angle) {
    g.motion.reverseArmPosition = position;
    g.motion.driverAngle = static_cast<float>(angle);
    for (int i = 0; i < 40; ++i) SolveLinkage(g);
    ComputePortOpenings(g);
    return g.ports;
}

float SteamOpening(const PortOpenings& p, bool rear) { return rear ? p.rearSteamOpening : p.frontSteamOpening; }
float ExhaustOpening(const PortOpenings& p, bool rear) { return rear ? p.rearExhaustOpening : p.frontExhaustOpening; }

// The event at `angle` is where the opening goes from `before` to `after`
// open in the running direction, within the angle tolerance.
void ExpectCrossing(const GearState& g, const PositionEvents& e, bool rear, bool steam, float angle, bool opens) {
    const double step = e.forward ? kEventAngleTolerance : -kEventAngleTolerance;
    const auto open = [&](double a) {
        const PortOpenings p = SettledAt(g, e.position, std::fmod(a + 360.0, 360.0));
        return (steam ? SteamOpening(p, rear) : ExhaustOpening(p, rear)) > 0;
    };
    EXPECT_EQ(open(angle - step), !opens) << (rear ? "rear " : "front ") << (steam ? "steam " : "exhaust ") << angle;
    EXPECT_EQ(open(angle + step), opens) << (rear ? "rear " : "front ") << (steam ? "steam " : "exhaust ") << angle;
}

void ExpectAllCrossingsExact(const GearState& g, const PositionEvents& e) {
    for (const bool rear : {false, true}) {
        const EndEvents& end = e.End(rear);
        ASSERT_TRUE(end.admissionAngle && end.cutOffAngle && end.releaseAngle && end.compressionAngle);
        ExpectCrossing(g, e, rear, true, *end.admissionAngle, true);
        ExpectCrossing(g, e, rear, true, *end.cutOffAngle, false);
        ExpectCrossing(g, e, rear, false, *end.releaseAngle, true);
        ExpectCrossing(g, e, rear, false, *end.compressionAngle, false);
        // The percentages are the piston's place at those angles.
        const auto percent = [&](float angle) {
            const float piston = SettledAt(g, e.position, angle).pistonPosition;
            return rear ? (640.0 - piston) / 6.4 : piston / 6.4;
        };
        EXPECT_NEAR(*end.cutOff, percent(*end.cutOffAngle), 0.01);
        EXPECT_NEAR(*end.release, percent(*end.releaseAngle), 0.01);
        EXPECT_NEAR(*end.compression, percent(*end.compressionAngle), 0.01);
        EXPECT_NEAR(*end.admission, percent(*end.admissionAngle), 0.01);
        EXPECT_EQ(end.steamOpenings, 1);
        EXPECT_EQ(end.exhaustOpenings, 1);
    }
}

TEST_F(StartedGear, EveryNotchsEventsLieWhereTheOpeningsChangeSign) {
    const auto notches = NotchPositions(g);
    for (int i = 0; i < kNotchCount; i += 2) {
        SCOPED_TRACE(i);
        const PositionEvents e = ComputeValveEvents(g, notches[static_cast<std::size_t>(i)], EventDirection::Auto, SolveMode::Classic);
        EXPECT_TRUE(e.Closes());
        EXPECT_EQ(e.forward, i <= 4); // mid gear (notch 5) runs forward, as in the window
        ExpectAllCrossingsExact(g, e);
    }
}

TEST_F(StartedGear, FullForwardGearOfTheDefaultDesign) {
    const PositionEvents e = ComputeValveEvents(g, NotchPositions(g)[0], EventDirection::Auto, SolveMode::Classic);
    ASSERT_TRUE(e.front.cutOff && e.rear.cutOff && e.front.compression);
    EXPECT_NEAR(*e.front.cutOff, 69.1, 0.05);
    EXPECT_NEAR(*e.rear.cutOff, 69.2, 0.05);
    EXPECT_NEAR(*e.front.compression, 8.7, 0.05);
    // Lead: the steam opening with the crank on each end's dead centre.
    EXPECT_NEAR(e.front.lead, SettledAt(g, e.position, 0).frontSteamOpening, 1e-5);
    EXPECT_NEAR(e.rear.lead, SettledAt(g, e.position, 180).rearSteamOpening, 1e-5);
}

TEST_F(StartedGear, NotchesRunFromFullForwardToFullReverseWithinMax) {
    const auto p = NotchPositions(g);
    const float norm = g.frame.revArmToCentNorm;
    EXPECT_FLOAT_EQ(p[0], g.revArm.centre - norm);
    EXPECT_FLOAT_EQ(p[4], g.revArm.centre);
    EXPECT_FLOAT_EQ(p[8], g.revArm.centre + norm);
    for (int i = 1; i < kNotchCount; ++i) EXPECT_LT(p[static_cast<std::size_t>(i - 1)], p[static_cast<std::size_t>(i)]);

    g.frame.revArmToCentMax = norm / 2; // a Max below Norm holds the outer notches
    const auto q = NotchPositions(g);
    EXPECT_FLOAT_EQ(q[0], g.revArm.centre - norm / 2);
    EXPECT_FLOAT_EQ(q[1], g.revArm.centre - norm / 2);
    EXPECT_FLOAT_EQ(q[8], g.revArm.centre + norm / 2);
}

// Largest openings, travel and die slip against a fine scan of the turn.
TEST_F(StartedGear, ExtremaAgreeWithAFineScan) {
    const float position = NotchPositions(g)[1];
    const PositionEvents e = ComputeValveEvents(g, position, EventDirection::Auto, SolveMode::Classic);
    GearState w = g;
    w.motion.reverseArmPosition = position;
    double vMax = -1e9, vMin = 1e9, fs = -1e9, rs = -1e9, fe = -1e9, re = -1e9, sMax = -1e9, sMin = 1e9;
    for (int k = 0; k < 7200; ++k) {
        w.motion.driverAngle = static_cast<float>(k * 0.05);
        for (int i = 0; i < 3; ++i) SolveLinkage(w);
        ComputePortOpenings(w);
        vMax = std::max<double>(vMax, w.events.valveOffset);
        vMin = std::min<double>(vMin, w.events.valveOffset);
        fs = std::max<double>(fs, w.ports.frontSteamOpening);
        rs = std::max<double>(rs, w.ports.rearSteamOpening);
        fe = std::max<double>(fe, w.ports.frontExhaustOpening);
        re = std::max<double>(re, w.ports.rearExhaustOpening);
        const double a = w.linkAngle;
        const double s = (w.piv.x[8] - w.piv.x[9]) * std::sin(a) + (w.piv.y[8] - w.piv.y[9]) * std::cos(a);
        sMax = std::max(sMax, s);
        sMin = std::min(sMin, s);
    }
    // A 0.05 degree scan sits within 1e-7 of the true extremes.
    constexpr double kTol = 1e-4;
    EXPECT_NEAR(e.valveTravel, vMax - vMin, kTol);
    EXPECT_NEAR(e.dieSlip, sMax - sMin, kTol);
    EXPECT_NEAR(e.front.maxSteamOpening, fs, kTol);
    EXPECT_NEAR(e.rear.maxSteamOpening, rs, kTol);
    EXPECT_NEAR(e.front.maxExhaustOpening, fe, kTol);
    EXPECT_NEAR(e.rear.maxExhaustOpening, re, kTol);
}

TEST_F(StartedGear, ReverseRunningSwapsOpeningAndClosing) {
    const float position = NotchPositions(g)[2];
    const PositionEvents fwd = ComputeValveEvents(g, position, EventDirection::Forward, SolveMode::Classic);
    const PositionEvents rev = ComputeValveEvents(g, position, EventDirection::Reverse, SolveMode::Classic);
    EXPECT_TRUE(fwd.forward);
    EXPECT_FALSE(rev.forward);
    for (const bool rear : {false, true}) {
        const EndEvents& f = fwd.End(rear);
        const EndEvents& r = rev.End(rear);
        EXPECT_NEAR(*r.admissionAngle, *f.cutOffAngle, 2 * kEventAngleTolerance);
        EXPECT_NEAR(*r.cutOffAngle, *f.admissionAngle, 2 * kEventAngleTolerance);
        EXPECT_NEAR(*r.releaseAngle, *f.compressionAngle, 2 * kEventAngleTolerance);
        EXPECT_NEAR(*r.compressionAngle, *f.releaseAngle, 2 * kEventAngleTolerance);
        EXPECT_NEAR(*r.cutOff, *f.admission, 0.01);
        EXPECT_FLOAT_EQ(r.lead, f.lead);
    }
    ExpectAllCrossingsExact(g, rev);
    // Auto runs the way the window runs the gear set by the reverse arm bar:
    // forward up to and at mid gear, in reverse above it.
    for (const int bar : {100, 0, -100}) {
        GearState m = g;
        ApplyRevArmBar(m, bar);
        EXPECT_EQ(RunsForward(g, m.motion.reverseArmPosition, EventDirection::Auto),
                  m.motion.direction == Direction::Fwd)
            << "bar " << bar;
    }
    EXPECT_TRUE(RunsForward(g, g.revArm.centre, EventDirection::Auto));
    EXPECT_TRUE(ComputeValveEvents(g, g.revArm.centre, EventDirection::Auto, SolveMode::Classic).forward);
    EXPECT_FALSE(RunsForward(g, g.revArm.centre + 0.1f, EventDirection::Auto));
}

// A lap wider than the valve's travel: that port never opens to steam.
TEST_F(StartedGear, APortThatNeverOpensHasNoEvents) {
    const float openBefore = ComputeValveEvents(g, NotchPositions(g)[0], EventDirection::Auto, SolveMode::Classic).front.maxSteamOpening;
    g.cyl.valveFrontHalf() += 1.0f;
    g.cyl.cavityRearHalf() += 1.0f; // and the rear exhaust never closes
    const PositionEvents e = ComputeValveEvents(g, NotchPositions(g)[0], EventDirection::Auto, SolveMode::Classic);
    EXPECT_FALSE(e.front.admissionAngle || e.front.cutOffAngle || e.front.admission || e.front.cutOff);
    EXPECT_EQ(e.front.steamOpenings, 0);
    // The valve moves as before; the wider lap takes 1 off every opening.
    EXPECT_NEAR(e.front.maxSteamOpening, openBefore - 1.0, 1e-5);
    EXPECT_FALSE(e.rear.releaseAngle || e.rear.compressionAngle || e.rear.release || e.rear.compression);
    EXPECT_EQ(e.rear.exhaustOpenings, 0);
    // The other events are still there.
    EXPECT_TRUE(e.front.releaseAngle && e.rear.cutOffAngle);
    EXPECT_EQ(e.rear.steamOpenings, 1);
}

// A front lap that leaves the front port open to steam for about 3
// degrees in reverse gear, between two of the turn's samples, and less
// than 0.001 wide: still found, where the opening changes sign.
TEST_F(StartedGear, AnOpeningBetweenTwoSamplesIsFound) {
    g.cyl.valveFrontHalf() = 0.94166f;
    const float position = static_cast<float>(static_cast<double>(g.revArm.centre) + 1.0);
    const PositionEvents e = ComputeValveEvents(g, position, EventDirection::Auto, SolveMode::Classic);
    ASSERT_FALSE(e.forward);
    // The largest opening as a sweep of the settled linkage finds it, every
    // 0.01 degree across the four degrees around the opening.
    double widest = -1;
    for (int k = 0; k <= 400; ++k)
        widest = std::max(widest, static_cast<double>(SettledAt(g, position, 288.0 + k * 0.01).frontSteamOpening));
    EXPECT_GT(widest, 0);
    EXPECT_LT(widest, 0.001);
    EXPECT_NEAR(e.front.maxSteamOpening, widest, 1e-6);
    EXPECT_EQ(e.front.steamOpenings, 1);
    ASSERT_TRUE(e.front.admissionAngle && e.front.cutOffAngle && e.front.admission && e.front.cutOff);
    // Running in reverse the port opens at the larger angle.
    EXPECT_GT(*e.front.admissionAngle, *e.front.cutOffAngle);
    EXPECT_LT(*e.front.admissionAngle - *e.front.cutOffAngle, 4);
    ExpectCrossing(g, e, false, true, *e.front.admissionAngle, true);
    ExpectCrossing(g, e, false, true, *e.front.cutOffAngle, false);
    EXPECT_NEAR(*e.front.cutOff, SettledAt(g, position, *e.front.cutOffAngle).pistonPosition / 6.4, 0.01);
}

// With the forward eccentric at 225 degrees the mid-gear valve dips twice
// towards the rear in a turn; a front lap of 0.003 lets the front port
// open at both dips, the longer one at about 305 degrees.
TEST_F(StartedGear, APortThatOpensTwiceGivesTheLongerOpening) {
    ASSERT_TRUE(CommitDimension(g, 6, 225));
    const double e = g.cyl.exhaustPortWidth() / 2.0;
    g.cyl.valveFrontHalf() =
        static_cast<float>(e + g.cyl.bridgeFront() + g.cyl.steamPortFront() + 0.003);
    const PositionEvents ev = ComputeValveEvents(g, g.revArm.centre, EventDirection::Forward, SolveMode::Classic);
    EXPECT_EQ(ev.front.steamOpenings, 2);
    ASSERT_TRUE(ev.front.admissionAngle && ev.front.cutOffAngle);
    const auto from = [&](double a) { return std::fmod(a - *ev.front.admissionAngle + 720.0, 360.0); };
    EXPECT_GT(from(*ev.front.cutOffAngle), 60);
    EXPECT_LT(from(305), from(*ev.front.cutOffAngle));
    ExpectCrossing(g, ev, false, true, *ev.front.admissionAngle, true);
    ExpectCrossing(g, ev, false, true, *ev.front.cutOffAngle, false);
}

// A fault met solving the linkage or finding the piston and the ports:
// the events count it as the turn check counts it.
TEST_F(StartedGear, ADesignThatDoesNotCloseReportsItsErrors) {
    struct Case {
        const char* what;
        void (*spoil)(GearState&);
        GeometryCause cause;      // the events' first cause
        GeometryCause checkCause; // the check's: a length at or below zero is named before any solve
    };
    const Case cases[] = {
        {"main rod too short", [](GearState& d) { d.frame.mainRodLength = d.frame.stroke / 4; },
         GeometryCause::MainRod, GeometryCause::MainRod},
        // Half the stroke (1.5) less a hair: the rod fails only within a
        // degree of 90 and 270, between the turn's samples.
        {"main rod a hair short", [](GearState& d) { d.frame.mainRodLength = 1.49995f; }, GeometryCause::MainRod,
         GeometryCause::MainRod},
        {"stroke 0", [](GearState& d) { d.frame.stroke = 0; }, GeometryCause::StrokeZero, GeometryCause::BadLength},
        {"stroke not a number", [](GearState& d) { d.frame.stroke = std::numeric_limits<float>::quiet_NaN(); },
         GeometryCause::NotFinite, GeometryCause::BadLength},
        {"stroke infinite", [](GearState& d) { d.frame.stroke = std::numeric_limits<float>::infinity(); },
         GeometryCause::NotFinite, GeometryCause::NotFinite},
    };
    for (const Case& c : cases) {
        GearState d = g;
        c.spoil(d);
        const bool beepBefore = d.errorBeepOn;
        const float position = NotchPositions(d)[0];
        const TurnCheck check = CheckTurn(d, position); // 1 degree steps, as the check and the report run it
        EXPECT_EQ(check.firstCause, c.checkCause) << c.what;
        const PositionEvents e = ComputeValveEvents(d, position, EventDirection::Auto, SolveMode::Classic);
        EXPECT_FALSE(e.Closes()) << c.what;
        EXPECT_GT(e.failedSolves, 0) << c.what;
        EXPECT_EQ(e.firstCause, c.cause) << c.what;
        EXPECT_FALSE(d.geometryError) << c.what; // the caller's state is never touched
        EXPECT_EQ(d.errorBeepOn, beepBefore) << c.what;
    }
}

// Whatever the numbers, the search ends and reports no made-up events.
TEST_F(StartedGear, HostileDimensionsEndWithoutEvents) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float v : {nan, inf, -inf, 1e30f, 0.0f}) {
        for (const int id : {2, 8, 22, 117, 122}) {
            GearState h = g;
            DimensionRef(h, *FindDimension(id)) = v;
            const PositionEvents e = ComputeValveEvents(h, NotchPositions(g)[0], EventDirection::Auto, SolveMode::Classic);
            for (const bool rear : {false, true}) {
                const EndEvents& end = e.End(rear);
                for (const auto& x : {end.admissionAngle, end.cutOffAngle, end.releaseAngle, end.compressionAngle}) {
                    if (x) {
                        EXPECT_TRUE(std::isfinite(*x));
                        EXPECT_GE(*x, 0);
                        EXPECT_LT(*x, 360);
                    }
                }
                // A percentage is a number or left empty, never "nan".
                for (const auto& x : {end.admission, end.cutOff, end.release, end.compression}) {
                    if (x) EXPECT_TRUE(std::isfinite(*x)) << v << " in dimension " << id;
                }
            }
        }
    }
    const PositionEvents e = ComputeValveEvents(g, nan, EventDirection::Auto, SolveMode::Classic);
    EXPECT_FALSE(e.front.cutOffAngle);
}

// Several threads, each on its own copy, give what one thread gives.
TEST_F(StartedGear, ThreadsOnTheirOwnCopiesAgreeBitForBit) {
    const auto notches = NotchPositions(g);
    std::array<PositionEvents, kNotchCount> alone;
    ComputeValveEventsTable(g, notches, EventDirection::Auto, alone, SolveMode::Classic);

    std::array<std::array<PositionEvents, kNotchCount>, 3> par;
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < par.size(); ++t) {
        threads.emplace_back([&, t] {
            GearState work = g;
            // Each thread walks the notches in its own order.
            for (int k = 0; k < kNotchCount; ++k) {
                const std::size_t i = (static_cast<std::size_t>(k) + 3 * t) % kNotchCount;
                ComputeValveEvents(work, notches[i], EventDirection::Auto, par[t][i], SolveMode::Classic);
            }
        });
    }
    for (auto& th : threads) th.join();
    for (const auto& run : par) {
        for (std::size_t i = 0; i < kNotchCount; ++i) {
            EXPECT_EQ(run[i].front.cutOffAngle, alone[i].front.cutOffAngle);
            EXPECT_EQ(run[i].rear.releaseAngle, alone[i].rear.releaseAngle);
            EXPECT_EQ(run[i].front.lead, alone[i].front.lead);
            EXPECT_EQ(run[i].dieSlip, alone[i].dieSlip);
        }
    }
}

} // namespace
} // namespace vx
