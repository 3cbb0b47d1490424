// The work of each end of the cylinder: from the exact valve events of a
// reverse arm position, the ideal indicator card of each end (real
// pressures, clearance, an expansion exponent), its mean effective pressure
// (MEP), the steam it uses per stroke and per unit of work, and the tractive
// effort of the whole engine at that position.
//
// The card of one end, with the events as fractions of the stroke from that
// end's own dead centre (a admission, k cut-off, r release, p compression),
// c the clearance as a fraction of the swept volume and x from 0 to 1:
//
//   outward stroke: p1 from 0 to k; expansion p1 ((c+k)/(c+x))^n from k to r;
//                   a straight line from there down to pb at 1;
//   return stroke:  pb from 1 to p; compression pb ((c+p)/(c+x))^n from p to
//                   a; a straight line from there up to p1 at 0.
//
//   MEP = integral of the outward line - integral of the return line,
//         in closed form (a logarithm for n = 1, powers otherwise);
//   steam per stroke = (c + k) - (pb/p1) (c + p), in units of p1 times the
//         swept volume: the steam held at cut-off less the steam kept from
//         the last stroke by compression;
//   steam per work = steam per stroke * p1 / MEP;
//   tractive effort = cylinders (MEP front + MEP rear) d^2 s / (4 D), d the
//         bore, s the stroke and D the driving wheel's diameter.
//
// Cases where the card is not the plain one are named in `cases` and always
// have a defined answer, never a NaN:
//   - an event missing: no card, no figures;
//   - r <= k: no expansion line; the admission line ends at release;
//   - p <= a: no compression line; the return line runs at pb to a;
//   - an event on the other side of a dead centre than the card expects
//     (admission after dead centre with negative lead, cut-off or release
//     after the far dead centre, compression before it): taken at that dead
//     centre;
//   - compression into no volume (c + a = 0), or a pressure beyond any
//     float: no figures;
//   - MEP <= 0: no steam per work.
//
// Pure and re-entrant: no globals, no allocation, no I/O.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "model/state/gear_state.h"
#include "model/analysis/valve_events.h"

namespace vx {

// What the card takes beyond the events. Pressures absolute, in any one
// unit (psi with inches gives the tractive effort in lbf).
struct WorkSettings {
    float admissionPressure = 200; // p1
    float backPressure = 18;       // pb
    float clearance = 0.08f;       // c, fraction of the swept volume
    float exponent = 1.0f;         // n: 1 hyperbolic, 1.3 a common alternative
    int cylinders = 2;
};

// The settings' limits beyond the rules p1 > pb >= 0, c >= 0, n > 0,
// cylinders >= 1.
constexpr float kMaxWorkPressure = 1e7f;
constexpr float kMaxWorkClearance = 100.0f;
constexpr float kMaxWorkExponent = 10.0f;
constexpr int kMaxWorkCylinders = 64;

// Empty when the settings are sound; else what is wrong, naming the setting.
std::string CheckWorkSettings(const WorkSettings& s);

// The named cases of a card (bits of IndicatorCard::cases).
enum CardCase : std::uint32_t {
    kCardMissingEvent = 1u << 0,   // an event is missing: no card
    kCardNoExpansion = 1u << 1,    // r <= k
    kCardNoCompression = 1u << 2,  // p <= a
    kCardLateAdmission = 1u << 3,  // admission after dead centre: taken at dead centre
    kCardLateCutOff = 1u << 4,     // cut-off after the far dead centre: full stroke
    kCardLateRelease = 1u << 5,    // release after the far dead centre: at the end of stroke
    kCardEarlyCompression = 1u << 6, // compression before the far dead centre: full return stroke
    kCardUnbounded = 1u << 7,      // compression into no volume, or beyond any float: no figures
    kCardNoWork = 1u << 8,         // MEP <= 0: no steam per work
};
constexpr int kCardCaseCount = 9;

// Short words for one case bit ("no expansion line", ...); "" for no bit.
std::string_view CardCaseText(std::uint32_t bit);
// The words of every case of `cases`, joined by "; " ("" for none).
std::string CardCasesText(std::uint32_t cases);

struct IndicatorCard {
    std::uint32_t cases = 0;
    bool hasCard = false; // every event found and the figures finite
    // The events as the card uses them, fractions of the stroke.
    float admission = 0, cutOff = 0, release = 0, compression = 0;
    bool expansionLine = false;
    bool compressionLine = false;
    float releasePressure = 0;     // at r: the expansion's end (p1 without one)
    float compressionPressure = 0; // at a: the compression's end (pb without one)
    float outwardIntegral = 0;     // integral of p dx over the outward stroke
    float returnIntegral = 0;
    float mep = 0;
    float mepRatio = 0;       // MEP / p1
    float steamPerStroke = 0; // in p1 x swept volume
    std::optional<float> steamPerWork;

    bool Has(CardCase c) const { return (cases & c) != 0; }
};

// The design's dimensions the tractive effort takes.
struct WorkDimensions {
    float boreDia = 0;
    float stroke = 0;
    float driverDia = 0;
};
WorkDimensions WorkDimensionsOf(const GearState& g);

struct PositionWork {
    float position = 0;
    bool forward = true;
    IndicatorCard front, rear;
    // Both cards, a driving wheel of positive diameter, a finite result.
    std::optional<float> tractiveEffort;

    const IndicatorCard& End(bool rear) const { return rear ? this->rear : front; }
    bool HasCards() const { return front.hasCard && rear.hasCard; }
};

// The card of one end. `rear` and `forward` place its dead centres on the
// crank (the front end's at 0 degrees, the rear's at 180).
IndicatorCard ComputeIndicatorCard(const EndEvents& e, bool rear, bool forward, const WorkSettings& s);

// Both cards and the tractive effort of one position. Settings are taken as
// given: check them first (CheckWorkSettings).
void ComputeWork(const PositionEvents& e, const WorkSettings& s, const WorkDimensions& d, PositionWork& out);
PositionWork ComputeWork(const PositionEvents& e, const WorkSettings& s, const WorkDimensions& d);

// The card's pressure at x (0..1, clamped) on the outward or the return
// stroke; 0 when the card has no figures.
float CardPressure(const IndicatorCard& card, const WorkSettings& s, bool outward, float x);

// The largest pressure on the card (p1, or the compression's end when
// higher); 0 without a card.
float CardPeakPressure(const IndicatorCard& card, const WorkSettings& s);

// MEP front minus rear, when both ends have figures.
std::optional<float> MepDifference(const PositionWork& w);

// What the work window, the picture and the report show: the cards of the
// design's listed reverse arm positions and of the nine notches (for the
// economy curve), running in the direction each position's side of mid
// gear gives.
struct WorkTable {
    int count = 0; // listed positions, 0..kRevArmPositions
    std::array<PositionEvents, kRevArmPositions> listEvents{};
    std::array<PositionWork, kRevArmPositions> list{};
    std::array<PositionEvents, kNotchCount> notchEvents{};
    std::array<PositionWork, kNotchCount> notches{};

    std::span<const PositionWork> List() const { return {list.data(), static_cast<std::size_t>(count)}; }
    std::span<const PositionEvents> ListEvents() const {
        return {listEvents.data(), static_cast<std::size_t>(count)};
    }
};

// Fills `out` for `design` (its positions list: the first positionCount,
// within 0..9), solving on `scratch`, a copy the caller owns and reuses (as
// for the events). A listed position that is also a notch is solved once.
// Allocates nothing.
// On the exact solve the notches stand at the exact mid gear, and each
// listed position at its offset from the design's mid gear, from the exact
// one (PositionOnSolve).
void ComputeWorkTable(GearState& scratch, const GearState& design, const WorkSettings& s, WorkTable& out,
                      SolveMode solve = SolveMode::Exact);

} // namespace vx
