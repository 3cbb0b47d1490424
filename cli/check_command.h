// vexlin-cli check: where in a turn the linkage of the design cannot close,
// and why.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_context.h"
#include "model/gear_state.h"

namespace vx::cli {

struct CheckOptions {
    double revArmOffset = 0; // from mid gear
    double step = 1;         // degrees between the angles checked, > 0
};

// Reads "--revarm OFFSET" and "--step S"; on a usage error returns false
// with the message.
bool ReadCheckOptions(const Args& args, CheckOptions& opt, std::string& error);

// Solves one settling turn, then checks the angles 0, S, 2S, ... below 360 and
// writes "angle,cause,message" rows for those that do not close. Exit code 1
// when any did not close; 0 with "closes at every angle" on err otherwise.
int RunCheckCommand(CommandContext& ctx);

} // namespace vx::cli
