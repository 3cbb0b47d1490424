// Motion state rules shared by the main window's controls and the tick.
#pragma once

#include <array>
#include <optional>

#include "model/state/gear_state.h"

namespace vx {

struct StepAngleRow {
    float step;     // degrees per tick
    int smallChange; // of the driver angle bar
    int largeChange;
};
constexpr int kStepBarMax = 14613;
// The row of the step angle bar table for a bar position (clamped to 0..14613).
StepAngleRow StepAngleForPosition(int position);

// The crank's turn by a step, in the two ways the program takes it, side by
// side on purpose. The running gear (AdvanceDriverAngle) moves by its tick
// step in its direction and comes back into the turn once, past 360.1 or
// below 0, so that 360 itself is shown. A diagram's sweep (StepDiagramAngle)
// moves by `step` degrees (negative: backwards) and comes back into the
// turn past 360 (forwards) or below 0 (backwards), as many turns as it takes.
float StepDiagramAngle(float angle, double step);

// Driver angle advance of one tick, with the wrap into [0, 360.1].
void AdvanceDriverAngle(MotionState& m);

// Reverse arm bar change to position p: reverseArmPosition and direction.
void ApplyRevArmBar(GearState& g, int position);

// One tick's model work: solve, port openings, screen points, outline
// points, advance. Returns whether the solve completed.
bool TickModel(GearState& g);

// The step bar moved to `position`. The first report after start-up only
// arms the bar (its start position is no choice of the user's) and returns
// nothing; afterwards the row's step becomes the selected step (and the
// running step while running) and the row is returned, whose changes the
// driver angle bar takes.
std::optional<StepAngleRow> ApplyStepBar(MotionState& m, int position);

// The three step presets ("1.0", "10.0", "45.0") and the step bar position
// each one sets.
struct StepPreset {
    float step;
    int barPosition;
};
inline constexpr std::array<StepPreset, 3> kStepPresets{{{1.0f, 8000}, {10.0f, 12000}, {45.0f, kStepBarMax}}};

// Preset i chosen: its step becomes the selected step, and the running step
// while running. Returns the step bar position it sets.
int SelectStepPreset(MotionState& m, int i);
// A preset's button is enabled unless its step is the selected one.
bool StepPresetEnabled(const MotionState& m, int i);

// Run/Stop: starting runs at the selected step; stopping stands the driver
// still. Returns whether the driver now runs.
bool ToggleRunning(MotionState& m);
// The "180" and "0.0" buttons: the driver stands at 180 or 0 degrees.
void StandAtHalfTurn(MotionState& m, bool half);
// The driver angle bar's position for an angle (hundredths of a degree).
int DriverAngleBarPosition(double angle);

// The reverse arm bar position of normal forward or normal reverse, on a bar
// whose end is barEnd (its maximum forward, its minimum reverse).
int NormalRevArmBarPosition(const GearState& g, int barEnd);
// Which of "Cen", "Fwd" and "Rev" are enabled once the reverse arm bar stands
// at `position` (ApplyRevArmBar done): each is disabled where it would put
// the arm.
struct RevArmButtons {
    bool centre = true;
    bool forward = true;
    bool reverse = true;
};
RevArmButtons RevArmButtonsAt(const GearState& g, int position);
// "Cen": the arm at mid gear.
void CentreReverseArm(GearState& g);

} // namespace vx
