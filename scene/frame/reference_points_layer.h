// The reference point and pivot data texts of the main picture, drawn by the
// screen data layer at their places in its order. Each draws nothing while
// its mode is off, so the caller may call both unconditionally.
#pragma once

#include "model/state/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// The picked pivots' coordinates (while the pivot data mode is on): the
// heading, the red slot labels "1".."6", the coordinates of the slots in use
// with their labels beside the pivots on the picture, and the distances
// between consecutive slots in use.
void DrawPivotDataDisplay(const GearState& g, Canvas& c);

// The reference points (while the reference points mode is on): a cross at
// each, their coordinates, their differences and their distance. The crosses
// use the colour of overlay item 20 (black while that item has no colour)
// and the picture's line width.
void DrawReferencePointDisplay(const GearState& g, Canvas& c);

// The style of these texts: that of the other screen data texts.
TextStyle ReferenceTextStyle(Rgb color = colors::kBlack);

} // namespace vx
