// Dynamic-variable slots and the undo list.
#pragma once

#include "model/state/gear_state.h"

namespace vx {

void SelectDynVar(GearState& g);
void ClearDynVarSlots(GearState& g);
// Applies dynVarStep to the dimension in slot k (1..4).
void StepSlot(GearState& g, int k);
// Every assigned slot takes its dimension's value as stored.
void RefreshDynVarSlots(GearState& g);
// A user's change: forgets what redo could bring back, then PushUndoEntry.
void BeginUndoEntry(GearState& g);
// Makes room for a new entry 1 (entry 99 is lost), counts it and enables the
// UnDo buttons; the caller fills entry 1.
void PushUndoEntry(GearState& g);
void UndoLast(GearState& g);
void ClearUndo(GearState& g);

// Writes a dimension by id the way a slot or undo does: angles folded into
// [0, 360), the valve spindle height kept. Ids without a dimension change
// nothing. Returns whether a dimension was written.
bool WriteDimensionById(GearState& g, int id, float value);

// Position change of dynamic-variable bar n (1..4) to p: one step through
// the jog rule. The caller then puts the bar back to 0 (which calls this
// again with p = 0).
void DynVarBarChange(GearState& g, int n, int p);
// Focus enters bar n.
void DynVarBarEnter(GearState& g, int n);
// End of a scroll gesture on bar n: one undo entry for the gesture.
void DynVarBarGestureEnd(GearState& g, int n);

// Whether slot n (0..4) holds a dimension. A bar of an empty slot is
// disabled, and with slot 1 empty the pictures show the "First Select
// Dimensions" banner in place of the names.
bool DynVarSlotAssigned(const GearState& g, int n);

// Invert the dynamic-variable display (and the undo display with it).
void ToggleDynVarDisplay(GearState& g);

} // namespace vx
