// vexlin-cli tolerance: the spread of the valve events when every chosen
// dimension is made to +- a tolerance and the pins are worn, by a seeded
// Monte Carlo run, as a table for reading or as CSV.
#pragma once

#include <string>

#include "cli/command_context.h"
#include "cli/option_values.h"
#include "model/analysis/tolerance.h"

namespace vx::cli {

struct ToleranceOptions {
    ToleranceSettings settings = DefaultToleranceSettings();
    bool csv = false;
    AnalysisChoices choices; // --solve, --digits, --unit
    // No --positions: -Norm, -1/2 Norm, +1/2 Norm and +Norm of the design.
    bool defaultPositions = true;
};

// Reads "--positions O1,...", "--tol FIELD=T" (repeated), "--tol-all-lengths
// T", "--tol-all-angles A", "--no-valve-ports", "--wear W", "--samples N",
// "--seed S", "--threshold PTS", "--threads N", "--csv", "--solve",
// "--digits" and "--unit", every value
// given checked, in that order. Without any tolerance option every length
// has +-0.002 and every angle +-0.1 degree; with one, only what the options
// give (--tol overrides the --tol-all values for its field). On a usage
// error returns false with the message.
bool ReadToleranceOptions(const Args& args, ToleranceOptions& opt, std::string& error);

// Writes the spread (or CSV). Exit code 1 with the geometry errors on err
// when the design itself does not close at a position asked for.
int RunToleranceCommand(CommandContext& ctx, const ToleranceOptions& opt);

} // namespace vx::cli
