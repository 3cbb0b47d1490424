// The reference point controls, the mouse press on the picture and the
// reference points dialog, driven through the real widgets.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "gui/main/main_form.h"
#include "gui/main/ref_pnts_dialog.h"
#include "gui/main/reference_point_controls.h"
#include "model/workspace/motion.h"
#include "model/workspace/reference_points.h"
#include "model/workspace/view.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

class RefPointsFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        test::Child<QTimer>(form, QStringLiteral("Timer1"))->stop();
    }
    template <class T>
    T* Get(const char* name) {
        return test::Child<T>(form, name);
    }
    QPushButton* Button(const char* name) { return Get<QPushButton>(name); }
    QWidget* Canvas() { return Get<QWidget>("MainCanvas"); }
    void Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseClick(Canvas(), b, Qt::NoModifier, QPoint(x, y));
    }
    GearState& g() { return form.Model(); }
    bool Shown(const char* name) { return Get<QWidget>(name)->isVisible(); }

    TMainForm form;
};

constexpr const char* kModeControls[] = {"SBRef1Vert", "SBRef1Horz", "SBRef2Vert", "SBRef2Horz",
                                         "RefPt1Zero", "RefPt2Zero", "Panel5",     "Panel6",
                                         "Panel11"};

TEST_F(RefPointsFormTest, ControlsStartWithTheirGeometryAndStates) {
    struct Row {
        const char* name;
        QRect geometry;
        bool shown, enabled;
    } rows[] = {
        {"SBRef1Vert", {20, 72, 121, 10}, false, true}, {"SBRef1Horz", {20, 84, 121, 10}, false, true},
        {"SBRef2Vert", {20, 96, 121, 10}, false, true}, {"SBRef2Horz", {20, 108, 121, 10}, false, true},
        {"RefPt1", {5, 53, 35, 14}, true, false},       {"RefPt2", {40, 53, 35, 14}, true, false},
        {"RefPt1Zero", {5, 72, 14, 23}, false, false},  {"RefPt2Zero", {5, 95, 14, 23}, false, false},
        {"DataTableBut", {2, 214, 60, 15}, false, true},
    };
    for (const Row& r : rows) {
        QWidget* w = Get<QWidget>(r.name);
        EXPECT_EQ(w->geometry(), r.geometry) << r.name;
        EXPECT_EQ(w->isVisible(), r.shown) << r.name;
        EXPECT_EQ(w->isEnabled(), r.enabled) << r.name;
    }
    EXPECT_EQ(Get<QScrollBar>("SBRef1Horz")->minimum(), -10000);
    EXPECT_EQ(Get<QScrollBar>("SBRef2Vert")->maximum(), 5000);
    EXPECT_EQ(Get<QScrollBar>("SBRef2Vert")->pageStep(), 25);
    EXPECT_EQ(Button("RefPt1")->text(), "RP1");
    EXPECT_EQ(Button("DataTableBut")->text(), "DataTable");
    EXPECT_EQ(Get<QScrollBar>("SBRef1Horz")->toolTip(), "Change Reference Point 1 Horzontal");
}

TEST_F(RefPointsFormTest, ModesSwitchEachOtherAndTheirControls) {
    QAction* refPoints = Get<QAction>("RefPoints");
    QAction* pivotData = Get<QAction>("SetPivotData");
    refPoints->trigger();
    EXPECT_TRUE(g().refPointsOn);
    for (const char* n : kModeControls) EXPECT_TRUE(Shown(n)) << n;
    EXPECT_TRUE(Button("RefPt1")->isEnabled());
    EXPECT_TRUE(Button("RefPt2")->isEnabled());
    EXPECT_TRUE(Get<QAction>("DrawLines1")->isEnabled());
    EXPECT_TRUE(Get<QAction>("ToolDrawLines")->isEnabled());
    EXPECT_FALSE(Shown("DataTableBut"));

    refPoints->trigger();
    for (const char* n : kModeControls) EXPECT_FALSE(Shown(n)) << n;
    EXPECT_FALSE(Button("RefPt1")->isEnabled());
    EXPECT_FALSE(Get<QAction>("DrawLines1")->isEnabled());

    // Pivot data on while the reference points are off switches both on...
    pivotData->trigger();
    EXPECT_TRUE(g().pivotDataOn);
    EXPECT_TRUE(g().refPointsOn);
    EXPECT_TRUE(Shown("DataTableBut"));
    EXPECT_TRUE(Shown("SBRef1Vert"));
    // ...and the reference points off switch both off.
    refPoints->trigger();
    EXPECT_FALSE(g().pivotDataOn);
    EXPECT_FALSE(Shown("DataTableBut"));
    // Pivot data off alone leaves the reference points on.
    pivotData->trigger();
    pivotData->trigger();
    EXPECT_FALSE(g().pivotDataOn);
    EXPECT_TRUE(g().refPointsOn);
}

TEST_F(RefPointsFormTest, PressesOnThePictureSetThePointsOutsideTheControlPanel) {
    Press(300, 100);
    EXPECT_EQ(g().piv.x[kRefPoint1], 0) << "mode off: nothing";
    Get<QAction>("RefPoints")->trigger();
    Press(200, 100);
    EXPECT_EQ(g().piv.x[kRefPoint1], 0) << "inside the control panel";
    EXPECT_FALSE(Button("RefPt1Zero")->isEnabled());
    Press(300, 100);
    const WorldPoint w1 = ScreenToWorld(g().view, 300, 100);
    EXPECT_EQ(g().piv.x[kRefPoint1], w1.x);
    EXPECT_EQ(g().piv.y[kRefPoint1], w1.y);
    EXPECT_TRUE(Button("RefPt1Zero")->isEnabled());
    EXPECT_FALSE(Button("RefPt2Zero")->isEnabled());
    Press(400, 300, Qt::RightButton);
    const WorldPoint w2 = ScreenToWorld(g().view, 400, 300);
    EXPECT_EQ(g().piv.x[kRefPoint2], w2.x);
    EXPECT_EQ(g().piv.y[kRefPoint2], w2.y);
    EXPECT_TRUE(Button("RefPt2Zero")->isEnabled());

    Button("RefPt1Zero")->click();
    EXPECT_EQ(g().piv.x[kRefPoint1], 0);
    EXPECT_EQ(g().piv.y[kRefPoint1], 0);
    EXPECT_FALSE(Button("RefPt1Zero")->isEnabled());
    EXPECT_EQ(g().piv.x[kRefPoint2], w2.x);
}

TEST_F(RefPointsFormTest, PickingAPivotThroughItsSlotLabel) {
    Get<QAction>("SetPivotData")->trigger();
    Press(10, 165); // the label "2"
    EXPECT_TRUE(g().slotArmed);
    EXPECT_EQ(g().armedSlot, 2);
    // Press on the crank pin (pivot 2) as the last tick placed it.
    TickModel(g());
    Press(g().piv.sx[2], g().piv.sy[2]);
    EXPECT_FALSE(g().slotArmed);
    EXPECT_EQ(g().pickPivot[2], 2.0f);
    EXPECT_TRUE(g().pickInUse[2]);
}

TEST_F(RefPointsFormTest, OverlayHandOffOpensTheDialogWithinThePress) {
    int opened = 0;
    OverlayPickQuery q{true, 1};
    form.RefControls().SetOverlayHooks([&] { return q; }, [&] { ++opened; });
    Get<QAction>("RefPoints")->trigger();
    Press(300, 200);
    EXPECT_EQ(opened, 1) << "at its step of the press, not queued after it";
    q = {true, 3};
    Press(300, 200);
    EXPECT_EQ(opened, 1);
    Press(320, 220, Qt::RightButton);
    EXPECT_EQ(opened, 2);
}

TEST_F(RefPointsFormTest, APressEndsTheDimensionLocatorLast) {
    g().locatorDimension = 2;
    g().locatorFrameCount = 10;
    Press(300, 200, Qt::RightButton);
    EXPECT_EQ(g().locatorFrameCount, 1005); // ended at the next frame
}

TEST_F(RefPointsFormTest, ReferenceBarsJogTheirCoordinateAndRestAtZero) {
    Get<QAction>("RefPoints")->trigger();
    QScrollBar* bar = Get<QScrollBar>("SBRef2Horz");
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_FLOAT_EQ(g().piv.x[kRefPoint2], 0.001f);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_FLOAT_EQ(g().piv.x[kRefPoint2], 0.001f - 0.025f);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(Button("RefPt2Zero")->isEnabled());
    EXPECT_FALSE(Button("RefPt1Zero")->isEnabled());
    Get<QScrollBar>("SBRef1Vert")->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_FLOAT_EQ(g().piv.y[kRefPoint1], -0.001f);
    EXPECT_TRUE(Button("RefPt1Zero")->isEnabled());
}

TEST_F(RefPointsFormTest, RP1CentresThePointThenThePanBarsJogOnce) {
    g().piv.x[kRefPoint1] = 2;
    g().piv.y[kRefPoint1] = 1;
    Get<QAction>("RefPoints")->trigger();
    Button("RefPt1")->click();
    // Centred at (263, 268.5); the horizontal bar at -139 moves the pan by
    // -13.9, the vertical bar at -1 (an arrow step) by +0.1.
    EXPECT_FLOAT_EQ(g().view.zoom, 28.5f);
    EXPECT_FLOAT_EQ(g().view.panHorz, 249.1f);
    EXPECT_FLOAT_EQ(g().view.panVert, 268.6f);
    EXPECT_EQ(Get<QScrollBar>("SBPanHorz")->value(), 0);
    EXPECT_EQ(Get<QScrollBar>("SBPanVert")->value(), 0);
    EXPECT_TRUE(Button("NormVHZ")->isEnabled());
}

class RefPntsDialogTest : public RefPointsFormTest {
protected:
    TRefPnts* Dialog() { return Get<TRefPnts>("TRefPnts"); }
    QLineEdit* Edit(int i) { return Dialog()->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(i)); }
    void Open() {
        Dialog()->show();
        Dialog()->activateWindow();
        QApplication::processEvents();
    }
    void ClickDialog(const char* name) {
        QTest::mouseClick(Dialog()->findChild<QPushButton*>(QString::fromUtf8(name)), Qt::LeftButton);
    }
};

TEST_F(RefPntsDialogTest, ShowsThePointsAndGivesCancelTheFocus) {
    g().piv.y[kRefPoint1] = 1.5f;
    g().piv.x[kRefPoint1] = -12345.678f;
    g().piv.x[kRefPoint2] = 3e20f;
    Open();
    EXPECT_EQ(Dialog()->windowTitle(), "Reference Points");
    EXPECT_EQ(Edit(1)->text(), "1.500");
    EXPECT_EQ(Edit(2)->text(), "-12345.678");
    EXPECT_EQ(Edit(3)->text(), "0.000");
    EXPECT_EQ(Edit(4)->text().size(), 10); // cut to 10 characters
    EXPECT_TRUE(test::Child<QPushButton>(*Dialog(), QStringLiteral("Cancel"))->hasFocus());
}

TEST_F(RefPntsDialogTest, EditsAcceptOnlyDigitsSignAndOnePoint) {
    Open();
    Edit(1)->clear();
    QTest::keyClicks(Edit(1), "a-1x.5.2e");
    EXPECT_EQ(Edit(1)->text(), "-1.52");
    QTest::keyClick(Edit(1), Qt::Key_Backspace);
    EXPECT_EQ(Edit(1)->text(), "-1.5");
}

// A decimal comma typed is the point, under the one-point rule.
TEST_F(RefPntsDialogTest, ADecimalCommaIsThePoint) {
    Open();
    Edit(1)->clear();
    QTest::keyClicks(Edit(1), "-1,5,2");
    EXPECT_EQ(Edit(1)->text(), "-1.52");
    ClickDialog("OK");
    EXPECT_EQ(g().piv.y[kRefPoint1], -1.52f);
}

TEST_F(RefPntsDialogTest, OKStoresThePointsEnablesZeroButtonsOfNonZeroValuesAndSwitchesTheModeOn) {
    Open();
    const char* texts[] = {"", "0", "0.000", "2.5", "-"};
    for (int i = 1; i <= 4; ++i) Edit(i)->setText(QString::fromUtf8(texts[i]));
    ClickDialog("OK");
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_EQ(g().piv.y[kRefPoint1], 0);
    EXPECT_EQ(g().piv.x[kRefPoint1], 0);
    EXPECT_EQ(g().piv.y[kRefPoint2], 2.5f);
    EXPECT_EQ(g().piv.x[kRefPoint2], 0); // "-" alone is not a number
    EXPECT_FALSE(Button("RefPt1Zero")->isEnabled());
    EXPECT_TRUE(Button("RefPt2Zero")->isEnabled());
    EXPECT_TRUE(g().refPointsOn);
    EXPECT_TRUE(Shown("SBRef1Vert"));
}

TEST_F(RefPntsDialogTest, ZeroClearsBothPointsAndSwitchesTheModeOff) {
    g().piv.x[kRefPoint1] = 1;
    g().piv.y[kRefPoint2] = 2;
    Get<QAction>("RefPoints")->trigger();
    form.RefControls().SetZeroEnabled(1, true);
    form.RefControls().SetZeroEnabled(2, true);
    Open();
    ClickDialog("Zero");
    EXPECT_EQ(g().piv.x[kRefPoint1], 0);
    EXPECT_EQ(g().piv.y[kRefPoint2], 0);
    EXPECT_FALSE(Button("RefPt1Zero")->isEnabled());
    EXPECT_FALSE(Button("RefPt2Zero")->isEnabled());
    EXPECT_FALSE(g().refPointsOn);
}

TEST_F(RefPntsDialogTest, CancelSwitchesTheModeOffEvenIfItWasOnAndKeepsThePoints) {
    g().piv.x[kRefPoint1] = 4;
    Get<QAction>("SetPivotData")->trigger();
    Open();
    Edit(2)->setText(QStringLiteral("9"));
    ClickDialog("Cancel");
    EXPECT_FALSE(g().refPointsOn);
    EXPECT_FALSE(g().pivotDataOn);
    EXPECT_EQ(g().piv.x[kRefPoint1], 4);
    EXPECT_FALSE(Shown("SBRef1Vert"));
}

TEST(RefPntsEditValue, HugeAndMalformedTextsStayDefined) {
    EXPECT_EQ(TRefPnts::EditValue(QStringLiteral("")), 0);
    EXPECT_EQ(TRefPnts::EditValue(QStringLiteral("1-2")), 0);
    EXPECT_EQ(TRefPnts::EditValue(QStringLiteral("-.")), 0);
    EXPECT_EQ(TRefPnts::EditValue(QStringLiteral("-0.25")), -0.25f);
    EXPECT_EQ(TRefPnts::EditValue(QString(400, u'9')), std::numeric_limits<float>::infinity());
    EXPECT_EQ(TRefPnts::EditValue(QStringLiteral("-") + QString(60, u'9')), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(TRefPnts::EditValue(QStringLiteral("0.") + QString(400, u'0') + QStringLiteral("1")), 0);
}

} // namespace
} // namespace vx
