// The oval diagram through the recording canvas: the piston coordinate, the
// closed curves with their two bold numbers, the fixed parts, the guards.
#include <gtest/gtest.h>

#include <cstring>

#include <algorithm>
#include <cmath>
#include <vector>

#include "scene/diagrams/oval_diagram.h"
#include "model/workspace/view.h"
#include "tests/scene/diagrams/diagram_test_support.h"

namespace vx {
namespace {

using test::FindText;
using test::GearWithPositions;
using test::HasTextAt;
using Segment = RecordingCanvas::Segment;

// Curve segments: those drawn after the fixed parts, which are the same
// for any list.
std::vector<Segment> CurveSegments(const GearState& g, const RecordingCanvas& rc) {
    GearState empty = g;
    empty.revArm.positionCount = 0;
    RecordingCanvas fixed(kDiagramWidth, kOvalDiagramHeight);
    DrawOvalDiagram(empty, fixed);
    const auto all = rc.Segments();
    const std::size_t skip = fixed.Segments().size();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(skip, all.size())), all.end()};
}

// "100" under the travel axis stands clear of the travel scale's ticks to
// its left: right beside them it read as "-100".
TEST(OvalDiagram, HundredStandsClearOfTheScaleTicks) {
    GearState g = GearWithPositions({});
    RecordingCanvas rc(kDiagramWidth, kOvalDiagramHeight);
    DrawOvalDiagram(g, rc);
    const auto hundred = FindText(rc, "100");
    ASSERT_TRUE(hundred.has_value());
    int ticksRight = -1;
    for (const Segment& s : rc.Segments())
        if (s.y1 == s.y2 && std::max(s.x1, s.x2) <= 44 && s.y1 >= 300) ticksRight = std::max({ticksRight, s.x1, s.x2});
    ASSERT_GE(ticksRight, 0);
    EXPECT_GE(hundred->a[0], ticksRight + 4);
}

TEST(OvalDiagram, PistonAtTheForwardEndIsOnTheRightEndLine) {
    for (float rod : {0.5f, 1.0f, 12.0f, 40.0f, 1000.0f}) {
        GearState g;
        StartUp(g);
        g.frame.mainRodLength = rod;
        EXPECT_EQ(OvalPistonX(g, 0), 584) << rod;
    }
}

TEST(OvalDiagram, LongRodApproachesTheCosine) {
    GearState g;
    StartUp(g);
    g.frame.mainRodLength = 1e5f;
    for (float t : {32.0f, 90.0f, 200.0f, 300.0f})
        EXPECT_NEAR(OvalPistonX(g, t), 314 + 270.5 * std::cos(t * 3.14159265358979 / 180), 1.0) << t;
}

TEST(OvalDiagram, ZeroStrokeAndShortRodAreGuarded) {
    GearState g;
    StartUp(g);
    bool guarded = true;
    OvalPistonX(g, 90, &guarded);
    EXPECT_FALSE(guarded);
    g.frame.stroke = 0;
    const int x = OvalPistonX(g, 90, &guarded);
    EXPECT_TRUE(guarded);
    EXPECT_LE(std::abs(x), kPixelLimit);

    GearState s;
    StartUp(s);
    s.frame.mainRodLength = s.frame.stroke / 4; // cannot reach at 90 degrees
    guarded = false;
    EXPECT_LE(std::abs(OvalPistonX(s, 90, &guarded)), kPixelLimit);
    EXPECT_TRUE(guarded);
}

TEST(OvalDiagram, FixedParts) {
    GearState g = GearWithPositions({});
    RecordingCanvas rc(kDiagramWidth, kOvalDiagramHeight);
    DrawOvalDiagram(g, rc);
    int endLines = 0, shortTicks = 0, longTicks = 0;
    for (const Segment& s : rc.Segments()) {
        if (s.x1 != s.x2) continue;
        if ((s.x1 == 44 || s.x1 == 584) && s.y1 == 84 && s.y2 == 346) ++endLines;
        if (s.y2 - s.y1 == 6 && (s.x1 - 17) % 27 == 0) ++shortTicks;
        if (s.y2 - s.y1 == 10 && (s.x1 + 10) % 54 == 0) ++longTicks;
    }
    EXPECT_EQ(endLines, 2);
    EXPECT_EQ(shortTicks, 9 * 19);
    EXPECT_EQ(longTicks, 9 * 9);
    EXPECT_TRUE(HasTextAt(rc, "100", 49, 353)); // clear of the scale's ticks
    EXPECT_TRUE(HasTextAt(rc, "10", 523, 353));
    EXPECT_TRUE(HasTextAt(rc, "0", 577, 348));
    EXPECT_TRUE(HasTextAt(rc, "Percent Piston Travel", 186, 367));
    EXPECT_TRUE(HasTextAt(rc, "Forward End --->", 386, 367));
    EXPECT_TRUE(HasTextAt(rc, "0.0", 15, 210)); // scale labels at x 15
    const double k = 375 / 1.5;
    EXPECT_TRUE(HasTextAt(rc, "Front Steam Port Open", 430, Nearest(218 - g.events.frontSteamOpenLevel * k)));
    EXPECT_TRUE(HasTextAt(rc, "Rear Steam Port Open", 75, Nearest(200 + g.events.rearSteamOpenLevel * k)));
    for (const Segment& s : test::SegmentsIn(rc, colors::kLime)) EXPECT_TRUE(s.x1 == kPortLinesLeft && s.x2 == 584);
}

struct LapCase {
    bool rearHalfAbovePort;
    int firstOffset;  // number at x 300
    int secondOffset; // number at x 334
};

class OvalCurveNumbers : public ::testing::TestWithParam<LapCase> {};

TEST_P(OvalCurveNumbers, ClosedCurveWithTwoBoldNumbers) {
    const LapCase& c = GetParam();
    GearState probe = GearWithPositions({});
    GearState g = GearWithPositions({probe.revArm.centre - 1.0f});
    if (!c.rearHalfAbovePort) g.cyl.valveRearHalf() = g.cyl.steamPortRear();
    RecordingCanvas rc(kDiagramWidth, kOvalDiagramHeight);
    DrawOvalDiagram(g, rc);

    const auto curve = CurveSegments(g, rc);
    ASSERT_EQ(curve.size(), 45u);
    // Closed: the first and last samples are both at 32 degrees (the
    // heights differ only by the rocker's settling from the previous solve).
    EXPECT_EQ(curve.front().x1, curve.back().x2);
    EXPECT_NEAR(curve.front().y1, curve.back().y2, 4);
    // Sample j = 11 (0 degrees) on the right end line: the end of segment 3.
    EXPECT_EQ(curve[3].x2, 584);

    // Numbers at the heights of the samples at 280 (j = 21) and 88 (j = 45)
    // degrees, offset by 204 or 213 instead of 215.
    const auto texts = test::Texts(rc);
    int found = 0;
    for (const auto& t : texts) {
        if (t.text != " 1" || !t.style.bold) continue;
        if (t.a[0] == 300) {
            EXPECT_EQ(t.a[1], curve[13].y2 + c.firstOffset - 215);
            ++found;
        }
        if (t.a[0] == 334) {
            EXPECT_EQ(t.a[1], curve[37].y2 + c.secondOffset - 215);
            ++found;
        }
    }
    EXPECT_EQ(found, 2);
}

INSTANTIATE_TEST_SUITE_P(Laps, OvalCurveNumbers,
                         ::testing::Values(LapCase{true, 204, 213}, LapCase{false, 213, 204}));

// At mid gear the lead figures follow the spindle joint over the oval's own
// samples (one turn backwards from 32 degrees), not the sine diagram's.
TEST(OvalDiagram, LeadFiguresAtMidGearFollowTheSpindleJoint) {
    const GearState probe = GearWithPositions({});
    std::vector<float> angles;
    for (int j = 7; j <= 52; ++j) angles.push_back(static_cast<float>(((88 - 8 * j) % 360 + 360) % 360));
    for (const float offset : {0.0f, 0.03f, -0.04f}) {
        SCOPED_TRACE(offset);
        const float position = probe.revArm.centre + offset;
        GearState g = GearWithPositions({position});
        RecordingCanvas rc(kDiagramWidth, kOvalDiagramHeight);
        LeadLapTable t;
        DrawOvalDiagram(g, rc, &t);
        const test::SweptLeads leads = test::SweepLeads(probe, position, angles);
        const auto upper = test::TextsAt(rc, 592, 166), lower = test::TextsAt(rc, 592, 295);
        ASSERT_EQ(upper.size(), 1u);
        ASSERT_EQ(lower.size(), 1u);
        EXPECT_NEAR(test::NumberIn(upper[0].text), leads.upper, 0.0006) << upper[0].text;
        EXPECT_NEAR(test::NumberIn(lower[0].text), leads.lower, 0.0006) << lower[0].text;
        ASSERT_EQ(t.count, 1);
        EXPECT_NEAR(t.rows[0].figures.upperLead, leads.upper, 1e-5);
        EXPECT_NEAR(t.rows[0].figures.lowerLead, leads.lower, 1e-5);
    }
}

// The drawing leaves the gear as it was; the window keeps the last position.
TEST(OvalDiagram, LeavesTheGearAsItWasAndTheWindowKeepsTheLastPosition) {
    GearState probe = GearWithPositions({});
    const float c = probe.revArm.centre;
    GearState g = GearWithPositions({c, c + 1});
    g.motion.driverAngle = 77;
    g.motion.reverseArmPosition = c + 0.2f;
    RecordingCanvas rc(kDiagramWidth, kOvalDiagramHeight);
    LeadLapTable t;
    const GearState before = g;
    DrawOvalDiagram(g, rc, &t);
    EXPECT_EQ(g.motion.driverAngle, 77);
    EXPECT_EQ(g.motion.reverseArmPosition, c + 0.2f);
    EXPECT_EQ(std::memcmp(&g.piv, &before.piv, sizeof g.piv), 0);
    EXPECT_EQ(g.lastDiagramPosition, before.lastDiagramPosition);
    KeepLastDiagramPosition(g);
    EXPECT_EQ(g.lastDiagramPosition, c + 1);
    ASSERT_EQ(t.count, 2);
    EXPECT_TRUE(t.rows[0].hasFigures);
    EXPECT_FALSE(t.rows[1].hasFigures);
    EXPECT_TRUE(HasTextAt(rc, "ExCl", 595, 211));
}

} // namespace
} // namespace vx
