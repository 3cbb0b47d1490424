// vexlin-cli work: the ideal indicator card of each end of the cylinder at
// a list of reverse arm positions, from the exact valve events: mean
// effective pressure front and rear, steam per stroke and per work, the
// tractive effort; as a table for reading or as CSV.
#pragma once

#include <string>

#include "cli/command_context.h"
#include "cli/events_command.h"
#include "model/analysis/work.h"

namespace vx::cli {

struct WorkOptions {
    EventsOptions events; // positions, direction, csv
    WorkSettings settings;
    std::string measuredPath; // the cards of these measured events instead of the design's ("" : none)
};

// Reads "--positions O1,...", "--direction auto|forward|reverse",
// "--pressure P1", "--back-pressure PB", "--clearance C", "--exponent N",
// "--cylinders K" and "--csv", every value given checked, in that order; on
// a usage error (bad settings among them) returns false with the message
// (led by "work: ").
bool ReadWorkOptions(const Args& args, WorkOptions& opt, std::string& error);

// Writes the table (or CSV) of every position asked for. Exit code 1, after
// writing what was found, when an end has no card (a missing event, a
// compression into no volume) or the linkage does not close somewhere in a
// turn asked for; else 0.
int RunWorkCommand(CommandContext& ctx, const WorkOptions& opt);

} // namespace vx::cli
