#include "model/geometry_check.h"

#include <algorithm>
#include <cmath>

#include "model/ports.h"
#include "model/solver.h"

namespace vx {

GeometryCause PistonAndPortsFault(GearState& g) {
    ComputePortOpenings(g);
    if (g.solveCause != GeometryCause::None) return g.solveCause;
    const PortOpenings& p = g.ports;
    for (const float v : {p.pistonPosition, p.frontSteamOpening, p.frontExhaustOpening, p.rearSteamOpening,
                          p.rearExhaustOpening})
        if (!std::isfinite(v)) return GeometryCause::NotFinite;
    return GeometryCause::None;
}

TurnCheck CheckTurn(GearState g, float position, double step) {
    if (!(step >= 0.01)) step = 0.01;
    step = std::min(step, 360.0);
    TurnCheck r;
    r.position = position;
    g.motion.reverseArmPosition = position;
    const int count = static_cast<int>(std::ceil(360.0 / step - 1e-9));
    // The rocker's lower end feeds each solve from the one before.
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = 0; k < count; ++k) {
            const auto angle = static_cast<float>(k * step);
            g.motion.driverAngle = angle;
            SolveLinkage(g);
            if (pass == 0) continue;
            const GeometryCause cause = PistonAndPortsFault(g);
            if (cause == GeometryCause::None) continue;
            if (r.failures == 0) {
                r.firstCause = cause;
                r.firstAngle = angle;
            }
            ++r.failures;
        }
    }
    r.angles = count;
    return r;
}

} // namespace vx
