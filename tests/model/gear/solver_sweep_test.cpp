// The solver's results, bit for bit, over a fine sweep of the default
// design in forward, mid and reverse gear. The hashes were taken from the
// solver before it was made faster; any change to a single output bit of a
// single solve changes them.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <random>

#include "model/workspace/defaults.h"
#include "model/gear/ports.h"
#include "model/gear/dimensions.h"
#include "model/gear/solver.h"
#include "tests/kit/plain_solver.h"

namespace vx {
namespace {

// FNV-1a, 64 bits.
struct Hash {
    std::uint64_t h = 14695981039346656037ull;
    void Add(const void* data, std::size_t n) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < n; ++i) {
            h ^= p[i];
            h *= 1099511628211ull;
        }
    }
    void Add(float v) { Add(&v, sizeof v); }
};

// Every output of a solve and of the port openings after it, at driver
// angles 0, 0.01, ..., 360 with the reverse arm at mid gear + offset
// (in units of the normal travel).
std::uint64_t SweepHash(int normUnits) {
    GearState g;
    StartUp(g);
    g.motion.reverseArmPosition =
        static_cast<float>(static_cast<double>(g.revArm.centre) + normUnits * static_cast<double>(g.frame.revArmToCentNorm));
    Hash h;
    for (int k = 0; k <= 36000; ++k) {
        g.motion.driverAngle = static_cast<float>(k * 0.01);
        g.geometryError = false;
        const bool done = SolveLinkage(g);
        ComputePortOpenings(g);
        for (int p = 0; p < kPivotCount; ++p) {
            h.Add(g.piv.x[static_cast<std::size_t>(p)]);
            h.Add(g.piv.y[static_cast<std::size_t>(p)]);
        }
        h.Add(g.linkAngle);
        const EventValues& e = g.events;
        for (float v : {e.frontSteamOpenLevel, e.frontSteamMaxLevel, e.frontExhaustOpenLevel, e.rearSteamOpenLevel,
                        e.rearSteamMaxLevel, e.rearExhaustOpenLevel, e.valveOffset, e.upperLeadTerm, e.lowerLeadTerm,
                        e.frontLap, e.rearLap, e.frontExhaustClearance, e.rearExhaustClearance})
            h.Add(v);
        for (float v : {g.ports.pistonPosition, g.ports.frontSteamOpening, g.ports.frontExhaustOpening,
                        g.ports.rearSteamOpening, g.ports.rearExhaustOpening})
            h.Add(v);
        const unsigned char flags[2] = {static_cast<unsigned char>(done), static_cast<unsigned char>(g.geometryError)};
        h.Add(flags, sizeof flags);
    }
    return h.h;
}

struct SweepCase {
    int normUnits;
    std::uint64_t hash;
};

class SolverSweep : public ::testing::TestWithParam<SweepCase> {};

TEST_P(SolverSweep, SameBitsAsBefore) {
    EXPECT_EQ(SweepHash(GetParam().normUnits), GetParam().hash) << std::hex << SweepHash(GetParam().normUnits);
}

INSTANTIATE_TEST_SUITE_P(Gears, SolverSweep,
                         ::testing::Values(SweepCase{-1, 0x19d1e2a49eab75a8ull}, // full forward
                                           SweepCase{0, 0xee39733a6f45cc0bull},  // mid gear
                                           SweepCase{1, 0x6565e27b135013beull})); // full reverse

// Bit for bit, flag for flag and cause for cause, the classic solver equals
// the straightforward solve on distorted designs, where the guards fire, the
// cosine is clamped at every search step and searches run out of passes.
// (The window's solve takes the exact one where the classic searches miss:
// exact_solver_test.cpp.)
// The solver keeps results from one solve to the next, so each design is
// solved several times in a row, at nearby and far-apart angles.
TEST(SolverSpeedUp, SameAsStraightforwardSolveOnDistortedDesigns) {
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<float> scale(0.3f, 1.7f), unit(0.0f, 1.0f), angle(0.0f, 360.0f);
    std::uniform_real_distribution<float> stretch(5.0f, 30.0f);
    std::bernoulli_distribution distort(0.35), coin(0.5), far(0.03), zero(0.01);
    const auto dims = AllDimensions();
    int eccentricRod = 0, guards = 0, failedSearches = 0, clean = 0;

    for (int design = 0; design < 300; ++design) {
        GearState fast;
        StartUp(fast);
        for (const DimensionInfo& d : dims) {
            if (distort(rng)) DimensionRef(fast, d) *= scale(rng);
            if (far(rng)) DimensionRef(fast, d) *= stretch(rng);
            if (zero(rng)) DimensionRef(fast, d) = 0;
        }
        fast.errorBeepOn = coin(rng);
        const float span = fast.frame.revArmToCentMax * 1.5f;
        for (int solve = 0; solve < 12; ++solve) {
            if (solve % 4 == 0) fast.motion.reverseArmPosition = fast.revArm.centre + span * (2 * unit(rng) - 1);
            fast.motion.driverAngle = solve % 3 == 2 ? fast.motion.driverAngle + 0.01f : angle(rng);
            if (coin(rng)) fast.geometryError = false;
            GearState plain = fast;
            const bool fastDone = SolveLinkageClassic(fast);
            const bool plainDone = test::PlainSolveLinkage(plain);

            SCOPED_TRACE(::testing::Message() << "design " << design << " solve " << solve);
            ASSERT_EQ(fastDone, plainDone);
            ASSERT_EQ(0, std::memcmp(fast.piv.x.data(), plain.piv.x.data(), sizeof fast.piv.x));
            ASSERT_EQ(0, std::memcmp(fast.piv.y.data(), plain.piv.y.data(), sizeof fast.piv.y));
            ASSERT_EQ(std::bit_cast<std::uint32_t>(fast.linkAngle), std::bit_cast<std::uint32_t>(plain.linkAngle));
            if (fastDone) {
                ASSERT_EQ(0, std::memcmp(&fast.events, &plain.events, sizeof fast.events));
            }
            ASSERT_EQ(fast.geometryError, plain.geometryError);
            ASSERT_EQ(fast.solveCause, plain.solveCause);
            ASSERT_EQ(fast.errorCause, plain.errorCause);
            ASSERT_EQ(std::bit_cast<std::uint32_t>(fast.solveCauseAngle),
                      std::bit_cast<std::uint32_t>(plain.solveCauseAngle));
            ASSERT_EQ(std::bit_cast<std::uint32_t>(fast.errorCauseAngle),
                      std::bit_cast<std::uint32_t>(plain.errorCauseAngle));
            eccentricRod += fast.solveCause == GeometryCause::EccentricRod;
            guards += IsGuardCause(fast.solveCause);
            failedSearches += !fastDone;
            clean += fast.solveCause == GeometryCause::None;
        }
    }
    // The designs reach the paths that matter.
    EXPECT_GT(eccentricRod, 0);
    EXPECT_GT(guards, 0);
    EXPECT_GT(failedSearches, 0);
    EXPECT_GT(clean, 0);
}

} // namespace
} // namespace vx
