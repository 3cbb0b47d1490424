// vexlin-cli render: draws a picture of the prepared design to a file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_context.h"
#include "model/gear_state.h"

namespace vx::cli {

// "render frame": the main picture to a file.
int RunRenderFrame(CommandContext& ctx);

// Runs "render ..." on a design already made. args: what follows the word
// "render", e.g. {"frame", "--out", "f.png", "--angle", "30"}. Returns the
// exit code, messages on err.
int RunRender(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vx::cli
