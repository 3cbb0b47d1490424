// The port events window with real widgets: no positions dialog, the graph
// modes of its SetUp menu, PortGraphChoice surviving reopening, and the
// redraws that draw both graphs in mode both.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <vector>

#include "gui/diagrams/port_window.h"
#include "scene/diagrams/diagram_common.h"
#include "model/workspace/defaults.h"
#include "model/workspace/dynvar.h"
#include "tests/gui/diagrams/diagram_window_fixture.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

class PortWindowTest : public test::DiagramWindowFixture<TPortDia> {
protected:
    // Pixels of a colour on the picture.
    int Count(QRgb color) const {
        const QImage pic = w->Picture().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width(); ++x) n += pic.pixel(x, y) == color;
        return n;
    }
    static constexpr QRgb kTeal = qRgb(0, 128, 128);
    static constexpr QRgb kMaroon = qRgb(128, 0, 0);
};

TEST_F(PortWindowTest, FirstOpeningDrawsBothGraphsWithoutAskingPositions) {
    Open();
    EXPECT_EQ(timerCalls, std::vector<bool>{false});
    EXPECT_EQ(dialogShown, 0);
    EXPECT_EQ(w->DrawCount(), 2);
    EXPECT_EQ(w->Mode(), PortGraphMode::Both);
    EXPECT_EQ(g.portGraphChoice, kPortChoiceBoth);
    EXPECT_GT(Count(kTeal), 100);
    EXPECT_GT(Count(kMaroon), 100);
    // No redraw on a mouse move, even with the flag set.
    g.revArm.diagramRedrawPending = true;
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), QPointF(300, 200), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w->findChild<QWidget*>("DiagramCanvas"), &move);
    EXPECT_EQ(w->DrawCount(), 2);
    EXPECT_EQ(w->findChild<QAction*>("SetRevArmPos"), nullptr);
    EXPECT_EQ(test::Child<QPushButton>(*w, "ClosePort")->geometry(), QRect(447, 2, 75, 25));
    // The bars and UnDo stand above the grid's top row, clear of its ticks.
    for (const char* name : {"SBDynVarP1", "SBDynVarP2", "SBDynVarP3", "SBDynVarP4", "UnDoDnP"})
        EXPECT_LT(test::Child<QWidget>(*w, name)->geometry().bottom(), kPortGridTop) << name;
    EXPECT_FALSE(test::Child<QWidget>(*w, "UnDoDnP")->geometry().intersects(
        test::Child<QWidget>(*w, "SBDynVarP1")->geometry()));
}

TEST_F(PortWindowTest, ChosenGraphSurvivesReopening) {
    Open();
    Trigger("ForwardGraph1");
    EXPECT_EQ(w->Mode(), PortGraphMode::Forward);
    EXPECT_EQ(g.portGraphChoice, kPortChoiceForward);
    EXPECT_GT(Count(kTeal), 100);
    EXPECT_EQ(Count(kMaroon), 0);
    w->done(0);
    EXPECT_EQ(timerCalls, (std::vector<bool>{false, true}));

    int draws = w->DrawCount();
    Open();
    EXPECT_EQ(w->DrawCount(), draws + 1);
    EXPECT_EQ(w->Mode(), PortGraphMode::Forward);
    EXPECT_EQ(Count(kMaroon), 0);

    Trigger("ReverseGraph1");
    EXPECT_EQ(g.portGraphChoice, kPortChoiceReverse);
    EXPECT_EQ(Count(kTeal), 0);
    EXPECT_GT(Count(kMaroon), 100);
    w->done(0);
    Open();
    EXPECT_EQ(w->Mode(), PortGraphMode::Reverse);
    EXPECT_EQ(Count(kTeal), 0);

    draws = w->DrawCount();
    Trigger("BothGraphs1");
    EXPECT_EQ(w->DrawCount(), draws + 2);
    EXPECT_EQ(g.portGraphChoice, kPortChoiceBoth);
    EXPECT_EQ(w->Mode(), PortGraphMode::Both);
}

TEST_F(PortWindowTest, RedrawsInModeBothDrawBothGraphs) {
    g.dynVarSlots[0] = {2, g.frame.stroke, "Stroke"};
    SelectDynVar(g);
    Open();
    int draws = w->DrawCount();
    Trigger("ReDraw1");
    EXPECT_EQ(w->DrawCount(), draws + 2);

    Trigger("DynamicVari1");
    EXPECT_TRUE(g.dynVarDisplay);
    EXPECT_EQ(w->DrawCount(), draws + 4);
    QScrollBar* bar1 = w->findChild<QScrollBar*>("SBDynVarP1");
    ASSERT_NE(bar1, nullptr);
    ASSERT_TRUE(bar1->isVisible());

    // A bar change redraws both graphs once the waiting events are handled.
    draws = w->DrawCount();
    bar1->setValue(10);
    QApplication::processEvents();
    EXPECT_EQ(w->DrawCount(), draws + 2);

    // The end of a gesture: an undo entry and both graphs again.
    const float stroke = g.frame.stroke;
    bar1->setFocus();
    QApplication::processEvents();
    draws = w->DrawCount();
    QTest::keyClick(bar1, Qt::Key_PageDown);
    QApplication::processEvents();
    EXPECT_EQ(g.undoCount, 1);
    // A trough step: a hundredth of a unit.
    EXPECT_NEAR(g.frame.stroke, stroke + 0.01f, 1e-5);
    EXPECT_GE(w->DrawCount(), draws + 2);
    EXPECT_TRUE(test::Child<QPushButton>(*w, "ClosePort")->hasFocus());

    QPushButton* undo = w->findChild<QPushButton*>("UnDoDnP");
    ASSERT_TRUE(undo->isVisible());
    draws = w->DrawCount();
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(w->DrawCount(), draws + 2);
    // Back to the value the bar had when it took the focus (the refresh of
    // the slots may leave it one rounding step away).
    EXPECT_NE(g.frame.stroke, stroke + 0.01f);
    EXPECT_NEAR(g.frame.stroke, stroke, 1e-5);
    EXPECT_EQ(g.undoCount, 0);
}

TEST_F(PortWindowTest, SingleModeRedrawsOnce) {
    Open();
    Trigger("ReverseGraph1");
    const int draws = w->DrawCount();
    Trigger("ReDraw1");
    EXPECT_EQ(w->DrawCount(), draws + 1);
    EXPECT_EQ(Count(kTeal), 0);
}

} // namespace
} // namespace vx
