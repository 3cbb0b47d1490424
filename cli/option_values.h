// Readers of the option values that several commands share: the lists of
// reverse arm positions, the running direction and whole counts. Each
// returns false with a message naming the option on a bad value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/analysis/valve_events.h"

namespace vx::cli {

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

// A whole number from lo to hi, the value of option `name`.
bool ReadCount(std::string_view name, std::string_view text, long long lo, long long hi, long long& value,
               std::string& error);

} // namespace vx::cli
