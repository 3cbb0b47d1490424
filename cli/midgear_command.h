// vexlin-cli midgear: the mid-gear position of the reverse arm.
#pragma once

#include "cli/command_context.h"

namespace vx::cli {

// Writes the mid-gear position; exit code 1 when the search did not settle.
int RunMidGearCommand(CommandContext& ctx);

} // namespace vx::cli
