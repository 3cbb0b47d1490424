// vexlin-cli work: the ideal indicator card of each end of the cylinder at
// a list of reverse arm positions, from the exact valve events: mean
// effective pressure front and rear, steam per stroke and per work, the
// tractive effort; as a table for reading or as CSV.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/events_command.h"
#include "model/gear_state.h"
#include "model/work.h"

namespace vx::cli {

struct WorkOptions {
    EventsOptions events; // positions, direction, csv
    WorkSettings settings;
};

// Reads "--positions O1,...", "--direction auto|forward|reverse",
// "--pressure P1", "--back-pressure PB", "--clearance C", "--exponent N",
// "--cylinders K" and "--csv"; on a usage error (bad settings among them)
// returns false with the message.
bool ParseWorkOptions(const std::vector<std::string>& args, WorkOptions& opt, std::string& error);

// Writes the table (or CSV) of every position asked for. Exit code 2 for a
// usage error; 1, after writing what was found, when an end has no card (a
// missing event, a compression into no volume) or the linkage does not
// close somewhere in a turn asked for; else 0.
int RunWork(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vx::cli
