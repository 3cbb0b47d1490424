// One revolution of the running gear, frame by frame: how many frames, the
// angles they show in either direction, stopping early, the GIF timing.
#include "scene/frame/animation_frames.h"
#include "model/workspace/defaults.h"
#include "platform/null_canvas.h"
#include "platform/random.h"
#include "tests/kit/designs.h"

#include <gtest/gtest.h>

#include <cstring>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace vx {
namespace {

// At least a whole turn: 0.01 as a float is a hair below 0.01, so 36000 of
// its steps fall short of 360 degrees.
TEST(AnimationFrames, TicksPerRevolution) {
    const struct {
        float step;
        long long ticks;
    } cases[] = {{10, 36}, {7, 52}, {45, 8}, {1, 360}, {0.01f, 36001}, {0, 36001},
                 {-5, 36001}, {std::numeric_limits<float>::quiet_NaN(), 36001}, {100, 8}};
    for (const auto& c : cases) EXPECT_EQ(TicksPerRevolution(c.step), c.ticks) << c.step;
}

TEST(AnimationFrames, GifDelayForFps) {
    const int cases[][2] = {{25, 4}, {1, 100}, {30, 3}, {100, 1}, {0, 100}, {1000, 1}, {-3, 100},
                             {60, 2}, {15, 7}}; // 100/60 = 1.67 and 100/15 = 6.67, rounded
    for (const auto& c : cases) EXPECT_EQ(GifDelayForFps(c[0]), c[1]) << c[0];
}

struct RevolutionCase {
    const char* what;
    float start;
    float step;
    float revArmOffset; // from mid gear: below it forward, above it reverse
    std::vector<float> firstAngles;
    float lastAngle;
    long long frames;
};

TEST(AnimationFrames, RevolutionFromTheCurrentAngle) {
    const RevolutionCase cases[] = {
        {"forward from 0", 0, 10, -1, {0, 10, 20}, 350, 36},
        {"forward from 355 wraps", 355, 10, -1, {355, 5, 15}, 345, 36},
        {"reverse counts down", 30, 45, 1, {30, 345, 300}, 75, 8},
    };
    for (const RevolutionCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto g = test::StartedDesign();
        g->motion.reverseArmPosition = g->revArm.centre + c.revArmOffset;
        g->motion.direction = c.revArmOffset <= 0 ? Direction::Fwd : Direction::Rev;
        g->motion.driverAngle = c.start;
        g->motion.tickStep = 0; // stopped: the revolution runs it all the same
        g->motion.running = false;
        NullCanvas canvas;
        LcgRandom random(1);
        std::vector<float> angles;
        const GearState before = *g;
        ASSERT_TRUE(DrawRevolution(*g, c.step, canvas, FrameServices{&random},
                                   [&](long long k, float angle) {
                                       EXPECT_EQ(k, static_cast<long long>(angles.size()));
                                       angles.push_back(angle);
                                       return true;
                                   }));
        ASSERT_EQ(static_cast<long long>(angles.size()), c.frames);
        for (std::size_t i = 0; i < c.firstAngles.size(); ++i) EXPECT_FLOAT_EQ(angles[i], c.firstAngles[i]);
        EXPECT_FLOAT_EQ(angles.back(), c.lastAngle);
        // The revolution ran on a copy: the gear drawn is as it was.
        EXPECT_EQ(g->motion.running, before.motion.running);
        EXPECT_EQ(g->motion.tickStep, before.motion.tickStep);
        EXPECT_EQ(g->motion.driverAngle, before.motion.driverAngle);
        EXPECT_EQ(std::memcmp(&g->piv, &before.piv, sizeof before.piv), 0);
        // What the revolution starts from: the warm-up leaves the gear
        // running at the step, at the angle it started from.
        GearState warm = before;
        WarmUpRunning(warm, c.step);
        EXPECT_TRUE(warm.motion.running);
        EXPECT_EQ(warm.motion.tickStep, c.step);
        EXPECT_EQ(warm.motion.driverAngle, c.start);
    }
}

TEST(AnimationFrames, StopsWhenAFrameSaysSo) {
    auto g = test::StartedDesign();
    NullCanvas canvas;
    int seen = 0;
    EXPECT_FALSE(DrawRevolution(*g, 10, canvas, {}, [&](long long k, float) {
        ++seen;
        return k < 4;
    }));
    EXPECT_EQ(seen, 5);
}

} // namespace
} // namespace vx
