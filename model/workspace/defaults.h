// Program defaults, the two dimension resets, the full reset and start-up.
#pragma once

#include "model/state/gear_state.h"
#include "model/gear/midgear.h"

namespace vx {

void ApplyProgramDefaults(GearState& g);
void ResetView(GearState& g);
void LoadFrameDefaults(GearState& g);
void ApplyFrameDefaults(GearState& g);
void LoadCylinderDefaults(GearState& g);
void ApplyCylinderDefaults(GearState& g);

// The model side of the frame and cylinder reset buttons: defaults, slots
// cleared and refreshed, undo list cleared. The caller sets the reverse arm
// bar range (RevArmBarLimit) and refreshes its dialog.
void FrameReset(GearState& g);
void CylinderReset(GearState& g);

// "&ResetAllDimensions": both resets, mid-gear search, reverse arm to the
// centre, normal view, design name "Nominal", vertical scale 1.5, dynamic
// variables hidden, undo cleared.
MidGearResult FullReset(GearState& g);

// Start-up order of the main window's creation, model side.
MidGearResult StartUp(GearState& g);

// The reverse arm bar spans -RevArmBarLimit .. +RevArmBarLimit.
int RevArmBarLimit(const GearState& g);

// Y of pivot 4 := Y of pivot 3 + valveStemToCL.
void UpdateValveSpindleHeight(GearState& g);

} // namespace vx
