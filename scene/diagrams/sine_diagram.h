// The sine diagram: valve travel against driver angle, one curve per
// reverse arm position of the list, over the port lines, with the lead,
// lap and exhaust clearance figures of a position at mid gear.
#pragma once

#include "scene/diagrams/diagram_common.h"

namespace vx {

// Draws the whole diagram (632 x 414). Leaves the reverse arm position and
// the driver angle as it found them; leaves lastDiagramPosition at the last
// position drawn, the solver's outputs at the last sample and the undo line
// text rebuilt. When figures is given, it receives each position's lead,
// lap and clearance figures.
void DrawSineDiagram(const GearState& g, Canvas& c, LeadLapTable* figures = nullptr);

} // namespace vx
