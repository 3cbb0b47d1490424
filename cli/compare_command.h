// vexlin-cli compare: the valve events of two designs side by side at the
// same offsets from each design's own mid gear, B - A for every figure, and
// the dimensions that differ first.
#pragma once

#include "cli/command_context.h"

namespace vx::cli {

int RunCompareCommand(CommandContext& ctx);

} // namespace vx::cli
