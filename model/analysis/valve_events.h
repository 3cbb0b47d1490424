// Exact valve events of one reverse arm position: for each end of the
// cylinder the crank angles and piston positions of admission, cut-off,
// release and compression, found by root finding on the solver; the lead,
// the largest openings, the valve travel, the die slip, and how often each
// port opens in a turn.
//
// How to call it:
//
//   PositionEvents e = ComputeValveEvents(design, position);        // a copy
//   ComputeValveEvents(work, position, EventDirection::Auto, e);      // scratch
//
// `design` is taken by value: the caller's state is never touched. The
// second form solves on `work`, a scratch copy the caller owns and reuses
// (its motion, pivots, port openings and error fields are overwritten; its
// dimensions and position list are only read) and allocates nothing. Both
// are re-entrant: no globals, no shared state, so several threads may each
// compute on their own copy at the same time. Nothing here touches a window
// or raises the window's error indicator: geometry errors met during the
// search are counted in the result (`failedSolves`, `firstCause`).
//
// An event that does not happen (the port never opens, or never closes) is
// left empty, never guessed.
//
// The result depends on the design's dimensions (and pivots) and the
// position only, not on what `work` solved before, so the same call gives
// the same bits on any thread. Positions are absolute reverse arm
// positions: a caller that changes dimensions which move mid gear and
// means offsets from it finds mid gear again first (FindMidGear). Change a
// dimension on the copy as the editors do (CommitDimension), so that the
// pivots that derive from it follow.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "model/analysis/solve_mode.h"
#include "model/state/gear_state.h"
#include "model/state/geometry_error.h"

namespace vx {

// Which way the driver turns: forward, the driver angle increases; reverse,
// it decreases. Auto: as the window runs the gear, forward up to and at
// mid gear, reverse above it.
enum class EventDirection { Auto, Forward, Reverse };

// Root tolerance of the event angles and of the extrema, in degrees and
// length units, on the classic solve.
constexpr double kEventAngleTolerance = 0.0005;
constexpr double kEventExtremumTolerance = 1e-4;
// On the exact solve: every event angle lies within this many degrees of
// where its opening changes sign, and the extrema are as close as the
// solve (about 1e-13 of the design's size).
constexpr double kExactEventAngleTolerance = 1e-9;

// The figures are doubles: on the classic solve each is the classic float
// widened, on the exact one every digit the solve gives.
struct EndEvents {
    // Crank angles in [0, 360).
    std::optional<double> admissionAngle, cutOffAngle, releaseAngle, compressionAngle;
    // Piston distance from this end's dead centre, percent of stroke.
    std::optional<double> admission, cutOff, release, compression;
    double lead = 0;              // steam opening at this end's dead centre
    double maxSteamOpening = 0;   // largest over the turn (negative: never opens)
    double maxExhaustOpening = 0;
    int steamOpenings = 0;       // times the port opens to steam in a turn
    int exhaustOpenings = 0;     // times it opens to the exhaust
};

struct PositionEvents {
    SolveMode solve = SolveMode::Exact; // the solve the figures stand on
    double position = 0; // reverse arm position (world)
    bool forward = true;
    EndEvents front, rear;
    double valveTravel = 0; // largest minus smallest valve offset
    double dieSlip = 0;     // travel of the die along the link
    // Solves of the search where the linkage did not close, and the first.
    int failedSolves = 0;
    GeometryCause firstCause = GeometryCause::None;
    float firstCauseAngle = 0;

    bool Closes() const { return failedSolves == 0; }
    const EndEvents& End(bool rear) const { return rear ? this->rear : front; }
};

// How much of the events to find. Figures: the events' angles and
// percentages, the leads and the counts of openings, what the sensitivity
// and tolerance read; the valve travel, the die slip and the largest
// openings are left 0 (the largest openings are looked for only when a port
// may open between the turn's samples).
enum class EventDetail { Full, Figures };

// Whether `direction` runs forward at `position` of the design.
bool RunsForward(const GearState& design, double position, EventDirection direction);

// The events of one position (see the top of this file), on the exact solve
// unless `solve` asks for the classic one. On the exact solve the work
// state's pivots are not used: the design and the position are all it reads.
PositionEvents ComputeValveEvents(GearState design, double position, EventDirection direction = EventDirection::Auto,
                                  SolveMode solve = SolveMode::Exact);
void ComputeValveEvents(GearState& work, double position, EventDirection direction, PositionEvents& out,
                        SolveMode solve = SolveMode::Exact, EventDetail detail = EventDetail::Full);

// Mid gear as the solve finds it: the exact mid gear (FindExactMidGear) on
// the exact solve, the design's own (revArm.centre, found by the classic
// search) on the classic one or where the exact one finds none.
double MidGearCentre(const GearState& design, SolveMode solve);
// The exact mid gear of the design (FindExactMidGear), kept for the last
// design asked about on each thread; nothing where there is none.
std::optional<double> ExactMidGearOf(const GearState& design);
// A position the design holds (its positions list, as offsets from its own
// mid gear) on the solve: the same offset from the solve's mid gear.
double PositionOnSolve(const GearState& design, float position, SolveMode solve);

// The nine notches: mid gear + k/4 Norm for k = -4..4 (full forward first),
// each kept within mid gear +- Max. The first form from the design's own
// mid gear, in floats as the windows hold positions; the second from the
// solve's mid gear (MidGearCentre).
constexpr int kNotchCount = 9;
std::array<float, kNotchCount> NotchPositions(const GearState& design);
std::array<double, kNotchCount> NotchPositions(const GearState& design, SolveMode solve);

// The events of several positions on one scratch copy of `design`, into
// `out` (out.size() >= positions.size()).
void ComputeValveEventsTable(const GearState& design, std::span<const float> positions, EventDirection direction,
                             std::span<PositionEvents> out, SolveMode solve = SolveMode::Exact);
void ComputeValveEventsTable(const GearState& design, std::span<const double> positions, EventDirection direction,
                             std::span<PositionEvents> out, SolveMode solve = SolveMode::Exact);

} // namespace vx
