#include "model/gear/solver.h"

#include "base/float_cast.h"
#include "model/gear/exact_solver.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace vx {
namespace {

inline double Sq(double v) { return v * v; }
inline double Rad(double degrees) { return degrees * kDegToRad; }

// Code built for AVX that returns with the upper halves of the vector
// registers still in use (some of the painting code the program calls
// does) makes every SSE instruction after it wait on those halves: a solve
// after a painted line or text ran at half speed. Clearing them first costs
// a cycle and changes no value the solve sees.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void ClearUpperHalvesAvx() { _mm256_zeroupper(); }
const bool kHasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();
inline void ClearUpperVectorHalves() {
    if (kHasAvx) ClearUpperHalvesAvx();
}
#else
inline void ClearUpperVectorHalves() {}
#endif

// Signed distance from point a to point b, negative when b lies below a.
float SignedDistance(float xa, float ya, float xb, float yb) {
    const double dist = std::sqrt(Sq(D(xb) - D(xa)) + Sq(D(yb) - D(ya)));
    return F(yb < ya ? -dist : dist);
}


inline float ClampCosine(double c, bool& fired) {
    constexpr float kLimit = 0.999999f;
    float v = F(c);
    if (v > kLimit || v < -kLimit) {
        v = v > 0 ? kLimit : -kLimit;
        fired = true;
    }
    return v;
}

// A search that runs out of passes is the step that could not close: its
// cause replaces any raised by the guards while it wandered, when nothing
// before the search had failed.
struct SearchCause {
    GeometryCause solveBefore;
    explicit SearchCause(const Solution& s) : solveBefore(s.solveCause) {}
    void Fail(Solution& s, float angle, GeometryCause cause) const {
        RecordSolveCause(s, angle, cause);
        if (solveBefore == GeometryCause::None) s.solveCause = cause;
    }
};

// The walk both searches make: from the starting height down by the step
// while the lifting link is too long; then back up one step, a fifth of the
// step, and on until the step is within the tolerance. False when it has
// not settled in 101 passes (`height` and the values taken are then the
// last pass's).
//
// A pass is a pure function of its height's bits, computed by `compute` two
// at a time: the height asked for and the one a step below it, where the
// walk goes next when the link is too long; the two run side by side in the
// processor. `take(pass, step)` takes a pass when the walk reaches its
// height, raising the errors of the guards that fired in it, in the order
// the guards stand, and says whether the link is too long. After a pass
// that is not too long the walk steps back up, usually onto the height of
// the last pass found too long, to the bit: that pass is taken again.
template <class Pass, class Compute, class Take>
bool WalkSearch(float Pass::*heightOf, float& height, float tol, Compute&& compute, Take&& take) {
    float step = 0.5f;
    Pass ahead[2];
    Pass last;
    bool haveAhead = false, haveLast = false;
    for (int passes = 1;; ++passes) {
        const auto bits = std::bit_cast<std::uint32_t>(height);
        const Pass* q = nullptr;
        if (haveAhead && bits == std::bit_cast<std::uint32_t>(ahead[1].*heightOf)) {
            q = &ahead[1];
        } else if (haveLast && bits == std::bit_cast<std::uint32_t>(last.*heightOf)) {
            q = &last;
        } else {
            ahead[0].*heightOf = height;
            ahead[1].*heightOf = F(D(height) - D(step));
            compute(ahead);
            haveAhead = true;
            q = &ahead[0];
        }
        const bool tooLong = take(*q, step);
        if (tooLong) {
            last = *q;
            haveLast = true;
            height = F(D(height) - D(step));
        }
        if (passes > 100) return false;
        if (tooLong) continue;
        height = F(D(height) + D(step));
        step = F(D(step) * 0.2);
        if (!(step > tol)) return true;
    }
}

// Steps 5 and 6 of the last solve: they depend on the reverse arm position
// and the arm dimensions only, and a diagram sweep solves hundreds of driver
// angles at one position. A memo of a pure function of the bits in `key`
// (whichever model solved last), with the errors those steps raised. One
// memo per thread: the window's tick and the worker jobs (balancing, the
// exports, the report) solve on threads of their own, each on its own copy
// of the design.
struct RevArmSteps {
    std::array<std::uint32_t, 8> key{};
    bool valid = false;
    float y18 = 0, rho = 0, x15 = 0, y15 = 0, x17 = 0, y17 = 0;
    bool rootRaised = false;    // the arm could not reach: raised again on reuse
    bool divisorRaised = false; // its angle's divisor was guarded
};
thread_local RevArmSteps lastRevArmSteps;

} // namespace

float GuardDivisor(GearState& g, double d, GeometryCause cause) {
    bool raised = false;
    const float v = ClampDivisor(d, raised);
    if (raised) RaiseGeometryError(g, cause);
    return v;
}

double GuardedRoot(GearState& g, double q, GeometryCause cause) {
    bool raised = false;
    const double v = RootOfMagnitude(q, raised);
    if (raised) RaiseGeometryError(g, cause);
    return v;
}

float GuardDivisor(Solution& s, float angle, double d, GeometryCause cause) {
    bool raised = false;
    const float v = ClampDivisor(d, raised);
    if (raised) RecordSolveCause(s, angle, cause);
    return v;
}

double GuardedRoot(Solution& s, float angle, double q, GeometryCause cause) {
    bool raised = false;
    const double v = RootOfMagnitude(q, raised);
    if (raised) RecordSolveCause(s, angle, cause);
    return v;
}

float GuardCosine(GearState& g, double c, float searchStep, GeometryCause cause) {
    bool clamped = false;
    const float v = ClampCosine(c, clamped);
    if (clamped && searchStep < 0.01f) RaiseGeometryError(g, cause);
    return v;
}

void ComputeEventLevels(const Design& g, EventValues& ev) {
    const CylinderDimensions& cy = g.cyl;
    const double E = D(cy.exhaustPortWidth()) / 2;
    ev.frontSteamOpenLevel = F(E + D(cy.bridgeFront()) + D(cy.steamPortFront()) - D(cy.valveFrontHalf()));
    ev.frontSteamMaxLevel = F(E + D(cy.bridgeFront()) - D(cy.valveFrontHalf()));
    ev.frontExhaustOpenLevel = F(E + D(cy.bridgeFront()) - D(cy.cavityFrontHalf()));
    ev.rearSteamOpenLevel = F(E + D(cy.bridgeRear()) + D(cy.steamPortRear()) - D(cy.valveRearHalf()));
    ev.rearSteamMaxLevel = F(E + D(cy.bridgeRear()) - D(cy.valveRearHalf()));
    ev.rearExhaustOpenLevel = F(E + D(cy.bridgeRear()) - D(cy.cavityRearHalf()));
    ev.upperLeadTerm = F(D(cy.valveCtrToJoint()) - D(cy.valveRearHalf()) - D(cy.cylCtrToDriverCtr()) + E +
                         D(cy.bridgeRear()) + D(cy.steamPortRear()));
    ev.lowerLeadTerm = F(E + D(cy.cylCtrToDriverCtr()) + D(cy.bridgeFront()) + D(cy.steamPortFront()) -
                         D(cy.valveCtrToJoint()) - D(cy.valveFrontHalf()));
    ev.frontLap = F(D(cy.valveFrontHalf()) - E - D(cy.bridgeFront()) - D(cy.steamPortFront()));
    ev.rearLap = F(D(cy.valveRearHalf()) - E - D(cy.bridgeRear()) - D(cy.steamPortRear()));
    ev.frontExhaustClearance = F(D(cy.cavityFrontHalf()) - E - D(cy.bridgeFront()));
    ev.rearExhaustClearance = F(D(cy.cavityRearHalf()) - E - D(cy.bridgeRear()));
}

bool SolveLinkage(const Design& design, float driverAngle, float reverseArmPosition, Solution& s) {
    ClearUpperVectorHalves();
    // Every dimension and fixed pivot is read once into a local, and the
    // pivots a search moves live in locals until it settles or fails. The
    // pivot table is float storage like the dimensions, so otherwise every
    // pivot store would make the compiler read the dimensions again. The
    // formulas, their order and every rounding to float are unchanged.
    const FrameDimensions f = design.frame;
    const CylinderDimensions& cy = design.cyl;
    PlaceFixedPivots(design, s);
    auto& X = s.piv.x;
    auto& Y = s.piv.y;
    const double t = D(driverAngle);
    const float tol = kSearchTolerance;
    s.solveCause = GeometryCause::None;
    const float x1 = X[1], y1 = Y[1], y3 = Y[3];
    const float x16 = X[16], y16 = Y[16], x27 = X[27], y27 = Y[27];

    // 1. Spindle height and reverse arm end.
    Y[4] = F(D(y3) + D(cy.valveStemToCL()));
    const float x18 = reverseArmPosition;
    X[18] = x18;

    // 2. Crank pin.
    const float x2 = F(D(x1) + std::cos(Rad(t)) * D(f.stroke) / 2);
    const float y2 = F(D(y1) - std::sin(Rad(t)) * D(f.stroke) / 2);
    X[2] = x2;
    Y[2] = y2;

    // 3. Eccentric centres.
    const double r = D(f.eccCircleDia) / 2;
    const float x12 = F(D(x1) + std::cos(Rad(t + D(f.eccFwdAngle))) * r);
    const float y12 = F(D(y1) - std::sin(Rad(t + D(f.eccFwdAngle))) * r);
    const float x13 = F(D(x1) + std::cos(Rad(t - D(f.eccRevAngle))) * r);
    const float y13 = F(D(y1) - std::sin(Rad(t - D(f.eccRevAngle))) * r);
    X[12] = x12;
    Y[12] = y12;
    X[13] = x13;
    Y[13] = y13;

    // 4. Crosshead.
    X[3] = F(D(x2) + GuardedRoot(s, driverAngle, Sq(f.mainRodLength) - Sq(D(y2) - D(y3)), GeometryCause::MainRod));

    // 5 and 6 depend on the reverse arm position and the arm dimensions
    // only: reused while those keep their bits, with the errors they raised
    // raised again in the same place.
    RevArmSteps& arm = lastRevArmSteps;
    const std::array<std::uint32_t, 8> key{
        std::bit_cast<std::uint32_t>(x18),           std::bit_cast<std::uint32_t>(x16),
        std::bit_cast<std::uint32_t>(y16),           std::bit_cast<std::uint32_t>(f.reverseArmLength),
        std::bit_cast<std::uint32_t>(f.liftArmExLinkAngle), std::bit_cast<std::uint32_t>(f.liftArmRadRodAngle),
        std::bit_cast<std::uint32_t>(f.liftArmExLinkEnd),   std::bit_cast<std::uint32_t>(f.liftArmRadRodEnd)};
    if (arm.valid && arm.key == key) {
        if (arm.rootRaised) RecordSolveCause(s, driverAngle, GeometryCause::ReverseArm);
        if (arm.divisorRaised) RecordSolveCause(s, driverAngle, GeometryCause::ReverseArmLevel);
    } else {
        // 5. Reverse arm end and its angle.
        const double q = Sq(f.reverseArmLength) - Sq(D(x18) - D(x16));
        arm.rootRaised = q < 0.0;
        arm.y18 = F(D(y16) + GuardedRoot(s, driverAngle, q, GeometryCause::ReverseArm));
        const double dy = D(arm.y18) - D(y16);
        const float guarded = GuardDivisor(s, driverAngle, dy, GeometryCause::ReverseArmLevel);
        arm.divisorRaised = std::bit_cast<std::uint32_t>(guarded) != std::bit_cast<std::uint32_t>(F(dy));
        arm.rho = F(std::atan((D(x18) - D(x16)) / D(guarded)));

        // 6. Lifting arms.
        const float A = F(D(f.liftArmExLinkAngle) * kDegToRad);
        const float B = F(D(f.liftArmRadRodAngle) * kDegToRad);
        arm.x15 = F(D(x16) - std::sin(D(A) - D(arm.rho)) * D(f.liftArmExLinkEnd));
        arm.y15 = F(D(y16) + std::cos(D(A) - D(arm.rho)) * D(f.liftArmExLinkEnd));
        arm.x17 = F(D(x16) + std::sin(D(B) + D(arm.rho)) * D(f.liftArmRadRodEnd));
        arm.y17 = F(D(y16) + std::cos(D(B) + D(arm.rho)) * D(f.liftArmRadRodEnd));
        arm.key = key;
        arm.valid = true;
    }
    Y[18] = arm.y18;
    const float x15 = arm.x15, y15 = arm.y15, x17 = arm.x17, y17 = arm.y17;
    X[15] = x15;
    Y[15] = y15;
    X[17] = x17;
    Y[17] = y17;

    // 7. Search 1: the link height, held by the link's lifting link.
    float a = 0;
    double sa = 0, ca = 1; // sine and cosine of a, for step 8 too
    float x10 = 0, y10 = f.exLinkLength, x11 = 0, y11 = 0;
    float x23 = 0, y23 = 0, x25 = 0, y25 = 0, x14 = 0, y14 = 0;
    const auto storeSearch1 = [&] {
        X[10] = x10;
        Y[10] = y10;
        X[11] = x11;
        Y[11] = y11;
        X[23] = x23;
        Y[23] = y23;
        X[25] = x25;
        Y[25] = y25;
        X[14] = x14;
        Y[14] = y14;
        s.linkAngle = a;
    };
    {
        const SearchCause search(s);
        const double fwdRod2 = Sq(f.eccFwdRod);
        const double vert2 = Sq(2 * D(f.exLinkEccRodVert));
        const float e = F(D(f.exLinkSupportVert) - D(f.exLinkEccRodVert));
        bool lFired = false;
        const float L = ClampDivisor(f.eccRevRod, lFired);

        // One pass at a link height, and which of its guards fired.
        struct Pass {
            float y10, x10, x11, y11, a, x23, y23, x25, y25, x14, y14;
            double sa, ca;
            bool rootFired, betaFired, cosFired, aFired, tooLong;
        };
        const auto compute = [&](Pass (&p)[2]) {
            float cg[2], beta[2], w[2];
#pragma GCC unroll 2
            for (int i = 0; i < 2; ++i) {
                Pass& q = p[i];
                q.rootFired = q.betaFired = q.cosFired = q.aFired = false;
                q.x10 = F(D(x12) + RootOfMagnitude(fwdRod2 - Sq(D(y12) - D(q.y10)), q.rootFired));
                float m = F(std::sqrt(Sq(D(q.x10) - D(x13)) + Sq(D(q.y10) - D(y13))));
                if (m == 0.0f) m = 0.00001f;
                cg[i] = ClampCosine(F((Sq(m) + Sq(L) - vert2) / 2 / D(m) / D(L)), q.cosFired);
            }
#pragma GCC unroll 2
            for (int i = 0; i < 2; ++i) {
                Pass& q = p[i];
                beta[i] = F(std::atan((D(q.y10) - D(y13)) / D(ClampDivisor(D(q.x10) - D(x13), q.betaFired))));
            }
#pragma GCC unroll 2
            for (int i = 0; i < 2; ++i)
                w[i] = F(kPi / 2 - std::atan(D(cg[i]) / std::sqrt(1 - Sq(cg[i]))) - D(beta[i]));
#pragma GCC unroll 2
            for (int i = 0; i < 2; ++i) {
                Pass& q = p[i];
                q.x11 = F(D(x13) + std::cos(D(w[i])) * D(L));
                q.y11 = F(D(y13) - std::sin(D(w[i])) * D(L));
            }
#pragma GCC unroll 2
            for (int i = 0; i < 2; ++i) {
                Pass& q = p[i];
                q.a = F(std::atan((D(q.x10) - D(q.x11)) / D(ClampDivisor(D(q.y10) - D(q.y11), q.aFired))));
            }
#pragma GCC unroll 2
            for (int i = 0; i < 2; ++i) {
                Pass& q = p[i];
                q.sa = std::sin(D(q.a));
                q.ca = std::cos(D(q.a));
            }
#pragma GCC unroll 2
            for (int i = 0; i < 2; ++i) {
                Pass& q = p[i];
                q.x23 = F(D(q.x10) + q.ca * D(f.exLinkEccRodBackSet));
                q.y23 = F(D(q.y10) - q.sa * D(f.exLinkEccRodBackSet));
                q.x25 = F(D(q.x23) + q.sa * D(e));
                q.y25 = F(D(q.y23) + q.ca * D(e));
                q.x14 = F(D(q.x25) - q.ca * D(f.exLinkSupportBackSet));
                q.y14 = F(D(q.y25) + q.sa * D(f.exLinkSupportBackSet));
                q.tooLong = SignedDistance(x15, y15, q.x14, q.y14) > f.liftLinkExLink;
            }
        };
        const auto take = [&](const Pass& q, float step) {
            if (q.rootFired) RecordSolveCause(s, driverAngle, GeometryCause::EccentricRod);
            if (lFired) RecordSolveCause(s, driverAngle, GeometryCause::RevRodNoLength);
            if (q.betaFired) RecordSolveCause(s, driverAngle, GeometryCause::EccentricRodsDead);
            if (q.cosFired && step < 0.01f) RecordSolveCause(s, driverAngle, GeometryCause::EccentricRod);
            if (q.aFired) RecordSolveCause(s, driverAngle, GeometryCause::LinkLevel);
            x10 = q.x10, x11 = q.x11, y11 = q.y11, a = q.a, sa = q.sa, ca = q.ca;
            x23 = q.x23, y23 = q.y23, x25 = q.x25, y25 = q.y25, x14 = q.x14, y14 = q.y14;
            return q.tooLong;
        };

        if (!WalkSearch(&Pass::y10, y10, tol, compute, take)) {
            storeSearch1();
            search.Fail(s, driverAngle, GeometryCause::LinkLiftSearch);
            return false;
        }
    }
    storeSearch1();

    // 8. Link ends and centre.
    float x6 = 0, y6 = 0;
    {
        const float x24 = F(D(x11) + ca * D(f.exLinkEccRodBackSet));
        const float y24 = F(D(y11) - sa * D(f.exLinkEccRodBackSet));
        X[24] = x24;
        Y[24] = y24;
        X[9] = F((D(x23) + D(x24)) / 2);
        Y[9] = F((D(y23) + D(y24)) / 2);
        const float h = F(D(f.exLinkLength) / 2 - D(f.exLinkEccRodVert));
        x6 = F(D(x23) + sa * D(h));
        y6 = F(D(y23) + ca * D(h));
        X[6] = x6;
        Y[6] = y6;
        X[7] = F(D(x24) - sa * D(h));
        Y[7] = F(D(y24) - ca * D(h));
    }

    // 9. Search 2: the die height, held by the radius rod's lifting link.
    float y5 = Y[5];
    if (!std::isfinite(y5)) Y[5] = y5 = kRockerLowerEndSeed;
    float x5 = 0;
    {
        float x8 = 0, y8 = f.exLinkLength, x26 = 0, y26 = 0;
        const auto storeSearch2 = [&] {
            X[8] = x8;
            Y[8] = y8;
            X[5] = x5;
            X[26] = x26;
            Y[26] = y26;
        };
        const SearchCause search(s);
        const double rodLength2 = Sq(f.radRodTotalLength);
        bool dFired = false;
        const float d = ClampDivisor(D(y10) - D(y11), dFired);

        // One pass at a die height, and which of its guards fired.
        struct Pass {
            float y8, x8, x5, x26, y26;
            bool rootFired, rrFired, tooLong;
        };
        const auto compute = [&](Pass (&p)[2]) {
            float rr[2];
#pragma GCC unroll 2
            for (int i = 0; i < 2; ++i) {
                Pass& q = p[i];
                q.rootFired = q.rrFired = false;
                q.x8 = F(D(x6) + (D(q.y8) - D(y6)) * (D(x10) - D(x11)) / D(d));
                q.x5 = F(D(q.x8) + RootOfMagnitude(rodLength2 - Sq(D(q.y8) - D(y5)), q.rootFired));
                rr[i] = F(std::atan((D(q.y8) - D(y5)) / D(ClampDivisor(D(q.x5) - D(q.x8), q.rrFired))));
            }
#pragma GCC unroll 2
            for (int i = 0; i < 2; ++i) {
                Pass& q = p[i];
                q.x26 = F(D(q.x8) + std::cos(D(rr[i])) * D(f.radRodShortEnd));
                q.y26 = F(D(q.y8) - std::sin(D(rr[i])) * D(f.radRodShortEnd));
                q.tooLong = SignedDistance(x17, y17, q.x26, q.y26) > f.liftLinkRadRod;
            }
        };
        const auto take = [&](const Pass& q, float) {
            if (dFired) RecordSolveCause(s, driverAngle, GeometryCause::LinkLevel);
            if (q.rootFired) RecordSolveCause(s, driverAngle, GeometryCause::RadiusRodSearch);
            if (q.rrFired) RecordSolveCause(s, driverAngle, GeometryCause::RadiusRodUpright);
            x8 = q.x8, x5 = q.x5, x26 = q.x26, y26 = q.y26;
            return q.tooLong;
        };

        if (!WalkSearch(&Pass::y8, y8, tol, compute, take)) {
            storeSearch2();
            search.Fail(s, driverAngle, GeometryCause::RadiusRodSearch);
            return false;
        }
        storeSearch2();
    }

    // 10. Rocker.
    float x29 = 0, y29 = 0;
    {
        const float phi = F(std::atan((D(x27) - D(x5)) / D(GuardDivisor(s, driverAngle, D(y5) - D(y27), GeometryCause::RockerLowerLevel))));
        const double sp = std::sin(D(phi)), cp = std::cos(D(phi));
        Y[5] = F(D(y27) - cp * D(f.rockerLowerLength));
        const float x28 = F(D(x27) - sp * D(f.rockerUpperTotal));
        const float y28 = F(D(y27) + cp * D(f.rockerUpperTotal));
        X[28] = x28;
        Y[28] = y28;
        x29 = F(D(x28) - cp * D(f.rockerUpperBackSet));
        y29 = F(D(y28) - sp * D(f.rockerUpperBackSet));
        X[29] = x29;
        Y[29] = y29;
    }

    // 11. Valve spindle joint: where the line 27-29 meets the spindle line.
    float x4 = 0;
    {
        const float psi = F(std::atan((D(x27) - D(x29)) / D(GuardDivisor(s, driverAngle, D(y27) - D(y29), GeometryCause::RockerUpperLevel))));
        const float y4 = F(D(y3) + D(cy.valveStemToCL()));
        Y[4] = y4;
        x4 = F(D(x27) + std::sin(D(psi)) * (D(y4) - D(y27)) / std::cos(D(psi)));
        X[4] = x4;
    }

    // 12. Sheave points and the port event values.
    {
        const double half = D(f.eccDia) / 2;
        X[21] = F(D(x12) + half);
        Y[21] = F(D(y12) - half / D(GuardDivisor(s, driverAngle, f.eccFwdRod, GeometryCause::FwdRodNoLength)) * (D(y12) - D(y10)));
        X[22] = F(D(x13) + half);
        Y[22] = F(D(y13) - half / D(GuardDivisor(s, driverAngle, f.eccRevRod, GeometryCause::RevRodNoLength)) * (D(y13) - D(y11)));

        ComputeEventLevels(design, s.events);
        s.events.valveOffset = F(D(cy.valveCtrToJoint()) + D(x4) - D(cy.cylCtrToDriverCtr()));
    }
    return true;
}

bool ClassicSearchesMissed(const Design& d, const Solution& s) {
    if (s.solveCause == GeometryCause::LinkLiftSearch || s.solveCause == GeometryCause::RadiusRodSearch) return true;
    const auto& X = s.piv.x;
    const auto& Y = s.piv.y;
    const double link = std::hypot(D(X[14]) - D(X[15]), D(Y[14]) - D(Y[15])) - D(d.frame.liftLinkExLink);
    const double rod = std::hypot(D(X[26]) - D(X[17]), D(Y[26]) - D(Y[17])) - D(d.frame.liftLinkRadRod);
    return std::fabs(link) > kClassicClosure || std::fabs(rod) > kClassicClosure;
}

bool SolveLinkageOrExactly(const Design& design, float driverAngle, float reverseArmPosition, Solution& s,
                           bool& exactly) {
    exactly = false;
    const bool closed = SolveLinkage(design, driverAngle, reverseArmPosition, s);
    if (!ClassicSearchesMissed(design, s)) return closed;
    ExactPivots exact;
    if (SolveExact(design, driverAngle, reverseArmPosition, exact) != GeometryCause::None) return closed;
    ToClassicSolution(design, exact, driverAngle, s);
    exactly = true;
    return true;
}

bool SolveLinkage(GearState& g) {
    bool exactly = false;
    const bool closed = SolveLinkageOrExactly(g, g.motion.driverAngle, g.motion.reverseArmPosition, g, exactly);
    if (g.solveCause != GeometryCause::None) RaiseErrorIndicator(g, g.errorBeepOn, g.solveCause, g.solveCauseAngle);
    if (exactly && !g.exactSolveNoticed) {
        g.exactSolveNoticed = true;
        RaiseErrorIndicator(g, g.errorBeepOn, GeometryCause::SolvedExactly, g.motion.driverAngle);
    }
    return closed;
}

void PlaceFixedPivots(const Design& d, Solution& s) {
    const FixedPivots& p = d.fixedPivots;
    s.piv.x[16] = p.liftShaftX;
    s.piv.y[16] = p.liftShaftY;
    s.piv.x[27] = p.rockerPivotX;
    s.piv.y[27] = p.rockerPivotY;
    s.piv.y[3] = p.cylinderCentreY;
    s.piv.y[4] = F(D(p.cylinderCentreY) + D(d.cyl.valveStemToCL()));
}

} // namespace vx
