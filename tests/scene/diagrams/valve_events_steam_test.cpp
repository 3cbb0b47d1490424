// The exact events beside the steam diagram's figures: the diagram
// interpolates its cut-off between samples 4 degrees apart and reads
// release and compression at the sample before the event; the exact events
// agree with the first and put the others where the openings really change
// sign.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/diagrams/steam_drawing.h"
#include "model/workspace/defaults.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/analysis/valve_events.h"
#include "platform/null_canvas.h"

namespace vx {
namespace {

struct Compared {
    SteamPositionFigures diagram;
    PositionEvents exact;
};

Compared AtFullForward() {
    GearState g;
    EXPECT_EQ(StartUp(g), MidGearResult::Found);
    const float position = NotchPositions(g)[0];
    g.revArm.position[1] = position;
    g.revArm.positionCount = 1;
    NullCanvas c;
    SteamFigures f;
    Compared r;
    // The classic events, as the steam diagram stands on the classic solve.
    r.exact = ComputeValveEvents(g, position, EventDirection::Auto, SolveMode::Classic);
    DrawSteamDiagram(g, c, &f);
    EXPECT_EQ(f.count, 1);
    r.diagram = f.positions[0];
    return r;
}

PortOpenings SettledAt(float position, double angle) {
    GearState g;
    StartUp(g);
    g.motion.reverseArmPosition = position;
    g.motion.driverAngle = static_cast<float>(angle);
    for (int i = 0; i < 40; ++i) SolveLinkage(g);
    ComputePortOpenings(g);
    return g.ports;
}

float ExhaustOpeningAt(float position, double angle) { return SettledAt(position, angle).frontExhaustOpening; }

// How far the piston moves, in percent of stroke, over one of the
// diagram's steps ending at `angle`.
double StepTravel(float position, double angle) {
    return std::fabs(SettledAt(position, angle).pistonPosition -
                     SettledAt(position, angle - kSteamAngleStep).pistonPosition) / 6.4;
}

TEST(ValveEventsBesideSteamDiagram, CutOffAgreesWithinTheDiagramsSampling) {
    const Compared c = AtFullForward();
    ASSERT_TRUE(c.diagram.found[kFrontCutOff] && c.diagram.found[kRearCutOff]);
    ASSERT_TRUE(c.exact.front.cutOff && c.exact.rear.cutOff);
    // The diagram interpolates within the step that holds the event: the
    // exact figure lies within that step's piston travel of it (about five
    // points here; the two differ by half a point).
    EXPECT_NEAR(*c.exact.front.cutOff, c.diagram.percent[kFrontCutOff],
                StepTravel(c.exact.position, *c.exact.front.cutOffAngle));
    EXPECT_NEAR(*c.exact.rear.cutOff, c.diagram.percent[kRearCutOff],
                StepTravel(c.exact.position, *c.exact.rear.cutOffAngle));
}

TEST(ValveEventsBesideSteamDiagram, CompressionIsWhereTheExhaustReallyCloses) {
    const Compared c = AtFullForward();
    ASSERT_TRUE(c.diagram.found[kFrontCompression]);
    ASSERT_TRUE(c.exact.front.compression && c.exact.front.compressionAngle);
    // The diagram's figure is a sample late: more than a point of stroke off.
    EXPECT_GT(std::fabs(*c.exact.front.compression - c.diagram.percent[kFrontCompression]), 1.0);
    EXPECT_NEAR(*c.exact.front.compression, 8.72, 0.01);
    // Running forward, the exhaust is open just before the angle found and
    // closed just after it.
    const double a = *c.exact.front.compressionAngle;
    EXPECT_GT(ExhaustOpeningAt(c.exact.position, a - kEventAngleTolerance), 0);
    EXPECT_LE(ExhaustOpeningAt(c.exact.position, a + kEventAngleTolerance), 0);
}

} // namespace
} // namespace vx
