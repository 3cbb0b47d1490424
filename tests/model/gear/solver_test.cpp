#include <cmath>
#include <limits>
#include <set>

#include "model/workspace/defaults.h"
#include "model/state/geometry_error.h"
#include "model/gear/solver.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

using test::StartedGear;

TEST_F(StartedGear, DefaultDesignClosesAtEveryAngleInEveryGear) {
    for (float offset : {-1.0f, 0.0f, 1.0f, -1.074f, 1.074f}) {
        g.motion.reverseArmPosition = g.revArm.centre + offset;
        for (int tenth = 0; tenth < 3600; tenth += 5) {
            g.motion.driverAngle = tenth / 10.0f;
            g.geometryError = false;
            ASSERT_TRUE(SolveLinkage(g));
            ASSERT_FALSE(g.geometryError) << "offset " << offset << " angle " << g.motion.driverAngle;
            ASSERT_EQ(g.piv.y[4], static_cast<float>(g.fixedPivots.cylinderCentreY + static_cast<double>(g.cyl.valveStemToCL())));
            ASSERT_EQ(g.piv.x[18], g.motion.reverseArmPosition);
        }
    }
}

// The searches leave their unknown one final step (0.00016) above the
// height at which the dependent pivots were last computed.
TEST_F(StartedGear, SearchesEndOneFinalStepAboveTheLastComputedHeight) {
    g.motion.driverAngle = 40;
    SolveLinkage(g);
    const double lastY10 = g.piv.y[10] - 0.00016;
    const double x10 = g.piv.x[12] + std::sqrt(std::pow(g.frame.eccFwdRod, 2) - std::pow(g.piv.y[12] - lastY10, 2));
    EXPECT_NEAR(g.piv.x[10], x10, 2e-6);
    // The link lifting link then just reaches its length.
    const double f = std::hypot(g.piv.x[14] - g.piv.x[15], g.piv.y[14] - g.piv.y[15]);
    EXPECT_NEAR(f, g.frame.liftLinkExLink, 0.001);
    const double gdist = std::hypot(g.piv.x[26] - g.piv.x[17], g.piv.y[26] - g.piv.y[17]);
    EXPECT_NEAR(gdist, g.frame.liftLinkRadRod, 0.001);
    // The rod lengths hold.
    EXPECT_NEAR(std::hypot(g.piv.x[3] - g.piv.x[2], g.fixedPivots.cylinderCentreY - g.piv.y[2]), g.frame.mainRodLength, 1e-5);
    EXPECT_NEAR(std::hypot(g.piv.x[11] - g.piv.x[13], g.piv.y[11] - g.piv.y[13]), g.frame.eccRevRod, 1e-4);
}

TEST_F(StartedGear, CrankTurnsClockwiseOnScreen) {
    g.motion.driverAngle = 90;
    SolveLinkage(g);
    EXPECT_NEAR(g.piv.x[2], 0.0f, 1e-6);
    EXPECT_FLOAT_EQ(g.piv.y[2], -1.5f); // below the axle: clockwise from the front
}

TEST(Guards, DivisorRootAndCosine) {
    struct DivCase {
        double in;
        float out;
        bool raised;
    } divs[] = {{0.0, 0.00001f, true},       {0.000005, 0.00001f, true}, {-0.000005, -0.00001f, true},
                {0.00001, 0.00001f, false},  {2.5, 2.5f, false},         {-3, -3, false},
                {1e-40, 0.00001f, true}};
    for (const DivCase& c : divs) {
        GearState g;
        EXPECT_EQ(GuardDivisor(g, c.in), c.out) << c.in;
        EXPECT_EQ(g.geometryError, c.raised) << c.in;
    }
    GearState g;
    EXPECT_EQ(GuardedRoot(g, 4.0), 2.0);
    EXPECT_FALSE(g.geometryError);
    EXPECT_EQ(GuardedRoot(g, -9.0), 3.0);
    EXPECT_TRUE(g.geometryError);

    struct CosCase {
        double c;
        float step;
        float out;
        bool raised;
    } coss[] = {{0.5, 0.5f, 0.5f, false}, {1.5, 0.5f, 0.999999f, false}, {1.5, 0.004f, 0.999999f, true},
                {-2, 0.004f, -0.999999f, true}, {-0.9999995, 0.1f, -0.999999f, false}};
    for (const CosCase& c : coss) {
        GearState s;
        EXPECT_EQ(GuardCosine(s, c.c, c.step), c.out) << c.c;
        EXPECT_EQ(s.geometryError, c.raised) << c.c << " step " << c.step;
    }
}

TEST_F(StartedGear, ErrorIsRaisedOnlyWithTheBeepOption) {
    g.frame.mainRodLength = 1.0f; // shorter than the crank throw
    g.motion.driverAngle = 90;
    SolveLinkage(g);
    EXPECT_TRUE(g.geometryError);
    g.geometryError = false;
    g.errorBeepOn = false;
    g.frame.eccRevRod = 0;
    g.frame.liftLinkExLink = -50;
    SolveLinkage(g);
    EXPECT_FALSE(g.geometryError);
}

// A search that runs out of passes stops the solve: what it had not reached
// keeps the previous solve's values.
TEST_F(StartedGear, FailedSearchKeepsTheRestOfThePreviousSolve) {
    struct Case {
        const char* what;
        float FrameDimensions::*field;
        float value;
        int firstUntouchedPivot;
    } cases[] = {
        {"link search", &FrameDimensions::liftLinkExLink, -100.0f, 6},
        {"die search", &FrameDimensions::liftLinkRadRod, -100.0f, 28},
    };
    for (const Case& c : cases) {
        GearState s = g;
        s.motion.driverAngle = 30;
        SolveLinkage(s);
        const GearState before = s;
        s.frame.*c.field = c.value;
        s.motion.driverAngle = 60;
        s.geometryError = false;
        EXPECT_FALSE(SolveLinkage(s)) << c.what;
        EXPECT_TRUE(s.geometryError) << c.what;
        EXPECT_NE(s.piv.x[2], before.piv.x[2]) << c.what << ": the crank is placed before the searches";
        EXPECT_EQ(s.piv.x[c.firstUntouchedPivot], before.piv.x[c.firstUntouchedPivot]) << c.what;
        EXPECT_EQ(s.piv.x[4], before.piv.x[4]) << c.what;
        EXPECT_EQ(s.events.valveOffset, before.events.valveOffset) << c.what;
    }
}

TEST_F(StartedGear, EventValuesFollowThePortFace) {
    SolveLinkage(g);
    EXPECT_FLOAT_EQ(g.events.frontSteamOpenLevel, 0.1875f + 0.187f + 0.156f - 0.687f);
    EXPECT_FLOAT_EQ(g.events.frontLap, -g.events.frontSteamOpenLevel);
    EXPECT_FLOAT_EQ(g.events.rearExhaustClearance, 0.375f - 0.1875f - 0.187f);
    EXPECT_FLOAT_EQ(g.events.valveOffset, g.cyl.valveCtrToJoint() + g.piv.x[4] - g.cyl.cylCtrToDriverCtr());
}

// With the rocker's upper pin level with its pivot, the spindle joint's
// divisor is guarded like every other: the error is raised and the joint
// stays a finite point.
TEST_F(StartedGear, LevelRockerPinIsGuarded) {
    g.frame.rockerUpperTotal = 0;
    g.frame.rockerUpperBackSet = 0;
    g.geometryError = false;
    ASSERT_TRUE(SolveLinkage(g));
    EXPECT_EQ(g.piv.y[29], g.piv.y[27]);
    EXPECT_TRUE(g.geometryError);
    EXPECT_TRUE(std::isfinite(g.piv.x[4]));
}

// The solve records which step could not close, whatever the error beep
// option, and the flag's cause stays that of the report that raised it.
TEST_F(StartedGear, RecordsTheStepThatCouldNotClose) {
    g.motion.driverAngle = 90;
    g.frame.mainRodLength = 1;
    g.errorBeepOn = false;
    SolveLinkage(g);
    EXPECT_EQ(g.solveCause, GeometryCause::MainRod);
    EXPECT_EQ(g.solveCauseAngle, 90.0f);
    EXPECT_FALSE(g.geometryError);

    g.errorBeepOn = true;
    SolveLinkage(g);
    EXPECT_TRUE(g.geometryError);
    EXPECT_EQ(g.errorCause, GeometryCause::MainRod);

    // Later reports while the flag stands do not replace its cause.
    g.frame.mainRodLength = 5;
    g.frame.liftLinkExLink = -100;
    g.motion.driverAngle = 200;
    SolveLinkage(g);
    EXPECT_EQ(g.solveCause, GeometryCause::LinkLiftSearch);
    EXPECT_EQ(g.errorCause, GeometryCause::MainRod);
    EXPECT_EQ(g.errorCauseAngle, 90.0f);

    // A solve that closes clears the solve's cause.
    g.frame.liftLinkExLink = 4;
    StartUp(g);
    SolveLinkage(g);
    EXPECT_EQ(g.solveCause, GeometryCause::None);
}

TEST(GeometryCauseText, PlainWordsWithTheAngleInAFixedBuffer) {
    char buf[96];
    EXPECT_EQ(std::string(buf, FormatGeometryCause(GeometryCause::MainRod, 212.0f, buf, sizeof buf)),
              "The main rod cannot reach the crosshead at 212.0\xC2\xB0");
    // Any float is safe, and the text is cut to the buffer.
    for (float a : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 3e38f}) {
        FormatGeometryCause(GeometryCause::Guard, a, buf, sizeof buf);
        EXPECT_LT(std::string(buf).size(), sizeof buf);
    }
    // Every cause has a name and words of its own.
    std::set<std::string> names, words;
    for (int c = 0; c <= static_cast<int>(GeometryCause::NotFinite); ++c) {
        const auto cause = static_cast<GeometryCause>(c);
        EXPECT_TRUE(names.insert(std::string(GeometryCauseName(cause))).second) << GeometryCauseName(cause);
        EXPECT_TRUE(words.insert(std::string(buf, FormatGeometryCause(cause, 0, buf, sizeof buf))).second) << buf;
    }
    char tiny[8];
    EXPECT_EQ(FormatGeometryCause(GeometryCause::ReverseArm, 1, tiny, sizeof tiny), 7u);
    EXPECT_EQ(std::string(tiny), "The rev");
}

} // namespace
} // namespace vx
