// The step rule shared by the relative jog bars (pan, zoom, reference
// points, dynamic variables): each bar rests at 0 and every reported
// position p becomes one relative step.
#pragma once

#include "model/state/gear_state.h"

namespace vx {

struct JogRule {
    double divisor;  // the step is p / divisor
    int troughStep;  // a change of exactly this size (or 1) steps by p / divisor
};

inline constexpr JogRule kPanZoomJog{10.0, 10};
inline constexpr JogRule kReferenceJog{1000.0, 25};
inline constexpr JogRule kDynVarJog{1000.0, 10};

// Returns the step for position p and updates the memory (before := last,
// last := p).
double JogStep(JogMemory& m, int p, const JogRule& rule);

} // namespace vx
