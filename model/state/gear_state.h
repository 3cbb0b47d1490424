// The window's bundle of one gear: the design, its solution at the current
// angle, the user's workspace and the running picture's frame state, each
// its own value (model/gear/design.h, model/gear/solution.h,
// model/workspace/workspace.h, model/workspace/frame_state.h). A function
// takes only the parts it needs, const where it only reads; a GearState
// passes as any of them.
#pragma once

#include "model/state/design.h"
#include "model/state/solution.h"
#include "model/state/frame_state.h"
#include "model/state/workspace.h"

namespace vx {

struct GearState : Design, Solution, Workspace, FrameState {};

} // namespace vx
