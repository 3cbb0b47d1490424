// The layout the readable per-position tables share (the events and the
// work tables): a label column, then right-aligned columns for the front
// end, the rear end and front minus rear, each block opened by its reverse
// arm position.
#pragma once

#include <string>
#include <string_view>

namespace vx {

constexpr int kTextLabelWidth = 22;
constexpr int kTextColumnWidth = 12;

// A row's label, padded to the label column.
void AppendTextLabel(std::string& out, std::string_view label);

// "Reverse arm P (mid gear +O), running forward" (or "in reverse"), P and
// its offset from `centre` with six decimals, then the column headings
// "front", "rear" and "front-rear".
void AppendPositionBlockHead(std::string& out, double position, bool forward, double centre);

} // namespace vx
