// vexlin-cli events: the exact valve events of each end of the cylinder at
// a list of reverse arm positions, as a table for reading or as CSV.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "cli/command_context.h"
#include "cli/option_values.h"
#include "model/state/gear_state.h"
#include "model/analysis/valve_events.h"

namespace vx::cli {

struct EventsOptions {
    std::vector<double> offsets; // from mid gear; empty: the nine notches
    bool haveOffsets = false;
    EventDirection direction = EventDirection::Auto;
    bool csv = false;
    AnalysisChoices choices; // --solve, --digits, --unit
};

// Reads "--positions O1,O2,...", "--direction auto|forward|reverse",
// "--csv", "--solve", "--digits" and "--unit"; on a usage error returns
// false with the message.
bool ReadEventsOptions(const Args& args, EventsOptions& opt, std::string& error);

// A reverse arm position asked for: where it is, and its offset from mid
// gear as asked (k/4 Norm for the notches), or as held when it was held.
struct EventPosition {
    float position = 0;
    float offset = 0;
};

// The reverse arm positions asked for: mid gear + each offset, held within
// mid gear +- Max as the diagrams hold them (an offset of 0 is mid gear
// itself); without offsets, the nine notches.
std::vector<EventPosition> EventPositions(const GearState& g, const EventsOptions& opt);

// The events of the positions, computed on a copy of the design on the
// solve asked for.
std::vector<PositionEvents> ComputeEvents(const GearState& g, std::span<const EventPosition> positions,
                                          EventDirection direction, SolveMode solve);

// Writes the table (or CSV) of every position asked for. Exit code 1 with
// the geometry errors on err when the linkage does not close somewhere in a
// turn asked for, after writing what was found.
int RunEventsCommand(CommandContext& ctx, const EventsOptions& opt);

} // namespace vx::cli
