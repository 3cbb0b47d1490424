// The fault note of a picture command: whether the linkage closes through a
// whole turn at the reverse arm position it drew.
#pragma once

#include "cli/command_context.h"

namespace vx::cli {

// kExitOk when the design closes at every angle (1 degree steps) at
// `position`, else the note naming the first failure (unless --quiet) and
// kExitFault.
int TurnFault(CommandContext& ctx, const GearState& g, float position);

} // namespace vx::cli
