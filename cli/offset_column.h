// The offset column of the CSVs keyed by position (work, sensitivity,
// tolerance, balance): the position as asked for, from that design's mid
// gear, so the rows of two designs with different mid gears join on it, as
// those of events do.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vx::cli {

// The CSV with a last column "offset": each row whose position field (the
// field `positionField`, 0 for the first) is positions[i] written with 6
// decimals or every digit gets offsets[i] in the shortest form; other rows an empty field.
std::string WithOffsetColumn(std::string_view csv, std::span<const double> positions, std::span<const float> offsets,
                             int positionField = 0);

} // namespace vx::cli
