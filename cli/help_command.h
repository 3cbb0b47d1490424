// vexlin-cli help: the program's help, or the help of the command named.
#pragma once

#include "cli/command_context.h"

namespace vx::cli {

// The operands name the command ("render frame"); none: the program's help.
int RunHelpCommand(CommandContext& ctx);

} // namespace vx::cli
