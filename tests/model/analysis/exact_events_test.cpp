// The valve events on the exact solve: any size, smooth in every dimension,
// each event where its opening changes sign to 1e-9 degrees, and within the
// classic quantisation of the classic events.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <functional>
#include <memory>
#include <vector>

#include "base/fixed_format.h"
#include "model/analysis/valve_events.h"
#include "model/gear/exact_solver.h"
#include "model/gear/dimensions.h"
#include "model/gear/solver.h"
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
// Compares the events `b` of a design k times as large with `a`: angles
// and percentages within `tol` (plus the allowance for that figure), the
// lengths k times as large within `rel` of the design's size. A small lead
// is the difference of two lengths of the design's size.
// The figures in this order: each end's four angles and four percentages,
// then each end's three lengths, the travel and the die slip.
constexpr std::size_t kFigures = 24;
struct Allowance {
    std::array<double, kFigures> figure{};
};
void ExpectScaled(const PositionEvents& a, const PositionEvents& b, double k, double tol, double rel,
                  const Allowance& allow, const std::string& what) {
    ASSERT_TRUE(a.Closes() && b.Closes()) << what;
    EXPECT_EQ(a.forward, b.forward) << what;
    std::size_t lengths = 16;
    const auto length = [&](double x, double y, const char* name) {
        const double extra = allow.figure[lengths++];
        EXPECT_NEAR(y / k, x, rel * std::max(std::fabs(x), 1.0) + extra) << what << " " << name;
    };
    int n = 0;
    for (const bool rear : {false, true}) {
        const EndEvents& x = a.End(rear);
        const EndEvents& y = b.End(rear);
        for (const auto* set : {&kAngles, &kPercents}) {
            for (const AngleOf m : *set) {
                const double extra = allow.figure[static_cast<std::size_t>(n++)];
                ASSERT_EQ(bool(x.*m), bool(y.*m)) << what;
                if (!(x.*m)) continue;
                double d = std::fabs(*(x.*m) - *(y.*m));
                if (set == &kAngles) d = std::min(d, 360 - d);
                EXPECT_LE(d, tol + extra) << what << (rear ? " rear" : " front");
            }
        }
        for (const LengthOf m : kEndLengths) length(x.*m, y.*m, "opening");
        EXPECT_EQ(x.steamOpenings, y.steamOpenings) << what;
        EXPECT_EQ(x.exhaustOpenings, y.exhaustOpenings) << what;
    }
    length(a.valveTravel, b.valveTravel, "travel");
    length(a.dieSlip, b.dieSlip, "die slip");
}

std::array<double, kFigures> Figures(const PositionEvents& e) {
    std::array<double, kFigures> f{};
    std::size_t n = 0;
    for (const bool rear : {false, true})
        for (const auto* set : {&kAngles, &kPercents})
            for (const AngleOf m : *set) f[n++] = e.End(rear).*m ? *(e.End(rear).*m) : 0;
    for (const bool rear : {false, true})
        for (const LengthOf m : kEndLengths) f[n++] = e.End(rear).*m;
    f[n++] = e.valveTravel;
    f[n++] = e.dieSlip;
    return f;
}

// The default design's lengths times 13 or 25.4 are not floats: each is
// rounded, by up to half a unit in its last place, and the gear it gives is
// not exactly the default's. Each figure is allowed what those roundings
// move it, from its slope in each dimension (a step of 2^-20 of the
// dimension), with half as much again to spare.
std::array<Allowance, kNotchCount> RoundingAllowance(const GearState& one, double k) {
    const auto at = NotchPositions(one, SolveMode::Exact);
    std::array<PositionEvents, kNotchCount> base;
    ComputeValveEventsTable(one, at, EventDirection::Auto, base);
    std::array<Allowance, kNotchCount> out{};
    for (const DimensionInfo& d : AllDimensions()) {
        if (IsAngleDimension(d.id)) continue;
        GearState h = one;
        const double v = DimensionRef(h, d);
        const double rounded = static_cast<float>(v * k);
        const double error = rounded / k - v; // the rounding, at the default's size
        if (error == 0) continue;
        DimensionRef(h, d) = static_cast<float>(v * (1 + std::ldexp(1.0, -20)));
        const double step = DimensionRef(h, d) - v;
        if (step == 0) continue;
        PlaceFixedPivots(h, h);
        const auto moved = NotchPositions(h, SolveMode::Exact);
        for (int i = 0; i < kNotchCount; ++i) {
            const auto n = static_cast<std::size_t>(i);
            const auto f0 = Figures(base[n]);
            const auto f1 = Figures(ComputeValveEvents(h, moved[n]));
            for (std::size_t j = 0; j < f0.size(); ++j) {
                double df = std::fabs(f1[j] - f0[j]);
                df = std::min(df, std::fabs(360 - df));
                out[n].figure[j] += 1.5 * df / std::fabs(step) * std::fabs(error);
            }
        }
    }
    return out;
}

// Every length times k: the same events, the lengths k times as large, mid
// gear k times as far from the origin. Powers of two scale every float
// exactly. Of the other factors, the designs of our own are made to scale
// exactly too; the default's roundings are allowed for (RoundingAllowance).
TEST(ExactEvents, AnySizeGivesTheSameEvents) {
    struct Scale {
        double k;
        double tol, rel;
    } scales[] = {{1.0 / 16, 1e-9, 1e-12}, {16, 1e-9, 1e-12},     {64, 1e-9, 1e-12},  {1.0 / 20, 1e-4, 1e-6},
                  {13, 1e-4, 1e-6},        {127.0 / 5, 1e-4, 1e-6}, {100, 1e-4, 1e-6}};
    const DesignCase designs[] = {
        {"default", [] { return test::StartedDesign(); }},
        {"even 1", [] { return test::EvenDesign(1); }},
        {"even 2", [] { return test::EvenDesign(2); }},
    };
    for (const DesignCase& c : designs) {
        const bool rounds = std::string(c.name) == "default";
        const auto one = c.make();
        const auto notches = NotchPositions(*one, SolveMode::Exact);
        std::array<PositionEvents, kNotchCount> base;
        ComputeValveEventsTable(*one, notches, EventDirection::Auto, base);
        for (const Scale& s : scales) {
            const bool power = s.tol < 1e-6;
            const auto allow = rounds && !power ? RoundingAllowance(*one, s.k) : std::array<Allowance, kNotchCount>{};
            auto g = c.make();
            test::ScaleDesign(*g, s.k);
            const auto at = NotchPositions(*g, SolveMode::Exact);
            std::array<PositionEvents, kNotchCount> scaled;
            ComputeValveEventsTable(*g, at, EventDirection::Auto, scaled);
            // Lengths round by up to 2^-24 of themselves.
            const double rel = s.rel;
            for (int i = 0; i < kNotchCount; ++i) {
                const auto n = static_cast<std::size_t>(i);
                const std::string what = std::string(c.name) + " k " + std::to_string(s.k) + " notch " + std::to_string(i);
                EXPECT_NEAR(at[n] / s.k, notches[n], rel * std::fabs(notches[n])) << what;
                ExpectScaled(base[n], scaled[n], s.k, s.tol, rel, allow[n], what);
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

// The largest residual of a least-squares polynomial of `degree` through
// the values at x = 0, 1, ...
template <std::size_t N>
double FitResidual(const std::array<double, N>& y, int degree) {
    const int n = degree + 1;
    const double mid = (N - 1) / 2.0;
    std::array<std::array<double, 5>, 4> m{}; // the normal equations, augmented
    for (std::size_t i = 0; i < N; ++i) {
        const double x = static_cast<double>(i) - mid;
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c) m[r][c] += std::pow(x, r + c);
            m[r][n] += std::pow(x, r) * y[i];
        }
    }
    for (int r = 0; r < n; ++r)
        for (int k = r + 1; k < n; ++k) {
            const double f = m[k][r] / m[r][r];
            for (int c = r; c <= n; ++c) m[k][c] -= f * m[r][c];
        }
    std::array<double, 4> coef{};
    for (int r = n - 1; r >= 0; --r) {
        double v = m[r][n];
        for (int c = r + 1; c < n; ++c) v -= m[r][c] * coef[c];
        coef[r] = v / m[r][r];
    }
    double worst = 0;
    for (std::size_t i = 0; i < N; ++i) {
        const double x = static_cast<double>(i) - mid;
        double p = 0;
        for (int r = 0; r < n; ++r) p += coef[r] * std::pow(x, r);
        worst = std::max(worst, std::fabs(y[i] - p));
    }
    return worst;
}

// A dimension that moves the events moves them smoothly: eleven cut-offs,
// 2^-13 apart in the forward eccentric rod (each length a float), lie on a
// smooth curve. Its third differences are about 8e-9 points, so a
// quadratic leaves residuals of about 5e-8; a cubic leaves what the solve's
// digits leave. A staircase of the classic solve's steps would leave 0.01.
TEST(ExactEvents, CutOffIsSmoothInTheEccentricRod) {
    constexpr std::size_t kPoints = 11;
    const double h = std::ldexp(1.0, -13);
    std::array<double, kPoints> y{};
    for (std::size_t i = 0; i < kPoints; ++i) y[i] = FrontCutOff(8, static_cast<float>(7.25 + static_cast<double>(i) * h));
    const double quadratic = FitResidual(y, 2), cubic = FitResidual(y, 3);
    std::cout << "cut-off in the eccentric rod: residuals " << ShortestString(static_cast<float>(quadratic))
              << " of a quadratic, " << ShortestString(static_cast<float>(cubic)) << " of a cubic\n";
    EXPECT_LT(quadratic, 1e-7);
    EXPECT_LT(cubic, 1e-9);
    EXPECT_GT(std::fabs(y[10] - y[0]), 0.1); // it does move the cut-off
}

// The opening of a port and the piston's percentage on the exact solve,
// and how fast each changes with the crank angle (per degree).
struct Motion {
    double opening, openingRate, percentRate;
};
Motion MotionAt(const GearState& g, double position, double angle, bool rear, bool steam) {
    const auto at = [&](double a) {
        a = std::fmod(a + 360.0, 360.0);
        ExactPivots p;
        SolveExact(g, a, position, p);
        const ExactPorts o = ExactPortOpenings(g, a, p.valveOffset);
        const double open = steam ? (rear ? o.rearSteam : o.frontSteam) : (rear ? o.rearExhaust : o.frontExhaust);
        return std::pair{open, o.piston / 6.4};
    };
    constexpr double h = 1e-3;
    const auto [o0, p0] = at(angle - h);
    const auto [o1, p1] = at(angle + h);
    return {at(angle).first, std::fabs(o1 - o0) / (2 * h), std::fabs(p1 - p0) / (2 * h)};
}

// The exact events differ from the classic ones by no more than the classic
// solve's quantisation. Its searches leave every pivot up to about 4e-4 from
// where the linkage closes (ExactSolver.SameBranchAsTheClassicSearches...),
// and so the valve: an event moves by that over the valve's speed. That is
// within 0.03 degrees and points wherever the valve moves briskly at the
// event; near mid gear, where it creeps, the classic events stray further.
TEST(ExactEvents, WithinTheClassicQuantisationOfTheClassicEvents) {
    constexpr double kValveQuantum = 5e-4;
    int events = 0, beyond = 0;
    double worstAngle = 0;
    for (const DesignCase& c : kDesigns) {
        const auto g = c.make();
        for (const float position : NotchPositions(*g)) {
            // Mid gear itself runs forward by the classic search's mid gear.
            const EventDirection d = RunsForward(*g, position, EventDirection::Auto) ? EventDirection::Forward
                                                                                     : EventDirection::Reverse;
            const PositionEvents exact = ComputeValveEvents(*g, position, d, SolveMode::Exact);
            const PositionEvents classic = ComputeValveEvents(*g, position, d, SolveMode::Classic);
            ASSERT_TRUE(exact.Closes() && classic.Closes());
            for (const bool rear : {false, true}) {
                const EndEvents& x = exact.End(rear);
                const EndEvents& y = classic.End(rear);
                for (int k = 0; k < 4; ++k) {
                    const AngleOf angle = kAngles[k], percent = kPercents[k];
                    ASSERT_EQ(bool(x.*angle), bool(y.*angle)) << c.name;
                    if (!(x.*angle)) continue;
                    const Motion m = MotionAt(*g, position, *(x.*angle), rear, k < 2);
                    const double allowed = std::max(0.03, kValveQuantum / m.openingRate);
                    double da = std::fabs(*(x.*angle) - *(y.*angle));
                    da = std::min(da, 360 - da);
                    const double dp = std::fabs(*(x.*percent) - *(y.*percent));
                    EXPECT_LE(da, allowed) << c.name << " at " << position;
                    EXPECT_LE(dp, std::max(0.03, m.percentRate * allowed)) << c.name << " at " << position;
                    ++events;
                    if (da > 0.03 || dp > 0.03) ++beyond;
                    worstAngle = std::max(worstAngle, da);
                }
                for (const LengthOf m : kEndLengths) EXPECT_NEAR(x.*m, y.*m, kValveQuantum) << c.name;
            }
            EXPECT_NEAR(exact.valveTravel, classic.valveTravel, 2 * kValveQuantum) << c.name;
            EXPECT_NEAR(exact.dieSlip, classic.dieSlip, 2 * kValveQuantum) << c.name;
        }
    }
    std::cout << "exact against classic: " << events << " events, " << beyond << " beyond 0.03 (near mid gear), largest "
              << ShortestString(static_cast<float>(worstAngle)) << " degrees\n";
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
