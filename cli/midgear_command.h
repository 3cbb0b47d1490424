// vexlin-cli midgear: the mid-gear position of the reverse arm.
#pragma once

#include <string>

#include "cli/command_context.h"
#include "cli/option_values.h"

namespace vx::cli {

struct MidGearOptions {
    AnalysisChoices choices; // --solve (classic unless given), --digits, --unit
};

// Reads "--solve", "--digits" and "--unit"; on a usage error returns false
// with the message.
bool ReadMidGearOptions(const Args& args, MidGearOptions& opt, std::string& error);

// Writes the mid-gear position on the solve asked for (MidGearCentre), in
// the shortest form that reads back as the same 32-bit value, or every
// digit of its double with --digits full, with the unit's symbol when one
// is given; exit code 1 when the classic search did not settle.
int RunMidGearCommand(CommandContext& ctx, const MidGearOptions& opt);

} // namespace vx::cli
