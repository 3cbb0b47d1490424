#include "model/gear/midgear.h"

#include "model/gear/solver.h"

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

} // namespace vx
