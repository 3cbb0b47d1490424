// World-to-screen conversion and the safe rounding of reals to pixels.
#pragma once

#include <cstdint>

#include "model/gear_state.h"

namespace vx {

// Pixels beyond this distance from the origin are clamped to it, so that
// sums and differences of pixel coordinates can never overflow an int.
constexpr std::int32_t kPixelLimit = 1 << 28;

// The integer nearest to v, half-way cases to the even integer. Defined for
// every input: NaN gives 0, values beyond +-kPixelLimit (infinities
// included) give +-kPixelLimit.
std::int32_t Nearest(double v);

inline ScreenPoint WorldToScreen(const ViewTransform& v, double x, double y) {
    return {Nearest(x * static_cast<double>(v.zoom) + static_cast<double>(v.panHorz)),
            Nearest(-y * static_cast<double>(v.zoom) + static_cast<double>(v.panVert))};
}

struct WorldPoint {
    float x = 0;
    float y = 0;
};
WorldPoint ScreenToWorld(const ViewTransform& v, double sx, double sy);

// Screen points of pivots 0..29, then screen x of pivot 18 once more from
// reverseArmPosition.
void ComputePivotScreenPoints(GearState& g);

} // namespace vx
