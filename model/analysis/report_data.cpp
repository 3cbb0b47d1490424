#include "model/analysis/report_data.h"

#include "base/float_cast.h"

#include <algorithm>

#include "model/analysis/valve_events_text.h"
#include "model/gear/design_validity.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"

namespace vx {
namespace {

// The build's stages in order, each an equal share of the progress told.
enum Stage : int { kCheckStage, kGearStage, kSensitivityStage, kToleranceStage, kWorkStage, kStageCount };
constexpr long long kStageUnits = 1000;

// Tells the caller's progress function how far the whole build is, never
// less than it told before (an analysis may grow its own total).
class BuildProgress {
public:
    explicit BuildProgress(const AnalysisProgressFn& fn) : fn_(fn) {}

    // Done of total within `stage`; false when the caller cancels.
    bool Tell(int stage, long long done, long long total) {
        if (!fn_) return true;
        const long long part = total > 0 ? std::clamp(done, 0LL, total) * kStageUnits / total : kStageUnits;
        told_ = std::max(told_, stage * kStageUnits + part);
        return fn_(told_, kStageCount * kStageUnits);
    }
    bool Finished(int stage) { return Tell(stage, 1, 1); }
    // The function an analysis of `stage` reports to (none when the caller
    // gave none, so the analysis does not stop to tell).
    AnalysisProgressFn Within(int stage) {
        if (!fn_) return {};
        return [this, stage](long long done, long long total) { return Tell(stage, done, total); };
    }

private:
    const AnalysisProgressFn& fn_;
    long long told_ = 0;
};

// The design as the report shows it.
void PrepareDesign(GearState& g) {
    // The pictures as a reader wants them: no dynamic-variable block.
    g.dynVarDisplay = false;
    g.undoDisplay = false;
    g.motion.running = false;
    // The diagrams draw the positions list; a list not yet counted counts
    // its used prefix (mid gear, full forward, full reverse after the
    // mid-gear search), as the positions dialog would.
    if (g.revArm.positionCount <= 0) {
        int n = 0;
        while (n < kRevArmPositions && g.revArm.position[static_cast<std::size_t>(n + 1)] != 0) ++n;
        g.revArm.positionCount = n;
    }
}

// The gear at crank angle 45 degrees at each picture's position, each
// solved on `scratch` from where the one before left it, as the window
// moves the reverse arm.
void SolveGearPictures(GearState& scratch, std::array<ReportGearPicture, kReportGearPictures>& out) {
    const float centre = scratch.revArm.centre, norm = scratch.frame.revArmToCentNorm;
    const std::array<float, kReportGearPictures> positions = {centre - norm, centre, centre + norm};
    for (std::size_t k = 0; k < positions.size(); ++k) {
        scratch.motion.reverseArmPosition = positions[k];
        scratch.motion.driverAngle = 45;
        for (int i = 0; i < 8; ++i) SolveLinkage(scratch); // the rocker settled
        ComputePortOpenings(scratch);
        ComputePivotScreenPoints(scratch);
        ComputeOutlinePoints(scratch);
        out[k].position = positions[k];
        out[k].gear = scratch;
    }
}

} // namespace

std::string ReportFault(const Design& design, std::span<const TurnCheck> checks,
                        std::span<const PositionEvents> events) {
    if (const DesignFault f = CheckDesignValidity(design); f.Any()) return DescribeDesignFault(f);
    for (std::size_t i = 0; i < checks.size(); ++i) {
        if (checks[i].Closes()) continue;
        char cause[200];
        FormatGeometryCause(checks[i].firstCause, checks[i].firstAngle, cause, sizeof cause);
        return "notch " + std::to_string(i + 1) + ": the linkage does not close at " +
               std::to_string(checks[i].failures) + " of " + std::to_string(checks[i].angles) + " angles; first: " + cause;
    }
    for (std::size_t i = 0; i < events.size(); ++i)
        if (!EventsUsable(events[i])) return "notch " + std::to_string(i + 1) + ": " + EventsFaultText(events[i]);
    return {};
}

ReportData BuildReportData(const GearState& g, const AnalysisProgressFn& progress, SolveMode solve) {
    ReportData data;
    data.solve = solve;
    BuildProgress tell(progress);
    const auto cancelled = [&data] { data.cancelled = true; };

    data.design = g;
    PrepareDesign(data.design);
    const GearState& design = data.design;

    data.notches = NotchPositions(design, solve);
    ComputeValveEventsTable(design, data.notches, EventDirection::Auto, data.events, solve);
    for (std::size_t i = 0; i < data.notches.size(); ++i) {
        data.checks[i] = CheckTurn(design, F(data.notches[i]), 1.0);
        if (!tell.Tell(kCheckStage, static_cast<long long>(i + 1), kNotchCount)) {
            cancelled();
            return data;
        }
    }

    data.fault = ReportFault(design, data.checks, data.events);
    {
        GearState scratch = design;
        SolveGearPictures(scratch, data.gearPictures);
    }
    if (!tell.Finished(kGearStage)) {
        cancelled();
        return data;
    }

    SensitivitySettings ss;
    ss.solve = solve;
    const double norm = design.frame.revArmToCentNorm;
    ss.offsets = {-norm, norm};
    data.sensitivity = ComputeSensitivity(design, ss, tell.Within(kSensitivityStage));
    if (data.sensitivity.cancelled || !tell.Finished(kSensitivityStage)) {
        cancelled();
        return data;
    }

    if (data.sensitivity.Closes()) {
        ToleranceSettings ts = DefaultToleranceSettings();
        ts.samples = kReportToleranceSamples;
        ts.solve = solve;
        data.tolerance = RunTolerance(design, ts, tell.Within(kToleranceStage));
        if (data.tolerance->cancelled) {
            cancelled();
            return data;
        }
    }
    if (!tell.Finished(kToleranceStage)) {
        cancelled();
        return data;
    }

    {
        GearState scratch = design;
        ComputeWorkTable(scratch, design, data.workSettings, data.work, solve);
    }
    if (!tell.Finished(kWorkStage)) cancelled();
    return data;
}

} // namespace vx
