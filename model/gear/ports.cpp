#include "model/gear/ports.h"

#include "base/float_cast.h"

#include <cmath>

#include "model/gear/solver.h"

namespace vx {

GeometryCause ComputePortOpenings(const Design& g, float driverAngle, Solution& sol) {
    GeometryCause first = GeometryCause::None;
    const auto note = [&](bool fired, GeometryCause cause) {
        if (!fired) return;
        if (first == GeometryCause::None) first = cause;
        RecordSolveCause(sol, driverAngle, cause);
    };
    bool fired = false;
    const double t = D(driverAngle) * kDegToRad;
    const double S = ClampDivisor(g.frame.stroke, fired);
    note(fired, GeometryCause::StrokeZero);
    const double L = g.frame.mainRodLength;
    const double E = D(g.cyl.exhaustPortWidth()) / 2;
    const CylinderDimensions& c = g.cyl;
    PortOpenings& p = sol.ports;

    const double s = std::sin(t) * S / 2;
    fired = false;
    const double root = RootOfMagnitude(L * L - s * s, fired);
    note(fired, GeometryCause::MainRod);
    p.pistonPosition = F(320 - (std::cos(t) + 2 * root / S - 2 * L / S) * 320);

    const double Dv = F(D(sol.piv.x[4]) + D(c.valveCtrToJoint()) - D(c.cylCtrToDriverCtr()));
    p.frontSteamOpening = F(E + D(c.bridgeFront()) + D(c.steamPortFront()) - D(c.valveFrontHalf()) - Dv);
    p.frontExhaustOpening = F(Dv + D(c.cavityFrontHalf()) - E - D(c.bridgeFront()));
    p.rearSteamOpening = F(Dv - D(c.valveRearHalf()) + E + D(c.bridgeRear()) + D(c.steamPortRear()));
    p.rearExhaustOpening = F(D(c.cavityRearHalf()) - Dv - E - D(c.bridgeRear()));
    return first;
}

void ComputePortOpenings(GearState& g) {
    const GeometryCause cause = ComputePortOpenings(g, g.motion.driverAngle, g);
    if (cause != GeometryCause::None) RaiseGeometryError(g, cause);
}


} // namespace vx
