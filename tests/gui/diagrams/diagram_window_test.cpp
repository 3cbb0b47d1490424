// The shared diagram-window behaviour, driven through the sine and oval
// windows with real widgets: activation with the positions dialog and the
// main window's timer, the redraw on a mouse move only while one is
// pending, the bars (coalesced redraws, undo entries), UnDo, the menu, and
// the picture that survives being covered.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>
#include <vector>

#include "gui/diagrams/oval_window.h"
#include "gui/diagrams/port_window.h"
#include "gui/diagrams/steam_window.h"
#include "gui/editors/set_rev_arm_dialog.h"
#include "gui/diagrams/sine_window.h"
#include "model/workspace/window_captions.h"
#include "scene/diagrams/oval_diagram.h"
#include "scene/diagrams/sine_diagram.h"
#include "model/gear/dimensions.h"
#include "platform/qt/qt_image_canvas.h"
#include "model/workspace/defaults.h"
#include "model/workspace/dynvar.h"
#include "tests/scene/diagrams/diagram_test_support.h"
#include "tests/gui/diagrams/diagram_window_fixture.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

template <class Window>
class DiagramWindowTest : public test::DiagramWindowFixture<Window> {
protected:
    using Base = test::DiagramWindowFixture<Window>;
    using Base::g;
    using Base::w;
    QWidget* Canvas() { return this->template Get<QWidget>("DiagramCanvas"); }
    void MoveMouse() {
        QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), QPointF(300, 200), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(Canvas(), &move);
    }
    void AssignStroke() {
        g.dynVarSlots[0] = {2, g.frame.stroke, "Stroke"};
        SelectDynVar(g);
    }
};

using Windows = ::testing::Types<TSineDia, TOvalDia>;
TYPED_TEST_SUITE(DiagramWindowTest, Windows);

TYPED_TEST(DiagramWindowTest, ActivationStopsTheTimerAsksPositionsAndDraws) {
    this->Open();
    EXPECT_EQ(this->timerCalls, std::vector<bool>{false});
    EXPECT_EQ(this->dialogShown, 1);
    EXPECT_EQ(this->w->DrawCount(), 1);
    EXPECT_EQ(this->g.revArm.positionCount, 3);
    EXPECT_EQ(this->g.lastDiagramPosition, this->g.revArm.position[3]);
    EXPECT_TRUE(this->template Get<QPushButton>(this->w->objectName() == "SineDia" ? "CloseSin" : "CloseOval")->hasFocus());

    // Showing again after the dialog does not activate again.
    this->w->hide();
    this->w->show();
    QApplication::processEvents();
    EXPECT_EQ(this->dialogShown, 1);

    this->w->done(0);
    EXPECT_EQ(this->timerCalls, (std::vector<bool>{false, true}));
    EXPECT_FALSE(this->w->isVisible());
    // Opening again asks again.
    this->Open();
    EXPECT_EQ(this->dialogShown, 2);
}

TYPED_TEST(DiagramWindowTest, MouseMoveRedrawsOnlyWhilePending) {
    this->Open();
    // The dialog's closing left the flag set: the first move redraws.
    ASSERT_TRUE(this->g.revArm.diagramRedrawPending);
    this->MoveMouse();
    EXPECT_EQ(this->w->DrawCount(), 2);
    EXPECT_FALSE(this->g.revArm.diagramRedrawPending);
    this->MoveMouse();
    EXPECT_EQ(this->w->DrawCount(), 2);

    // SetRevArmPos shows the dialog, and the list it leaves is drawn as it
    // closes, without waiting for the mouse; a move then draws nothing more.
    QAction* set = this->w->template findChild<QAction*>(this->w->objectName() == "SineDia" ? "SetRevArmPos" : "SetRevArmPos1");
    ASSERT_NE(set, nullptr);
    set->trigger();
    EXPECT_EQ(this->dialogShown, 2);
    EXPECT_EQ(this->w->DrawCount(), 3);
    EXPECT_FALSE(this->g.revArm.diagramRedrawPending);
    this->MoveMouse();
    EXPECT_EQ(this->w->DrawCount(), 3);
}

TYPED_TEST(DiagramWindowTest, BarChangesStepTheModelAndRedrawOnce) {
    this->AssignStroke();
    this->Open();
    QAction* dyn = this->w->template findChild<QAction*>(this->w->objectName() == "SineDia" ? "DynVari" : "DynVar");
    ASSERT_NE(dyn, nullptr);
    dyn->trigger();
    EXPECT_TRUE(this->g.dynVarDisplay);
    EXPECT_GT(this->mainSyncs, 0);
    const QString prefix = this->w->objectName() == "SineDia" ? "SBDynVarS" : "SBDynVarO";
    QScrollBar* bar1 = this->template Get<QScrollBar>((prefix + "1").toUtf8().constData());
    QScrollBar* bar2 = this->template Get<QScrollBar>((prefix + "2").toUtf8().constData());
    EXPECT_TRUE(bar1->isVisible());
    EXPECT_TRUE(bar1->isEnabled());
    EXPECT_FALSE(bar2->isEnabled()); // slot 2 empty

    const int draws = this->w->DrawCount();
    const float stroke = this->g.frame.stroke;
    const QImage before = this->w->Picture().copy();
    bar1->setValue(10); // a trough click: +0.01
    bar1->setValue(10);
    EXPECT_EQ(bar1->value(), 0);
    EXPECT_NEAR(this->g.frame.stroke, stroke + 0.02f, 1e-5);
    EXPECT_EQ(this->w->DrawCount(), draws); // not yet: coalesced
    QApplication::processEvents();
    EXPECT_EQ(this->w->DrawCount(), draws + 1);
    EXPECT_NE(this->w->Picture(), before);
}

TYPED_TEST(DiagramWindowTest, GestureEndRecordsUndoAndUnDoRedrawsTwice) {
    this->AssignStroke();
    this->g.dynVarDisplay = this->g.undoDisplay = true;
    this->Open();
    const QString prefix = this->w->objectName() == "SineDia" ? "SBDynVarS" : "SBDynVarO";
    QScrollBar* bar1 = this->template Get<QScrollBar>((prefix + "1").toUtf8().constData());
    const float stroke = this->g.frame.stroke;
    bar1->setFocus();
    QApplication::processEvents();
    QTest::keyClick(bar1, Qt::Key_PageDown); // one page: +10, the end of a gesture
    QApplication::processEvents();
    ASSERT_NE(this->g.frame.stroke, stroke);
    EXPECT_EQ(this->g.undoCount, 1);
    EXPECT_EQ(this->g.undo[1].id, 2);
    EXPECT_EQ(this->g.undo[1].oldValue, stroke);
    EXPECT_TRUE(this->g.undoButtonEnabled[0]); // the main window's UnDoDn
    const char* undoName = this->w->objectName() == "SineDia" ? "UnDoDnS" : "UnDoDnO";
    QPushButton* undo = this->template Get<QPushButton>(undoName);
    EXPECT_TRUE(undo->isVisible());
    EXPECT_TRUE(undo->isEnabled());

    const int draws = this->w->DrawCount();
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(this->w->DrawCount(), draws + 2);
    EXPECT_NEAR(this->g.frame.stroke, stroke, 1e-5);
    EXPECT_EQ(this->g.undoCount, 0);
    EXPECT_FALSE(undo->isEnabled());

    // With nothing to undo the click disables the buttons and still draws.
    undo->setEnabled(true);
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(this->w->DrawCount(), draws + 4);
    EXPECT_FALSE(this->g.undoButtonEnabled[0]);
}

// A bar step and the end of its gesture leave the picture a fresh
// clear-and-draw would give: the port lines move with a valve or cavity half
// at once, with no line or label left from before.
TYPED_TEST(DiagramWindowTest, BarGestureLeavesThePictureOfTheCurrentDesign) {
    const bool sine = this->w->objectName() == "SineDia";
    const QString prefix = sine ? "SBDynVarS" : "SBDynVarO";
    for (int id : {119, 121}) { // valve front half, cavity front half
        SCOPED_TRACE(id);
        GearState& g = this->g;
        const DimensionInfo* d = FindDimension(id);
        g.dynVarSlots[0] = {id, DimensionValue(g, *d), d->shortName};
        SelectDynVar(g);
        g.dynVarDisplay = g.undoDisplay = true;
        this->Open();
        QScrollBar* bar1 = this->template Get<QScrollBar>((prefix + "1").toUtf8().constData());
        const float before = DimensionValue(g, *d);
        bar1->setFocus();
        QApplication::processEvents();
        for (int i = 0; i < 3; ++i) { // three gestures of +0.01, the picture redrawn while the key is down
            QTest::keyPress(bar1, Qt::Key_PageDown);
            QApplication::processEvents();
            QTest::keyRelease(bar1, Qt::Key_PageDown);
            QApplication::processEvents();
        }
        ASSERT_NEAR(DimensionValue(g, *d), before + 0.03f, 1e-4);

        QImageCanvas fresh(this->w->Picture().width(), this->w->Picture().height());
        fresh.Clear(colors::kWhite);
        if (sine) DrawSineDiagram(g, fresh);
        else DrawOvalDiagram(g, fresh);
        EXPECT_TRUE(this->w->Picture() == fresh.Image());
        this->w->done(0);
    }
}

// With the large text scale the window grows with its texts' places, and
// comes back to its size with the default scale.
TYPED_TEST(DiagramWindowTest, WindowGrowsWithTheTextScale) {
    const QSize classic = this->w->Picture().size();
    this->g.textScaleX = 1.27f;
    this->g.textScaleY = 1.22f;
    this->Open();
    const QSize grown(static_cast<int>(std::lround(classic.width() * 1.27)),
                      static_cast<int>(std::lround(classic.height() * 1.22)));
    EXPECT_EQ(this->w->Picture().size(), grown);
    EXPECT_EQ(this->Canvas()->size(), grown);
    this->w->done(0);
    this->g.textScaleX = this->g.textScaleY = 1.0f;
    this->Open();
    EXPECT_EQ(this->w->Picture().size(), classic);
    EXPECT_EQ(this->Canvas()->size(), classic);
}

TYPED_TEST(DiagramWindowTest, PictureSurvivesBeingCovered) {
    this->Open();
    QWidget* canvas = this->Canvas();
    EXPECT_EQ(canvas->size(), this->w->Picture().size());
    // Whatever is repainted comes from the window's picture.
    const QImage shown = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = this->w->Picture().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(300, 380), picture.pixel(300, 380));
    int differing = 0;
    for (int y = 60; y < 340; y += 7)
        for (int x = 50; x < 580; x += 5)
            if (shown.pixel(x, y) != picture.pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
}

TEST(DiagramWindow, ClientSizesMenusAndControls) {
    GearState g;
    StartUp(g);
    DiagramHost host;
    host.model = &g;
    TSineDia sine(host);
    TOvalDia oval(host);
    EXPECT_EQ(test::Child<QWidget>(sine, "DiagramCanvas")->size(), QSize(632, 414));
    EXPECT_EQ(test::Child<QWidget>(oval, "DiagramCanvas")->size(), QSize(632, 426));
    EXPECT_EQ(test::Child<QPushButton>(sine, "CloseSin")->geometry(), QRect(408, 8, 75, 25));
    EXPECT_EQ(test::Child<QPushButton>(oval, "UnDoDnO")->geometry(), QRect(110, 50, 40, 16));
    EXPECT_EQ(test::Child<QScrollBar>(sine, "SBDynVarS4")->geometry(), QRect(112, 39, 121, 10));
    EXPECT_EQ(test::Child<QAction>(sine, "DynVari")->text(), "&DymamicVariables");
    EXPECT_EQ(test::Child<QAction>(oval, "ReDraw1")->text(), "ReDraw");
    EXPECT_FALSE(test::Child<QPushButton>(sine, "UnDoDnS")->isEnabled());
}

TEST(DiagramWindow, ActivationShowsTheRealPositionsDialog) {
    GearState g;
    StartUp(g); // positions 1..3 set by the mid-gear search, not yet counted
    TSetRevArm dialog(g);
    int shown = 0;
    DiagramHost host;
    host.model = &g;
    host.showPositionsDialog = [&] {
        ++shown;
        // The user closes the dialog with its "Close" button.
        QTimer::singleShot(0, &dialog, [&] {
            auto* close = dialog.findChild<QPushButton*>("Close1");
            if (close == nullptr) {
                ADD_FAILURE() << "no Close1 button";
                dialog.reject();
                return;
            }
            close->click();
        });
        dialog.exec();
    };
    TOvalDia w(host);
    w.open();
    for (int i = 0; i < 5 && w.DrawCount() == 0; ++i) QApplication::processEvents();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(g.revArm.positionCount, 3);
    EXPECT_TRUE(g.revArm.diagramRedrawPending);
    EXPECT_EQ(w.DrawCount(), 1);
    EXPECT_EQ(g.lastDiagramPosition, g.revArm.position[3]);
    w.done(0);
}

// Each diagram window opens with the caption the main window composes for
// its kind (name, date, time and version), as it shows it afterwards.
TEST(DiagramWindow, TitlesAreTheCaptionsOfTheirKind) {
    GearState g;
    StartUp(g);
    for (std::size_t k = 0; k < kCaptionWindows; ++k)
        g.display.captions[k] = WindowCaption(static_cast<WindowKind>(k), "Nominal", "10/12/2026", "12:00:00");
    DiagramHost host;
    host.model = &g;
    TSineDia sine(host);
    TOvalDia oval(host);
    TSteamDia steam(host);
    TPortDia ports(host);
    const struct {
        TDiagramWindow* w;
        const char* title;
    } cases[] = {
        {&sine, "VEXLIN Outside Adm      Sine Diagram    Nominal     10/12/2026   12:00:00   Version 2.8"},
        {&oval, "VEXLIN Outside Adm      Oval Diagram    Nominal     10/12/2026   12:00:00   Version 2.8"},
        {&steam, "VEXLIN Outside Adm      Steam Diagram    Nominal     10/12/2026   12:00:00   Version 2.8"},
        {&ports, "VEXLIN Outside Adm      Port Open/Closed    Nominal     10/12/2026   12:00:00   Version 2.8"},
    };
    for (const auto& c : cases) {
        c.w->open();
        QApplication::processEvents();
        EXPECT_EQ(c.w->windowTitle().toStdString(), c.title);
        c.w->done(0);
    }
}

TEST(DiagramWindow, WithoutADialogTheListIsTakenAsItStands) {
    GearState g = test::GearWithPositions({1.0f, 0.0f, 2.0f});
    g.revArm.positionCount = 0;
    TakePositionList(g);
    EXPECT_EQ(g.revArm.positionCount, 1);
    EXPECT_EQ(g.revArm.position[3], 0.0f); // cleared behind the first unused entry
    EXPECT_TRUE(g.revArm.diagramRedrawPending);
}

} // namespace
} // namespace vx
