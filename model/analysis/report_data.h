// Everything the design report's pages show that has to be found first:
// the geometry check and the valve events of the nine notches, the gear
// solved at the three positions of its pictures, the sensitivity ranking,
// the spread under tolerance and the indicator cards. Built once from a
// design, on copies of it, before a page is drawn; the pages then only draw
// it. Building takes no canvas and touches nothing shared, so it can run on
// a worker thread, reporting its progress (and taking a cancel) through the
// analyses' own callback.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "model/state/gear_state.h"
#include "model/gear/geometry_check.h"
#include "model/analysis/sensitivity.h"
#include "model/analysis/tolerance.h"
#include "model/analysis/valve_events.h"
#include "model/analysis/work.h"

namespace vx {

// Samples of the report's tolerance run: a tenth of the command's default
// keeps the report quick; the page says so.
constexpr int kReportToleranceSamples = 100;

// The gear pictures: normal full forward, mid gear, normal full reverse.
constexpr int kReportGearPictures = 3;

// One gear picture: the gear solved at crank angle 45 degrees at reverse
// arm `position`, its pivots and outlines placed on the main picture.
struct ReportGearPicture {
    float position = 0;
    GearState gear;
};

struct ReportData {
    // Ended by the progress function: the rest is incomplete and is not
    // to be drawn.
    bool cancelled = false;
    // The design as the pages show it: no dynamic-variable or undo block,
    // not running, its positions list counted.
    GearState design;
    SolveMode solve = SolveMode::Exact; // the solve the events and analyses stand on
    std::array<double, kNotchCount> notches{};
    std::array<TurnCheck, kNotchCount> checks{};      // a whole turn at each notch, 1 degree steps
    std::array<PositionEvents, kNotchCount> events{}; // the exact events at each notch
    std::array<ReportGearPicture, kReportGearPictures> gearPictures{};
    // At normal full forward and normal full reverse (mid gear -+ Norm).
    SensitivityResult sensitivity;
    // The default tolerances with kReportToleranceSamples samples; run only
    // when the design closes at both of the sensitivity's positions.
    std::optional<ToleranceResult> tolerance;
    WorkSettings workSettings; // the defaults
    WorkTable work;
    // The design's first fault in plain words ("" for a sound design): the
    // validity gate's cause, else the first notch whose linkage does not
    // close or whose events are not all there. The first page says it, and
    // the figures of such a notch are left out of the summary.
    std::string fault;
};

// The first fault of a report's design (ReportData::fault) from what the
// report found at its notches; "" when there is none.
std::string ReportFault(const Design& design, std::span<const TurnCheck> checks,
                        std::span<const PositionEvents> events);

// The report's data for design `g`, which is left as it is. `progress` is
// told on the calling thread how far the whole build is (done of total, in
// its own units); returning false ends the build with `cancelled` set.
ReportData BuildReportData(const GearState& g, const AnalysisProgressFn& progress = {},
                           SolveMode solve = SolveMode::Exact);

} // namespace vx
