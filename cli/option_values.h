// Readers of the option values that several commands share: the lists of
// reverse arm positions, the running direction, whole counts, and the
// choices of the analyses (the solve, the digits, the unit). Each returns
// false with a message naming the option on a bad value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_format.h"
#include "base/length_unit.h"
#include "model/analysis/position_text.h"
#include "model/analysis/solve_mode.h"
#include "model/analysis/valve_events.h"

namespace vx::cli {

class Args;

// At most this many positions in one run of events, compare, work,
// sensitivity or tolerance.
constexpr std::size_t kMaxEventPositions = 1000;

// Comma-separated finite offsets from mid gear, at most `max` of them; an
// empty text is an empty list.
bool ReadOffsets(std::string_view text, std::size_t max, std::vector<double>& offsets, std::string& error);

// The --positions of events, compare, work, sensitivity and tolerance: a
// list that is not empty, at most kMaxEventPositions.
bool ReadOffsetList(std::string_view text, std::vector<double>& offsets, std::string& error);

// --direction: auto, forward or reverse.
bool ReadDirection(std::string_view text, EventDirection& direction, std::string& error);

// --solve: exact or classic (in any case, as --direction).
bool ReadSolveMode(std::string_view text, SolveMode& mode, std::string& error);
// --digits: fixed or full, in any case.
bool ReadDigits(std::string_view text, Digits& digits, std::string& error);
// --unit: in, mm or none, in any case.
bool ReadUnit(std::string_view text, LengthUnit& unit, std::string& error);

// What the analysis commands share besides their own options: the solve
// their figures stand on, how many digits the figures get and the unit the
// labels of lengths carry. The defaults are the exact solve, each column's
// own decimals and no unit.
struct AnalysisChoices {
    SolveMode solve = SolveMode::Exact;
    FigureStyle style;
};

// Reads --solve, --digits and --unit, each value given checked (a command
// whose table has not the option never has it given).
bool ReadAnalysisChoices(const Args& args, AnalysisChoices& choices, std::string& error);

// A whole number from lo to hi, the value of option `name`.
bool ReadCount(std::string_view name, std::string_view text, long long lo, long long hi, long long& value,
               std::string& error);

} // namespace vx::cli
