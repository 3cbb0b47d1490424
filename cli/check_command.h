// vexlin-cli check: where in a turn the linkage of the design cannot close,
// and why.
#pragma once

#include <string>

#include "cli/command_context.h"
#include "model/state/gear_state.h"

namespace vx::cli {

struct CheckOptions {
    double revArmOffset = 0; // from mid gear
    double step = 1;         // degrees between the angles checked, > 0
    bool summary = false;    // the one-line verdict instead of the rows
};

// Reads "--revarm OFFSET", "--step S" and "--summary"; on a usage error
// returns false with the message.
bool ReadCheckOptions(const Args& args, CheckOptions& opt, std::string& error);

// Names the lengths the gear needs above zero that are not (rows with an
// empty angle, cause "dimension"); when there are none, solves one settling
// turn, then checks the angles 0, S, 2S, ... below 360 and writes
// "angle,cause,message" rows for those that do not close or leave a figure
// that is not finite. The header is always written; with --summary only
// the one-line verdict. Exit code 1 when anything failed, else 0.
int RunCheckCommand(CommandContext& ctx, const CheckOptions& opt);

} // namespace vx::cli
