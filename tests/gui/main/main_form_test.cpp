// The main window driven through its real widgets: motion controls, the
// step angle table through its bar, the view jog bars and presets, the
// dynamic-variable bars with undo, the menu and the tool bar.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <string>
#include <vector>

#include "gui/main/main_form.h"
#include "model/workspace/defaults.h"
#include "model/workspace/view.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        // The tests tick by hand.
        timer()->stop();
    }

    template <class T>
    T* Get(const char* name) {
        return test::Child<T>(form, name);
    }
    QPushButton* Button(const char* name) { return Get<QPushButton>(name); }
    QScrollBar* Bar(const char* name) { return Get<QScrollBar>(name); }
    QAction* Action(const char* name) { return Get<QAction>(name); }
    QTimer* timer() { return Get<QTimer>("Timer1"); }
    void Click(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }
    GearState& g() { return form.Model(); }

    TMainForm form;
};

// ---------------------------------------------------------------------------
// Layout.

struct ControlRow {
    const char* name;
    QRect geometry;
    const char* caption; // nullptr for bars and panels
    const char* hint;    // nullptr for panels
    bool enabled;
    bool shown;
};

TEST_F(MainFormTest, ControlsStartWithTheirGeometryCaptionsHintsAndStates) {
    const ControlRow rows[] = {
        {"SBRevArm", {336, 26, 121, 12}, nullptr, "Set Reverse Arm Between Max & Min", true, true},
        {"SBDrvAng", {336, 40, 121, 12}, nullptr, "Set Driver Angle From 0 to 360 Deg", false, true},
        {"SBStepAng", {336, 54, 121, 12}, nullptr, "Set Driver Step Angle to Predefined Values", true, true},
        {"Run", {277, 39, 36, 14}, "Stop", "Start / Stop Driver Rotation", true, true},
        {"Center", {280, 25, 27, 14}, "Cen", "Set Reverse Arm to Mid Gear", false, true},
        {"Rev", {252, 25, 28, 14}, "Rev", "Set Reverse Arm to Normal Reverse", true, true},
        {"Fwd", {307, 25, 28, 14}, "Fwd", "Set Reverse Arm to Normal Forward", true, true},
        {"Deg180", {252, 39, 25, 14}, "180", "Set Driver Angle to 180 Deg", true, true},
        {"Deg00", {313, 39, 22, 14}, "0.0", "Set Driver to 0 Deg", true, true},
        {"Step1", {252, 53, 25, 14}, "1.0", "Set Driver Step Angle to 1 Deg", true, true},
        {"Step10", {277, 53, 29, 14}, "10.0", "Set Driver Step Angle to 10 Deg", false, true},
        {"Step45", {306, 53, 29, 14}, "45.0", "Set Driver Step Angle to 45 Deg", true, true},
        {"SBPanVert", {76, 26, 121, 12}, nullptr, "Pan Vertical", true, true},
        {"SBPanHorz", {76, 40, 121, 12}, nullptr, "Pan Horizontal", true, true},
        {"SBZoom", {76, 54, 121, 12}, nullptr, "Zoom In / Out", true, true},
        {"NormVHZ", {33, 39, 42, 14}, "Norm", "Return Pan & Zoom to Normal", false, true},
        {"Preset0", {19, 39, 14, 14}, "P", "Select First to Change Presets", true, true},
        {"Preset1", {5, 25, 14, 14}, "1", "Pan & Zoom to Preset 1", true, true},
        {"Preset5", {61, 25, 14, 14}, "5", "Pan & Zoom to Preset 5", true, true},
        {"Preset6", {5, 39, 14, 14}, "6", "Pan & Zoom to Preset 6", true, true},
        {"SBDynVar1", {253, 72, 121, 10}, nullptr, "Change Last Variable Clicked", true, false},
        {"SBDynVar4", {253, 108, 121, 10}, nullptr, "Change 3rd to Last Variable Clicked", true, false},
        {"UnDoDn", {280, 127, 40, 16}, "UnDo", "", false, false},
        {"Panel1", {0, 67, 539, 4}, nullptr, nullptr, true, true},
        {"Panel4", {539, 134, 93, 4}, nullptr, nullptr, true, true},
        {"Panel5", {0, 120, 251, 4}, nullptr, nullptr, true, false},
        {"Panel8", {247, 120, 292, 4}, nullptr, nullptr, true, false},
        {"Panel9", {539, 70, 0, 0}, nullptr, nullptr, true, false},
        {"Panel11", {0, 72, 4, 49}, nullptr, nullptr, true, false},
        {"Panel12", {628, 26, 4, 108}, nullptr, nullptr, true, true},
    };
    for (const ControlRow& r : rows) {
        SCOPED_TRACE(r.name);
        QWidget* w = Get<QWidget>(r.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), form.centralWidget());
        EXPECT_EQ(w->geometry(), r.geometry);
        if (r.caption) {
            EXPECT_EQ(qobject_cast<QPushButton*>(w)->text(), QString::fromUtf8(r.caption));
        }
        if (r.hint) {
            EXPECT_EQ(w->toolTip(), QString::fromUtf8(r.hint));
        }
        EXPECT_EQ(w->isEnabled(), r.enabled);
        EXPECT_EQ(!w->isHidden(), r.shown);
    }
}

struct BarRangeRow {
    const char* name;
    int min, max, small, large, position;
};

TEST_F(MainFormTest, BarsStartWithTheirRangesStepsAndPositions) {
    const int limit = RevArmBarLimit(g());
    EXPECT_EQ(limit, 1074);
    const BarRangeRow rows[] = {
        {"SBRevArm", -limit, limit, 1, 20, 0},
        {"SBDrvAng", -4000, 40000, 1000, 4500, 1},
        {"SBStepAng", 0, 14613, 920, 2760, 12000},
        {"SBPanVert", -500, 500, 1, 10, 0},
        {"SBPanHorz", -500, 500, 1, 10, 0},
        {"SBZoom", -200, 200, 1, 10, 0},
        {"SBDynVar3", -200, 200, 1, 10, 0},
    };
    for (const BarRangeRow& r : rows) {
        SCOPED_TRACE(r.name);
        QScrollBar* s = Bar(r.name);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->orientation(), Qt::Horizontal);
        EXPECT_EQ(s->minimum(), r.min);
        EXPECT_EQ(s->maximum(), r.max);
        EXPECT_EQ(s->singleStep(), r.small);
        EXPECT_EQ(s->pageStep(), r.large);
        EXPECT_EQ(s->value(), r.position);
    }
}

TEST_F(MainFormTest, ClientAreaHoldsTheToolBarAndThePicture) {
    EXPECT_EQ(form.centralWidget()->size(), QSize(632, 380));
    QToolBar* bar = Get<QToolBar>("ToolBar1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 632, 24));
    EXPECT_EQ(bar->iconSize(), QSize(16, 16));

    // Picture buttons and separators from the left.
    std::string layout;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            layout += '|';
            continue;
        }
        layout += 'b';
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
        EXPECT_EQ(bar->widgetForAction(a)->width(), 30);
    }
    EXPECT_EQ(layout, "bb|bb|bbb|b|b|bbbb|bbbb");

    const QStringList hints = [&] {
        QStringList h;
        for (QAction* a : bar->actions())
            if (!a->isSeparator()) h << a->toolTip();
        return h;
    }();
    EXPECT_EQ(hints.first(), "Open File: Dimension Data");
    EXPECT_EQ(hints.at(10), "Draw Lines and Circles");
    EXPECT_EQ(hints.last(), "View Port Events vs Reverse Arm Position");
    EXPECT_FALSE(Action("ToolDrawLines")->isEnabled());
    EXPECT_EQ(form.Frame().size(), QSize(1280, 1024));
}

TEST_F(MainFormTest, MenuHoldsEveryItemInOrder) {
    std::vector<std::string> items;
    for (QAction* top : form.menuBar()->actions()) {
        const std::string title = top->text().toStdString();
        if (QMenu* m = top->menu()) {
            for (QAction* a : m->actions())
                items.push_back(title + " > " + (a->isSeparator() ? "-" : a->text().toStdString()));
        } else {
            items.push_back(title.empty() ? "(picture)" : title);
        }
    }
    const std::vector<std::string> expected = {
        "&File > &OpenDimensions",
        "&File > Save&AsDimensions",
        "&File > -",
        "&File > Export &Picture...",
        "&File > Export &Animation...",
        "&File > Export &Report...",
        "&File > -",
        "&File > E&xit",
        "&SetUp > Set&RevArmPos",
        "&SetUp > Set&DriverAng",
        "&SetUp > Set&StepAng",
        "&SetUp > SetRef&Points",
        "&SetUp > -",
        "&SetUp > SetLarge&Font",
        "&SetUp > &CalcCentRevArm",
        "&SetUp > SetS&teamDisp On",
        "&SetUp > Set&ErrorBeep Off",
        "&SetUp > Set&LineWidth 2",
        "&SetUp > SetScree&nData Off",
        "&SetUp > SetP&anZoom On",
        "&SetUp > -",
        "&SetUp > Anal&ysis Settings...",
        "&EditDimen > &FrameDimensions",
        "&EditDimen > &CylinderDimensions",
        "&EditDimen > -",
        "&EditDimen > Set&GraphicZoom",
        "&EditDimen > -",
        "&EditDimen > &ResetAllDimensions",
        "&EditDimen > -",
        "&EditDimen > &Balance Events...",
        "&EditDimen > Set the &Valves...",
        "&ReferPoints",
        "&DrawLinesCircles",
        "Pi&votData",
        "D&ynamicVari",
        "Draw&Graphs > &SineDiagram",
        "Draw&Graphs > &OvalDiagram",
        "Draw&Graphs > S&teamDiagram",
        "Draw&Graphs > &PortOpenClose",
        "Draw&Graphs > Valve &Events",
        "Draw&Graphs > Se&nsitivity",
        "Draw&Graphs > To&lerance",
        "Draw&Graphs > &Work",
        "&Help > &Instructions",
        "&Help > Instructions&Special",
        "&Help > -",
        "&Help > &About",
        "(picture)",
    };
    EXPECT_EQ(items, expected);

    EXPECT_FALSE(Action("SetPanZoom")->isEnabled());
    EXPECT_FALSE(Action("DrawLines1")->isEnabled());
    QAction* error = Action("Error");
    EXPECT_FALSE(error->isVisible());
    EXPECT_FALSE(error->icon().isNull());
}

// ---------------------------------------------------------------------------
// Run / Stop, 0.0 and 180.

TEST_F(MainFormTest, StopRoundsTheAngleThroughTheBarAndRunRestartsWithTheSelectedStep) {
    EXPECT_TRUE(g().motion.running);
    EXPECT_FLOAT_EQ(g().motion.tickStep, 10.0f);
    g().motion.driverAngle = 123.456f;

    Click("Run");
    EXPECT_EQ(Button("Run")->text(), "Run");
    EXPECT_FALSE(g().motion.running);
    EXPECT_EQ(g().motion.tickStep, 0.0f);
    EXPECT_TRUE(Bar("SBDrvAng")->isEnabled());
    EXPECT_EQ(Bar("SBDrvAng")->value(), 12346);
    EXPECT_EQ(g().motion.driverAngle, 123.46f);
    EXPECT_TRUE(Button("Deg00")->isEnabled());
    EXPECT_TRUE(Button("Deg180")->isEnabled());

    Click("Run");
    EXPECT_EQ(Button("Run")->text(), "Stop");
    EXPECT_TRUE(g().motion.running);
    EXPECT_EQ(g().motion.tickStep, 10.0f);
    EXPECT_FALSE(Bar("SBDrvAng")->isEnabled());
}

TEST_F(MainFormTest, DegreeButtonsStopAtTheirAngleAndDisableThemselves) {
    Click("Deg180");
    EXPECT_EQ(g().motion.driverAngle, 180.0f);
    EXPECT_EQ(Bar("SBDrvAng")->value(), 18000);
    EXPECT_EQ(g().motion.tickStep, 0.0f);
    EXPECT_EQ(Button("Run")->text(), "Run");
    EXPECT_FALSE(g().motion.running);
    EXPECT_TRUE(Bar("SBDrvAng")->isEnabled());
    EXPECT_FALSE(Button("Deg180")->isEnabled());
    EXPECT_TRUE(Button("Deg00")->isEnabled());

    form.Tick(); // stopped: the angle stays
    EXPECT_EQ(g().motion.driverAngle, 180.0f);

    Click("Deg00");
    EXPECT_EQ(g().motion.driverAngle, 0.0f);
    EXPECT_EQ(Bar("SBDrvAng")->value(), 0);
    EXPECT_FALSE(Button("Deg00")->isEnabled());
    EXPECT_TRUE(Button("Deg180")->isEnabled());

    // Moving the bar enables both again.
    Bar("SBDrvAng")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g().motion.driverAngle, 10.0f);
    EXPECT_TRUE(Button("Deg00")->isEnabled());
}

struct AngleRow {
    int barPosition;
    float shownAfterTick;
};

TEST_F(MainFormTest, DriverAngleFromTheBarWrapsAtTheNextTick) {
    Click("Deg00");
    const AngleRow rows[] = {{-4000, 320.0f}, {40000, 40.0f}, {36000, 360.0f}, {12345, 123.45f}};
    for (const AngleRow& r : rows) {
        SCOPED_TRACE(r.barPosition);
        Bar("SBDrvAng")->setValue(r.barPosition);
        form.Tick();
        EXPECT_FLOAT_EQ(g().motion.driverAngle, r.shownAfterTick);
    }
}

TEST_F(MainFormTest, RunningTicksAdvanceTheAngleAndRedrawThePicture) {
    form.Tick();
    const QImage first = form.Frame().copy();
    EXPECT_EQ(g().motion.driverAngle, 10.0f);
    form.Tick();
    EXPECT_EQ(g().motion.driverAngle, 20.0f);
    EXPECT_NE(form.Frame(), first);
}

TEST_F(MainFormTest, EveryActivationDisablesTheDriverAngleBar) {
    Click("Run");
    ASSERT_TRUE(Bar("SBDrvAng")->isEnabled());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
    EXPECT_FALSE(Bar("SBDrvAng")->isEnabled());
    EXPECT_FALSE(g().motion.running); // the motion state itself is untouched
}

// ---------------------------------------------------------------------------
// Step angle.

struct StepRow {
    int position;
    float step;
    int small, large;
};

TEST_F(MainFormTest, StepBarMapsEveryBoundaryOfItsTable) {
    const StepRow rows[] = {
        {0, 0.01f, 1, 5},          {704, 0.01f, 1, 5},        {705, 0.02f, 2, 10},
        {1591, 0.02f, 2, 10},      {1592, 0.03f, 3, 15},      {2408, 0.03f, 3, 15},
        {2409, 0.05f, 5, 25},      {3612, 0.05f, 5, 25},      {3613, 0.1f, 10, 50},
        {4704, 0.1f, 10, 50},      {4705, 0.2f, 20, 100},     {5591, 0.2f, 20, 100},
        {5592, 0.3f, 30, 150},     {6408, 0.3f, 30, 150},     {6409, 0.5f, 50, 250},
        {7612, 0.5f, 50, 250},     {7613, 1, 100, 500},       {8704, 1, 100, 500},
        {8705, 2, 200, 1000},      {9591, 2, 200, 1000},      {9592, 3, 300, 1500},
        {10408, 3, 300, 1500},     {10409, 5, 500, 2500},     {11612, 5, 500, 2500},
        {11613, 10, 1000, 4500},   {12704, 10, 1000, 4500},   {12705, 20, 2000, 4500},
        {13591, 20, 2000, 4500},   {13592, 30, 3000, 4500},   {14408, 30, 3000, 4500},
        {14409, 45, 4500, 4500},   {14613, 45, 4500, 4500},
    };
    for (const StepRow& r : rows) {
        SCOPED_TRACE(r.position);
        Bar("SBStepAng")->setValue(r.position);
        EXPECT_EQ(g().motion.selectedStep, r.step);
        EXPECT_EQ(g().motion.tickStep, r.step); // running: the tick follows
        EXPECT_EQ(Bar("SBDrvAng")->singleStep(), r.small);
        EXPECT_EQ(Bar("SBDrvAng")->pageStep(), r.large);
        EXPECT_EQ(Button("Step1")->isEnabled(), r.step != 1.0f);
        EXPECT_EQ(Button("Step10")->isEnabled(), r.step != 10.0f);
        EXPECT_EQ(Button("Step45")->isEnabled(), r.step != 45.0f);
    }
}

TEST_F(MainFormTest, StepButtonsWhileRunningChangeTheTickStep) {
    Click("Step45");
    EXPECT_EQ(g().motion.selectedStep, 45.0f);
    EXPECT_EQ(g().motion.tickStep, 45.0f);
    EXPECT_EQ(Bar("SBStepAng")->value(), 14613);
    EXPECT_FALSE(Button("Step45")->isEnabled());
    EXPECT_TRUE(Button("Step10")->isEnabled());

    Click("Step1");
    EXPECT_EQ(g().motion.tickStep, 1.0f);
    EXPECT_EQ(Bar("SBStepAng")->value(), 8000);
    EXPECT_FALSE(Button("Step1")->isEnabled());
    EXPECT_TRUE(Button("Step45")->isEnabled());
}

TEST_F(MainFormTest, TenWhileStoppedChangesOnlyTheSelectedStepUntilRun) {
    Click("Step1");
    Click("Run"); // stop
    Click("Step10");
    EXPECT_EQ(g().motion.selectedStep, 10.0f);
    EXPECT_EQ(g().motion.tickStep, 0.0f);
    EXPECT_EQ(Bar("SBStepAng")->value(), 12000);
    Click("Run");
    EXPECT_EQ(g().motion.tickStep, 10.0f);
}

TEST_F(MainFormTest, DisarmedStepBarOnlyRearmsOnItsNextChange) {
    g().motion.stepBarArmed = false;
    Bar("SBStepAng")->setValue(3000);
    EXPECT_TRUE(g().motion.stepBarArmed);
    EXPECT_EQ(g().motion.selectedStep, 10.0f);
    EXPECT_EQ(Bar("SBDrvAng")->singleStep(), 1000);
    Bar("SBStepAng")->setValue(3001);
    EXPECT_EQ(g().motion.selectedStep, 0.05f);
}

// ---------------------------------------------------------------------------
// Reverse arm.

TEST_F(MainFormTest, FwdRevAndCenMoveTheReverseArmAndTheirStates) {
    const float centre = g().revArm.centre;
    const float norm = g().frame.revArmToCentNorm;

    Click("Fwd");
    EXPECT_EQ(Bar("SBRevArm")->value(), 1000);
    EXPECT_EQ(g().motion.reverseArmPosition, centre - norm);
    EXPECT_EQ(g().motion.direction, Direction::Fwd);
    EXPECT_FALSE(Button("Fwd")->isEnabled());
    EXPECT_TRUE(Button("Rev")->isEnabled());
    EXPECT_TRUE(Button("Center")->isEnabled());

    Click("Rev");
    EXPECT_EQ(Bar("SBRevArm")->value(), -1000);
    EXPECT_EQ(g().motion.reverseArmPosition, centre + norm);
    EXPECT_EQ(g().motion.direction, Direction::Rev);
    EXPECT_FALSE(Button("Rev")->isEnabled());
    EXPECT_TRUE(Button("Fwd")->isEnabled());

    Click("Center");
    EXPECT_EQ(Bar("SBRevArm")->value(), 0);
    EXPECT_EQ(g().motion.reverseArmPosition, centre);
    EXPECT_EQ(g().motion.direction, Direction::Fwd); // the bar moved
    EXPECT_FALSE(Button("Center")->isEnabled());
    EXPECT_TRUE(Button("Fwd")->isEnabled());
    EXPECT_TRUE(Button("Rev")->isEnabled());
}

struct RevArmRow {
    int position;
    Direction direction;
    bool centerEnabled, fwdEnabled, revEnabled;
};

TEST_F(MainFormTest, ReverseArmBarSetsPositionDirectionAndButtons) {
    const RevArmRow rows[] = {
        {-1, Direction::Rev, true, true, true},    {1, Direction::Fwd, true, true, true},
        {1000, Direction::Fwd, true, false, true}, {1074, Direction::Fwd, true, true, true},
        {-1000, Direction::Rev, true, true, false}, {0, Direction::Fwd, false, true, true},
    };
    for (const RevArmRow& r : rows) {
        SCOPED_TRACE(r.position);
        g().frontCutOffText = "12.3";
        Bar("SBRevArm")->setValue(r.position);
        EXPECT_FLOAT_EQ(g().motion.reverseArmPosition,
                        static_cast<float>(g().revArm.centre - r.position / 1000.0));
        EXPECT_EQ(g().motion.direction, r.direction);
        EXPECT_EQ(Button("Center")->isEnabled(), r.centerEnabled);
        EXPECT_EQ(Button("Fwd")->isEnabled(), r.fwdEnabled);
        EXPECT_EQ(Button("Rev")->isEnabled(), r.revEnabled);
        EXPECT_TRUE(g().frontCutOffText.empty());
    }
}

TEST_F(MainFormTest, MidGearSearchCentresTheArmAndKeepsDirectionWhenTheBarStaysAtZero) {
    g().motion.direction = Direction::Rev;
    g().motion.driverAngle = 77.0f;
    Action("FindRevArmCent")->trigger();
    EXPECT_EQ(Bar("SBRevArm")->value(), 0);
    EXPECT_EQ(g().motion.reverseArmPosition, g().revArm.centre);
    EXPECT_EQ(g().motion.direction, Direction::Rev);
    EXPECT_EQ(g().motion.driverAngle, 77.0f);

    // From full reverse the bar moves back to 0, which sets forward.
    Click("Rev");
    Action("ToolMidGear")->trigger();
    EXPECT_EQ(Bar("SBRevArm")->value(), 0);
    EXPECT_EQ(g().motion.direction, Direction::Fwd);
    EXPECT_FALSE(Button("Center")->isEnabled());
}

// ---------------------------------------------------------------------------
// Pan and zoom.

struct JogCase {
    const char* bar;
    std::vector<int> positions; // reported in turn, each followed by the return to 0
    float panHorz, panVert;     // expected view after the sequence
};

TEST_F(MainFormTest, JogBarsStepByTheirRuleAndRestAtZero) {
    const JogCase cases[] = {
        {"SBPanHorz", {1}, 110.1f, 270.0f},
        {"SBPanHorz", {-10}, 109.0f, 270.0f},
        {"SBPanHorz", {50, 30}, 112.0f, 270.0f},     // out to 50 (+5), back to 30 (-3)
        {"SBPanHorz", {30, 30}, 113.0f, 270.0f},     // the same position twice moves once
        {"SBPanHorz", {-50, -60}, 99.0f, 270.0f},    // further out (-5) and further (-6)
        {"SBPanVert", {1}, 110.0f, 269.9f},          // positive moves the picture up
        {"SBPanVert", {10, 10}, 110.0f, 268.0f},     // trough click steps every time
    };
    for (const JogCase& c : cases) {
        SCOPED_TRACE(c.bar);
        Click("NormVHZ");
        Bar("SBPanHorz")->setValue(0);
        g().panHorzJog = {};
        g().panVertJog = {};
        g().view = g().normalView;
        ASSERT_FALSE(Button("NormVHZ")->isEnabled());
        for (int p : c.positions) {
            Bar(c.bar)->setValue(p);
            EXPECT_EQ(Bar(c.bar)->value(), 0);
        }
        EXPECT_NEAR(g().view.panHorz, c.panHorz, 1e-4);
        EXPECT_NEAR(g().view.panVert, c.panVert, 1e-4);
        EXPECT_EQ(g().view.zoom, 28.5f);
        EXPECT_TRUE(Button("NormVHZ")->isEnabled());
    }
}

TEST_F(MainFormTest, ArrowAndTroughClicksThroughTheBarWidget) {
    QScrollBar* horz = Bar("SBPanHorz");
    horz->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    horz->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(horz->value(), 0);
    EXPECT_NEAR(g().view.panHorz, 109.1f, 1e-4);
}

struct ZoomCase {
    ViewTransform start;
    QAbstractSlider::SliderAction action;
    double factor;
};

TEST_F(MainFormTest, ZoomKeepsTheWorldPointUnderTheCentrePixel) {
    const ZoomCase cases[] = {
        {{28.5f, 110, 270}, QAbstractSlider::SliderSingleStepAdd, 1.001},
        {{28.5f, 110, 270}, QAbstractSlider::SliderPageStepSub, 0.99},
        {{250, -3450, 700}, QAbstractSlider::SliderPageStepAdd, 1.01},
        {{62, 310, 237}, QAbstractSlider::SliderSingleStepSub, 0.999},
    };
    for (const ZoomCase& c : cases) {
        g().view = c.start;
        g().zoomJog = {};
        const WorldPoint w = ScreenToWorld(g().view, 320, 240);
        Bar("SBZoom")->triggerAction(c.action);
        EXPECT_EQ(Bar("SBZoom")->value(), 0);
        EXPECT_NEAR(g().view.zoom, c.start.zoom * c.factor, c.start.zoom * 1e-6);
        const ScreenPoint s = WorldToScreen(g().view, w.x, w.y);
        EXPECT_EQ(s.x, 320);
        EXPECT_EQ(s.y, 240);
    }
}

TEST_F(MainFormTest, ZoomStopsAtItsLimitsWithThePanOfTheUnlimitedStep) {
    g().view = {2999, 100, 100};
    const WorldPoint w = ScreenToWorld(g().view, 320, 240);
    Bar("SBZoom")->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(g().view.zoom, 3000.0f);
    // The pan belongs to the unlimited zoom of 2999 * 1.01.
    EXPECT_NEAR((320 - g().view.panHorz) / w.x, 2999 * 1.01, 0.05);

    g().view = {0.5f, 100, 100};
    Bar("SBZoom")->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(g().view.zoom, 0.5f);
}

TEST_F(MainFormTest, PresetsStoreAfterPRecallAloneAndNormReturns) {
    const ViewTransform preset3 = g().viewPresets[3];

    // "3" alone recalls preset 3 and leaves it as it was.
    Click("Preset3");
    EXPECT_EQ(g().view, preset3);
    EXPECT_EQ(g().viewPresets[3], preset3);
    EXPECT_TRUE(Button("NormVHZ")->isEnabled());

    // "P" stages the current view; "5" stores it and shows it.
    Bar("SBPanHorz")->triggerAction(QAbstractSlider::SliderPageStepAdd);
    const ViewTransform staged = g().view;
    Click("Preset0");
    EXPECT_FALSE(Button("Preset0")->isEnabled());
    Bar("SBZoom")->triggerAction(QAbstractSlider::SliderPageStepAdd); // the view moves on
    Click("Preset5");
    EXPECT_EQ(g().viewPresets[5], staged);
    EXPECT_EQ(g().view, staged);
    EXPECT_TRUE(Button("Preset0")->isEnabled());

    // "Norm" returns to the normal view and disables itself.
    Click("NormVHZ");
    EXPECT_EQ(g().view, (ViewTransform{28.5f, 110, 270}));
    EXPECT_FALSE(Button("NormVHZ")->isEnabled());
    EXPECT_TRUE(Button("Preset0")->isEnabled());

    // Stored presets are recalled later without "P".
    Click("Preset5");
    EXPECT_EQ(g().view, staged);
    Click("Preset3");
    EXPECT_EQ(g().view, preset3);
}

TEST_F(MainFormTest, NormAfterPCancelsTheStaging) {
    Click("Preset0");
    Click("NormVHZ");
    EXPECT_TRUE(Button("Preset0")->isEnabled());
    const ViewTransform preset2 = g().viewPresets[2];
    Click("Preset2");
    EXPECT_EQ(g().viewPresets[2], preset2);
}

TEST_F(MainFormTest, SetPanZoomShowsAndHidesTheViewBars) {
    QAction* item = Action("SetPanZoom");
    item->setEnabled(true); // as the screen data option does when it hides the bars
    for (const char* name : {"SBPanVert", "SBPanHorz", "SBZoom"}) Bar(name)->hide();
    item->trigger();
    EXPECT_EQ(item->text(), "SetP&anZoom Off");
    for (const char* name : {"SBPanVert", "SBPanHorz", "SBZoom"}) EXPECT_FALSE(Bar(name)->isHidden());
    item->trigger();
    EXPECT_EQ(item->text(), "SetP&anZoom On");
    for (const char* name : {"SBPanVert", "SBPanHorz", "SBZoom"}) EXPECT_TRUE(Bar(name)->isHidden());
}

// ---------------------------------------------------------------------------
// Dynamic variables.

TEST_F(MainFormTest, DynamicVariablesToggleShowsTheBarsAndPanels) {
    const char* const names[] = {"SBDynVar1", "SBDynVar2", "SBDynVar3", "SBDynVar4",
                                 "Panel7",    "Panel8",    "Panel9",    "UnDoDn"};
    Action("DynamicVariables")->trigger();
    EXPECT_TRUE(g().dynVarDisplay);
    for (const char* n : names) EXPECT_FALSE(Get<QWidget>(n)->isHidden()) << n;
    Action("ToolDynVars")->trigger();
    EXPECT_FALSE(g().dynVarDisplay);
    for (const char* n : names) EXPECT_TRUE(Get<QWidget>(n)->isHidden()) << n;
}

TEST_F(MainFormTest, DynamicVariableGestureMakesOneUndoEntryAndUnDoRestores) {
    g().dynVarSlots[2] = DynVarSlot{2, g().frame.stroke, "Stroke"};
    Action("DynamicVariables")->trigger();
    QScrollBar* bar = Bar("SBDynVar2");

    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(bar, &focusIn);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_NEAR(g().frame.stroke, 3.012f, 1e-5);
    EXPECT_FALSE(Button("UnDoDn")->isEnabled());

    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(60, 5), QPointF(60, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    EXPECT_TRUE(Button("UnDoDn")->isEnabled());
    EXPECT_EQ(g().undo[1].id, 2);
    EXPECT_EQ(g().undo[1].oldValue, 3.0f);
    EXPECT_NEAR(g().undo[1].newValue, 3.012f, 1e-5);

    Click("UnDoDn");
    EXPECT_NEAR(g().frame.stroke, 3.0f, 1e-5);
    EXPECT_FALSE(Button("UnDoDn")->isEnabled());
}

TEST_F(MainFormTest, UnDoWithAnEmptyNewestEntryOnlyDisablesItself) {
    Action("DynamicVariables")->trigger();
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Bar("SBDynVar1"), &release); // an empty slot still records
    ASSERT_TRUE(Button("UnDoDn")->isEnabled());
    EXPECT_EQ(g().undo[1].id, 0);
    const float stroke = g().frame.stroke;
    Click("UnDoDn");
    EXPECT_FALSE(Button("UnDoDn")->isEnabled());
    EXPECT_EQ(g().frame.stroke, stroke);
}

// ---------------------------------------------------------------------------
// Reset and exit.

TEST_F(MainFormTest, FullResetRestoresTheDefaultsAndTheControls) {
    g().frame.stroke = 4.0f;
    Click("Fwd");
    Bar("SBZoom")->triggerAction(QAbstractSlider::SliderPageStepAdd);
    Action("DynamicVariables")->trigger();
    Action("ResetAllDimensions")->trigger();
    EXPECT_EQ(g().frame.stroke, 3.0f);
    EXPECT_EQ(Bar("SBRevArm")->value(), 0);
    EXPECT_EQ(g().motion.reverseArmPosition, g().revArm.centre);
    EXPECT_EQ(g().view, g().normalView);
    EXPECT_FALSE(Button("NormVHZ")->isEnabled());
    EXPECT_TRUE(Bar("SBDynVar1")->isHidden());
    EXPECT_FALSE(Button("UnDoDn")->isEnabled());
}

TEST_F(MainFormTest, ExitClosesTheWindowAndStopsTheTicks) {
    timer()->start();
    Action("Exit")->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(timer()->isActive());
}

} // namespace
} // namespace vx
