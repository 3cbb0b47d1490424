// What the dimension editors do to the model when a box is left: the
// commit of a dimension box with its undo entry and dynamic-variable slot,
// and the reverse arm positions of the diagrams.
#pragma once

#include <algorithm>

#include <cstdint>
#include <vector>

#include "model/state/gear_state.h"

namespace vx {

// Commit of an editor's dimension box when it loses the focus. For a
// dynamic-variable dimension: an undo entry if the user typed (undoPending),
// the value stored through CommitDimension (angles folded, pivots kept), the
// dimension made the most recent dynamic variable, undoPending cleared. For
// the reverse arm travel (ids 25, 26): only CommitDimension (Norm <= Max,
// positions pulled in). The caller sets the reverse arm bar's range after id
// 26. Returns false for an unknown id.
bool CommitEditorBox(GearState& g, int id, float value);

// An editor's dimension box left without typing: nothing is written and no
// undo entry made; a dynamic-variable dimension still becomes the most
// recent dynamic variable, with the value as stored. Returns false for an
// unknown id.
bool SelectEditorBox(GearState& g, int id);

// The bits of every dimension and of the mid-gear centre: what a result
// computed on a copy of the design depends on. Two designs with the same
// bits give the same result.
std::vector<std::uint32_t> DesignDimensionBits(const GearState& g);

// Reverse arm positions editor: position k (1..9) typed as v. Position 1
// is never 0 (a typed 0 becomes 0.001); a position in use is limited to
// centre +- Max.
void CommitRevArmPosition(GearState& g, int k, float v);
// A position of the list held within mid gear +- Max (0, a position not in
// use, is left as it is): the positions dialog's limit.
float HeldInTravel(const GearState& g, float v);
// Vertical scale of the diagrams, never below 0.1.
void CommitVerticalScale(GearState& g, float v);
// The refresh of the positions: a position that is 0 clears every later one,
// positionCount becomes the last position in use (kept as it was when
// position 1 is 0). Returns the number of position boxes shown (1..9): box
// k + 1 is shown exactly when position k is in use.
int RefreshRevArmPositions(GearState& g);

// The positions in use: after a refresh they are a prefix of the list,
// 1..n, each not zero. The prefix of a list as it stands, and the count of
// positions a sine, oval or steam diagram draws (positionCount, held to
// 0..9).
int UsedPositionPrefix(const RevArmPositionList& list);
inline int DrawnPositionCount(const Workspace& w) { return std::clamp(w.revArm.positionCount, 0, kRevArmPositions); }
// The position a valve diagram of the positions list draws last, kept as
// lastDiagramPosition (and in the file); unchanged when it draws none.
void KeepLastDiagramPosition(Workspace& w);

} // namespace vx
