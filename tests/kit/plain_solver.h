// A straightforward linkage solve, kept as the measure of the fast one.
#pragma once

#include "model/state/gear_state.h"

namespace vx::test {

bool PlainSolveLinkage(GearState& g);

} // namespace vx::test
