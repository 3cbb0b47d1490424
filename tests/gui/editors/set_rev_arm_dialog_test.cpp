// The reverse arm positions editor driven through its real boxes: typed
// positions and their limits, the cascade of zeros, the boxes revealed by a
// key, the vertical scale floor, and what every way of closing leaves.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/editors/set_rev_arm_dialog.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

class SetRevArmTest : public test::StartedGear {
protected:
    void SetUp() override {
        StartedGear::SetUp();
        if (HasFatalFailure()) return;
        // A round centre and travel make the limits easy to read.
        g.revArm.centre = 0;
        g.frame.revArmToCentNorm = 1;
        g.frame.revArmToCentMax = 2;
        g.revArm.position = {0, 0.5f, -0.5f, 1, 0, 0, 0, 0, 0, 0};
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    QLineEdit* Box(int k) {
        auto* b = dialog.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(k));
        EXPECT_NE(b, nullptr);
        return b;
    }
    QPushButton* Close() { return dialog.findChild<QPushButton*>(QStringLiteral("Close1")); }
    // Types into box k as a user does: click in, replace the text, leave with Tab.
    void Type(int k, const char* keys) {
        QLineEdit* b = Box(k);
        b->setFocus();
        b->selectAll();
        QTest::keyClicks(b, QString::fromUtf8(keys));
    }
    void Leave(int k) { QTest::keyClick(Box(k), Qt::Key_Tab); }
    float Pos(int k) { return g.revArm.position[static_cast<std::size_t>(k)]; }

    TSetRevArm dialog{g};
};

TEST_F(SetRevArmTest, ShowsThePositionsInUseWithTheFocusOnClose) {
    EXPECT_EQ(dialog.ShownBoxes(), 4); // positions 1..3 in use, box 4 for the next
    EXPECT_EQ(g.revArm.positionCount, 3);
    EXPECT_EQ(Box(1)->text(), QStringLiteral("0.500"));
    EXPECT_EQ(Box(2)->text(), QStringLiteral("-0.500"));
    EXPECT_EQ(Box(10)->text(), QStringLiteral("1.500"));
    EXPECT_TRUE(Box(4)->isVisible());
    EXPECT_FALSE(Box(5)->isVisible());
    EXPECT_TRUE(Close()->hasFocus());
    EXPECT_EQ(dialog.size(), QSize(332, 125));
}

TEST_F(SetRevArmTest, LongValuesAreShownCutToTenCharacters) {
    g.revArm.position[1] = -1234567.0f;
    g.revArm.verticalScale = 1000000.0f;
    dialog.hide();
    dialog.show();
    EXPECT_EQ(Box(1)->text(), QStringLiteral("-1234567.0"));
    EXPECT_EQ(Box(10)->text(), QStringLiteral("1000000.00"));
}

TEST_F(SetRevArmTest, TypedPositionsAreLimitedToTheTravelAndZeroFirstIsNeverZero) {
    struct Case {
        int box;
        const char* keys;
        float stored;
    } cases[] = {
        {1, "0", 0.001f}, {2, "5", 2.0f}, {3, "-5", -2.0f}, {4, "1.25", 1.25f}, {2, "0", 0.0f},
    };
    for (const Case& c : cases) {
        Type(c.box, c.keys);
        Leave(c.box);
        EXPECT_FLOAT_EQ(Pos(c.box), c.stored) << c.box << " " << c.keys;
    }
}

TEST_F(SetRevArmTest, KeyFilterTakesOneMinusOneDotAndDigitsOnly) {
    Type(4, "-1.-2.5x");
    EXPECT_EQ(Box(4)->text(), QStringLiteral("-1.25"));
    QTest::keyClick(Box(4), Qt::Key_Return); // Enter is dropped, the dialog stays
    EXPECT_TRUE(dialog.isVisible());
    Leave(4);
    EXPECT_FLOAT_EQ(Pos(4), -1.25f);
}

TEST_F(SetRevArmTest, AnyKeyInTheLastBoxRevealsTheNext) {
    ASSERT_FALSE(Box(5)->isVisible());
    Box(4)->setFocus();
    QTest::keyClick(Box(4), Qt::Key_Q); // even a letter
    EXPECT_TRUE(Box(5)->isVisible());
    EXPECT_EQ(dialog.ShownBoxes(), 5);
}

TEST_F(SetRevArmTest, ZeroClearsEveryLaterPositionAtCloseAndCountsThePrefix) {
    g.revArm.position = {0, 0.5f, -0.5f, 1, 1.5f, 0, 0, 0, 0, 0};
    dialog.Refresh();
    Type(2, "0");
    QTest::mouseClick(Close(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FLOAT_EQ(Pos(2), 0.0f);
    EXPECT_FLOAT_EQ(Pos(3), 0.0f);
    EXPECT_FLOAT_EQ(Pos(4), 0.0f);
    EXPECT_EQ(g.revArm.positionCount, 1);
    EXPECT_TRUE(g.revArm.diagramRedrawPending);
    EXPECT_EQ(dialog.ShownBoxes(), 2);
}

TEST_F(SetRevArmTest, PositionCountFollowsTheFirstZero) {
    g.revArm.position = {0, 0.5f, -0.5f, 1, 1.5f, 0, 0.7f, 0, 0, 0};
    QTest::mouseClick(Close(), Qt::LeftButton);
    EXPECT_EQ(g.revArm.positionCount, 4);
    EXPECT_FLOAT_EQ(Pos(6), 0.0f);
}

TEST_F(SetRevArmTest, VerticalScaleHasAFloor) {
    Type(10, "0.05");
    Leave(10);
    EXPECT_FLOAT_EQ(g.revArm.verticalScale, 0.1f);
}

TEST_F(SetRevArmTest, TheCloseBoxCommitsTheTypedBoxAndSetsTheRedrawFlag) {
    Type(3, "1.5");
    dialog.close(); // the window's close box
    EXPECT_FLOAT_EQ(Pos(3), 1.5f);
    EXPECT_TRUE(g.revArm.diagramRedrawPending);
    EXPECT_EQ(g.revArm.positionCount, 3);
}

// Boxes passed through without typing commit nothing: positions and the
// scale that the boxes show cut to three decimals keep their bits.
TEST_F(SetRevArmTest, PassingThroughTheBoxesWritesNothing) {
    g.revArm.position = {0, 0.50037f, -0.50037f, 1.00037f, 0, 0, 0, 0, 0, 0};
    g.revArm.verticalScale = 1.50037f;
    dialog.Refresh(); // the boxes show the figures cut to three decimals
    const RevArmPositionList before = g.revArm;
    Box(10)->setFocus();
    for (int k : {10, 1, 2, 3}) {
        ASSERT_TRUE(Box(k)->hasFocus()) << k;
        Leave(k);
    }
    dialog.accept();
    EXPECT_EQ(g.revArm.position, before.position);
    EXPECT_EQ(g.revArm.verticalScale, before.verticalScale);
}

} // namespace
} // namespace vx
