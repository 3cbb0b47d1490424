// The oval diagram: valve travel against piston travel, one closed curve
// per reverse arm position of the list, over the port lines, with the lead,
// lap and exhaust clearance figures of a position at mid gear.
#pragma once

#include "scene/diagrams/diagram_common.h"

namespace vx {

// Picture x of the piston at driver angle theta (degrees): 584 at the
// forward end (0 degrees), 44 at the other. The stroke is guarded against
// a zero divisor and the root against a negative radicand, raising the
// geometry error as the solver does.
int OvalPistonX(const Design& g, float theta, bool* guarded = nullptr);

// Draws the whole diagram (632 x 426); leaves the model as DrawSineDiagram
// does.
void DrawOvalDiagram(const GearState& g, Canvas& c, LeadLapTable* figures = nullptr);

} // namespace vx
