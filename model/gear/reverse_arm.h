// The reverse arm's rules shared by the window, the analyses and the
// command line: which way the gear runs at a position, and a position given
// as an offset from mid gear.
#pragma once

#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/fixed_format.h"
#include "model/state/gear_state.h"

namespace vx {

// Which way a position runs. The running gear (the window, the analyses,
// the command line) runs forward up to mid gear, mid gear itself included
// (<=). The steam diagram turns its crank backwards from mid gear on: at
// mid gear itself it turns as in reverse (<). A diagram's position rows name
// mid gear itself "Cen". The three stand here side by side on purpose.
inline Direction DirectionAt(float position, float centre) {
    return position <= centre ? Direction::Fwd : Direction::Rev;
}
inline bool SteamDiagramTurnsForward(float position, float centre) { return position < centre; }
inline std::string_view PositionLabel(float position, float centre) {
    if (position < centre) return "Fwd";
    if (position > centre) return "Rev";
    return "Cen";
}

// The reverse arm bar measures the arm from mid gear, 1000 bar units per
// length unit, forward to the right (a bar position p is the offset -p /
// 1000); it spans mid gear +- Max.
constexpr double kRevArmBarPerUnit = 1000.0;
inline double OffsetOfRevArmBar(int position) { return -position / kRevArmBarPerUnit; }
// The bar position (unrounded) of an arm position.
inline double RevArmBarOf(float centre, double position) {
    return (static_cast<double>(centre) - position) * kRevArmBarPerUnit;
}

// The travel's landmarks as the windows show them: Max (mid gear + Max),
// Rev (+ Norm), Cen (mid gear), Fwd (- Norm) and Min (- Max).
struct TravelLandmarks {
    double max, rev, cen, fwd, min;
};
inline TravelLandmarks TravelLandmarksOf(const GearState& g) {
    const double c = g.revArm.centre;
    const double norm = g.frame.revArmToCentNorm;
    const double max = g.frame.revArmToCentMax;
    return {c + max, c + norm, c, c - norm, c - max};
}

// The arm at `offset` from mid gear (positive towards reverse).
inline float ReverseArmAtOffset(const GearState& g, double offset) {
    return ToModelFloat(static_cast<double>(g.revArm.centre) + offset);
}

// An offset held within the arm's travel, ±Max from mid gear. Mid gear
// itself is never moved.
inline double HeldOffset(const GearState& g, double offset) {
    if (offset == 0) return offset;
    const double max = std::fabs(static_cast<double>(g.frame.revArmToCentMax));
    return std::clamp(offset, -max, max);
}

// The arm at an offset held within its travel.
inline float HeldReverseArm(const GearState& g, double offset) { return ReverseArmAtOffset(g, HeldOffset(g, offset)); }

// The offset of an arm position from mid gear: the shortest decimal that
// puts the arm there again (ReverseArmAtOffset), so that full reverse of a
// design whose mid gear is 7.621721 is 1, not 1.0000005, and a position
// typed as an offset reads back as it was typed.
float OffsetFromMidGear(float centre, float position);

} // namespace vx
