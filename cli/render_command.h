// vexlin-cli render: draws a picture of the prepared design to a file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "model/gear_state.h"

namespace vx::cli {

// args: what follows the word "render", e.g. {"frame", "--out", "f.png",
// "--angle", "30"}. Returns the process exit code: 0 done, 1 failure (message
// on err), 2 usage error (message on err).
int RunRender(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vx::cli
