// Motion state rules shared by the main window's controls and the tick.
#pragma once

#include "model/gear_state.h"

namespace vx {

struct StepAngleRow {
    float step;     // degrees per tick
    int smallChange; // of the driver angle bar
    int largeChange;
};
constexpr int kStepBarMax = 14613;
// The row of the step angle bar table for a bar position (clamped to 0..14613).
StepAngleRow StepAngleForPosition(int position);

// Driver angle advance of one tick, with the wrap into [0, 360.1].
void AdvanceDriverAngle(MotionState& m);

// Reverse arm bar change to position p: reverseArmPosition and direction.
void ApplyRevArmBar(GearState& g, int position);

// One tick's model work: solve, port openings, screen points, outline
// points, advance. Returns whether the solve completed.
bool TickModel(GearState& g);

// Zoom step d (percent) about the fixed pixel (320, 240), with the limits.
void ApplyZoomStep(ViewTransform& v, double d);

} // namespace vx
