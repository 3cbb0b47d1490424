// vexlin-cli compare: the valve events of two designs side by side at the
// same offsets from each design's own mid gear, B - A for every figure, and
// the dimensions that differ first.
#pragma once

#include <optional>
#include <string>

#include "cli/command_context.h"
#include "cli/events_command.h"

namespace vx::cli {

struct CompareOptions {
    EventsOptions events; // positions, direction, csv
    std::string pathA, pathB; // "-": standard input (one of them at most)
    // A difference larger than this counts as moved; none: half a unit in
    // the figure's last printed place (any printed difference).
    std::optional<double> tolerance;
};

// The exit status of compare, as diff gives it: 0 nothing moved beyond the
// tolerance, 1 something did; a usage error is 2, and a design that cannot
// be compared (a file that cannot be read, a design that is not usable, does
// not close or loses an event) is 3.
constexpr int kCompareSame = 0;
constexpr int kCompareDiffer = 1;

// Reads the events' options and the two designs' files; on a usage error
// returns false with the message.
bool ReadCompareOptions(const Args& args, CompareOptions& opt, std::string& error);

int RunCompareCommand(CommandContext& ctx, const CompareOptions& opt);

} // namespace vx::cli
