// How far the valve events wander when the gear is not built to its
// drawing: a Monte Carlo run over copies of the design.
//
// Manufacture: each toleranced dimension is drawn uniformly within +- its
// tolerance. Wear: a pin clearance w is modelled as each pin spacing +- w,
// drawn independently (the simple worst-case envelope of lost motion; it
// ignores which way the load holds each pin). The pin spacings worn
// (IsRodOrLinkLength) are those of the main rod, the two eccentric rods,
// the expansion link (its eccentric rod pin and its support pin, each
// from the link's centre line), the two lift links, the radius rod (whole
// and short end), the two lift arms, the reverse arm, the two rocker arms,
// the piston rod and the valve stem. The expansion link's length is the
// slot's, along which the die slides: no pin, no wear. A sample whose
// values all equal the design's is the design itself; any other is
// committed as an editor commits it and its mid gear found again, and its
// events found at the same offsets from that mid gear as the design's.
//
// Each sample draws from its own stream, derived from the seed and the
// sample's number, and keeps its results in its own slot: the same seed
// gives the same bits on any number of threads. The samples run on a job
// pool; progress and cancel go through a small callback on the calling
// thread.
//
// Per position and figure: min, 5 %, median, 95 % and max over the samples
// that give the figure (quantiles interpolated linearly between the sorted
// values), the share of samples whose front-rear cut-off difference is over
// the threshold, and the share of samples that give no value: the linkage
// does not close there (or mid gear is not found), or the event does not
// happen. Failed samples are counted, never dropped silently.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/state/gear_state.h"
#include "model/analysis/position_text.h"
#include "model/analysis/sensitivity.h"
#include "model/analysis/valve_events.h"

namespace vx {

constexpr int kDimensionCount = 54; // AllDimensions().size()
constexpr int kMaxToleranceSamples = 1'000'000;
constexpr float kDefaultLengthTolerance = 0.002f;
constexpr float kDefaultAngleTolerance = 0.1f;
constexpr float kDefaultToleranceThreshold = 1.0f; // points of cut-off difference
constexpr int kToleranceHistogramBins = 24;

// Dimensions that the manufacture of the gear does not set: the reverse arm
// travel (Norm and Max) is where the notches are cut, not a part.
bool IsToleranceExempt(int id);
// The valve, its chamber and the ports (which a study may leave out).
bool IsValveOrPortDimension(int id);
// The pin spacings a pin clearance takes up (the wear list above).
bool IsRodOrLinkLength(int id);

struct ToleranceSettings {
    std::vector<double> offsets; // from mid gear; empty: the nine notches
    EventDirection direction = EventDirection::Auto;
    // Half-width of each dimension's range, in AllDimensions() order (0: the
    // dimension is not drawn).
    std::array<float, kDimensionCount> tolerance{};
    float wear = 0; // pin clearance, length units
    int samples = 1000;
    std::uint64_t seed = 1;
    float threshold = kDefaultToleranceThreshold;
    int threads = 0; // 0: one per core
    SolveMode solve = SolveMode::Exact;
};

// +-0.002 on every length and +-0.1 degree on every angle (the reverse arm
// travel exempt), no wear, 1000 samples, seed 1, the nine notches.
ToleranceSettings DefaultToleranceSettings();
// Every tolerance 0.
void ClearTolerances(ToleranceSettings& s);
// T on every length (angles when `angles`), the exempt ones left alone.
void SetAllTolerances(ToleranceSettings& s, bool angles, float t);
// The valve and ports not drawn.
void LeaveOutValveAndPorts(ToleranceSettings& s);
float& ToleranceOf(ToleranceSettings& s, int id); // id must exist
float ToleranceOf(const ToleranceSettings& s, int id);

// Empty when the settings can be run; else what is wrong, naming it.
std::string CheckToleranceSettings(const ToleranceSettings& s);

struct FigureSpread {
    std::optional<double> nominal; // the design's own figure
    int count = 0;                // samples that gave it
    float min = 0, p05 = 0, median = 0, p95 = 0, max = 0; // when count > 0
    float failed = 0;             // share of the samples without it
};

struct TolerancePosition : NominalPosition {
    std::array<FigureSpread, kEventFigureCount> figures{};
    // Share of the samples that gave a cut-off difference (the closing
    // ones) whose |cut-off difference| is above the threshold; 0 when none
    // gave one.
    float overThreshold = 0;
    int linkageFailures = 0; // samples in which the linkage does not close here
    // The front-rear cut-off difference: counts of the samples in equal
    // bins from histLow to histHigh (which take in the nominal too).
    std::array<int, kToleranceHistogramBins> histogram{};
    float histLow = 0, histHigh = 0;
};

struct ToleranceResult {
    std::string error;      // the settings are wrong (nothing else is set)
    bool cancelled = false; // ended by the progress function (no positions)
    int samples = 0;
    float threshold = 0;
    std::vector<TolerancePosition> positions;

    bool Ok() const { return error.empty() && !cancelled; }
    bool Closes() const; // the design closes at every position
};

// The stream of sample `index`: uniform numbers in [0, 1).
class SampleStream {
public:
    SampleStream(std::uint64_t seed, std::uint64_t index);
    double Next();

private:
    std::uint64_t state_;
};

// The quantile p (0 to 1) of values sorted in ascending order, not empty:
// linear interpolation between the values (the 7th definition of Hyndman
// and Fan), q(p) at rank (n - 1) p counted from 0. The 5 %, median and 95 %
// of the spread are these.
float ToleranceQuantile(const std::vector<float>& sorted, double p);

// The values of one sample's dimensions (AllDimensions() order).
std::array<float, kDimensionCount> SampleDimensions(const GearState& g, const ToleranceSettings& s, int index);

ToleranceResult RunTolerance(const GearState& g, const ToleranceSettings& s, const AnalysisProgressFn& progress = {});

// The CSV: header position,direction,figure,nominal,min,p05,median,p95,
// max,overThreshold,failed; one row per position and figure. Percentages
// with 4 decimals, leads with 5, shares with 4; "fails" as the nominal
// where the design does not close; empty figures where no sample gave one.
inline constexpr std::string_view kToleranceCsvHeader =
    "position,direction,figure,nominal,min,p05,median,p95,max,overThreshold,failed\n";
// With Digits::Full the position and every figure in the shortest form
// that reads back as the same double.
std::string ToleranceCsv(const ToleranceResult& r, Digits digits = Digits::Fixed);

// The spread for reading: per position a table of the figures; the lead
// rows carry the style's unit ("leadFront, mm").
std::string ToleranceText(const ToleranceResult& r, const FigureStyle& style = {});

} // namespace vx
