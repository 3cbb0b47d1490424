// vexlin-cli sweep: the gear solved over a range of driver angles, one CSV
// row per angle.
#pragma once

#include <string>

#include "cli/command_context.h"

namespace vx::cli {

// The sweep's settings, as read from its options.
struct SweepOptions {
    double revArmOffset = 0; // from mid gear; -Norm is full forward
    double from = 0;
    double to = 360;
    double step = 10;
    long long rows = 37;
};
constexpr long long kMaxSweepRows = 10'000'000;

// Reads "--revarm OFFSET", "--from A", "--to B" and "--step S" and counts
// the rows; on a usage error returns false with the message.
bool ReadSweepOptions(const Args& args, SweepOptions& opt, std::string& error);

// Writes the sweep's CSV: the header, then the pivots, the link angle,
// valve offset, piston position, the four port openings and the geometry
// error flag of each angle.
int RunSweepCommand(CommandContext& ctx, const SweepOptions& opt);

} // namespace vx::cli
