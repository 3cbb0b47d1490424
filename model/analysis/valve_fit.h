// Setting the valves of a real engine: from valve events measured on the
// shop floor (leads with a feeler at the dead centres, tram marks of where
// each port opens and closes at a few notches) to the dimensions the engine
// was really built to, and from those to what the shop should change.
//
// The fit finds the values of a few chosen dimensions, each within its
// bounds, that best explain the measurements by weighted least squares:
// each measurement's residual is (measured - fitted) in its own unit,
// divided by its weight (its standard uncertainty), and the sum of their
// squares is least. The fitted figure of a measurement is the exact valve
// event of the trial design at the same offset from that design's own mid
// gear (found again for every trial, as `--set` finds it).
//
// The solver is Ceres' Levenberg-Marquardt trust region with the bounds,
// on a Jacobian by central differences whose sides are worked out side by
// side on a job pool, each on its worker's own copy of the design; Ceres
// itself runs on one thread, so the same problem gives the same bits on
// any number of threads. When the first start ends in a poor fit, further
// starts from points spread through the bounds follow, and the best is
// kept. The standard errors come from Ceres' covariance at the solution,
// taking the weights as the measurements' standard uncertainties.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/analysis/balance.h"
#include "model/analysis/valve_events.h"
#include "model/state/gear_state.h"

namespace vx {

// What a measurement measured.
enum class MeasuredEvent : std::uint8_t { Admission, CutOff, Release, Compression, Lead };
// The unit of a measured value: percent of stroke from that end's dead
// centre, degrees of crank, or a length in the design's unit (the
// crosshead's distance from that end's dead centre; for the lead, the port
// opening at dead centre).
enum class MeasureUnit : std::uint8_t { Percent, Degrees, Length };

constexpr int kMeasuredEventCount = 5;
constexpr int kMeasureUnitCount = 3;

// The names the measurement file uses: "admission", "cutOff", "release",
// "compression", "lead"; "percent", "deg", "length".
std::string_view MeasuredEventName(MeasuredEvent e);
std::string_view MeasureUnitName(MeasureUnit u);
// The words of a name in a message or a table ("cut-off", "points").
std::string_view MeasuredEventWords(MeasuredEvent e);

// One measured event.
struct Measurement {
    int line = 0;        // where it stands in its file (the header is line 1); 0: typed, no file
    double offset = 0;   // reverse arm position as an offset from mid gear
    EventDirection direction = EventDirection::Auto;
    bool rear = false;   // the end: front or rear
    MeasuredEvent event = MeasuredEvent::CutOff;
    MeasureUnit unit = MeasureUnit::Percent;
    double value = 0;
    std::optional<double> weight; // its standard uncertainty, in its unit; empty: the default of the unit
    std::string note;
};

// The default weight of each unit: what one unit of weighted residual is.
struct FitWeights {
    double percent = 0.25; // points of stroke
    double degrees = 0.5;  // degrees of crank
    double length = 0.002; // length units
    double Of(MeasureUnit u) const;
};

// One dimension the fit varies, and its bounds.
struct FitDimension {
    int id = 0;
    double lower = 0;
    double upper = 0;
};

// The dimensions a shop most often finds wrong: the valve rod, both
// eccentric rods, both eccentric angles, the rocker's two arms.
std::vector<int> DefaultFitVary();
// The dimensions a shop adjusts, for the corrections' default: the valve
// rod and both eccentric rods.
std::vector<int> DefaultFitAdjust();
// The default bounds of a varied dimension (the balance's rule: the value
// +- 5 %, angles +- 3 degrees).
FitDimension DefaultFitDimension(const GearState& g, int id);

struct ValveFitProblem {
    std::vector<Measurement> measurements;
    std::vector<FitDimension> vary;
    FitWeights weights;
    int maxIterations = 100; // of one start
    int starts = 4;          // the most starts when the first fit is poor (at least 1)
    int threads = 0;         // 0: one per core
};

// Empty when the fit can be made; else what is wrong, naming the dimension,
// or the line of the measurement at fault ("line 7: offset 3 lies outside
// the reverse arm travel ...").
std::string CheckValveFit(const GearState& g, const ValveFitProblem& p);

// The figure of a measurement on the design whose events are `e` (the end
// and unit of `m`); empty when the event does not happen there. `stroke` is
// the design's, for the lengths.
std::optional<double> MeasuredFigure(const PositionEvents& e, const Measurement& m, double stroke);
// measured - fitted in the measurement's unit (angles wrapped to +-180).
double MeasurementDifference(const Measurement& m, double fitted);

struct FittedDimension {
    int id = 0;
    float drawing = 0; // the design's value
    float fitted = 0;  // as the design holds it
    double change = 0; // fitted - drawing
    std::optional<double> standardError; // empty: the measurements do not fix it
    FitDimension bounds;
    bool atBound = false;
};

struct FitResidual {
    std::size_t index = 0;          // into the problem's measurements
    std::optional<double> fitted;   // empty: the fitted design does not produce the event
    double difference = 0;          // measured - fitted, in the measurement's unit
    double residual = 0;            // difference / weight
    double weight = 0;
};

// Two dimensions the measurements cannot tell apart.
struct FitWarning {
    int a = 0, b = 0;          // dimension ids
    double correlation = 0;    // of their fitted values
    bool rankDeficient = false; // the covariance is not of full rank
    std::string separate;      // the measurement that would separate them, in words ("" when none does)
};

struct FitProgress {
    int start = 0;       // 1-based
    int iteration = 0;   // of this start
    int evaluations = 0; // designs evaluated so far
    double rms = 0;      // best so far, against the weights
};
// Told on the calling thread; returning false ends the fit (the best point
// so far is kept and the result is marked cancelled).
using FitProgressFn = std::function<bool(const FitProgress&)>;

struct ValveFitResult {
    std::string error;      // the fit could not be made (nothing else is set)
    bool cancelled = false;
    bool closes = true;     // the drawing closes at every measured position
    std::vector<FittedDimension> dims; // in the problem's order
    std::vector<FitResidual> residuals; // largest |residual| first
    std::vector<std::size_t> notProduced; // measurements whose event the fitted design does not produce
    std::vector<FitWarning> warnings;
    double rms = 0;          // sqrt(mean of the squared residuals), events produced
    double drawingRms = 0;   // the same for the drawing itself
    int iterations = 0;
    int evaluations = 0;
    int starts = 0;

    bool Ok() const { return error.empty(); }
};

// Runs the fit on copies of g; g itself is never changed.
ValveFitResult FitValveSetting(const GearState& g, const ValveFitProblem& p, const FitProgressFn& progress = {});

// Makes g the fitted engine: the fitted values committed as an editor
// commits them (no undo entries) and its mid gear found again.
MidGearResult CommitFit(GearState& g, const ValveFitResult& r);

// The corrections: the balance of the fitted engine over the dimensions the
// shop can adjust, with the balance's own weights and bounds, at the
// measured offsets (in the measurements' direction when they all share
// one, else auto).
BalanceProblem CorrectionProblem(const GearState& fitted, const ValveFitProblem& p, const std::vector<int>& adjust);

// A correction in shop terms: "lengthen Valve Stem (valveCtrToJoint) by
// 0.012", "turn Eccentric Forward Angle (eccFwdAngle) back by 0.250 deg".
std::string ShopCorrection(int id, double change);

// Writes the fitted values into a design as the dimension editors do, one
// undo entry per changed dimension, then the mid-gear search.
MidGearResult ApplyFit(GearState& g, const ValveFitResult& r);

} // namespace vx
