// Gear states no design should reach, solved as a tick would: the pictures
// drawn from them must not crash, hang or leave the pixel range.
#pragma once

#include <limits>
#include <span>

#include "model/state/gear_state.h"
#include "model/workspace/motion.h"
#include "tests/kit/designs.h"

namespace vx::test {

struct HostileState {
    const char* name;
    void (*apply)(GearState&);
};

inline std::span<const HostileState> HostileStates() {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kHuge = std::numeric_limits<float>::max();
    static const HostileState states[] = {
        {"NaN driver", [](GearState& g) { g.frame.driverDia = kNaN; }},
        {"infinite driver", [](GearState& g) { g.frame.driverDia = kInf; }},
        {"huge driver", [](GearState& g) { g.frame.driverDia = kHuge; }},
        {"negative driver", [](GearState& g) { g.frame.driverDia = -7; }},
        {"huge eccentric", [](GearState& g) { g.frame.eccDia = -kHuge; }},
        {"NaN stroke", [](GearState& g) { g.frame.stroke = kNaN; }},
        {"huge stroke", [](GearState& g) { g.frame.stroke = kHuge; }},
        {"infinite rod", [](GearState& g) { g.frame.mainRodLength = kInf; }},
        {"huge zoom", [](GearState& g) { g.view.zoom = kHuge; }},
        {"tiny zoom", [](GearState& g) { g.view.zoom = 1e-30f; }},
        {"NaN view", [](GearState& g) { g.view = {kNaN, kNaN, kNaN}; }},
        {"NaN pan", [](GearState& g) { g.view.panHorz = kNaN, g.view.panVert = -kInf; }},
        {"huge angle", [](GearState& g) { g.motion.driverAngle = kHuge; }},
        {"NaN angle", [](GearState& g) { g.motion.driverAngle = kNaN; }},
        {"NaN reverse arm", [](GearState& g) { g.motion.reverseArmPosition = kNaN; }},
        {"infinite reverse arm", [](GearState& g) { g.motion.reverseArmPosition = -kInf; }},
        {"huge cylinder", [](GearState& g) {
             for (int i = 0; i < kCylinderSlots; ++i) g.cyl.slot(i) = (i % 2 ? kHuge : -kHuge);
         }},
    };
    return states;
}

// The start-up design with the hostile change, after one tick (the change
// applied again in case the tick replaced it).
inline GearState SolvedHostileState(const HostileState& h) {
    GearState g = *StartedDesign();
    g.motion.tickStep = 0;
    h.apply(g);
    TickModel(g);
    h.apply(g);
    return g;
}

} // namespace vx::test
