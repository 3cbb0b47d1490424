// How much each dimension moves the valve events: for every reverse arm
// position asked for and every dimension, the derivative of each event
// figure with respect to that dimension, by central differences on copies
// of the design.
//
// On the exact solve (the default) the step is chosen for accuracy: about
// 1e-6 of the design's size (1e-5 degree for an angle), and never less than
// four units in the last place of the dimension's float (the retry at a
// tenth of the step: never under one unit). The one-sided
// slopes of each entry are compared: where they disagree, or where the
// figure appears or disappears within the step, the figure turns a corner
// there and the entry is marked a kink, with no number.
//
// On the classic solve the step is scaled to the dimension: 1e-3 of its
// value (1e-4 for a value of 0), 0.01 degree for an angle, as long as the
// classic searches' staircase wants it.
//
// Each side of the difference is the design with the dimension committed
// as an editor commits it and its mid gear found again (the exact mid gear
// on the exact solve), as `vexlin-cli --set FIELD=VALUE events` finds it;
// the positions are offsets from that mid gear (the nine notches by
// default). A side on which the linkage does not close (or mid gear is not
// found), or on which an event of the design disappears, is tried again
// once at a tenth of the step. An entry that still fails is marked so and
// carries no number.
//
// The sides run on a job pool, each on its worker's own copy: the result
// is the same, to the bit, on any number of threads. Progress and cancel go
// through a small callback on the calling thread.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "model/state/gear_state.h"
#include "model/analysis/position_text.h"
#include "model/analysis/valve_events.h"

namespace vx {

// ---------------------------------------------------------------------------
// The event figures both analyses read from a position's events.

enum class EventFigure : std::uint8_t {
    CutOffFront,
    CutOffRear,
    ReleaseFront,
    ReleaseRear,
    CompressionFront,
    CompressionRear,
    AdmissionFront,
    AdmissionRear,
    LeadFront,
    LeadRear,
    CutOffDiff, // front - rear
    LeadDiff,   // front - rear
};
constexpr int kEventFigureCount = 12;

// The command line's name ("cutOffFront", ...), and the figure of a name.
std::string_view EventFigureName(EventFigure f);
std::optional<EventFigure> FindEventFigure(std::string_view name);
// Lead figures are lengths; the others percent of stroke.
inline bool IsLeadFigure(EventFigure f) {
    return f == EventFigure::LeadFront || f == EventFigure::LeadRear || f == EventFigure::LeadDiff;
}

// Every figure of one position's events; empty where the event does not
// happen (or is not a finite number).
using EventFigures = std::array<std::optional<double>, kEventFigureCount>;
EventFigures FiguresOf(const PositionEvents& e);

// Told on the calling thread after each batch of work: what is done of the
// total. Returning false cancels the run.
using AnalysisProgressFn = std::function<bool(long long done, long long total)>;

// Absolute reverse arm positions: mid gear of `g` + each offset, held
// within mid gear +- Max (an offset of 0 is mid gear itself), as the
// events command takes them; no offsets: the nine notches of `g`. The
// first form from the design's own mid gear, in floats; the second from the
// solve's mid gear (MidGearCentre).
std::vector<float> PositionsFromOffsets(const GearState& g, std::span<const double> offsets);
std::vector<double> PositionsFromOffsets(const GearState& g, std::span<const double> offsets, SolveMode solve);

// One reverse arm position of an analysis and the design's own events there.
struct NominalPosition {
    double position = 0; // absolute reverse arm position of the design given
    double offset = 0;   // from its mid gear
    bool forward = true;
    PositionEvents nominal; // the design's own events there
};

// The design's events at `position`, run in `direction`, solved on `work`
// (a scratch copy of `design` the caller owns and reuses).
void ComputeNominalPosition(GearState& work, const GearState& design, double position, EventDirection direction,
                            NominalPosition& out, SolveMode solve = SolveMode::Exact);

// Appends "Reverse arm P (mid gear +O), forward: " (or "reverse: "), the
// opening of a position's block in the analyses' texts; P and O with four
// decimals, or every digit with Digits::Full.
void AppendPositionHeading(std::string& out, const NominalPosition& p, Digits digits = Digits::Fixed);

// One entry of `out` for each of `positions`, their nominal parts filled as
// ComputeNominalPosition does, on one scratch copy of the design.
template <class Position>
void ComputeNominalPositions(const GearState& design, std::span<const double> positions, EventDirection direction,
                             std::vector<Position>& out, SolveMode solve = SolveMode::Exact) {
    static_assert(std::is_base_of_v<NominalPosition, Position>);
    out.resize(positions.size());
    GearState work = design;
    for (std::size_t p = 0; p < positions.size(); ++p)
        ComputeNominalPosition(work, design, positions[p], direction, out[p], solve);
}

// The central difference step of a dimension of value `value`: on the
// classic solve, and on the exact one for design `g` (see the top).
double SensitivityStep(int id, float value);
double ExactSensitivityStep(const GearState& g, int id, float value);
// A typical shop tolerance of a dimension: 0.001 length units, or 0.1
// degree for an angle.
double ShopTolerance(int id);

// ---------------------------------------------------------------------------
// Sensitivity.

struct SensitivitySettings {
    std::vector<double> offsets; // from mid gear; empty: the nine notches
    int notch = -1; // 0..8: only that one of the nine notches (offsets unused)
    EventDirection direction = EventDirection::Auto;
    std::vector<int> ids; // the dimensions; empty: all 54, in table order
    int threads = 0;      // 0: one per core
    SolveMode solve = SolveMode::Exact;
};

// At most this many positions in one run.
constexpr std::size_t kMaxSensitivityPositions = 1000;

enum class SensitivityStatus : std::uint8_t {
    Ok,
    Fails,   // the linkage does not close at the step and at a tenth of it
    NoEvent, // the event does not happen on the design or on a side
    Kink,    // the figure turns a corner within the step: no one slope
};

// What an entry without a number says, for the texts and pictures:
// "fails: the linkage does not close at the step", "none: the event does
// not happen", "kink: the figure turns a corner here"; empty for Ok.
std::string_view SensitivityStatusText(SensitivityStatus status);
// The CSV's word for it: "fails", "none", "kink"; empty for Ok.
std::string_view SensitivityStatusWord(SensitivityStatus status);

struct SensitivityEntry {
    SensitivityStatus status = SensitivityStatus::Fails;
    double derivative = 0;   // figure units per length unit (per degree for angles)
    double perTolerance = 0; // derivative x ShopTolerance
    bool retried = false;    // found at a tenth of the step
};

using SensitivityPosition = NominalPosition;

struct SensitivityResult {
    std::string error;      // the settings are wrong (nothing else is set)
    bool cancelled = false; // ended by the progress function (no entries)
    std::vector<int> ids;
    std::vector<double> steps; // per dimension
    std::vector<SensitivityPosition> positions;
    // [position][dimension][figure]
    std::vector<SensitivityEntry> entries;

    bool Ok() const { return error.empty() && !cancelled; }
    const SensitivityEntry& At(std::size_t position, std::size_t dimension, EventFigure f) const {
        return entries[(position * ids.size() + dimension) * kEventFigureCount + static_cast<std::size_t>(f)];
    }
    // Whether every position of the design given closes.
    bool Closes() const;
};

// Empty when the settings can be run; else what is wrong, naming it.
std::string CheckSensitivitySettings(const SensitivitySettings& s);

SensitivityResult ComputeSensitivity(const GearState& g, const SensitivitySettings& s,
                                     const AnalysisProgressFn& progress = {});

// The dimensions (indices into r.ids) of one position ranked by how far a
// shop tolerance moves the figure: largest |perTolerance| first (ties in
// table order), then those that fail, then those without the event.
std::vector<int> RankDimensions(const SensitivityResult& r, std::size_t position, EventFigure f);

// The `n` dimensions among `candidates` (ids) that move figure `f` most
// over every position of `r`: by the sum of |perTolerance| (entries without
// a number add nothing; a dimension none of whose entries has one is never
// chosen), ties in the order of `candidates`.
std::vector<int> TopDimensions(const SensitivityResult& r, EventFigure f, int n, std::span<const int> candidates);

// The CSV: header position,direction,field,figure,derivative,perTolerance
// and one row per position, dimension and figure; "fails" or "none" in
// place of both numbers where there is no derivative. The derivatives with
// nine significant digits, or every digit with Digits::Full.
inline constexpr std::string_view kSensitivityCsvHeader =
    "position,direction,field,figure,derivative,perTolerance\n";
std::string SensitivityCsv(const SensitivityResult& r, Digits digits = Digits::Fixed);

// The ranking for reading: per position the `top` dimensions (all when
// top <= 0) that move `f` most; a lead's unit in words as the style's unit
// names it.
std::string SensitivityRankingText(const SensitivityResult& r, EventFigure f, int top, const FigureStyle& style = {});

} // namespace vx
