// Hostile dimension sets must never crash, hang or trip the sanitizers.
#include <cmath>
#include <limits>
#include <random>

#include "model/dimensions.h"
#include "model/midgear.h"
#include "model/motion.h"
#include "model/ports.h"
#include "model/solver.h"
#include "model/view.h"
#include "tests/model/test_support.h"

namespace vx {
namespace {

TEST(Robustness, HostileDimensionsSolveDrawAndSearchSafely) {
    const float specials[] = {0.0f,  -0.0f, -1.0f, 1e-30f, -1e-30f, 1e30f, -1e30f,
                              std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::denorm_min()};
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(specials)) - 1);
    std::uniform_real_distribution<float> any(-50.0f, 50.0f);
    std::bernoulli_distribution hostile(0.3);
    const auto dims = AllDimensions();

    for (int design = 0; design < 150; ++design) {
        GearState g;
        StartUp(g);
        for (const DimensionInfo& d : dims)
            if (hostile(rng)) DimensionRef(g, d) = design % 3 == 0 ? any(rng) : specials[pick(rng)];
        if (design % 5 == 0) g.view = {specials[pick(rng)], specials[pick(rng)], specials[pick(rng)]};
        g.motion.reverseArmPosition = design % 7 == 0 ? specials[pick(rng)] : g.revArm.centre;
        for (float angle : {0.0f, 45.0f, 90.0f, 271.0f}) {
            g.motion.driverAngle = angle;
            TickModel(g);
        }
        FindMidGear(g);
    }
}

} // namespace
} // namespace vx
