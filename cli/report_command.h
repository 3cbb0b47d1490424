// vexlin-cli report: the design report as a PDF file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "model/gear_state.h"

namespace vx::cli {

// Reads "--out FILE" (required) and "--paper a4|letter|auto"; on a usage
// error returns false with the message.
bool ParseReportOptions(const std::vector<std::string>& args, std::string& out, std::string& paper,
                        std::string& error);

// Writes the report of the design. Needs the Qt application
// (EnsureGuiApplication).
int RunReport(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vx::cli
