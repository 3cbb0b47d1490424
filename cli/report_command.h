// vexlin-cli report: the design report as a PDF file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_context.h"
#include "model/gear_state.h"

namespace vx::cli {

// Reads "--out FILE" (required) and "--paper a4|letter|auto"; on a usage
// error returns false with the message.
bool ReadReportOptions(const Args& args, std::string& out, std::string& paper, std::string& error);

// Writes the report of the design. Needs the Qt application
// (EnsureGuiApplication).
int RunReportCommand(CommandContext& ctx);

} // namespace vx::cli
