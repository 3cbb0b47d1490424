// The pivot data table: the world coordinates of the six picked pivots over
// a revolution of the driver, as text for the pivot data window (and the
// clipboard) and for vexlin-cli. Solves the gear once per row.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "model/state/gear_state.h"

namespace vx {

using PivotPicks = std::array<int, kPickSlots>; // pivot numbers of slots 1..6

// The pivots of pick slots 1..6 (a slot never filled holds pivot 0).
PivotPicks PickedPivots(const GearState& g);

// Rows never exceed this, whatever the step.
constexpr long long kMaxPivotTableRows = 400'000;

// Driver angles of the rows: a = 0, s, 2s, ... while a <= 360, a growing by
// 32-bit float additions of s. A step that is not a positive number gives
// the row for 0 only.
long long PivotTableRowCount(float step);

// The table's text: four heading lines (design name, date and time; reverse
// arm position and step angle; column headings), then one row per driver
// angle with the Vert (world Y) and Horz (world X) of each picked pivot.
// Every line ends with "\n". The step is the selected step angle; the driver
// angle and the current step are restored afterwards (the pivots keep the
// last row's positions). `out` is replaced.
void BuildPivotTable(GearState& g, const PivotPicks& picks, std::string_view date, std::string_view time,
                     std::string& out);

// The same rows as CSV for the pivots listed: "angle,p<N>x,p<N>y,..." (x
// before y, as every CSV of the program), then one line per angle, each
// value in the shortest form that reads back as the same 32-bit value.
void BuildPivotCsv(GearState& g, std::span<const int> pivots, std::string& out);

} // namespace vx
