#include "model/gear/exact_solver.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/float_cast.h"
#include "model/gear/root_finding.h"
#include "model/gear/solver.h"

namespace vx {
namespace {

inline double Sq(double v) { return v * v; }
inline double Rad(double degrees) { return degrees * kDegToRad; }

// The classic walks start with a step of half a length unit on the default
// design, whose scale is 1; they reach 50 units in 100 passes.
constexpr double kFirstStep = 0.5;
constexpr int kEvenPasses = 100;
// Beyond that the walk doubles its step: no design is out of reach.
constexpr int kGrowingPasses = 80;
// Roots settle to this fraction of the design's scale.
constexpr double kRootTolerance = 1e-13;
// A divisor within this fraction of the scale is a dead position.
constexpr double kDeadFraction = 1e-12;

// Signed distance from a to b, negative when b lies below a (as the
// classic searches measure the lifting links).
double SignedDistance(double xa, double ya, double xb, double yb) {
    const double dist = std::hypot(xb - xa, yb - ya);
    return yb < ya ? -dist : dist;
}

// A divisor kept away from zero, noting when it had to be.
double Divisor(double d, double dead, bool& fired) {
    if (std::fabs(d) < dead) {
        fired = true;
        return d < 0 ? -dead : dead;
    }
    return d;
}

double Root(double q, bool& fired) {
    if (q < 0) {
        fired = true;
        return std::sqrt(-q);
    }
    return std::sqrt(q);
}

// The classic walk's bracket, at the design's scale: from `start` down by
// the step while the lifting link is too long (f > 0), or up while it is
// not, until the crossing lies between two neighbouring heights. False when
// there is none within reach or a value is not a number.
template <class Fn>
bool ColdBracket(Fn& f, double start, double scale, double& lo, double& flo, double& hi, double& fhi) {
    double y = start;
    double fy = f(y);
    if (!std::isfinite(fy)) return false;
    const bool down = fy > 0;
    double step = kFirstStep * scale;
    for (int pass = 0; pass < kEvenPasses + kGrowingPasses; ++pass) {
        if (pass >= kEvenPasses) step *= 2;
        const double next = down ? y - step : y + step;
        const double fn = f(next);
        if (!std::isfinite(fn)) return false;
        if ((fn > 0) != down) {
            if (down) {
                lo = next, flo = fn, hi = y, fhi = fy;
            } else {
                lo = y, flo = fy, hi = next, fhi = fn;
            }
            return true;
        }
        y = next;
        fy = fn;
    }
    return false;
}

// From a nearby root and its slope: a Newton step a little past the root,
// then further on the secant until the crossing is bracketed. False when it
// is not within a step of the classic walk's size.
template <class Fn>
bool WarmBracket(Fn& f, double guess, double slope, double scale, double& lo, double& flo, double& hi, double& fhi) {
    double y = guess;
    double fy = f(y);
    if (!std::isfinite(fy)) return false;
    const bool down = fy > 0;
    const double reach = kFirstStep * scale;
    const double least = 1e-9 * scale;
    double step = slope > 0 && std::isfinite(slope) ? std::fabs(fy / slope) : 1e-3 * scale;
    step = std::clamp(step * 1.02 + least, least, reach);
    double travelled = 0;
    for (int pass = 0; pass < 12 && travelled <= reach; ++pass) {
        const double next = down ? y - step : y + step;
        const double fn = f(next);
        if (!std::isfinite(fn)) return false;
        travelled += step;
        if ((fn > 0) != down) {
            if (down) {
                lo = next, flo = fn, hi = y, fhi = fy;
            } else {
                lo = y, flo = fy, hi = next, fhi = fn;
            }
            return true;
        }
        // Still on the same side: the secant's estimate of what is left,
        // with some to spare, and never less than twice the last step.
        const double change = std::fabs(fn - fy);
        const double rest = change > 0 ? std::fabs(fn) * step / change : step;
        step = std::clamp(std::max(rest * 1.5, 2 * step), least, reach);
        y = next;
        fy = fn;
    }
    return false;
}

// One root: warm when a nearby one is known, else (or when that fails) as
// the classic walk brackets it. NaN when there is none.
template <class Fn>
double SolveRoot(Fn& f, double start, bool warm, double guess, double& slope, double scale) {
    double lo = 0, flo = 0, hi = 0, fhi = 0;
    const bool found = (warm && std::isfinite(guess) && WarmBracket(f, guess, slope, scale, lo, flo, hi, fhi)) ||
                       ColdBracket(f, start, scale, lo, flo, hi, fhi);
    if (!found) return std::numeric_limits<double>::quiet_NaN();
    double s = slope;
    const double root = Brent(f, lo, flo, hi, fhi, kRootTolerance * scale, s);
    if (std::isfinite(s) && s > 0) slope = s;
    return root;
}

} // namespace

double DesignScale(const Design& design) {
    const double stroke = design.frame.stroke;
    if (std::isfinite(stroke) && stroke > 0) return stroke / 3;
    const FixedPivots& p = design.fixedPivots;
    double span = 0;
    for (const double v : {D(p.liftShaftX), D(p.liftShaftY), D(p.rockerPivotX), D(p.rockerPivotY), D(p.cylinderCentreY)})
        if (std::isfinite(v)) span = std::max(span, std::fabs(v));
    return span > 0 ? span / 3 : 1.0;
}

GeometryCause SolveExact(const Design& design, double driverAngle, double reverseArmPosition, ExactPivots& out,
                         ExactWarmStart* warm) {
    const FrameDimensions& f = design.frame;
    const CylinderDimensions& cy = design.cyl;
    const FixedPivots& fp = design.fixedPivots;
    const double scale = DesignScale(design);
    const double dead = kDeadFraction * scale;
    auto& X = out.x;
    auto& Y = out.y;
    X.fill(0);
    Y.fill(0);
    GeometryCause cause = GeometryCause::None;
    const auto note = [&](bool fired, GeometryCause c) {
        if (fired && cause == GeometryCause::None) cause = c;
    };

    // Fixed pivots, spindle height, reverse arm end.
    const double x16 = fp.liftShaftX, y16 = fp.liftShaftY, x27 = fp.rockerPivotX, y27 = fp.rockerPivotY;
    const double y3 = fp.cylinderCentreY;
    X[16] = x16, Y[16] = y16, X[27] = x27, Y[27] = y27, Y[3] = y3;
    const double y4 = y3 + D(cy.valveStemToCL());
    Y[4] = y4;
    const double x18 = reverseArmPosition;
    X[18] = x18;

    // Crank pin, eccentric centres, crosshead.
    const double t = Rad(driverAngle);
    const double x2 = std::cos(t) * D(f.stroke) / 2, y2 = -std::sin(t) * D(f.stroke) / 2;
    X[2] = x2, Y[2] = y2;
    const double r = D(f.eccCircleDia) / 2;
    const double tf = Rad(driverAngle + D(f.eccFwdAngle)), tr = Rad(driverAngle - D(f.eccRevAngle));
    const double x12 = std::cos(tf) * r, y12 = -std::sin(tf) * r;
    const double x13 = std::cos(tr) * r, y13 = -std::sin(tr) * r;
    X[12] = x12, Y[12] = y12, X[13] = x13, Y[13] = y13;
    {
        bool fired = false;
        X[3] = x2 + Root(Sq(f.mainRodLength) - Sq(y2 - y3), fired);
        note(fired, GeometryCause::MainRod);
    }

    // Reverse arm and lifting arms.
    double x15 = 0, y15 = 0, x17 = 0, y17 = 0;
    {
        bool fired = false;
        const double y18 = y16 + Root(Sq(f.reverseArmLength) - Sq(x18 - x16), fired);
        note(fired, GeometryCause::ReverseArm);
        Y[18] = y18;
        fired = false;
        const double rho = std::atan((x18 - x16) / Divisor(y18 - y16, dead, fired));
        note(fired, GeometryCause::ReverseArmLevel);
        const double A = Rad(f.liftArmExLinkAngle), B = Rad(f.liftArmRadRodAngle);
        x15 = x16 - std::sin(A - rho) * D(f.liftArmExLinkEnd);
        y15 = y16 + std::cos(A - rho) * D(f.liftArmExLinkEnd);
        x17 = x16 + std::sin(B + rho) * D(f.liftArmRadRodEnd);
        y17 = y16 + std::cos(B + rho) * D(f.liftArmRadRodEnd);
        X[15] = x15, Y[15] = y15, X[17] = x17, Y[17] = y17;
    }

    // The link at a height of its forward rod's end (pivot 10).
    const double fwdRod2 = Sq(f.eccFwdRod);
    const double vert2 = Sq(2 * D(f.exLinkEccRodVert));
    const double e = D(f.exLinkSupportVert) - D(f.exLinkEccRodVert);
    bool lFired = false;
    const double L = Divisor(f.eccRevRod, dead, lFired);
    note(lFired, GeometryCause::RevRodNoLength);
    struct Link {
        double y10, x10, x11, y11, a, sa, ca, x23, y23, x14, y14;
        bool rootFired, cosFired, betaFired, aFired;
    } link{};
    const auto placeLink = [&](double y10, Link& k) {
        k.y10 = y10;
        k.rootFired = k.cosFired = k.betaFired = k.aFired = false;
        k.x10 = x12 + Root(fwdRod2 - Sq(y12 - y10), k.rootFired);
        double m = std::hypot(k.x10 - x13, y10 - y13);
        if (m == 0) m = dead;
        double cg = (Sq(m) + Sq(L) - vert2) / 2 / m / L;
        if (cg > 1 || cg < -1) {
            k.cosFired = true;
            cg = cg > 0 ? 1 : -1;
        }
        const double beta = std::atan((y10 - y13) / Divisor(k.x10 - x13, dead, k.betaFired));
        const double w = std::acos(cg) - beta;
        k.x11 = x13 + std::cos(w) * L;
        k.y11 = y13 - std::sin(w) * L;
        k.a = std::atan((k.x10 - k.x11) / Divisor(y10 - k.y11, dead, k.aFired));
        k.sa = std::sin(k.a);
        k.ca = std::cos(k.a);
        k.x23 = k.x10 + k.ca * D(f.exLinkEccRodBackSet);
        k.y23 = y10 - k.sa * D(f.exLinkEccRodBackSet);
        const double x25 = k.x23 + k.sa * e, y25 = k.y23 + k.ca * e;
        k.x14 = x25 - k.ca * D(f.exLinkSupportBackSet);
        k.y14 = y25 + k.sa * D(f.exLinkSupportBackSet);
        return SignedDistance(x15, y15, k.x14, k.y14) - D(f.liftLinkExLink);
    };
    Link trial{};
    auto linkFn = [&](double y10) { return placeLink(y10, trial); };
    double linkSlope = warm ? warm->linkSlope : 0;
    const double y10 = SolveRoot(linkFn, f.exLinkLength, warm && warm->valid, warm ? warm->linkHeight : 0,
                                 linkSlope, scale);
    if (!std::isfinite(y10)) {
        note(true, GeometryCause::LinkLiftSearch);
        out.cause = cause;
        if (warm) warm->valid = false;
        return cause;
    }
    placeLink(y10, link);
    note(link.rootFired || link.cosFired, GeometryCause::EccentricRod);
    note(link.betaFired, GeometryCause::EccentricRodsDead);
    note(link.aFired, GeometryCause::LinkLevel);
    X[10] = link.x10, Y[10] = y10, X[11] = link.x11, Y[11] = link.y11;
    X[23] = link.x23, Y[23] = link.y23, X[14] = link.x14, Y[14] = link.y14;
    X[25] = link.x23 + link.sa * e, Y[25] = link.y23 + link.ca * e;
    out.linkAngle = link.a;
    const double sa = link.sa, ca = link.ca;

    // Link ends and centre.
    const double x24 = link.x11 + ca * D(f.exLinkEccRodBackSet), y24 = link.y11 - sa * D(f.exLinkEccRodBackSet);
    X[24] = x24, Y[24] = y24;
    X[9] = (link.x23 + x24) / 2, Y[9] = (link.y23 + y24) / 2;
    const double h = D(f.exLinkLength) / 2 - D(f.exLinkEccRodVert);
    const double x6 = link.x23 + sa * h, y6 = link.y23 + ca * h;
    X[6] = x6, Y[6] = y6;
    X[7] = x24 - sa * h, Y[7] = y24 - ca * h;

    // The die at a height (pivot 8): the radius rod from it to the rocker's
    // lower end, which stands where the rod's circle meets the rocker's, on
    // the side below the rocker pivot where the classic solve settles.
    bool dFired = false;
    const double dLink = Divisor(y10 - link.y11, dead, dFired);
    note(dFired, GeometryCause::LinkLevel);
    const double R = f.radRodTotalLength, Lr = f.rockerLowerLength;
    struct Die {
        double x8, x5, y5, x26, y26;
        bool radRod, upright;
    } die{};
    const auto placeDie = [&](double y8, Die& k) {
        k.radRod = k.upright = false;
        k.x8 = x6 + (y8 - y6) * (link.x10 - link.x11) / dLink;
        const double dx = x27 - k.x8, dy = y27 - y8;
        double dd = std::hypot(dx, dy);
        if (dd == 0) {
            k.radRod = true;
            dd = dead;
        }
        const double along = (Sq(R) - Sq(Lr) + Sq(dd)) / (2 * dd);
        const double across = Root(Sq(R) - Sq(along), k.radRod);
        // The lower of the two meeting points.
        const double side = dx >= 0 ? -1 : 1;
        k.x5 = k.x8 + (along * dx - side * across * dy) / dd;
        k.y5 = y8 + (along * dy + side * across * dx) / dd;
        const double rr = std::atan((y8 - k.y5) / Divisor(k.x5 - k.x8, dead, k.upright));
        k.x26 = k.x8 + std::cos(rr) * D(f.radRodShortEnd);
        k.y26 = y8 - std::sin(rr) * D(f.radRodShortEnd);
        return SignedDistance(x17, y17, k.x26, k.y26) - D(f.liftLinkRadRod);
    };
    Die dieTrial{};
    auto dieFn = [&](double y8) { return placeDie(y8, dieTrial); };
    double dieSlope = warm ? warm->dieSlope : 0;
    const double y8 =
        SolveRoot(dieFn, f.exLinkLength, warm && warm->valid, warm ? warm->dieHeight : 0, dieSlope, scale);
    if (!std::isfinite(y8)) {
        note(true, GeometryCause::RadiusRodSearch);
        out.cause = cause;
        if (warm) warm->valid = false;
        return cause;
    }
    placeDie(y8, die);
    // The classic solve's radius rod runs forward from the die to a rocker
    // hanging below its pivot: anything else does not close on its branch.
    note(die.radRod || die.x5 < die.x8 || die.y5 > y27, GeometryCause::RadiusRodSearch);
    note(die.upright, GeometryCause::RadiusRodUpright);
    X[8] = die.x8, Y[8] = y8, X[5] = die.x5, Y[5] = die.y5, X[26] = die.x26, Y[26] = die.y26;

    // Rocker.
    double x29 = 0, y29 = 0;
    {
        bool fired = false;
        const double phi = std::atan((x27 - die.x5) / Divisor(die.y5 - y27, dead, fired));
        note(fired, GeometryCause::RockerLowerLevel);
        const double sp = std::sin(phi), cp = std::cos(phi);
        const double x28 = x27 - sp * D(f.rockerUpperTotal), y28 = y27 + cp * D(f.rockerUpperTotal);
        X[28] = x28, Y[28] = y28;
        x29 = x28 - cp * D(f.rockerUpperBackSet);
        y29 = y28 - sp * D(f.rockerUpperBackSet);
        X[29] = x29, Y[29] = y29;
    }

    // Valve spindle joint.
    {
        bool fired = false;
        const double psi = std::atan((x27 - x29) / Divisor(y27 - y29, dead, fired));
        note(fired, GeometryCause::RockerUpperLevel);
        X[4] = x27 + std::tan(psi) * (y4 - y27);
    }

    // Sheave points and the valve offset.
    {
        const double half = D(f.eccDia) / 2;
        bool fired = false;
        X[21] = x12 + half;
        Y[21] = y12 - half / Divisor(f.eccFwdRod, dead, fired) * (y12 - y10);
        note(fired, GeometryCause::FwdRodNoLength);
        X[22] = x13 + half;
        Y[22] = y13 - half / L * (y13 - link.y11);
        out.valveOffset = D(cy.valveCtrToJoint()) + X[4] - D(cy.cylCtrToDriverCtr());
    }

    if (cause == GeometryCause::None) {
        for (int p = 1; p < kPivotCount; ++p) {
            if (!std::isfinite(X[static_cast<std::size_t>(p)]) || !std::isfinite(Y[static_cast<std::size_t>(p)])) {
                cause = GeometryCause::NotFinite;
                break;
            }
        }
        if (!std::isfinite(out.valveOffset) || !std::isfinite(out.linkAngle)) cause = GeometryCause::NotFinite;
    }
    out.cause = cause;
    if (warm) {
        warm->valid = true;
        warm->linkHeight = y10;
        warm->dieHeight = y8;
        warm->linkSlope = linkSlope;
        warm->dieSlope = dieSlope;
    }
    return cause;
}

ExactPorts ExactPortOpenings(const Design& d, double driverAngle, double valveOffset) {
    ExactPorts p;
    const double t = Rad(driverAngle);
    double S = d.frame.stroke;
    // A stroke within the classic divisor's guard is no stroke, in any unit.
    if (!(std::fabs(S) >= 0.00001)) {
        p.cause = GeometryCause::StrokeZero;
        if (S == 0) S = 1e-5;
    }
    const double L = d.frame.mainRodLength;
    const double s = std::sin(t) * S / 2;
    bool fired = false;
    const double root = Root(L * L - s * s, fired);
    if (fired && p.cause == GeometryCause::None) p.cause = GeometryCause::MainRod;
    p.piston = 320 - (std::cos(t) + 2 * root / S - 2 * L / S) * 320;
    const CylinderDimensions& c = d.cyl;
    const double E = D(c.exhaustPortWidth()) / 2;
    const double v = valveOffset;
    p.frontSteam = E + D(c.bridgeFront()) + D(c.steamPortFront()) - D(c.valveFrontHalf()) - v;
    p.frontExhaust = v + D(c.cavityFrontHalf()) - E - D(c.bridgeFront());
    p.rearSteam = v - D(c.valveRearHalf()) + E + D(c.bridgeRear()) + D(c.steamPortRear());
    p.rearExhaust = D(c.cavityRearHalf()) - v - E - D(c.bridgeRear());
    return p;
}

void ToClassicSolution(const Design& design, const ExactPivots& exact, float driverAngle, Solution& s) {
    PlaceFixedPivots(design, s);
    // The pivots the classic solve places (1, the driver's centre, stays
    // at the origin; 19 and 20 are the user's reference points).
    for (int p = 2; p <= 29; ++p) {
        if (p == 19 || p == 20) continue;
        const auto i = static_cast<std::size_t>(p);
        s.piv.x[i] = F(exact.x[i]);
        s.piv.y[i] = F(exact.y[i]);
    }
    s.linkAngle = F(exact.linkAngle);
    ComputeEventLevels(design, s.events);
    s.events.valveOffset = F(exact.valveOffset);
    s.solveCause = exact.cause;
    s.solveCauseAngle = exact.cause == GeometryCause::None ? 0.0f : driverAngle;
}

} // namespace vx
