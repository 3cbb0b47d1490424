#include "tests/kit/designs.h"

#include <cmath>

#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "model/gear/solver.h"
#include "model/workspace/defaults.h"

namespace vx::test {

std::unique_ptr<GearState> StartedDesign() {
    auto g = std::make_unique<GearState>();
    StartUp(*g);
    return g;
}

std::unique_ptr<GearState> ScaledDesign(float k) {
    auto g = StartedDesign();
    ScaleDesign(*g, k);
    return g;
}

void ScaleDesign(GearState& g, double k) {
    for (const DimensionInfo& d : AllDimensions()) {
        float& v = DimensionRef(g, d);
        if (!IsAngleDimension(d.id)) v = static_cast<float>(static_cast<double>(v) * k);
    }
    PlaceFixedPivots(g, g);
    // The search starts from the seed, as a full reset's does, not from the
    // rocker height of the default's last solve.
    ReseedRockerLowerEnd(g);
    FindMidGear(g);
}

std::unique_ptr<GearState> VariedDesign(int seed) {
    auto g = StartedDesign();
    int i = 0;
    for (const DimensionInfo& d : AllDimensions()) {
        ++i;
        if (IsAngleDimension(d.id)) continue;
        const double wobble = std::sin(seed * 12.9898 + i * 78.233);
        DimensionRef(*g, d) = static_cast<float>(DimensionRef(*g, d) * (1 + 0.01 * wobble));
    }
    PlaceFixedPivots(*g, *g);
    ReseedRockerLowerEnd(*g);
    FindMidGear(*g);
    return g;
}

std::unique_ptr<GearState> EvenDesign(int seed) {
    auto g = VariedDesign(seed);
    constexpr double kGrain = 5.0 / 1024;
    for (const DimensionInfo& d : AllDimensions()) {
        float& v = DimensionRef(*g, d);
        if (!IsAngleDimension(d.id)) v = static_cast<float>(std::round(v / kGrain) * kGrain);
    }
    PlaceFixedPivots(*g, *g);
    ReseedRockerLowerEnd(*g);
    FindMidGear(*g);
    return g;
}

} // namespace vx::test
