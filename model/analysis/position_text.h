// The layout the readable per-position tables share (the events and the
// work tables): a label column, then right-aligned columns for the front
// end, the rear end and front minus rear, each block opened by its reverse
// arm position.
#pragma once

#include <string>
#include <string_view>

#include "base/fixed_format.h"
#include "base/length_unit.h"

namespace vx {

// How an analysis's text writes its figures: the digits (the decimals of
// each column, or every digit), and the unit the labels of lengths carry
// (none by default: the labels read as they always have).
struct FigureStyle {
    Digits digits = Digits::Fixed;
    LengthUnit unit = LengthUnit::None;
};

constexpr int kTextLabelWidth = 22;
constexpr int kTextColumnWidth = 12;

// A row's label, padded to the label column.
void AppendTextLabel(std::string& out, std::string_view label);

// "Reverse arm P (mid gear +O), running forward" (or "in reverse"), P and
// its offset from `centre` with six decimals (every digit with
// Digits::Full), then the column headings "front", "rear" and "front-rear".
void AppendPositionBlockHead(std::string& out, double position, bool forward, double centre,
                             Digits digits = Digits::Fixed);

} // namespace vx
