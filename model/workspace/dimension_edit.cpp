#include "model/workspace/dimension_edit.h"

#include <bit>

#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"

namespace vx {

bool CommitEditorBox(GearState& g, int id, float value) {
    const DimensionInfo* d = FindDimension(id);
    if (!d) return false;
    if (!IsDynamicVariable(id)) return CommitDimension(g, id, value);

    const bool typed = g.undoPending;
    if (typed) {
        BeginUndoEntry(g);
        g.undo[1].id = id;
        g.undo[1].oldValue = DimensionValue(g, *d);
    }
    CommitDimension(g, id, value);
    const float stored = DimensionValue(g, *d);
    g.dynVarSlots[0] = DynVarSlot{id, stored, d->shortName};
    SelectDynVar(g);
    if (typed) {
        g.undo[1].newValue = stored;
        g.undo[1].name = d->shortName;
    }
    g.undoPending = false;
    return true;
}

bool SelectEditorBox(GearState& g, int id) {
    const DimensionInfo* d = FindDimension(id);
    if (!d) return false;
    if (IsDynamicVariable(id)) {
        g.dynVarSlots[0] = DynVarSlot{id, DimensionValue(g, *d), d->shortName};
        SelectDynVar(g);
    }
    g.undoPending = false;
    return true;
}

std::vector<std::uint32_t> DesignDimensionBits(const GearState& g) {
    std::vector<std::uint32_t> bits;
    for (const DimensionInfo& d : AllDimensions()) bits.push_back(std::bit_cast<std::uint32_t>(DimensionValue(g, d)));
    bits.push_back(std::bit_cast<std::uint32_t>(g.revArm.centre));
    return bits;
}

float HeldInTravel(const GearState& g, float v) {
    if (v == 0.0f) return v; // not in use
    const double c = g.revArm.centre;
    const double max = g.frame.revArmToCentMax;
    const auto low = static_cast<float>(c - max);
    const auto high = static_cast<float>(c + max);
    if (v < low) v = low;
    if (v > high) v = high;
    return v;
}

void CommitRevArmPosition(GearState& g, int k, float v) {
    if (k < 1 || k > kRevArmPositions) return;
    if (k == 1 && v == 0.0f) v = 0.001f;
    g.revArm.position[static_cast<std::size_t>(k)] = HeldInTravel(g, v);
}

void CommitVerticalScale(GearState& g, float v) {
    g.revArm.verticalScale = v < 0.1f ? 0.1f : v;
}

int RefreshRevArmPositions(GearState& g) {
    RevArmPositionList& list = g.revArm;
    int shown = 1;
    for (int k = 1; k <= kRevArmPositions - 1; ++k) {
        if (list.position[static_cast<std::size_t>(k)] != 0.0f) {
            list.positionCount = k;
            shown = k + 1;
        } else {
            list.position[static_cast<std::size_t>(k + 1)] = 0.0f;
        }
    }
    if (list.position[kRevArmPositions] != 0.0f) list.positionCount = kRevArmPositions;
    return shown;
}

int UsedPositionPrefix(const RevArmPositionList& list) {
    int n = 0;
    while (n < kRevArmPositions && list.position[static_cast<std::size_t>(n + 1)] != 0.0f) ++n;
    return n;
}

void KeepLastDiagramPosition(Workspace& w) {
    if (const int n = DrawnPositionCount(w); n > 0) w.lastDiagramPosition = w.revArm.position[static_cast<std::size_t>(n)];
}

} // namespace vx
