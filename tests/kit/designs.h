// The designs the tests and the benchmarks start from: the default design
// after start-up, and the same design at another size.
#pragma once

#include <memory>

#include "model/state/gear_state.h"

namespace vx::test {

// The default design as the program starts with it: defaults applied, mid
// gear found, the motion as start-up leaves it. On the heap: a GearState
// is large for a sanitized stack.
std::unique_ptr<GearState> StartedDesign();

// The default design with every length multiplied by k: every dimension but
// the four angles (ids 6, 7, 19 and 21), the fixed pivots' coordinates (they
// are dimensions) and the reverse arm's travel among them; mid gear found
// again. The view and the workspace are the default's.
std::unique_ptr<GearState> ScaledDesign(float k);

// Every length of `g` multiplied by k and rounded to its float (as
// ScaledDesign does), the fixed pivots placed again and the classic mid
// gear searched again.
void ScaleDesign(GearState& g, double k);

// Designs of the tests' own: the default with every length moved by up to
// one percent, each by its own amount (seed 1, 2, ...), mid gear found.
std::unique_ptr<GearState> VariedDesign(int seed);

// A varied design whose every length is a multiple of 5/1024: times 13,
// 100, 127/5 (inches to millimetres) or 1/20 each is exactly a float, so
// such a design scales with no rounding at all.
std::unique_ptr<GearState> EvenDesign(int seed);

} // namespace vx::test
