// vexlin-cli balance: searches a few dimensions for the design whose front
// and rear valve events agree best, and prints what changed and the events
// before and after.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/command_context.h"
#include "cli/option_values.h"
#include "model/analysis/balance.h"
#include "model/state/gear_state.h"

namespace vx::cli {

// The options as read, before the design is known (bounds not given default
// to the design's values).
struct BalanceOptions {
    struct Vary {
        int id = 0;
        std::optional<float> lower, upper;
    };
    std::vector<Vary> vary;
    std::optional<std::vector<double>> positions; // default: the four forward notches
    EventDirection direction = EventDirection::Auto;
    BalanceWeights weights;
    int maxEvaluations = BalanceProblem{}.maxEvaluations;
    std::string savePath; // empty: write nothing
    bool csv = false;     // CSV instead of the tables
    bool eventsTable = false; // with csv: the events table instead of the dimensions
    AnalysisChoices choices; // --solve, --unit
};

// Reads one --bounds value, FIELD=LO:HI,..., into the entries of `vary`
// it names (each must be listed there); false with the message otherwise.
bool ReadBoundsOption(const std::string& text, std::vector<BalanceOptions::Vary>& vary, std::string& error);

// Reads the options after the word "balance"; on a usage error returns
// false with the message (naming the field or value at fault).
bool ReadBalanceOptions(const Args& args, BalanceOptions& opt, std::string& error);

// The problem for design g from options already read.
BalanceProblem MakeBalanceProblem(const GearState& g, const BalanceOptions& opt);

// Runs the search and prints the changes and the events before and after.
// Exit code 2 for a problem that cannot be searched, 1 when no design
// tried closes or --save fails, else 0. g takes the result only when
// --save is given (and is then written there).
int RunBalanceCommand(CommandContext& ctx, const BalanceOptions& opt);

} // namespace vx::cli
