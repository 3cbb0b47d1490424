#include "model/view.h"

#include <cmath>

namespace vx {

std::int32_t Nearest(double v) {
    if (std::isnan(v)) return 0;
    if (v >= kPixelLimit) return kPixelLimit;
    if (v <= -kPixelLimit) return -kPixelLimit;
    return static_cast<std::int32_t>(std::nearbyint(v)); // current mode: to nearest, ties to even
}

WorldPoint ScreenToWorld(const ViewTransform& v, double sx, double sy) {
    const double z = v.zoom;
    return {static_cast<float>((sx - v.panHorz) / z), static_cast<float>(-(sy - v.panVert) / z)};
}

void ComputePivotScreenPoints(GearState& g) {
    for (int n = 0; n < kScreenPivotCount; ++n) {
        const ScreenPoint s = WorldToScreen(g.view, g.piv.x[static_cast<std::size_t>(n)],
                                            g.piv.y[static_cast<std::size_t>(n)]);
        g.piv.sx[static_cast<std::size_t>(n)] = s.x;
        g.piv.sy[static_cast<std::size_t>(n)] = s.y;
    }
    g.piv.sx[18] = WorldToScreen(g.view, g.motion.reverseArmPosition, 0).x;
}

} // namespace vx
