// The display options through the real menu actions of the main window,
// the screen-data hide/show lists, and the frame's effects on the controls
// (captions, the `Error` item and its tooltip, `UnDoDn`).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "gui/main/main_form.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/recording_sound.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

class DisplayOptionsTest : public ::testing::Test {
protected:
    DisplayOptionsTest() {
        auto s = std::make_unique<RecordingSound>();
        sound = s.get();
        form = std::make_unique<TMainForm>(TMainForm::kDefaultTickMs, nullptr,
                                           std::make_unique<FixedClock>("10/12/2026", "12:00:00"),
                                           std::make_unique<LcgRandom>(1), std::move(s));
        form->show();
        test::Child<QTimer>(*form, QStringLiteral("Timer1"))->stop();
    }
    QAction* Action(const char* name) {
        auto* a = form->findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    QWidget* Widget(const char* name) { return form->findChild<QWidget*>(QString::fromUtf8(name)); }
    GearState& g() { return form->Model(); }

    RecordingSound* sound = nullptr;
    std::unique_ptr<TMainForm> form;
};

TEST_F(DisplayOptionsTest, VolumeSetToHalfAtStart) {
    ASSERT_FALSE(sound->Calls().empty());
    EXPECT_EQ(sound->Calls().front(), (RecordingSound::Call{RecordingSound::Kind::Volume, {}, 0x8000, 0x8000}));
    sound->Reset();
    form->close();
    EXPECT_EQ(sound->Calls().back(), (RecordingSound::Call{RecordingSound::Kind::Volume, {}, 0x8000, 0x8000}));
}

TEST_F(DisplayOptionsTest, OptionTogglesAndCaptions) {
    struct Row {
        const char* action;
        const char* offCaption; // the caption in the initial state
        const char* onCaption;  // after one click
        std::function<bool(const GearState&)> changed;
    } rows[] = {
        {"SetSteam", "SetS&teamDisp On", "SetS&teamDisp Off", [](const GearState& s) { return s.steamDisplayOn; }},
        {"SetBeepOnError", "Set&ErrorBeep Off", "Set&ErrorBeep On",
         [](const GearState& s) { return !s.errorBeepOn; }},
        {"SetLineWidth", "Set&LineWidth 2", "Set&LineWidth 1", [](const GearState& s) { return s.lineWidth == 2; }},
        {"LargeFont", "SetLarge&Font", "SetSmall&Font",
         [](const GearState& s) { return s.textScaleX == 1.27f && s.textScaleY == 1.22f; }},
    };
    for (const Row& r : rows) {
        QAction* a = Action(r.action);
        EXPECT_EQ(a->text().toStdString(), r.offCaption);
        EXPECT_FALSE(r.changed(g())) << r.action;
        a->trigger();
        EXPECT_EQ(a->text().toStdString(), r.onCaption);
        EXPECT_TRUE(r.changed(g())) << r.action;
        a->trigger();
        EXPECT_EQ(a->text().toStdString(), r.offCaption);
        EXPECT_FALSE(r.changed(g())) << r.action;
    }
    // The steam tool button runs the same toggle.
    Action("ToolSteam")->trigger();
    EXPECT_TRUE(g().steamDisplayOn);
    EXPECT_EQ(Action("SetSteam")->text().toStdString(), "SetS&teamDisp Off");
}

TEST_F(DisplayOptionsTest, ScreenDataOffHidesTheListAndOnShowsItAgain) {
    const char* hidden[] = {"Panel1", "Panel2", "Panel3", "Panel4", "Panel10", "Panel12", "Preset0", "Preset1",
                            "Preset6", "NormVHZ", "SBPanVert", "SBPanHorz", "SBZoom", "Rev", "Center", "Fwd",
                            "Deg180", "Run", "Deg00", "Step1", "Step10", "Step45", "SBRevArm", "SBDrvAng",
                            "SBStepAng", "ToolBar1"};
    // The displays are on before: screen data off switches them off.
    Action("DynamicVariables")->trigger();
    Action("SetPivotData")->trigger(); // the reference points with it
    ASSERT_TRUE(g().dynVarDisplay);
    ASSERT_TRUE(g().refPointsOn && g().pivotDataOn);
    ASSERT_TRUE(Widget("SBDynVar1")->isVisible());

    QAction* screenData = Action("SetScreenData");
    screenData->trigger();
    EXPECT_FALSE(g().screenDataOn);
    EXPECT_EQ(screenData->text().toStdString(), "SetScree&nData On");
    for (const char* name : hidden) EXPECT_FALSE(Widget(name)->isVisible()) << name;
    for (int n = 1; n <= 4; ++n) EXPECT_FALSE(Widget(("SBDynVar" + std::to_string(n)).c_str())->isVisible());
    for (const char* name : {"DriverAng", "FindRevArmCent", "DynamicVariables", "RefPoints", "SetPivotData",
                             "DrawLines1", "ToolDrawLines"})
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    EXPECT_FALSE(Action("RefPoints1")->isVisible());
    EXPECT_FALSE(g().dynVarDisplay);
    EXPECT_FALSE(g().refPointsOn);
    EXPECT_FALSE(g().pivotDataOn);
    for (const char* name : {"RefPt1", "RefPt2", "RefPt1Zero", "SBRef1Vert", "SBRef2Horz", "DataTableBut"})
        EXPECT_FALSE(Widget(name)->isVisible()) << name;
    EXPECT_TRUE(Action("SetPanZoom")->isEnabled());

    // Pan and zoom bars on their own while the screen data is off.
    Action("SetPanZoom")->trigger();
    EXPECT_TRUE(Widget("SBZoom")->isVisible());

    screenData->trigger();
    EXPECT_TRUE(g().screenDataOn);
    EXPECT_EQ(screenData->text().toStdString(), "SetScree&nData Off");
    for (const char* name : hidden) EXPECT_TRUE(Widget(name)->isVisible()) << name;
    for (const char* name : {"DriverAng", "FindRevArmCent", "DynamicVariables", "RefPoints", "SetPivotData"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
    EXPECT_TRUE(Action("RefPoints1")->isVisible());
    EXPECT_FALSE(Action("SetPanZoom")->isEnabled());
    EXPECT_EQ(Action("SetPanZoom")->text().toStdString(), "Set&PanZoom On"); // another accelerator
    // The displays switched off stay off, and so do their controls.
    EXPECT_FALSE(g().dynVarDisplay);
    EXPECT_FALSE(g().refPointsOn);
    EXPECT_TRUE(Widget("RefPt1")->isVisible());
    EXPECT_FALSE(Widget("SBRef1Vert")->isVisible());
    EXPECT_FALSE(Widget("SBDynVar1")->isVisible());
    EXPECT_FALSE(Widget("Panel7")->isVisible());

    // With the screen data off again the item shows the bars once more.
    screenData->trigger();
    Action("SetPanZoom")->trigger();
    EXPECT_EQ(Action("SetPanZoom")->text().toStdString(), "SetP&anZoom Off");
    EXPECT_TRUE(Widget("SBZoom")->isVisible());
}

// Controls other parts of the window add later are in the lists by name.
TEST_F(DisplayOptionsTest, ScreenDataListCoversControlsAddedLater) {
    auto* later = Widget("RefPt1Zero");
    std::unique_ptr<QWidget> made;
    if (later == nullptr) {
        made = std::make_unique<QWidget>(Widget("MainCanvas"));
        made->setObjectName(QStringLiteral("RefPt1Zero"));
        made->show();
        later = made.get();
    }
    later->show();
    Action("SetScreenData")->trigger();
    EXPECT_FALSE(later->isVisible());
}

TEST_F(DisplayOptionsTest, FrameSetsTheCaptionAndTheErrorItem) {
    form->Tick();
    EXPECT_EQ(form->windowTitle().toStdString(),
              "VEXLIN Outside Adm            Nominal     10/12/2026   12:00:00   Version 2.8");
    QAction* error = Action("Error");
    EXPECT_FALSE(error->isVisible());

    g().frame.mainRodLength = 1;
    g().motion.driverAngle = 90;
    g().motion.tickStep = 0;
    form->Tick();
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(error->toolTip().toStdString(), "The main rod cannot reach the crosshead at 90.0\xC2\xB0");
    for (int frame = 2; frame <= 10; ++frame) form->Tick();
    EXPECT_FALSE(error->isVisible());
    int errorSounds = 0;
    for (const auto& c : sound->Calls()) errorSounds += c.kind == RecordingSound::Kind::Play && c.name == "Error.wav";
    EXPECT_EQ(errorSounds, 1);
}

// The error indicator is seen in the window as it opens, at either text
// size: its place on the menu bar lies inside the bar, not in the overflow,
// and so does every other item of the bar.
TEST_F(DisplayOptionsTest, ErrorItemFitsOnTheMenuBarAtBothSizes) {
    auto* bar = form->findChild<QMenuBar*>(QStringLiteral("MainMenu1"));
    ASSERT_NE(bar, nullptr);
    QAction* error = Action("Error");
    g().frame.mainRodLength = 1;
    g().motion.driverAngle = 90;
    g().motion.tickStep = 0;
    for (bool large : {false, true}) {
        SCOPED_TRACE(large ? "large" : "default");
        if (large) Action("LargeFont")->trigger();
        g().display.errorCounter = 0;
        form->Tick();
        ASSERT_TRUE(error->isVisible());
        QApplication::processEvents();
        // The large scale's text places fit a window grown with them.
        QWidget* client = Widget("MainCanvas");
        EXPECT_GE(client->width(), large ? 803 : TMainForm::kClientWidth);
        EXPECT_GE(client->height(), large ? 464 : TMainForm::kClientHeight);
        EXPECT_EQ(bar->width(), form->width());
        auto* overflow = bar->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button"));
        EXPECT_TRUE(overflow == nullptr || !overflow->isVisible());
        const QRect visible = bar->rect();
        for (QAction* a : bar->actions()) {
            if (!a->isVisible()) continue;
            const QRect r = bar->actionGeometry(a);
            EXPECT_FALSE(r.isEmpty()) << a->text().toStdString();
            EXPECT_TRUE(visible.contains(r)) << a->text().toStdString();
        }
        EXPECT_GE(bar->actionGeometry(error).width(), 16);
    }
}

TEST_F(DisplayOptionsTest, UndoButtonFollowsTheUndoLine) {
    Action("DynamicVariables")->trigger();
    form->Tick();
    EXPECT_TRUE(Widget("UnDoDn")->isVisible());
    Action("SetScreenData")->trigger();
    form->Tick();
    EXPECT_FALSE(Widget("UnDoDn")->isVisible());
}

} // namespace
} // namespace vx
