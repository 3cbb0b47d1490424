// vexlin-cli pivots: the pivot data table of the main window for chosen
// pivots, or the same rows as CSV, or the list of what each pivot is.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/command_context.h"
#include "data/pivot_table.h"
#include "model/state/gear_state.h"

namespace vx::cli {

// The pivots shown when --pivots is not given: crank pin, crosshead, valve
// spindle pin, radius rod die and the two eccentric rod pins.
inline constexpr int kDefaultPivots[] = {2, 3, 4, 8, 10, 11};

struct PivotsOptions {
    std::vector<int> pivots{std::begin(kDefaultPivots), std::end(kDefaultPivots)}; // 1..6, no repeats
    double step = 10;        // degrees between rows, 0.01 .. 360
    double revArmOffset = 0; // from mid gear
    bool csv = false;
    bool list = false;       // the list of pivot numbers instead
};

// What pivot n is ("crank pin"), or "" for a number without a role.
std::string_view PivotRole(int n);

// "pivot,role" then one line per pivot number 0..30.
std::string PivotListCsv();

// Reads "--pivots N1,...,N6" (one to six different numbers), "--step S",
// "--revarm OFFSET", "--csv" and "--list"; on a usage error returns false
// with the message.
bool ReadPivotsOptions(const Args& args, PivotsOptions& opt, std::string& error);

// Writes the table (the window's four heading lines and rows, dated now,
// the columns past the pivots given showing pivot 0 as the window's do), the
// CSV, or the list.
int RunPivotsCommand(CommandContext& ctx, const PivotsOptions& opt);

} // namespace vx::cli
