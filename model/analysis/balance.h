// Balancing the valve events of the two cylinder ends: a search over a few
// dimensions, each within its bounds, for the design whose front and rear
// events agree best over a set of reverse arm positions.
//
// The objective is the weighted sum, over the positions, of the squared
// front-minus-rear differences of cut-off, lead, release and compression,
// from the exact valve events. Each evaluation works on its own copy of the
// design: the varied values committed as an editor commits them, the
// mid-gear position found again, the events found at mid gear + each
// offset. The positions of one evaluation run side by side on a small pool
// of threads; the search itself is NLopt's bounded derivative-free local
// methods started from the design: the Nelder-Mead simplex, then BOBYQA
// (subplex for a single dimension) from the best point while it gains.
// The same problem gives the same result, to the bit.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/state/gear_state.h"
#include "model/gear/midgear.h"
#include "model/analysis/valve_events.h"
#include "model/analysis/work.h"

namespace vx {

// One dimension to vary and the values it may take.
struct BalanceBound {
    int id = 0;
    float lower = 0;
    float upper = 0;
};

// What each squared front-minus-rear difference weighs: cut-off, release
// and compression per percentage point of stroke squared, lead per length
// unit squared. With the defaults a lead difference of 0.01 weighs like a
// cut-off difference of one point.
struct BalanceWeights {
    double cutOff = 1;
    double lead = 10000;
    double release = 0;
    double compression = 0;
    // The indicator cards' MEP front minus rear, per percentage point of
    // p1 squared (the cards of BalanceProblem::workSettings).
    double work = 0;
};

struct BalanceProblem {
    std::vector<BalanceBound> vary;
    std::vector<double> positions; // offsets from mid gear, each limited to +- Max
    EventDirection direction = EventDirection::Auto;
    BalanceWeights weights;
    WorkSettings workSettings; // the cards the work weight prices
    int maxEvaluations = 300; // the search's budget, at least 1
    double tolerance = 1e-3;  // a step that moves no value by more than this
                              // share of its bounds' width ends a local search
    int restarts = 0;         // further searches from points inside the bounds
    int threads = 0;          // 0: one per core, at most one per position
    SolveMode solve = SolveMode::Exact; // the solve the events stand on
};

// What a position costs when an event the weights ask for is missing or
// the linkage does not close there, times the sum of the weights (at least
// 1): far above any real difference, finite.
constexpr double kBalancePenalty = 1e6;
// The largest weight: the weighted sum of any differences two floats can
// make stays finite, and so does the penalty.
constexpr double kMaxBalanceWeight = 1e100;

// The four forward notches: -Norm, -3/4 Norm, -1/2 Norm, -1/4 Norm.
std::vector<double> ForwardNotches(const GearState& g);
// The default bounds of a dimension: its value +- 5 % (+- 0.05 when the
// value is 0), angles +- 3 degrees.
BalanceBound DefaultBalanceBound(const GearState& g, int id);
// The four forward notches, the default weights, nothing varied yet.
BalanceProblem DefaultBalanceProblem(const GearState& g);

// Empty when the problem can be searched; else what is wrong with it, in
// words that name the dimension or the setting at fault.
std::string CheckBalanceProblem(const GearState& g, const BalanceProblem& p);

// The figures of one position the objective reads, and what it cost.
struct BalancePosition {
    double position = 0; // the reverse arm position (world X of pivot 18)
    double centre = 0;   // mid gear of the design evaluated
    bool forward = true;
    PositionEvents events;
    double cost = 0;
    bool balanced = true; // closes, with every event the weights ask for
};

struct BalanceEvaluation {
    double objective = 0;
    double worstCutOffDifference = 0; // largest |front - rear| cut-off, points
    double worstMepDifference = 0;    // largest |front - rear| card MEP, pressure unit
    bool closes = true;               // every position closed, every asked event found
    std::vector<BalancePosition> positions;
};

// Evaluates the problem's objective for the design as it is (its mid gear
// found again first). The design is not changed.
BalanceEvaluation EvaluateBalance(const GearState& g, const BalanceProblem& p);

struct BalanceProgress {
    int evaluations = 0;
    int maxEvaluations = 0;
    double bestObjective = 0;
};
// Told after every evaluation, on the thread that runs the search. Returning
// false ends the search; the best point found so far is kept.
using BalanceProgressFn = std::function<bool(const BalanceProgress&)>;

struct BalanceChange {
    int id = 0;
    float before = 0;
    float after = 0;
};

struct BalanceResult {
    std::string error;      // the problem could not be searched (nothing else is set)
    bool cancelled = false; // ended by the progress function
    int evaluations = 0;
    std::vector<BalanceChange> changes; // every varied dimension, in the problem's order
    BalanceEvaluation before;
    BalanceEvaluation after;
    // No point tried closes the linkage at every position with every event
    // the weights ask for: the changes are all "no change".
    bool infeasible = false;

    bool Ok() const { return error.empty(); }
    bool Changed() const;
};

// Runs the search on copies of g; g itself is never changed.
BalanceResult BalanceEvents(const GearState& g, const BalanceProblem& p, const BalanceProgressFn& progress = {});

// Writes a result into the design as the dimension editors do, one undo
// entry per changed dimension (so UnDo walks it back), each made the newest
// dynamic variable; then the mid-gear search, as closing an editor does.
MidGearResult ApplyBalance(GearState& g, const BalanceResult& r);

} // namespace vx
