// vexlin-cli dims: every dimension of the design as CSV.
#pragma once

#include "cli/command_context.h"

namespace vx::cli {

// Writes id,field,name,value for every dimension.
int RunDimsCommand(CommandContext& ctx);

} // namespace vx::cli
