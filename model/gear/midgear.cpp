#include "model/gear/midgear.h"

#include "base/float_cast.h"
#include "model/gear/exact_solver.h"
#include "model/gear/root_finding.h"
#include "model/gear/solver.h"

#include <algorithm>
#include <cmath>

namespace vx {

MidGearResult FindMidGear(GearState& g) {
    MotionState& m = g.motion;
    const float savedAngle = m.driverAngle;
    const float savedPosition = m.reverseArmPosition;
    const float savedX18 = g.piv.x[18];
    m.driverAngle = 0;

    // Short of mid gear while the die stands on the far side of the link
    // centre; which side depends on the sense of the radius rod's arm.
    const bool dieAboveMeansShort = g.frame.liftArmRadRodEnd >= 0.0f;
    auto shortOfMidGear = [&] {
        return dieAboveMeansShort ? g.piv.y[8] > g.piv.y[9] : g.piv.y[8] < g.piv.y[9];
    };

    float step = 0.5f;
    m.reverseArmPosition = static_cast<float>(static_cast<double>(g.fixedPivots.liftShaftX) - g.frame.revArmToCentMax);
    int trials = 0;
    bool found = true;
    for (;;) {
        do {
            if (++trials > kMidGearTrialLimit) {
                found = false;
                break;
            }
            m.reverseArmPosition = static_cast<float>(static_cast<double>(m.reverseArmPosition) + step);
            SolveLinkage(g);
        } while (shortOfMidGear());
        if (!found) break;
        m.reverseArmPosition = static_cast<float>(static_cast<double>(m.reverseArmPosition) - step);
        step = static_cast<float>(static_cast<double>(step) * 0.2);
        if (!(step > kSearchTolerance)) break;
    }

    m.driverAngle = savedAngle;
    // A design whose travel or lift shaft is not a number walks to a
    // position that is none: that is no mid gear either.
    if (!std::isfinite(m.reverseArmPosition)) found = false;
    if (!found) {
        m.reverseArmPosition = savedPosition;
        g.piv.x[18] = savedX18;
        RaiseGeometryError(g, GeometryCause::MidGearSearch);
        return MidGearResult::NotFound;
    }
    RevArmPositionList& list = g.revArm;
    g.piv.x[18] = m.reverseArmPosition;
    list.centre = m.reverseArmPosition;
    list.position[1] = list.centre;
    list.position[2] = static_cast<float>(static_cast<double>(list.centre) - g.frame.revArmToCentNorm);
    list.position[3] = static_cast<float>(static_cast<double>(list.centre) + g.frame.revArmToCentNorm);
    return MidGearResult::Found;
}

std::optional<double> FindExactMidGear(const Design& design) {
    const double scale = DesignScale(design);
    // Short of mid gear (negative) while the die stands on the far side of
    // the link centre, as the classic search tells it.
    const double sense = design.frame.liftArmRadRodEnd >= 0.0f ? -1.0 : 1.0;
    ExactPivots p;
    ExactWarmStart warm;
    const auto level = [&](double position) {
        SolveExact(design, 0.0, position, p, &warm);
        return sense * (p.y[8] - p.y[9]);
    };
    // The classic walk: up from the start by the step while short; past
    // its trial bound the step doubles, so no design is out of reach.
    const double step0 = 0.5 * scale;
    double lo = D(design.fixedPivots.liftShaftX) - D(design.frame.revArmToCentMax);
    double flo = level(lo);
    if (!std::isfinite(flo)) return std::nullopt;
    if (!(flo < 0)) return lo;
    double step = step0;
    for (int trial = 0; trial < kMidGearTrialLimit + 80; ++trial) {
        if (trial >= kMidGearTrialLimit) step *= 2;
        const double hi = lo + step;
        const double fhi = level(hi);
        if (!std::isfinite(fhi)) return std::nullopt;
        if (!(fhi < 0)) {
            double slope = 0;
            const double root = Brent(level, lo, flo, hi, fhi, 1e-13 * scale, slope);
            if (!std::isfinite(root)) return std::nullopt;
            return root;
        }
        lo = hi;
        flo = fhi;
    }
    return std::nullopt;
}

} // namespace vx
