// Why the linkage could not close: the step of the solve that failed first,
// kept with the driver angle, so the error indicator and vexlin-cli check can
// say it in plain words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vx {

enum class GeometryCause : std::uint8_t {
    None = 0,
    MainRod,          // the main rod cannot reach the crosshead's line
    ReverseArm,       // the reverse arm cannot reach its set position
    LinkLiftSearch,   // the expansion link's height search did not settle
    RadiusRodSearch,  // the radius rod's height search (or the rod) did not close
    EccentricRod,     // an eccentric rod cannot reach the expansion link
    Guard,            // a near-zero divisor was guarded (where no part is named)
    MidGearSearch,    // the mid-gear search did not settle
    // A near-zero divisor guarded, by the part that stands in a dead position:
    ReverseArmLevel,   // the reverse arm level with the lift shaft
    EccentricRodsDead, // the forward rod's link end straight over the reverse eccentric
    LinkLevel,         // the expansion link's two rod ends at one height
    RadiusRodUpright,  // the radius rod standing straight up
    RockerLowerLevel,  // the rocker's lower arm level with its pivot
    RockerUpperLevel,  // the rocker's upper arm level with its pivot
    FwdRodNoLength,    // the forward eccentric rod of length 0
    RevRodNoLength,    // the reverse eccentric rod of length 0
    StrokeZero,        // a stroke of 0
    NotFinite,         // a figure of the solved gear is not a finite number
    BadLength,         // a length the gear needs is zero, negative or not a number
    // Not a fault: the classic searches do not reach the design's linkage
    // (it is larger than they reach), so the displays show the exact solve.
    SolvedExactly,
};

// Whether the cause is a guarded divisor (Guard or a named part).
inline bool IsGuardCause(GeometryCause cause) {
    return cause == GeometryCause::Guard ||
           (cause >= GeometryCause::ReverseArmLevel && cause <= GeometryCause::StrokeZero);
}

// A short machine-readable name ("main-rod", "reverse-arm", ...).
std::string_view GeometryCauseName(GeometryCause cause);

// The cause in plain words with the driver angle, e.g. "The main rod cannot
// reach the crosshead at 212.0°", written into buf (always terminated, cut to
// fit). Returns the length written. Allocates nothing.
std::size_t FormatGeometryCause(GeometryCause cause, float driverAngle, char* buf, std::size_t size);

} // namespace vx
