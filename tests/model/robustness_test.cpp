// Hostile dimension sets must never crash, hang or trip the sanitizers.
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "model/workspace/motion.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"
#include "tests/kit/started_gear.h"

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
            SCOPED_TRACE("design " + std::to_string(design) + " at " + std::to_string(angle));
            g.motion.driverAngle = angle;
            const bool closed = TickModel(g);
            // Either every pivot is a finite point, or the solve names why not.
            bool finite = true;
            for (int n = 0; n < kPivotCount; ++n) {
                const auto i = static_cast<std::size_t>(n);
                if (n == kRefPoint1 || n == kRefPoint2) continue; // the user's, not the solve's
                finite = finite && std::isfinite(g.piv.x[i]) && std::isfinite(g.piv.y[i]);
            }
            EXPECT_TRUE((closed && finite) || g.solveCause != GeometryCause::None)
                << "closed " << closed << ", finite " << finite;
            // Whatever the figures, the picture's points are pixels within
            // the safe range.
            for (int n = 0; n < kScreenPivotCount; ++n) {
                const auto i = static_cast<std::size_t>(n);
                EXPECT_LE(std::abs(static_cast<long long>(g.piv.sx[i])), kPixelLimit);
                EXPECT_LE(std::abs(static_cast<long long>(g.piv.sy[i])), kPixelLimit);
            }
            for (const ScreenPoint& p : g.cylOutline) {
                EXPECT_LE(std::abs(static_cast<long long>(p.x)), kPixelLimit);
                EXPECT_LE(std::abs(static_cast<long long>(p.y)), kPixelLimit);
            }
        }
        // The mid-gear search ends, with a finite centre where it says it
        // found one.
        if (FindMidGear(g) == MidGearResult::Found) EXPECT_TRUE(std::isfinite(g.revArm.centre)) << design;
    }
}

} // namespace
} // namespace vx
