#include "model/ports.h"

#include <cmath>

#include "model/solver.h"
#include "model/view.h"

namespace vx {
namespace {
inline float F(double v) { return static_cast<float>(v); }
inline double D(float v) { return static_cast<double>(v); }
} // namespace

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

void ComputeOutlinePoints(GearState& g) {
    const ViewTransform& v = g.view;
    const CylinderDimensions& c = g.cyl;
    auto at = [&v](double x, double y) { return WorldToScreen(v, F(x), F(y)); };

    const double C = c.cylCtrToDriverCtr(), n = c.exhaustPortWidth();
    const double Yc = g.fixedPivots.cylinderCentreY;
    const double S = F(Yc + D(c.valveSurfaceToCL()));
    const double T = F(S + D(c.chamberHeight()));
    const double K = c.chamberLength(), H = c.boreLength(), G = c.boreDia(), I = c.cylSteamPortWidth();
    const double o = c.bridgeRear(), q = c.steamPortRear(), p = c.bridgeFront(), r = c.steamPortFront();

    auto& co = g.cylOutline;
    co[0] = at(C - n / 2, T);
    co[1] = at(C - K / 2, T);
    co[2] = at(C - K / 2, S);
    co[3] = at(C - n / 2 - o - q, S);
    co[4] = at(C - n / 2 - o - q, S - n / 3);
    co[5] = at(C - H / 2, Yc + G / 2);
    co[6] = at(C - H / 2, Yc - G / 2);
    co[7] = at(C + H / 2, Yc - G / 2);
    co[8] = at(C + H / 2, Yc + G / 2);
    co[9] = at(C + n / 2 + p + r, S - n / 3);
    co[10] = at(C + n / 2 + p + r, S);
    co[11] = at(C + K / 2, S);
    co[12] = at(C + K / 2, T);
    co[13] = at(C + n / 2, T);
    co[14] = at(C - n / 2, S - q);
    co[15] = at(C - n / 2, S);
    co[16] = at(C - n / 2 - o, S);
    co[17] = at(C - n / 2 - o, S - n / 1.5);
    co[18] = at(C - H / 2 + I, Yc + G / 2);
    co[19] = at(C + H / 2 - I, Yc + G / 2);
    co[20] = at(C + n / 2 + p, S - n / 1.5);
    co[21] = at(C + n / 2 + p, S);
    co[22] = at(C + n / 2, S);
    co[23] = at(C + n / 2, S - q);

    const double X3 = g.piv.x[3], P = c.pistonToCrosshead(), W = c.pistonWidth();
    const double X4 = g.piv.x[4], Y4 = g.piv.y[4];
    const double Vc = F(X4 + D(c.valveCtrToJoint()));
    const double vr = c.valveRearHalf(), vf = c.valveFrontHalf(), xr = c.cavityRearHalf(),
                 xf = c.cavityFrontHalf(), U = c.valveHeight();

    auto& vo = g.valveOutline;
    vo[0] = at(X3 + P + W / 2, Yc);
    vo[1] = at(X3 + P - W / 2, Yc + G / 2);
    vo[2] = at(X3 + P - W / 2, Yc - G / 2);
    vo[3] = at(X3 + P + W / 2, Yc - G / 2);
    vo[4] = at(X3 + P + W / 2, Yc + G / 2);
    vo[5] = at(Vc - vr, Y4);
    vo[6] = at(Vc - vr, S + U);
    vo[7] = at(Vc + vf, S + U);
    vo[8] = at(Vc + vf, S);
    vo[9] = at(Vc + xf, S);
    // The cavity top lies a third of the way down the valve, on the screen.
    const std::int32_t top = vo[6].y + (vo[8].y - vo[6].y) / 3;
    vo[10] = {at(Vc + xf, S).x, top};
    vo[11] = {at(Vc - xr, S).x, top};
    vo[12] = at(Vc - xr, S);
    vo[13] = at(Vc - vr, S);
}

} // namespace vx
