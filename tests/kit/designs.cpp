#include "tests/kit/designs.h"

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
    for (const DimensionInfo& d : AllDimensions())
        if (!IsAngleDimension(d.id)) DimensionRef(*g, d) *= k;
    PlaceFixedPivots(*g, *g);
    // The search starts from the seed, as a full reset's does, not from the
    // rocker height of the default's last solve.
    ReseedRockerLowerEnd(*g);
    FindMidGear(*g);
    return g;
}

} // namespace vx::test
