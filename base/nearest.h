// The safe rounding of reals to pixels and other integers.
#pragma once

#include <cstdint>

namespace vx {

// Pixels beyond this distance from the origin are clamped to it, so that
// sums and differences of pixel coordinates can never overflow an int.
constexpr std::int32_t kPixelLimit = 1 << 28;

// The integer nearest to v, half-way cases to the even integer. Defined for
// every input: NaN gives 0, values beyond +-kPixelLimit (infinities
// included) give +-kPixelLimit.
std::int32_t Nearest(double v);

} // namespace vx
