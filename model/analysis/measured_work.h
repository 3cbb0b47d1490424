// The work of a measured engine: the ideal indicator cards built from the
// valve events measured on it (admission, cut-off, release and compression
// of each end, in percent of stroke or as crosshead distances) instead of
// the design's, per measured position. A position whose four events of an
// end are not all measured has no card for that end, and says which are
// missing: nothing is guessed.
//
// Measured percentages carry no crank angle: admission is taken as coming
// at or before its dead centre, cut-off and release on the outward stroke
// and compression on the return stroke, as on any working card.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "model/analysis/valve_fit.h"
#include "model/analysis/work.h"

namespace vx {

struct MeasuredPosition {
    double offset = 0;
    EventDirection direction = EventDirection::Auto;
    PositionEvents events; // the measured events as the card takes them (no angles of their own)
    PositionWork work;
    std::string missing;   // the events not measured ("front release, rear compression"); "" when complete
};

// One entry per measured (offset, direction), in the order of first
// appearance. Degrees are not used (a card is in stroke); the last of two
// measurements of the same event counts. `g` gives mid gear, the running
// direction, the stroke and the tractive effort's dimensions.
std::vector<MeasuredPosition> MeasuredWork(const GearState& g, std::span<const Measurement> rows,
                                           const WorkSettings& s);

} // namespace vx
