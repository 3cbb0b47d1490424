#include "base/nearest.h"

#include <cmath>

namespace vx {

std::int32_t Nearest(double v) {
    if (std::isnan(v)) return 0;
    if (v >= kPixelLimit) return kPixelLimit;
    if (v <= -kPixelLimit) return -kPixelLimit;
    return static_cast<std::int32_t>(std::nearbyint(v)); // current mode: to nearest, ties to even
}

} // namespace vx
