// vexlin-cli save: the design to a dimension data file.
#pragma once

#include "cli/command_context.h"

namespace vx::cli {

// Writes the design to the file its one operand names.
int RunSaveCommand(CommandContext& ctx);

} // namespace vx::cli
