#include "model/gear/geometry_check.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/gear/design_validity.h"
#include "model/gear/dimensions.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"

namespace vx {

bool FiguresFinite(const GearState& g, bool ports) {
    for (int p = 0; p < kPivotCount; ++p) {
        if (p == 19 || p == 20) continue; // the reference points are the user's
        if (!std::isfinite(g.piv.x[static_cast<std::size_t>(p)]) || !std::isfinite(g.piv.y[static_cast<std::size_t>(p)]))
            return false;
    }
    if (!std::isfinite(g.linkAngle) || !std::isfinite(g.events.valveOffset)) return false;
    if (!ports) return true;
    for (const float v : {g.ports.pistonPosition, g.ports.frontSteamOpening, g.ports.frontExhaustOpening,
                          g.ports.rearSteamOpening, g.ports.rearExhaustOpening})
        if (!std::isfinite(v)) return false;
    return true;
}

GeometryCause SolvedPositionCause(const GearState& g, bool ports) {
    if (g.solveCause != GeometryCause::None) return g.solveCause;
    return FiguresFinite(g, ports) ? GeometryCause::None : GeometryCause::NotFinite;
}

int NonPositiveLengths(const GearState& g, std::span<LengthFault, std::size(kPositiveLengthIds)> out) {
    int n = 0;
    for (const int id : kPositiveLengthIds) {
        const DimensionInfo* d = FindDimension(id);
        if (!d) continue;
        const float v = DimensionValue(g, *d);
        if (!(v > 0)) out[static_cast<std::size_t>(n++)] = {id, v};
    }
    return n;
}

GeometryCause PistonAndPortsFault(GearState& g) {
    ComputePortOpenings(g);
    return SolvedPositionCause(g, true);
}

TurnCheck CheckTurn(GearState g, float position, double step) {
    if (!(step >= 0.01)) step = 0.01;
    step = std::min(step, 360.0);
    TurnCheck r;
    r.position = position;
    g.motion.reverseArmPosition = position;
    const int count = static_cast<int>(std::ceil(360.0 / step - 1e-9));
    if (CheckDesignValidity(g).Any()) {
        r.angles = count;
        r.failures = count;
        r.firstCause = GeometryCause::BadLength;
        return r;
    }
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
