// vexlin-cli pivots: the pivot data table of the main window for six chosen
// pivots, or the same rows as CSV.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/command_context.h"
#include "data/pivot_table.h"
#include "model/gear_state.h"

namespace vx::cli {

struct PivotsOptions {
    PivotPicks pivots{};     // pivot numbers 0..30 of columns 1..6
    double step = 10;        // degrees between rows, 0.01 .. 360
    double revArmOffset = 0; // from mid gear
    bool csv = false;
};

// Reads "--pivots N1,...,N6" (one to six numbers, the rest 0), "--step S",
// "--revarm OFFSET" and "--csv"; on a usage error returns false with the
// message.
bool ReadPivotsOptions(const Args& args, PivotsOptions& opt, std::string& error);

// Writes the table (the window's four heading lines and rows, dated now) or
// the CSV.
int RunPivotsCommand(CommandContext& ctx);

} // namespace vx::cli
