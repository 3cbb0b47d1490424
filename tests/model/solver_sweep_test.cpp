// The solver's results, bit for bit, over a fine sweep of the default
// design in forward, mid and reverse gear. The hashes were taken from the
// solver before it was made faster; any change to a single output bit of a
// single solve changes them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "model/defaults.h"
#include "model/ports.h"
#include "model/solver.h"

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

} // namespace
} // namespace vx
