// vexlin-cli compare: the valve events of two designs side by side at the
// same offsets from each design's own mid gear, B - A for every figure, and
// the dimensions that differ first.
#pragma once

#include <string>

#include "cli/command_context.h"
#include "cli/events_command.h"

namespace vx::cli {

struct CompareOptions {
    EventsOptions events; // positions, direction, csv
    std::string pathA, pathB; // "-": standard input (one of them at most)
};

// Reads the events' options and the two designs' files; on a usage error
// returns false with the message.
bool ReadCompareOptions(const Args& args, CompareOptions& opt, std::string& error);

int RunCompareCommand(CommandContext& ctx, const CompareOptions& opt);

} // namespace vx::cli
