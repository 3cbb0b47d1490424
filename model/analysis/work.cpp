#include "model/analysis/work.h"

#include "base/float_cast.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/fixed_format.h"

namespace vx {
namespace {


constexpr double kFloatMax = std::numeric_limits<float>::max();

bool FitsFloat(double v) { return std::isfinite(v) && std::fabs(v) <= kFloatMax; }

std::string Number(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatGeneral9(buf, v));
}

// Where a crank angle lies in this end's cycle: degrees from its own dead
// centre in the running direction, [0, 360). Below 180: the outward stroke.
double CyclePlace(float angle, bool rear, bool forward) {
    const double dc = rear ? 180.0 : 0.0;
    double t = (D(angle) - dc) * (forward ? 1.0 : -1.0);
    t = std::fmod(t, 360.0);
    if (t < 0) t += 360.0;
    if (!(t < 360.0)) t = 0;
    return t;
}

bool OnOutwardStroke(float angle, bool rear, bool forward) { return CyclePlace(angle, rear, forward) < 180.0; }

// A percentage as a fraction of the stroke, within 0..1.
float Fraction(float percent) {
    const double f = D(percent) / 100.0;
    if (!(f > 0)) return 0; // also NaN
    return f < 1 ? F(f) : 1.0f;
}

// The integral from x0 to x1 of P (V0/(c+x))^n, V0 = c + x0 (the line that
// starts at pressure P at x0): expansion when x1 > x0, compression when
// x1 < x0 (then the integral is negative). V0 and V1 = c + x1 not negative.
// Infinite where the line runs into no volume.
double PolytropicIntegral(double P, double v0, double v1, double n) {
    if (v0 == v1 || P == 0) return 0;
    if (v0 == 0) return 0; // from no volume: the pressure is 0 beyond it
    if (v1 == 0) {
        // Into no volume: finite only for n < 1.
        if (n < 1) return -P * v0 / (1 - n);
        return -std::numeric_limits<double>::infinity();
    }
    if (n == 1) return P * v0 * std::log(v1 / v0);
    return P * v0 * (std::pow(v0 / v1, n - 1) - 1) / (1 - n);
}

// Same end pressure: P (V0/V1)^n.
double PolytropicEnd(double P, double v0, double v1, double n) {
    if (v0 == 0 || P == 0) return 0;
    if (v1 == 0) return std::numeric_limits<double>::infinity();
    return P * std::pow(v0 / v1, n);
}

} // namespace

std::string CheckWorkSettings(const WorkSettings& s) {
    const double p1 = s.admissionPressure, pb = s.backPressure, c = s.clearance, n = s.exponent;
    if (!std::isfinite(p1) || p1 > kMaxWorkPressure)
        return "the admission pressure p1 must be a finite number up to " + Number(kMaxWorkPressure) + ", got " +
               Number(p1);
    if (!std::isfinite(pb) || pb > kMaxWorkPressure)
        return "the back pressure pb must be a finite number up to " + Number(kMaxWorkPressure) + ", got " +
               Number(pb);
    if (pb < 0) return "the back pressure pb is absolute and must not be negative, got " + Number(pb);
    if (!(p1 > pb))
        return "the admission pressure p1 (" + Number(p1) + ") must be above the back pressure pb (" + Number(pb) +
               ")";
    if (!std::isfinite(c) || c > kMaxWorkClearance)
        return "the clearance c must be a finite number up to " + Number(kMaxWorkClearance) + ", got " + Number(c);
    if (c < 0) return "the clearance c must not be negative, got " + Number(c);
    if (!std::isfinite(n) || n > kMaxWorkExponent)
        return "the expansion exponent n must be a finite number up to " + Number(kMaxWorkExponent) + ", got " +
               Number(n);
    if (!(n > 0)) return "the expansion exponent n must be above 0, got " + Number(n);
    if (s.cylinders < 1 || s.cylinders > kMaxWorkCylinders)
        return "the cylinders must number 1 to " + std::to_string(kMaxWorkCylinders) + ", got " +
               std::to_string(s.cylinders);
    return {};
}

std::string_view CardCaseText(std::uint32_t bit) {
    switch (bit) {
    case kCardMissingEvent: return "an event is missing: no card";
    case kCardNoExpansion: return "release at or before cut-off: no expansion line";
    case kCardNoCompression: return "compression at or before admission: no compression line";
    case kCardLateAdmission: return "admission after dead centre: taken at dead centre";
    case kCardLateCutOff: return "cut-off after the far dead centre: steam for the whole stroke";
    case kCardLateRelease: return "release after the far dead centre: taken at the end of the stroke";
    case kCardEarlyCompression: return "compression before the far dead centre: over the whole return stroke";
    case kCardUnbounded: return "compression into no volume: no figures";
    case kCardNoWork: return "no positive work: no steam per work";
    default: return "";
    }
}

std::string CardCasesText(std::uint32_t cases) {
    std::string out;
    for (int i = 0; i < kCardCaseCount; ++i) {
        const std::uint32_t bit = 1u << i;
        if ((cases & bit) == 0) continue;
        if (!out.empty()) out += "; ";
        out += CardCaseText(bit);
    }
    return out;
}

IndicatorCard ComputeIndicatorCard(const EndEvents& e, bool rear, bool forward, const WorkSettings& s) {
    IndicatorCard card;
    if (!e.admission || !e.cutOff || !e.release || !e.compression || !e.admissionAngle || !e.cutOffAngle ||
        !e.releaseAngle || !e.compressionAngle) {
        card.cases = kCardMissingEvent;
        return card;
    }
    // Each event on the stroke the card expects it on, else at that dead centre.
    card.admission = Fraction(*e.admission);
    if (OnOutwardStroke(*e.admissionAngle, rear, forward)) {
        card.cases |= kCardLateAdmission;
        card.admission = 0;
    }
    card.cutOff = Fraction(*e.cutOff);
    if (!OnOutwardStroke(*e.cutOffAngle, rear, forward)) {
        card.cases |= kCardLateCutOff;
        card.cutOff = 1;
    }
    card.release = Fraction(*e.release);
    if (!OnOutwardStroke(*e.releaseAngle, rear, forward)) {
        card.cases |= kCardLateRelease;
        card.release = 1;
    }
    card.compression = Fraction(*e.compression);
    if (OnOutwardStroke(*e.compressionAngle, rear, forward)) {
        card.cases |= kCardEarlyCompression;
        card.compression = 1;
    }

    const double p1 = s.admissionPressure, pb = s.backPressure, c = s.clearance, n = s.exponent;
    const double a = card.admission, k = card.cutOff, r = card.release, p = card.compression;

    // Outward: admission at p1 to cut-off (to release when that comes first),
    // expansion to release, the release line down to pb at the end.
    card.expansionLine = r > k;
    if (!card.expansionLine) card.cases |= kCardNoExpansion;
    const double steamEnd = card.expansionLine ? k : r;
    const float expansion = card.expansionLine ? F(PolytropicIntegral(p1, c + k, c + r, n)) : 0.0f;
    card.releasePressure = card.expansionLine ? F(PolytropicEnd(p1, c + k, c + r, n)) : s.admissionPressure;
    card.outwardIntegral = F(p1 * steamEnd + D(expansion) + (D(card.releasePressure) + pb) / 2 * (1 - r));

    // Return: pb to compression, compression to admission, the
    // pre-admission line up to p1 at dead centre.
    card.compressionLine = p > a;
    if (!card.compressionLine) card.cases |= kCardNoCompression;
    const double exhaustEnd = card.compressionLine ? p : a;
    // The compression integral runs from p down to a: its sign turned.
    const float compression = card.compressionLine ? F(-PolytropicIntegral(pb, c + p, c + a, n)) : 0.0f;
    card.compressionPressure = card.compressionLine ? F(PolytropicEnd(pb, c + p, c + a, n)) : s.backPressure;
    card.returnIntegral = F(pb * (1 - exhaustEnd) + D(compression) + (D(card.compressionPressure) + p1) / 2 * a);

    card.mep = F(D(card.outwardIntegral) - D(card.returnIntegral));
    card.mepRatio = F(D(card.mep) / p1);
    card.steamPerStroke = F((c + k) - pb / p1 * (c + p));
    if (!FitsFloat(expansion) || !FitsFloat(compression) || !FitsFloat(card.releasePressure) ||
        !FitsFloat(card.compressionPressure) || !FitsFloat(card.outwardIntegral) ||
        !FitsFloat(card.returnIntegral) || !FitsFloat(card.mep) || !FitsFloat(card.mepRatio) ||
        !FitsFloat(card.steamPerStroke)) {
        card.cases |= kCardUnbounded;
        card.releasePressure = card.compressionPressure = 0;
        card.outwardIntegral = card.returnIntegral = card.mep = card.mepRatio = card.steamPerStroke = 0;
        return card;
    }
    card.hasCard = true;
    const float perWork = card.mep > 0 ? F(D(card.steamPerStroke) * p1 / D(card.mep)) : 0.0f;
    if (card.mep > 0 && FitsFloat(perWork)) card.steamPerWork = perWork;
    else card.cases |= kCardNoWork;
    return card;
}

WorkDimensions WorkDimensionsOf(const GearState& g) {
    return {g.cyl.boreDia(), g.frame.stroke, g.frame.driverDia};
}

void ComputeWork(const PositionEvents& e, const WorkSettings& s, const WorkDimensions& d, PositionWork& out) {
    out.position = e.position;
    out.forward = e.forward;
    out.front = ComputeIndicatorCard(e.front, false, e.forward, s);
    out.rear = ComputeIndicatorCard(e.rear, true, e.forward, s);
    out.tractiveEffort.reset();
    if (!out.HasCards() || !(d.driverDia > 0)) return;
    const float te = F(s.cylinders * (D(out.front.mep) + D(out.rear.mep)) * D(d.boreDia) * D(d.boreDia) *
                       D(d.stroke) / (4 * D(d.driverDia)));
    if (FitsFloat(te)) out.tractiveEffort = te;
}

PositionWork ComputeWork(const PositionEvents& e, const WorkSettings& s, const WorkDimensions& d) {
    PositionWork w;
    ComputeWork(e, s, d, w);
    return w;
}

float CardPressure(const IndicatorCard& card, const WorkSettings& s, bool outward, float xIn) {
    if (!card.hasCard) return 0;
    double x = xIn;
    if (!(x > 0)) x = 0;
    if (x > 1) x = 1;
    const double p1 = s.admissionPressure, pb = s.backPressure, c = s.clearance, n = s.exponent;
    const double a = card.admission, k = card.cutOff, r = card.release, p = card.compression;
    if (outward) {
        if (x >= r) {
            if (r >= 1) return card.releasePressure;
            return F(D(card.releasePressure) + (pb - D(card.releasePressure)) * (x - r) / (1 - r));
        }
        if (!card.expansionLine || x <= k) return s.admissionPressure;
        return F(PolytropicEnd(p1, c + k, c + x, n));
    }
    if (x <= a) {
        if (a <= 0) return card.compressionPressure;
        return F(p1 + (D(card.compressionPressure) - p1) * x / a);
    }
    if (!card.compressionLine || x >= p) return s.backPressure;
    return F(PolytropicEnd(pb, c + p, c + x, n));
}

float CardPeakPressure(const IndicatorCard& card, const WorkSettings& s) {
    if (!card.hasCard) return 0;
    return std::max(s.admissionPressure, card.compressionPressure);
}

std::optional<float> MepDifference(const PositionWork& w) {
    if (!w.HasCards()) return std::nullopt;
    return F(D(w.front.mep) - D(w.rear.mep));
}

void ComputeWorkTable(GearState& scratch, const GearState& design, const WorkSettings& s, WorkTable& out,
                      SolveMode solve) {
    scratch = design;
    const WorkDimensions dims = WorkDimensionsOf(design);
    const auto notches = NotchPositions(design, solve);
    for (std::size_t i = 0; i < notches.size(); ++i) {
        ComputeValveEvents(scratch, notches[i], EventDirection::Auto, out.notchEvents[i], solve);
        ComputeWork(out.notchEvents[i], s, dims, out.notches[i]);
    }
    out.count = std::clamp(design.revArm.positionCount, 0, kRevArmPositions);
    for (std::size_t i = 0; i < static_cast<std::size_t>(out.count); ++i) {
        const double position = PositionOnSolve(design, design.revArm.position[i + 1], solve);
        std::size_t same = notches.size();
        for (std::size_t k = 0; k < notches.size(); ++k)
            if (notches[k] == position) same = k;
        if (same < notches.size()) out.listEvents[i] = out.notchEvents[same];
        else ComputeValveEvents(scratch, position, EventDirection::Auto, out.listEvents[i], solve);
        ComputeWork(out.listEvents[i], s, dims, out.list[i]);
    }
}

} // namespace vx
