#include "model/analysis/valve_events.h"

#include "base/float_cast.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "model/gear/exact_solver.h"
#include "model/gear/geometry_check.h"
#include "model/gear/midgear.h"
#include "model/gear/reverse_arm.h"
#include "model/gear/solver.h"

namespace vx {
namespace {


// Samples of the coarse turn: every 4 degrees.
constexpr int kSamples = 90;
constexpr double kSampleStep = 360.0 / kSamples;
// Settling rounds (see Turn::Settle) of the first solve of a turn, which
// starts from wherever the rocker was left.
constexpr int kFirstSettleRounds = 4;
constexpr double kSettled = 2e-8;
constexpr int kRootIterations = 60;
constexpr int kExtremumIterations = 60;

// The four openings, in this order.
enum Opening { kFrontSteam, kFrontExhaust, kRearSteam, kRearExhaust, kOpenings };

// On the classic solve each value is the classic float, widened.
struct Sample {
    std::array<double, kOpenings> open{};
    double piston = 0;
    double valveOffset = 0;
    double die = 0; // signed distance of the die from the link centre, along the link
};

double Fold(double degrees) {
    double a = std::fmod(degrees, 360.0);
    if (a < 0) a += 360.0;
    if (!(a < 360.0)) a = 0; // NaN or rounding up to 360
    return a;
}

float FoldToFloat(double degrees) {
    float a = F(Fold(degrees));
    if (!(a < 360.0f)) a = 0;
    return a;
}

// Solves the work state at one driver angle and reads what the events need.
class Turn {
public:
    Turn(GearState& g, PositionEvents& out, SolveMode solve, double position)
        : g_(g), out_(out), exact_(solve == SolveMode::Exact), position_(position) {}

    bool Exact() const { return exact_; }
    // A figure as the solve gives it: the classic one is a float.
    double Figure(double v) const { return exact_ ? v : D(F(v)); }
    // A crank angle in [0, 360), as the solve gives it.
    double Angle(double unfolded) const { return exact_ ? Fold(unfolded) : D(FoldToFloat(unfolded)); }
    // The root tolerance of an event angle, and of an extremum's angle.
    double RootTolerance() const { return exact_ ? 0.4 * kExactEventAngleTolerance : 0.8 * kEventAngleTolerance; }
    double ExtremumTolerance() const { return exact_ ? 2e-6 : 0.005; }

    Sample At(double angle) { return exact_ ? ExactAt(angle) : ClassicAt(angle); }

private:
    // The exact solve, warm-started from the one before.
    Sample ExactAt(double angle) {
        const double a = Fold(angle);
        SolveExact(g_, a, position_, piv_, &warm_);
        const ExactPorts p = ExactPortOpenings(g_, a, piv_.valveOffset);
        Sample s;
        s.open = {p.frontSteam, p.frontExhaust, p.rearSteam, p.rearExhaust};
        s.piston = p.piston;
        s.valveOffset = piv_.valveOffset;
        const auto& X = piv_.x;
        const auto& Y = piv_.y;
        const double la = piv_.linkAngle;
        s.die = (X[8] - X[9]) * std::sin(la) + (Y[8] - Y[9]) * std::cos(la);
        // A stroke of no length is the root of whatever else fails: the
        // searches, scaled by the stroke, have nothing to step by.
        GeometryCause cause = p.cause == GeometryCause::StrokeZero ? p.cause
                              : piv_.cause != GeometryCause::None ? piv_.cause
                                                                   : p.cause;
        if (cause == GeometryCause::None) {
            bool finite = std::isfinite(s.piston) && std::isfinite(s.die);
            for (const double v : s.open) finite = finite && std::isfinite(v);
            if (!finite) cause = GeometryCause::NotFinite;
        }
        if (cause != GeometryCause::None) {
            if (out_.failedSolves == 0) {
                out_.firstCause = cause;
                out_.firstCauseAngle = F(a);
            }
            ++out_.failedSolves;
        }
        return s;
    }

    Sample ClassicAt(double angle) {
        const float a = FoldToFloat(angle);
        g_.motion.driverAngle = a;
        Settle();
        const GeometryCause portsCause = PistonAndPortsFault(g_);
        if (cause_ == GeometryCause::None) cause_ = portsCause;
        if (cause_ != GeometryCause::None) {
            if (out_.failedSolves == 0) {
                out_.firstCause = cause_;
                out_.firstCauseAngle = a;
            }
            ++out_.failedSolves;
        }
        Sample s;
        const PortOpenings& p = g_.ports;
        s.open = {p.frontSteamOpening, p.frontExhaustOpening, p.rearSteamOpening, p.rearExhaustOpening};
        s.piston = p.pistonPosition;
        s.valveOffset = g_.events.valveOffset;
        const auto& X = g_.piv.x;
        const auto& Y = g_.piv.y;
        const double la = g_.linkAngle;
        s.die = F((D(X[8]) - D(X[9])) * std::sin(la) + (D(Y[8]) - D(Y[9])) * std::cos(la));
        return s;
    }

    // The rocker's lower end is carried from one solve into the next: at a
    // fixed angle the solves converge on the linkage's true position, each
    // about ten times closer. Two solves and an Aitken step from them give
    // the point the sequence tends to, and one more solve places the
    // linkage there.
    void Solve() {
        SolveLinkage(g_);
        if (cause_ == GeometryCause::None) cause_ = g_.solveCause;
    }
    void Settle() {
        cause_ = GeometryCause::None;
        float& y5 = g_.piv.y[5];
        const int rounds = settleRounds_;
        settleRounds_ = 1;
        for (int i = 0; i < rounds; ++i) {
            const double y0 = y5;
            Solve();
            const double y1 = y5;
            if (y1 == y0) return;
            Solve();
            const double y2 = y5;
            // Settled to a few units in the last place: the next step could
            // not move the linkage by anything the events can see.
            if (std::fabs(y2 - y1) <= kSettled * std::max(1.0, std::fabs(y2))) return;
            const double d1 = y2 - y1, d0 = y1 - y0, denom = d1 - d0;
            if (denom == 0 || !std::isfinite(denom)) continue;
            const double limit = y2 - d1 * d1 / denom;
            // Only a step that continues the sequence's way, not a jump.
            if (std::isfinite(limit) && std::fabs(limit - y2) <= 4 * std::fabs(d1)) {
                y5 = F(limit);
                Solve();
            }
        }
    }

    GearState& g_;
    PositionEvents& out_;
    GeometryCause cause_ = GeometryCause::None;
    int settleRounds_ = kFirstSettleRounds;
    bool exact_ = false;
    double position_ = 0;
    ExactPivots piv_;
    ExactWarmStart warm_;
};

struct Root {
    double angle = 0; // unfolded
    double piston = 0;
};

// Where opening k changes sign between lo (value flo) and hi (value fhi) of
// opposite sides of zero: Brent's method until the bracket is narrower than
// the angle tolerance. The answer lies within the final bracket.
Root FindCrossing(Turn& turn, int k, double lo, double flo, double hi, double fhi, double pistonLo,
                  double pistonHi) {
    // f > 0 is "open"; zero counts as closed, so shift the closed side to <= 0.
    double a = lo, b = hi, fa = flo, fb = fhi;
    double pa = pistonLo, pb = pistonHi;
    double c = a, fc = fa, d = b - a, e = d;
    double pc = pa;
    const double tol = turn.RootTolerance();
    for (int it = 0; it < kRootIterations; ++it) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            pc = pa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
            pa = pb;
            pb = pc;
            pc = pa;
        }
        const double tol1 = 0.5 * tol;
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || !std::isfinite(fb)) break;
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2 * xm * s;
                q = 1 - s;
            } else {
                const double qq = fa / fc, r = fb / fc;
                p = s * (2 * xm * qq * (qq - r) - (b - a) * (r - 1));
                q = (qq - 1) * (r - 1) * (s - 1);
            }
            if (p > 0) q = -q;
            p = std::fabs(p);
            if (2 * p < std::min(3 * xm * q - std::fabs(tol1 * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        pa = pb;
        b += std::fabs(d) > tol1 ? d : (xm > 0 ? tol1 : -tol1);
        const Sample s = turn.At(b);
        fb = s.open[static_cast<std::size_t>(k)];
        pb = s.piston;
    }
    return {b, pb};
}

struct Extremum {
    double value = 0;
    double angle = 0; // unfolded
};

// The largest (sign +1) or smallest (sign -1) of a sampled quantity near
// sample angle `at`, and where: Brent's parabolic and golden-section search
// over the two neighbouring intervals, started from the best sample.
template <class Get>
Extremum FindExtremum(Turn& turn, double at, double best, double sign, Get get) {
    constexpr double kGold = 0.3819660112501051;
    double a = at - kSampleStep, b = at + kSampleStep;
    double x = at, w = at, v = at;
    double fx = -sign * best, fw = fx, fv = fx;
    double d = 0, e = 0;
    const double tol = turn.ExtremumTolerance(); // degrees: far inside the value tolerance near a smooth extremum
    for (int it = 0; it < kExtremumIterations; ++it) {
        const double xm = 0.5 * (a + b);
        const double tol1 = tol, tol2 = 2 * tol1;
        if (std::fabs(x - xm) <= tol2 - 0.5 * (b - a)) break;
        if (std::fabs(e) > tol1) {
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2 * (q - r);
            if (q > 0) p = -p;
            q = std::fabs(q);
            const double etemp = e;
            e = d;
            if (std::fabs(p) >= std::fabs(0.5 * q * etemp) || p <= q * (a - x) || p >= q * (b - x)) {
                e = x >= xm ? a - x : b - x;
                d = kGold * e;
            } else {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2) d = xm - x >= 0 ? tol1 : -tol1;
            }
        } else {
            e = x >= xm ? a - x : b - x;
            d = kGold * e;
        }
        const double u = std::fabs(d) >= tol1 ? x + d : x + (d >= 0 ? tol1 : -tol1);
        const double fu = -sign * get(turn.At(u));
        if (!std::isfinite(fu)) break;
        if (fu <= fx) {
            if (u >= x) a = x;
            else b = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            if (u < x) a = u;
            else b = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    return {-sign * fx, x};
}

// Index of the largest (sign +1) or smallest (sign -1) sample.
template <class Get>
int BestSample(const std::array<Sample, kSamples>& s, double sign, Get get) {
    int best = 0;
    for (int i = 1; i < kSamples; ++i) {
        if (sign * get(s[static_cast<std::size_t>(i)]) > sign * get(s[static_cast<std::size_t>(best)])) best = i;
    }
    return best;
}

double Percent(const Turn& turn, bool rear, double piston) {
    return turn.Figure(rear ? (640 - piston) / 6.4 : piston / 6.4);
}

// The opening and closing of one port's longest open interval, and how many
// times it opens. `opening`/`closing` get the crank angle and the percentage.
struct PortEvents {
    std::optional<double> openAngle, closeAngle, openPercent, closePercent;
    int openings = 0;
};

// The events of an open interval from `rise` to `fall` (in driving order
// when running forward).
void SetPortEvents(const Turn& turn, PortEvents& r, const Root& rise, const Root& fall, bool rear, bool forward) {
    const Root& opening = forward ? rise : fall;
    const Root& closing = forward ? fall : rise;
    r.openAngle = turn.Angle(opening.angle);
    r.closeAngle = turn.Angle(closing.angle);
    // A piston without a place (a design beyond reason) gives no percentage.
    if (const double v = Percent(turn, rear, opening.piston); std::isfinite(v)) r.openPercent = v;
    if (const double v = Percent(turn, rear, closing.piston); std::isfinite(v)) r.closePercent = v;
}

PortEvents FindPortEvents(Turn& turn, const std::array<Sample, kSamples>& s, int k, bool rear, bool forward) {
    PortEvents r;
    const auto open = [&](int i) { return s[static_cast<std::size_t>(i % kSamples)].open[static_cast<std::size_t>(k)] > 0; };
    for (int i = 0; i < kSamples; ++i) {
        if (!open(i) && open(i + 1)) ++r.openings;
    }
    if (r.openings == 0) return r; // never opens, or never closes

    // Each open interval: from a rising edge to the next falling edge.
    double bestLength = -1;
    Root bestRise, bestFall;
    for (int i = 0; i < kSamples; ++i) {
        if (!(!open(i) && open(i + 1))) continue;
        int j = i + 1;
        while (open(j + 1)) ++j; // ends, since some sample is closed
        const Sample& r0 = s[static_cast<std::size_t>(i)];
        const Sample& r1 = s[static_cast<std::size_t>((i + 1) % kSamples)];
        const Sample& f0 = s[static_cast<std::size_t>(j % kSamples)];
        const Sample& f1 = s[static_cast<std::size_t>((j + 1) % kSamples)];
        const std::size_t kk = static_cast<std::size_t>(k);
        const Root rise = FindCrossing(turn, k, i * kSampleStep, r0.open[kk], (i + 1) * kSampleStep, r1.open[kk],
                                       r0.piston, r1.piston);
        const Root fall = FindCrossing(turn, k, j * kSampleStep, f0.open[kk], (j + 1) * kSampleStep, f1.open[kk],
                                       f0.piston, f1.piston);
        const double length = fall.angle - rise.angle;
        if (length > bestLength) {
            bestLength = length;
            bestRise = rise;
            bestFall = fall;
        }
    }
    SetPortEvents(turn, r, bestRise, bestFall, rear, forward);
    return r;
}

// A port that no sample finds open may still open between two samples,
// around the valve's extreme offset at `peak`: the crossings on either
// side of it, within the closed samples around it.
void FindShortOpening(Turn& turn, const std::array<Sample, kSamples>& s, int k, bool rear, bool forward,
                      double peak, PortEvents& r) {
    const auto kk = static_cast<std::size_t>(k);
    const auto sampleAt = [&](double i) {
        const auto n = static_cast<long long>(i);
        return s[static_cast<std::size_t>(((n % kSamples) + kSamples) % kSamples)];
    };
    bool anyClosed = false;
    for (const Sample& x : s) anyClosed = anyClosed || !(x.open[kk] > 0);
    if (!anyClosed || !std::isfinite(peak)) return; // open all the turn: it never closes
    const Sample top = turn.At(peak);
    if (!(top.open[kk] > 0)) return;
    const double i = std::floor(peak / kSampleStep);
    const Sample& before = sampleAt(i);
    const Sample& after = sampleAt(i + 1);
    if (before.open[kk] > 0 || after.open[kk] > 0) return;
    const Root rise = FindCrossing(turn, k, i * kSampleStep, before.open[kk], peak, top.open[kk], before.piston,
                                   top.piston);
    const Root fall = FindCrossing(turn, k, peak, top.open[kk], (i + 1) * kSampleStep, after.open[kk], top.piston,
                                   after.piston);
    r.openings = 1;
    SetPortEvents(turn, r, rise, fall, rear, forward);
}

} // namespace

bool RunsForward(const GearState& design, double position, EventDirection direction) {
    switch (direction) {
    case EventDirection::Forward: return true;
    case EventDirection::Reverse: return false;
    case EventDirection::Auto: break;
    }
    return DirectionAt(F(position), design.revArm.centre) == Direction::Fwd;
}

namespace {

// Auto on the exact solve runs forward up to and at the exact mid gear, and
// at the design's own mid gear (a position the window holds).
bool RunsForward(const GearState& design, double position, EventDirection direction, SolveMode solve) {
    if (direction != EventDirection::Auto || solve == SolveMode::Classic) return RunsForward(design, position, direction);
    return position <= MidGearCentre(design, solve) || position == D(design.revArm.centre);
}

} // namespace

void ComputeValveEvents(GearState& g, double position, EventDirection direction, PositionEvents& out,
                        SolveMode solve, EventDetail detail) {
    out = PositionEvents{};
    out.solve = solve;
    // The classic solve carries the rocker from solve to solve, so that
    // every search it makes moves the ones after it: it always finds all.
    const bool full = detail == EventDetail::Full || solve == SolveMode::Classic;
    // The classic solve places a position held as a float.
    if (solve == SolveMode::Classic) position = D(F(position));
    out.position = position;
    out.forward = RunsForward(g, position, direction, solve);
    g.motion.reverseArmPosition = F(position);
    // The rocker starts hanging straight down whatever the work state solved
    // before: the result depends on the design and the position only.
    g.piv.y[5] = F(D(g.fixedPivots.rockerPivotY) - D(g.frame.rockerLowerLength));
    Turn turn(g, out, solve, position);

    std::array<Sample, kSamples> s;
    for (int i = 0; i < kSamples; ++i) s[static_cast<std::size_t>(i)] = turn.At(i * kSampleStep);

    PortEvents fs = FindPortEvents(turn, s, kFrontSteam, false, out.forward);
    PortEvents fe = FindPortEvents(turn, s, kFrontExhaust, false, out.forward);
    PortEvents rs = FindPortEvents(turn, s, kRearSteam, true, out.forward);
    PortEvents re = FindPortEvents(turn, s, kRearExhaust, true, out.forward);
    const auto fill = [](EndEvents& e, const PortEvents& steam, const PortEvents& exhaust) {
        e.admissionAngle = steam.openAngle;
        e.cutOffAngle = steam.closeAngle;
        e.admission = steam.openPercent;
        e.cutOff = steam.closePercent;
        e.releaseAngle = exhaust.openAngle;
        e.compressionAngle = exhaust.closeAngle;
        e.release = exhaust.openPercent;
        e.compression = exhaust.closePercent;
        e.steamOpenings = steam.openings;
        e.exhaustOpenings = exhaust.openings;
    };

    // Every opening is the valve offset plus or minus a constant: the
    // largest openings come from the extremes of the offset.
    // Only the figures: the extremes of the offset are wanted only where a
    // port may open between two samples.
    const bool offsetExtremes = full || fs.openings == 0 || fe.openings == 0 || rs.openings == 0 || re.openings == 0;
    const auto offset = [](const Sample& x) { return x.valveOffset; };
    const auto die = [](const Sample& x) { return x.die; };
    Extremum top, bottom;
    if (offsetExtremes) {
        const int iMax = BestSample(s, 1, offset), iMin = BestSample(s, -1, offset);
        top = FindExtremum(turn, iMax * kSampleStep, offset(s[static_cast<std::size_t>(iMax)]), 1, offset);
        bottom = FindExtremum(turn, iMin * kSampleStep, offset(s[static_cast<std::size_t>(iMin)]), -1, offset);
        out.valveTravel = turn.Figure(top.value - bottom.value);
    }
    const double vMax = top.value, vMin = bottom.value;
    if (full) {
        const int jMax = BestSample(s, 1, die), jMin = BestSample(s, -1, die);
        const double dMax =
            FindExtremum(turn, jMax * kSampleStep, die(s[static_cast<std::size_t>(jMax)]), 1, die).value;
        const double dMin =
            FindExtremum(turn, jMin * kSampleStep, die(s[static_cast<std::size_t>(jMin)]), -1, die).value;
        out.dieSlip = turn.Figure(dMax - dMin);
    }

    const Sample& any = s[0];
    const double v0 = any.valveOffset;
    const auto shifted = [&](int k, double v) {
        // opening = c + sign * offset for each port; c and sign from one sample.
        const double o0 = any.open[static_cast<std::size_t>(k)];
        const bool plus = k == kFrontExhaust || k == kRearSteam;
        return o0 + (plus ? v - v0 : v0 - v);
    };
    if (offsetExtremes) {
        out.front.maxSteamOpening = turn.Figure(shifted(kFrontSteam, vMin));
        out.front.maxExhaustOpening = turn.Figure(shifted(kFrontExhaust, vMax));
        out.rear.maxSteamOpening = turn.Figure(shifted(kRearSteam, vMax));
        out.rear.maxExhaustOpening = turn.Figure(shifted(kRearExhaust, vMin));
    }

    // An opening shorter than the samples' spacing: looked for around the
    // extreme offset that gives the port its largest opening.
    const auto shortOpening = [&](PortEvents& r, int k, bool rear, double largest, const Extremum& at) {
        if (r.openings == 0 && largest > 0) FindShortOpening(turn, s, k, rear, out.forward, at.angle, r);
    };
    shortOpening(fs, kFrontSteam, false, out.front.maxSteamOpening, bottom);
    shortOpening(fe, kFrontExhaust, false, out.front.maxExhaustOpening, top);
    shortOpening(rs, kRearSteam, true, out.rear.maxSteamOpening, top);
    shortOpening(re, kRearExhaust, true, out.rear.maxExhaustOpening, bottom);
    fill(out.front, fs, fe);
    fill(out.rear, rs, re);

    // Lead: the steam opening at each end's dead centre.
    static_assert(kSamples % 2 == 0, "180 degrees is a sample angle");
    out.front.lead = s[0].open[kFrontSteam];
    out.rear.lead = s[kSamples / 2].open[kRearSteam];

    // The main rod is shortest for the crank at 90 and 270 degrees, which
    // fall between the samples: a rod a hair too short fails only there, as
    // the geometry check finds it. Solved last, so that the events above
    // keep their bits.
    for (const double angle : {90.0, 270.0}) turn.At(angle);
}

PositionEvents ComputeValveEvents(GearState design, double position, EventDirection direction, SolveMode solve) {
    PositionEvents out;
    ComputeValveEvents(design, position, direction, out, solve);
    return out;
}

std::optional<double> ExactMidGearOf(const GearState& design) {
    // A memo of the last design's, one per thread: a table of positions
    // asks for it once per position.
    struct Memo {
        bool valid = false;
        Design design;
        std::optional<double> centre;
    };
    thread_local Memo memo;
    const Design& d = design;
    static_assert(std::is_trivially_copyable_v<Design>);
    if (!memo.valid || std::memcmp(&memo.design, &d, sizeof(Design)) != 0) {
        memo.design = d;
        memo.centre = FindExactMidGear(d);
        memo.valid = true;
    }
    return memo.centre;
}

double MidGearCentre(const GearState& design, SolveMode solve) {
    if (solve == SolveMode::Exact) {
        if (const auto mid = ExactMidGearOf(design)) return *mid;
    }
    return design.revArm.centre;
}

double PositionOnSolve(const GearState& design, float position, SolveMode solve) {
    if (solve == SolveMode::Classic) return position;
    return MidGearCentre(design, solve) + (D(position) - D(design.revArm.centre));
}

std::array<float, kNotchCount> NotchPositions(const GearState& design) {
    std::array<float, kNotchCount> p{};
    const double centre = design.revArm.centre;
    const double norm = design.frame.revArmToCentNorm;
    const double max = design.frame.revArmToCentMax;
    for (int k = -4; k <= 4; ++k) {
        double offset = norm * k / 4;
        if (offset > max) offset = max;
        if (offset < -max) offset = -max;
        p[static_cast<std::size_t>(k + 4)] = F(centre + offset);
    }
    return p;
}

std::array<double, kNotchCount> NotchPositions(const GearState& design, SolveMode solve) {
    std::array<double, kNotchCount> p{};
    if (solve == SolveMode::Classic) {
        const auto classic = NotchPositions(design);
        std::copy(classic.begin(), classic.end(), p.begin());
        return p;
    }
    const double centre = MidGearCentre(design, solve);
    const double norm = design.frame.revArmToCentNorm;
    const double max = design.frame.revArmToCentMax;
    for (int k = -4; k <= 4; ++k) {
        double offset = norm * k / 4;
        if (offset > max) offset = max;
        if (offset < -max) offset = -max;
        p[static_cast<std::size_t>(k + 4)] = centre + offset;
    }
    return p;
}

void ComputeValveEventsTable(const GearState& design, std::span<const float> positions, EventDirection direction,
                             std::span<PositionEvents> out, SolveMode solve) {
    GearState work = design;
    const std::size_t n = std::min(positions.size(), out.size());
    for (std::size_t i = 0; i < n; ++i) ComputeValveEvents(work, positions[i], direction, out[i], solve);
}

void ComputeValveEventsTable(const GearState& design, std::span<const double> positions, EventDirection direction,
                             std::span<PositionEvents> out, SolveMode solve) {
    GearState work = design;
    const std::size_t n = std::min(positions.size(), out.size());
    for (std::size_t i = 0; i < n; ++i) ComputeValveEvents(work, positions[i], direction, out[i], solve);
}

} // namespace vx
