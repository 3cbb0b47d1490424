// The linkage solve written straight from its steps: every pivot is read
// from and written to the pivot table as it goes, nothing is kept between
// solves and no pass is reused. The solver proper must give the same bits,
// flags and causes as this on every design.
#include "tests/kit/plain_solver.h"

#include "base/float_cast.h"

#include <cmath>

#include "model/gear/solver.h"

namespace vx::test {
namespace {

inline double Sq(double v) { return v * v; }
inline double Rad(double degrees) { return degrees * kDegToRad; }

float SignedDistance(const PivotTable& p, int a, int b) {
    const double dist = std::sqrt(Sq(D(p.x[b]) - D(p.x[a])) + Sq(D(p.y[b]) - D(p.y[a])));
    return F(p.y[b] < p.y[a] ? -dist : dist);
}

struct SearchCause {
    GeometryCause solveBefore;
    bool flagBefore;
    explicit SearchCause(const GearState& g) : solveBefore(g.solveCause), flagBefore(g.geometryError) {}
    void Fail(GearState& g, GeometryCause cause) const {
        RaiseGeometryError(g, cause);
        if (solveBefore == GeometryCause::None) g.solveCause = cause;
        if (!flagBefore && g.geometryError) g.errorCause = cause;
    }
};

} // namespace

bool PlainSolveLinkage(GearState& g) {
    const FrameDimensions& f = g.frame;
    const CylinderDimensions& cy = g.cyl;
    PlaceFixedPivots(g, g);
    auto& X = g.piv.x;
    auto& Y = g.piv.y;
    const double t = D(g.motion.driverAngle);
    const float tol = kSearchTolerance;
    g.solveCause = GeometryCause::None;

    // 1. Spindle height and reverse arm end.
    Y[4] = F(D(Y[3]) + D(cy.valveStemToCL()));
    X[18] = g.motion.reverseArmPosition;

    // 2. Crank pin.
    X[2] = F(D(X[1]) + std::cos(Rad(t)) * D(f.stroke) / 2);
    Y[2] = F(D(Y[1]) - std::sin(Rad(t)) * D(f.stroke) / 2);

    // 3. Eccentric centres.
    const double r = D(f.eccCircleDia) / 2;
    X[12] = F(D(X[1]) + std::cos(Rad(t + D(f.eccFwdAngle))) * r);
    Y[12] = F(D(Y[1]) - std::sin(Rad(t + D(f.eccFwdAngle))) * r);
    X[13] = F(D(X[1]) + std::cos(Rad(t - D(f.eccRevAngle))) * r);
    Y[13] = F(D(Y[1]) - std::sin(Rad(t - D(f.eccRevAngle))) * r);

    // 4. Crosshead.
    X[3] = F(D(X[2]) +
             GuardedRoot(g, Sq(f.mainRodLength) - Sq(D(Y[2]) - D(Y[3])), GeometryCause::MainRod));

    // 5. Reverse arm end and its angle.
    Y[18] = F(D(Y[16]) +
              GuardedRoot(g, Sq(f.reverseArmLength) - Sq(D(X[18]) - D(X[16])), GeometryCause::ReverseArm));
    const float rho = F(std::atan((D(X[18]) - D(X[16])) / D(GuardDivisor(g, D(Y[18]) - D(Y[16]), GeometryCause::ReverseArmLevel))));

    // 6. Lifting arms.
    const float A = F(D(f.liftArmExLinkAngle) * kDegToRad);
    const float B = F(D(f.liftArmRadRodAngle) * kDegToRad);
    X[15] = F(D(X[16]) - std::sin(D(A) - D(rho)) * D(f.liftArmExLinkEnd));
    Y[15] = F(D(Y[16]) + std::cos(D(A) - D(rho)) * D(f.liftArmExLinkEnd));
    X[17] = F(D(X[16]) + std::sin(D(B) + D(rho)) * D(f.liftArmRadRodEnd));
    Y[17] = F(D(Y[16]) + std::cos(D(B) + D(rho)) * D(f.liftArmRadRodEnd));

    // 7. Search 1: the link height, held by the link's lifting link.
    float a = 0;
    {
        float step = 0.5f;
        Y[10] = f.exLinkLength;
        int passes = 0;
        const SearchCause search(g);
        for (;;) {
            X[10] = F(D(X[12]) +
                      GuardedRoot(g, Sq(f.eccFwdRod) - Sq(D(Y[12]) - D(Y[10])), GeometryCause::EccentricRod));
            float m = F(std::sqrt(Sq(D(X[10]) - D(X[13])) + Sq(D(Y[10]) - D(Y[13]))));
            if (m == 0.0f) m = 0.00001f;
            const float L = GuardDivisor(g, f.eccRevRod, GeometryCause::RevRodNoLength);
            float c = F((Sq(m) + Sq(L) - Sq(2 * D(f.exLinkEccRodVert))) / 2 / D(m) / D(L));
            const float beta = F(std::atan((D(Y[10]) - D(Y[13])) / D(GuardDivisor(g, D(X[10]) - D(X[13]), GeometryCause::EccentricRodsDead))));
            c = GuardCosine(g, c, step, GeometryCause::EccentricRod);
            const float w = F(kPi / 2 - std::atan(D(c) / std::sqrt(1 - Sq(c))) - D(beta));
            X[11] = F(D(X[13]) + std::cos(D(w)) * D(L));
            Y[11] = F(D(Y[13]) - std::sin(D(w)) * D(L));
            a = F(std::atan((D(X[10]) - D(X[11])) / D(GuardDivisor(g, D(Y[10]) - D(Y[11]), GeometryCause::LinkLevel))));
            g.linkAngle = a;
            const double sa = std::sin(D(a)), ca = std::cos(D(a));
            X[23] = F(D(X[10]) + ca * D(f.exLinkEccRodBackSet));
            Y[23] = F(D(Y[10]) - sa * D(f.exLinkEccRodBackSet));
            const float e = F(D(f.exLinkSupportVert) - D(f.exLinkEccRodVert));
            X[25] = F(D(X[23]) + sa * D(e));
            Y[25] = F(D(Y[23]) + ca * D(e));
            X[14] = F(D(X[25]) - ca * D(f.exLinkSupportBackSet));
            Y[14] = F(D(Y[25]) + sa * D(f.exLinkSupportBackSet));
            const float dist = SignedDistance(g.piv, 15, 14);
            const bool tooLong = dist > f.liftLinkExLink;
            if (tooLong) Y[10] = F(D(Y[10]) - D(step));
            if (++passes > 100) {
                search.Fail(g, GeometryCause::LinkLiftSearch);
                return false;
            }
            if (tooLong) continue;
            Y[10] = F(D(Y[10]) + D(step));
            step = F(D(step) * 0.2);
            if (!(step > tol)) break;
        }
    }

    // 8. Link ends and centre.
    {
        const double sa = std::sin(D(a)), ca = std::cos(D(a));
        X[24] = F(D(X[11]) + ca * D(f.exLinkEccRodBackSet));
        Y[24] = F(D(Y[11]) - sa * D(f.exLinkEccRodBackSet));
        X[9] = F((D(X[23]) + D(X[24])) / 2);
        Y[9] = F((D(Y[23]) + D(Y[24])) / 2);
        const float h = F(D(f.exLinkLength) / 2 - D(f.exLinkEccRodVert));
        X[6] = F(D(X[23]) + sa * D(h));
        Y[6] = F(D(Y[23]) + ca * D(h));
        X[7] = F(D(X[24]) - sa * D(h));
        Y[7] = F(D(Y[24]) - ca * D(h));
    }

    // 9. Search 2: the die height, held by the radius rod's lifting link.
    {
        float step = 0.5f;
        Y[8] = f.exLinkLength;
        int passes = 0;
        const SearchCause search(g);
        for (;;) {
            const float d = GuardDivisor(g, D(Y[10]) - D(Y[11]), GeometryCause::LinkLevel);
            X[8] = F(D(X[6]) + (D(Y[8]) - D(Y[6])) * (D(X[10]) - D(X[11])) / D(d));
            X[5] = F(D(X[8]) + GuardedRoot(g, Sq(f.radRodTotalLength) - Sq(D(Y[8]) - D(Y[5])),
                                            GeometryCause::RadiusRodSearch));
            const float rr = F(std::atan((D(Y[8]) - D(Y[5])) / D(GuardDivisor(g, D(X[5]) - D(X[8]), GeometryCause::RadiusRodUpright))));
            X[26] = F(D(X[8]) + std::cos(D(rr)) * D(f.radRodShortEnd));
            Y[26] = F(D(Y[8]) - std::sin(D(rr)) * D(f.radRodShortEnd));
            const float dist = SignedDistance(g.piv, 17, 26);
            const bool tooLong = dist > f.liftLinkRadRod;
            if (tooLong) Y[8] = F(D(Y[8]) - D(step));
            if (++passes > 100) {
                search.Fail(g, GeometryCause::RadiusRodSearch);
                return false;
            }
            if (tooLong) continue;
            Y[8] = F(D(Y[8]) + D(step));
            step = F(D(step) * 0.2);
            if (!(step > tol)) break;
        }
    }

    // 10. Rocker.
    {
        const float phi = F(std::atan((D(X[27]) - D(X[5])) / D(GuardDivisor(g, D(Y[5]) - D(Y[27]), GeometryCause::RockerLowerLevel))));
        const double sp = std::sin(D(phi)), cp = std::cos(D(phi));
        Y[5] = F(D(Y[27]) - cp * D(f.rockerLowerLength));
        X[28] = F(D(X[27]) - sp * D(f.rockerUpperTotal));
        Y[28] = F(D(Y[27]) + cp * D(f.rockerUpperTotal));
        X[29] = F(D(X[28]) - cp * D(f.rockerUpperBackSet));
        Y[29] = F(D(Y[28]) - sp * D(f.rockerUpperBackSet));
    }

    // 11. Valve spindle joint: where the line 27-29 meets the spindle line.
    {
        const float psi = F(std::atan((D(X[27]) - D(X[29])) / D(GuardDivisor(g, D(Y[27]) - D(Y[29]), GeometryCause::RockerUpperLevel))));
        Y[4] = F(D(Y[3]) + D(cy.valveStemToCL()));
        X[4] = F(D(X[27]) + std::sin(D(psi)) * (D(Y[4]) - D(Y[27])) / std::cos(D(psi)));
    }

    // 12. Sheave points and the port event values.
    {
        const double half = D(f.eccDia) / 2;
        X[21] = F(D(X[12]) + half);
        Y[21] = F(D(Y[12]) - half / D(GuardDivisor(g, f.eccFwdRod, GeometryCause::FwdRodNoLength)) * (D(Y[12]) - D(Y[10])));
        X[22] = F(D(X[13]) + half);
        Y[22] = F(D(Y[13]) - half / D(GuardDivisor(g, f.eccRevRod, GeometryCause::RevRodNoLength)) * (D(Y[13]) - D(Y[11])));

        const double E = D(cy.exhaustPortWidth()) / 2;
        EventValues& ev = g.events;
        ev.frontSteamOpenLevel = F(E + D(cy.bridgeFront()) + D(cy.steamPortFront()) - D(cy.valveFrontHalf()));
        ev.frontSteamMaxLevel = F(E + D(cy.bridgeFront()) - D(cy.valveFrontHalf()));
        ev.frontExhaustOpenLevel = F(E + D(cy.bridgeFront()) - D(cy.cavityFrontHalf()));
        ev.rearSteamOpenLevel = F(E + D(cy.bridgeRear()) + D(cy.steamPortRear()) - D(cy.valveRearHalf()));
        ev.rearSteamMaxLevel = F(E + D(cy.bridgeRear()) - D(cy.valveRearHalf()));
        ev.rearExhaustOpenLevel = F(E + D(cy.bridgeRear()) - D(cy.cavityRearHalf()));
        ev.valveOffset = F(D(cy.valveCtrToJoint()) + D(X[4]) - D(cy.cylCtrToDriverCtr()));
        ev.upperLeadTerm = F(D(cy.valveCtrToJoint()) - D(cy.valveRearHalf()) - D(cy.cylCtrToDriverCtr()) + E +
                             D(cy.bridgeRear()) + D(cy.steamPortRear()));
        ev.lowerLeadTerm = F(E + D(cy.cylCtrToDriverCtr()) + D(cy.bridgeFront()) + D(cy.steamPortFront()) -
                             D(cy.valveCtrToJoint()) - D(cy.valveFrontHalf()));
        ev.frontLap = F(D(cy.valveFrontHalf()) - E - D(cy.bridgeFront()) - D(cy.steamPortFront()));
        ev.rearLap = F(D(cy.valveRearHalf()) - E - D(cy.bridgeRear()) - D(cy.steamPortRear()));
        ev.frontExhaustClearance = F(D(cy.cavityFrontHalf()) - E - D(cy.bridgeFront()));
        ev.rearExhaustClearance = F(D(cy.cavityRearHalf()) - E - D(cy.bridgeRear()));
    }
    return true;
}

} // namespace vx::test
