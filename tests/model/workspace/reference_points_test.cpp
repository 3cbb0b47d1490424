// Reference points and pivot picking: the nearest-pivot search, the mouse
// press rules in their order, the reference bars and the centring.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/workspace/reference_points.h"
#include "model/workspace/view.h"

namespace vx {
namespace {

// A plain model: view (28.5, 110, 270), pivots spread far apart so that
// only the ones a test places are near anything.
class PickTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kPivotCount; ++i) {
            g.piv.x[static_cast<std::size_t>(i)] = 20000.0f + 100.0f * static_cast<float>(i);
            g.piv.y[static_cast<std::size_t>(i)] = 0;
        }
        g.piv.x[kRefPoint1] = g.piv.y[kRefPoint1] = 0;
        g.piv.x[kRefPoint2] = g.piv.y[kRefPoint2] = 0;
    }
    void Place(int i, float x, float y) {
        g.piv.x[static_cast<std::size_t>(i)] = x;
        g.piv.y[static_cast<std::size_t>(i)] = y;
    }
    PressOutcome Press(int x, int y, PressButton b, OverlayPickQuery q = {}) { return PressOnPicture(g, x, y, b, q); }
    GearState g;
};

TEST_F(PickTest, NearestPivotBySumOfDifferencesWithTiesToTheLowerNumber) {
    Place(9, 3, 1);  // |dx| + |dy| = 3 + 1 = 4
    Place(5, 1, 3);  // 1 + 3 = 4: same sum, lower number
    Place(7, 2.5f, 2.5f); // Euclidean 3.54 is the nearest, but the sum is 5
    EXPECT_EQ(NearestPivot(g.piv, 0, 0, 0), 5);
}

TEST_F(PickTest, NearestPivotSkipsTheReferencePointsAndPivotZeroAndKeepsThePreviousWhenNothingIsNear) {
    Place(0, 0, 0);
    Place(4, 7, 0);
    g.piv.x[kRefPoint2] = 0.5f; // the reference points are never picked
    EXPECT_EQ(NearestPivot(g.piv, 0, 0, 0), 4);
    EXPECT_EQ(NearestPivot(g.piv, 1e6f, 1e6f, 12), 12);
    EXPECT_EQ(NearestPivot(g.piv, std::numeric_limits<float>::quiet_NaN(), 0, 12), 12);
    EXPECT_EQ(NearestPivot(g.piv, std::numeric_limits<float>::infinity(), 0, 3), 3);
}

TEST_F(PickTest, PressesSetReferencePointsOnlyOutsideTheControlPanel) {
    g.refPointsOn = true;
    struct Case {
        int x, y;
        bool sets;
    } cases[] = {
        {300, 100, true}, {200, 100, false}, {248, 68, true}, {247, 68, false}, {248, 67, false},
        {5, 121, true},   {5, 120, false},   {600, 30, false},
    };
    for (const Case& c : cases) {
        g.piv.x[kRefPoint1] = g.piv.y[kRefPoint1] = 77;
        g.piv.x[kRefPoint2] = g.piv.y[kRefPoint2] = 77;
        const PressOutcome left = Press(c.x, c.y, PressButton::Left);
        const PressOutcome right = Press(c.x, c.y, PressButton::Right);
        const WorldPoint w = ScreenToWorld(g.view, c.x, c.y);
        EXPECT_EQ(left.enableRefPt1Zero, c.sets) << c.x << "," << c.y;
        EXPECT_EQ(right.enableRefPt2Zero, c.sets) << c.x << "," << c.y;
        EXPECT_FALSE(left.enableRefPt2Zero);
        EXPECT_FALSE(right.enableRefPt1Zero);
        EXPECT_EQ(g.piv.x[kRefPoint1], c.sets ? w.x : 77);
        EXPECT_EQ(g.piv.y[kRefPoint1], c.sets ? w.y : 77);
        EXPECT_EQ(g.piv.x[kRefPoint2], c.sets ? w.x : 77);
    }
}

TEST_F(PickTest, WithTheModeOffAPressOnlyNotesTheLeftClickAndEndsTheLocator) {
    g.pivotDataOn = true;
    g.slotArmed = true;
    g.locatorDimension = 12;
    const PressOutcome o = Press(300, 200, PressButton::Left, {true, 1});
    EXPECT_FALSE(o.enableRefPt1Zero || o.openDrawLines);
    EXPECT_TRUE(o.endLocator);
    EXPECT_TRUE(g.leftClickSeen);
    EXPECT_TRUE(g.slotArmed);
    EXPECT_EQ(g.piv.x[kRefPoint1], 0);
    g.locatorDimension = 0;
    EXPECT_FALSE(Press(300, 200, PressButton::Left).endLocator);
}

TEST_F(PickTest, HandOffToTheLinesDialog) {
    g.refPointsOn = true;
    struct Case {
        OverlayPickQuery q;
        PressButton b;
        bool leftSeenBefore;
        bool opens;
        bool leftSeenAfter;
    } cases[] = {
        {{true, 0}, PressButton::Left, false, true, true},
        {{true, 2}, PressButton::Left, false, true, true},
        {{true, 3}, PressButton::Left, false, false, true},   // choice 3 waits for the right button
        {{false, 1}, PressButton::Left, false, false, true},  // no type or colour chosen
        {{true, -1}, PressButton::Left, false, false, true},
        {{true, 3}, PressButton::Right, true, true, false},
        {{true, 3}, PressButton::Right, false, false, false}, // right without a left first
        {{true, 1}, PressButton::Right, true, false, true},
    };
    for (const Case& c : cases) {
        g.leftClickSeen = c.leftSeenBefore;
        // Inside the control panel too: the dialog does not ask where.
        EXPECT_EQ(Press(100, 40, c.b, c.q).openDrawLines, c.opens) << c.q.refChoice;
        EXPECT_EQ(g.leftClickSeen, c.leftSeenAfter) << c.q.refChoice;
    }
    g.refPointsOn = false;
    EXPECT_FALSE(Press(300, 200, PressButton::Left, {true, 1}).openDrawLines);
}

// The dialog runs at its step: after the reference point is set, before an
// armed slot is filled or the locator is ended.
TEST_F(PickTest, DialogOpensBeforeTheRulesAfterIt) {
    g.refPointsOn = g.pivotDataOn = true;
    g.slotArmed = true;
    g.armedSlot = 2;
    g.pickPivot[2] = 0;
    g.locatorDimension = 5;
    const WorldPoint at = ScreenToWorld(g.view, 300, 200);
    Place(5, at.x, at.y);
    int opened = 0;
    const PressOutcome o = PressOnPicture(g, 300, 200, PressButton::Left, {true, 1}, [&] {
        ++opened;
        EXPECT_NE(RefX(g, 1), 0.0f);   // rule 1 has run
        EXPECT_TRUE(g.slotArmed);      // rule 6 has not
        EXPECT_EQ(g.pickPivot[2], 0.0f);
        EXPECT_FALSE(g.leftClickSeen); // rule 4 has not
    });
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(o.openDrawLines);
    EXPECT_FALSE(g.slotArmed); // filled after the dialog
    EXPECT_EQ(g.pickPivot[2], 5.0f);
    EXPECT_TRUE(o.endLocator);
}

TEST_F(PickTest, ArmedSlotIsFilledByTheNextLeftPressWhichAlsoMovesReferencePointOne) {
    g.refPointsOn = g.pivotDataOn = true;
    // Arm slot 3 on its label (y in 172..181 exclusive, x in 1..19).
    Press(10, 175, PressButton::Left);
    ASSERT_TRUE(g.slotArmed);
    EXPECT_EQ(g.armedSlot, 3);
    EXPECT_TRUE(g.pickInUse[3]);
    // A pivot under the next press, even inside the control panel.
    const WorldPoint w = ScreenToWorld(g.view, 100, 40);
    Place(8, w.x + 0.1f, w.y);
    Press(100, 40, PressButton::Right); // the right button neither fills nor disarms
    EXPECT_TRUE(g.slotArmed);
    const PressOutcome o = Press(100, 40, PressButton::Left);
    EXPECT_FALSE(o.enableRefPt1Zero);
    EXPECT_FALSE(g.slotArmed);
    EXPECT_EQ(g.pickPivot[3], 8.0f);
    EXPECT_EQ(g.lastPickedPivot, 8);
    EXPECT_EQ(g.piv.x[kRefPoint1], w.x);
    EXPECT_EQ(g.piv.y[kRefPoint1], w.y);
}

TEST_F(PickTest, PressThatFillsASlotOnAnotherSlotsLabelArmsThatSlot) {
    g.refPointsOn = g.pivotDataOn = true;
    g.armedSlot = 1;
    g.slotArmed = true;
    Press(10, 165, PressButton::Left); // slot 2's label: 162 < y < 171
    EXPECT_TRUE(g.slotArmed);
    EXPECT_EQ(g.armedSlot, 2);
    EXPECT_TRUE(g.pickInUse[2]);
}

TEST_F(PickTest, SlotLabelZonesFollowTheTextScale) {
    g.refPointsOn = g.pivotDataOn = true;
    struct Case {
        float sx, sy;
        int x, y;
        bool arms;
    } cases[] = {
        {1, 1, 1, 153, true},      {1, 1, 0, 153, false},     {1, 1, 19, 160, true},  {1, 1, 20, 155, false},
        {1, 1, 5, 152, false},     {1, 1, 5, 161, false},     {1.27f, 1.22f, 24, 186, true},
        {1.27f, 1.22f, 25, 190, false}, {1.27f, 1.22f, 5, 185, false}, {1.27f, 1.22f, 5, 195, true},
        {1.27f, 1.22f, 5, 196, false},
    };
    for (const Case& c : cases) {
        g.textScaleX = c.sx;
        g.textScaleY = c.sy;
        g.slotArmed = false;
        g.pickInUse = {};
        Press(c.x, c.y, PressButton::Left);
        EXPECT_EQ(g.slotArmed && g.armedSlot == 1, c.arms) << c.x << "," << c.y << " scale " << c.sy;
    }
    g.textScaleX = 1.27f;
    g.textScaleY = 1.22f;
    const SlotZone z = PickSlotZone(g, 1);
    EXPECT_EQ(z.top, 185);
    EXPECT_EQ(z.bottom, 196);
    EXPECT_EQ(z.right, 25);
}

TEST_F(PickTest, ReferenceBarsStepByAThousandthWithTroughStep25) {
    struct Case {
        int bar;
        int p;
        float dx, dy;
        int point;
    } cases[] = {
        {kRef1Vert, 1, 0, 0.001f, 1},  {kRef1Horz, -1, -0.001f, 0, 1}, {kRef2Vert, 25, 0, 0.025f, 2},
        {kRef2Horz, -25, -0.025f, 0, 2}, {kRef1Horz, 300, 0.3f, 0, 1},
    };
    for (const Case& c : cases) {
        g = GearState{};
        const int point = ReferenceBarStep(g, c.bar, c.p);
        EXPECT_EQ(point, c.point);
        EXPECT_FLOAT_EQ(RefX(g, c.point), c.dx);
        EXPECT_FLOAT_EQ(RefY(g, c.point), c.dy);
        ReferenceBarStep(g, c.bar, 0); // the bar returns to 0: no move
        EXPECT_FLOAT_EQ(RefX(g, c.point), c.dx);
        EXPECT_FLOAT_EQ(RefY(g, c.point), c.dy);
    }
}

TEST_F(PickTest, CentringPutsThePointAtTheViewCentreAndAsksForTheBarsJog) {
    RefX(g, 1) = 2;
    RefY(g, 1) = 1;
    const CentreBars bars = CentreOnReferencePoint(g, 1);
    EXPECT_FLOAT_EQ(g.view.panHorz, 263.0f);   // 320 - 2 x 28.5
    EXPECT_FLOAT_EQ(g.view.panVert, 268.5f);   // 1 x 28.5 + 240
    EXPECT_EQ(bars.panHorz, -139);             // (-57 + 210) x 100 / -110
    EXPECT_EQ(bars.panVert, -1);               // (28.5 - 30) x 200 / 270
    EXPECT_EQ(WorldToScreen(g.view, 2, 1), (ScreenPoint{320, 240}));

    // Far away at another zoom: the bar positions are limited to their range.
    g.view.zoom = 100;
    RefX(g, 2) = -50;
    RefY(g, 2) = 40;
    const CentreBars far = CentreOnReferencePoint(g, 2);
    EXPECT_FLOAT_EQ(g.view.panHorz, 5320.0f);
    EXPECT_FLOAT_EQ(g.view.panVert, 4240.0f);
    EXPECT_EQ(far.panHorz, -500);
    EXPECT_EQ(far.panVert, 500);
}

TEST_F(PickTest, CentringWithADegenerateViewStaysDefined) {
    g.view.zoom = 0;
    g.normalView.panHorz = 0;
    RefX(g, 1) = std::numeric_limits<float>::quiet_NaN();
    const CentreBars bars = CentreOnReferencePoint(g, 1);
    EXPECT_GE(bars.panHorz, -500);
    EXPECT_LE(bars.panHorz, 500);
    EXPECT_GE(bars.panVert, -500);
    EXPECT_LE(bars.panVert, 500);
}

} // namespace
} // namespace vx
