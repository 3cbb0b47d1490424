#include "model/workspace/dynvar.h"

#include <algorithm>

#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "model/workspace/jog.h"
#include "model/workspace/undo_redo.h"

namespace vx {
namespace {

// The dimension a slot or an undo entry may write: every dimension id except
// the reverse arm travel (25, 26).
const DimensionInfo* SlotDimension(int id) { return IsDynamicVariable(id) ? FindDimension(id) : nullptr; }

void SetUndoButtons(GearState& g, bool enabled) { g.undoButtonEnabled.fill(enabled); }

} // namespace

void SelectDynVar(GearState& g) {
    for (int k = 1; k <= 4; ++k) {
        DynVarSlot& s = g.dynVarSlots[static_cast<std::size_t>(k)];
        if (s.id == g.dynVarSlots[0].id) {
            s.value = g.dynVarSlots[0].value;
            s.name = g.dynVarSlots[0].name;
            return;
        }
    }
    for (int k = 4; k >= 2; --k) g.dynVarSlots[static_cast<std::size_t>(k)] = g.dynVarSlots[static_cast<std::size_t>(k - 1)];
    g.dynVarSlots[1] = g.dynVarSlots[0];
}

void ClearDynVarSlots(GearState& g) { g.dynVarSlots.fill(DynVarSlot{}); }

bool WriteDimensionById(GearState& g, int id, float value) {
    const DimensionInfo* d = SlotDimension(id);
    if (!d) return false;
    SetDimension(g, *d, IsAngleDimension(id) ? FoldAngle(value) : value);
    return true;
}

void StepSlot(GearState& g, int k) {
    DynVarSlot& s = g.dynVarSlots[static_cast<std::size_t>(k)];
    const DimensionInfo* d = SlotDimension(s.id);
    if (!d) return;
    s.value = DimensionRef(g, *d);
    if (IsAngleDimension(s.id)) g.dynVarStep = static_cast<float>(static_cast<double>(g.dynVarStep) * 100);
    s.value = static_cast<float>(static_cast<double>(s.value) + g.dynVarStep);
    g.frontCutOffText.clear();
    g.rearCutOffText.clear();
    WriteDimensionById(g, s.id, s.value); // the slot keeps the unwrapped angle
}

void RefreshDynVarSlots(GearState& g) {
    for (int k = 1; k <= 4; ++k) {
        DynVarSlot& s = g.dynVarSlots[static_cast<std::size_t>(k)];
        const DimensionInfo* d = SlotDimension(s.id);
        if (!d) continue;
        s.value = DimensionRef(g, *d);
        g.frontCutOffText.clear();
        g.rearCutOffText.clear();
    }
}

void BeginUndoEntry(GearState& g) {
    if (!g.undoPending) return;
    g.redoCount = 0; // a new change: what was undone stays undone
    PushUndoEntry(g);
}

void PushUndoEntry(GearState& g) {
    SetUndoButtons(g, true);
    for (int i = kUndoEntries - 2; i >= 0; --i)
        g.undo[static_cast<std::size_t>(i + 1)] = g.undo[static_cast<std::size_t>(i)];
    // The caller fills the new entry's change; nothing else carries over
    // from the working entry.
    g.undo[1] = UndoEntry{g.undo[1].id, g.undo[1].oldValue, g.undo[1].newValue, g.undo[1].name};
    g.undoCount = std::min(g.undoCount + 1, kUndoEntries - 1);
}

void UndoLast(GearState& g) {
    for (int i = 0; i < kUndoEntries - 1; ++i)
        g.undo[static_cast<std::size_t>(i)] = g.undo[static_cast<std::size_t>(i + 1)];
    const UndoEntry& e = g.undo[0];
    if (const DimensionInfo* d = SlotDimension(e.id)) {
        // Only the eccentric angles are wrapped on the way back.
        const bool wrap = e.id == 6 || e.id == 7;
        SetDimension(g, *d, wrap ? FoldAngle(e.oldValue) : e.oldValue);
    }
    if (e.midGearSearched) PutMidGearFigures(g, e.midGearBefore);
    // Every slot shows its dimension as it is stored now. (Stepping each one
    // up and back, as the slots are stepped, would leave the dimension a
    // float step away from the value restored.)
    RefreshDynVarSlots(g);
    g.undo[kUndoEntries - 1] = UndoEntry{};
    if (g.undo[1].id == 0) SetUndoButtons(g, false);
    g.undoCount = std::max(g.undoCount - 1, 0);
}

void ClearUndo(GearState& g) {
    g.undo.fill(UndoEntry{});
    g.undoCount = 0;
    g.redo.fill(UndoEntry{});
    g.redoCount = 0;
    SetUndoButtons(g, false);
}

void DynVarBarChange(GearState& g, int n, int p) {
    g.dynVarStep = 0;
    g.activeSlot = n;
    g.dynVarStep = static_cast<float>(JogStep(g.dynVarBars, p, kDynVarJog));
    StepSlot(g, n);
}

void DynVarBarEnter(GearState& g, int n) {
    // The value an undo of the gesture restores: the dimension as stored.
    const DynVarSlot& s = g.dynVarSlots[static_cast<std::size_t>(n)];
    const DimensionInfo* d = SlotDimension(s.id);
    g.valueAtEnter = d ? DimensionRef(g, *d) : s.value;
}

void DynVarBarGestureEnd(GearState& g, int n) {
    const DynVarSlot& s = g.dynVarSlots[static_cast<std::size_t>(n)];
    g.undoButtonEnabled[0] = true;
    g.undoPending = true;
    BeginUndoEntry(g);
    g.undo[1] = UndoEntry{s.id, g.valueAtEnter, s.value, s.name};
    g.undoPending = false;
}

void ToggleDynVarDisplay(GearState& g) {
    g.dynVarDisplay = !g.dynVarDisplay;
    g.undoDisplay = g.dynVarDisplay;
}

bool DynVarSlotAssigned(const GearState& g, int n) {
    if (n < 0 || n >= static_cast<int>(g.dynVarSlots.size())) return false;
    return g.dynVarSlots[static_cast<std::size_t>(n)].name != kUnassignedSlotName;
}

} // namespace vx
