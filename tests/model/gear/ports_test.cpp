#include <cmath>

#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

TEST_F(StartedGear, PistonPositionRunsFromZeroToSixForty) {
    struct Case {
        float stroke, rod;
    } cases[] = {{3, 10}, {3, 4}, {1, 50}, {12, 30}};
    for (const Case& c : cases) {
        g.frame.stroke = c.stroke;
        g.frame.mainRodLength = c.rod;
        const double L = c.rod, S = c.stroke;
        const double at90 = 320 + 320 * 2 * (L - std::sqrt(L * L - S * S / 4)) / S;
        struct At {
            float angle;
            double expected;
        } ats[] = {{0, 0}, {180, 640}, {90, at90}};
        for (const At& a : ats) {
            g.motion.driverAngle = a.angle;
            g.geometryError = false;
            ComputePortOpenings(g);
            EXPECT_NEAR(g.ports.pistonPosition, a.expected, 1e-3) << c.stroke << "/" << c.rod << " at " << a.angle;
            EXPECT_FALSE(g.geometryError);
        }
    }
}

TEST_F(StartedGear, ShortMainRodRaisesButStillGivesAPosition) {
    g.frame.mainRodLength = 1.0f;
    g.motion.driverAngle = 90;
    ComputePortOpenings(g);
    EXPECT_TRUE(g.geometryError);
    EXPECT_TRUE(std::isfinite(g.ports.pistonPosition));
}

TEST_F(StartedGear, CentredValveCoversSteamPortsAndJustOpensExhaust) {
    // Valve centre over the exhaust port centre.
    g.piv.x[4] = g.cyl.cylCtrToDriverCtr() - g.cyl.valveCtrToJoint();
    ComputePortOpenings(g);
    EXPECT_NEAR(g.ports.frontSteamOpening, -0.1565, 1e-6);
    EXPECT_NEAR(g.ports.rearSteamOpening, -0.1565, 1e-6);
    EXPECT_NEAR(g.ports.frontExhaustOpening, 0.0005, 1e-6);
    EXPECT_NEAR(g.ports.rearExhaustOpening, 0.0005, 1e-6);

    // A wider front bridge changes only the front openings.
    const PortOpenings before = g.ports;
    g.cyl.bridgeFront() = 0.25f;
    ComputePortOpenings(g);
    EXPECT_NE(g.ports.frontSteamOpening, before.frontSteamOpening);
    EXPECT_NE(g.ports.frontExhaustOpening, before.frontExhaustOpening);
    EXPECT_EQ(g.ports.rearSteamOpening, before.rearSteamOpening);
    EXPECT_EQ(g.ports.rearExhaustOpening, before.rearExhaustOpening);

    // Moving the valve forward 0.3 opens the rear steam port and the front
    // exhaust by as much as it closes the others: every opening moves one
    // for one with the valve.
    g.cyl.bridgeFront() = 0.187f;
    g.piv.x[4] += 0.3f;
    ComputePortOpenings(g);
    EXPECT_NEAR(g.ports.rearSteamOpening, -0.1565 + 0.3, 2e-6);
    EXPECT_NEAR(g.ports.frontExhaustOpening, 0.0005 + 0.3, 2e-6);
    EXPECT_NEAR(g.ports.frontSteamOpening, -0.1565 - 0.3, 2e-6);
    EXPECT_NEAR(g.ports.rearExhaustOpening, 0.0005 - 0.3, 2e-6);
}

TEST(Nearest, HalfToEvenAndDefinedForEveryInput) {
    struct Case {
        double in;
        std::int32_t out;
    } cases[] = {{0.5, 0},       {1.5, 2},          {2.5, 2},         {-0.5, 0},        {-1.5, -2},
                 {-2.5, -2},     {3.49, 3},         {-3.51, -4},      {NAN, 0},         {INFINITY, kPixelLimit},
                 {-INFINITY, -kPixelLimit},         {1e300, kPixelLimit},               {-3e9, -kPixelLimit},
                 {268435455.4, 268435455}};
    for (const Case& c : cases) EXPECT_EQ(Nearest(c.in), c.out) << c.in;
}

TEST_F(StartedGear, OutlinePointsMapTheCylinderAndValve) {
    SolveLinkage(g);
    ComputeOutlinePoints(g);
    const ViewTransform& v = g.view;
    auto px = [&](double x) { return Nearest(x * v.zoom + v.panHorz); };
    auto py = [&](double y) { return Nearest(-y * v.zoom + v.panVert); };
    // C(0): rear edge of the exhaust port at the steam chest top.
    const double S = 1.75, T = S + 0.625;
    EXPECT_EQ(g.cylOutline[0], (ScreenPoint{px(16 - 0.1875), py(static_cast<float>(T))}));
    EXPECT_EQ(g.cylOutline[6], (ScreenPoint{px(16 - 2), py(-1.0625)}));
    EXPECT_EQ(g.cylOutline[19], (ScreenPoint{px(static_cast<float>(16 + 2 - 0.312)), py(1.0625)}));
    // V(0): the piston's front face centre, pistonToCrosshead + half the width ahead of the crosshead.
    EXPECT_EQ(g.valveOutline[0], (ScreenPoint{px(static_cast<float>(g.piv.x[3] + 6.25)), py(0)}));
    // The cavity top is a third of the valve height below its top, on the screen.
    const auto& vo = g.valveOutline;
    EXPECT_EQ(vo[10].y, vo[6].y + (vo[8].y - vo[6].y) / 3);
    EXPECT_EQ(vo[11].y, vo[10].y);
    EXPECT_EQ(vo[5].y, py(g.piv.y[4]));
}

} // namespace
} // namespace vx
