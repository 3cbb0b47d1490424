// The steam diagram window with real widgets: activation, the redraw on a
// mouse move after the positions dialog, and UnDo drawing once.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <vector>

#include "gui/diagrams/steam_window.h"
#include "model/workspace/defaults.h"
#include "model/workspace/dynvar.h"
#include "tests/gui/diagrams/diagram_window_fixture.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

using SteamWindowTest = test::DiagramWindowFixture<TSteamDia>;

TEST_F(SteamWindowTest, OpensWithThePositionsDialogAndDrawsTheCurves) {
    g.motion.driverAngle = 45;
    Open();
    EXPECT_EQ(timerCalls, std::vector<bool>{false});
    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(w->DrawCount(), 1);
    EXPECT_EQ(g.lastDiagramPosition, g.revArm.position[3]);
    EXPECT_EQ(g.motion.driverAngle, 45);
    EXPECT_TRUE(Get<QPushButton>("CloseStm")->hasFocus());
    EXPECT_EQ(Get<QPushButton>("CloseStm")->geometry(), QRect(408, 8, 75, 25));
    EXPECT_EQ(w->Picture().size(), QSize(632, 414));
    // The front curves in purple and green are on the picture.
    const QImage pic = w->Picture().convertToFormat(QImage::Format_RGB32);
    int purple = 0;
    for (int y = 60; y < 343; ++y)
        for (int x = 44; x < 585; ++x) purple += pic.pixel(x, y) == qRgb(128, 0, 128);
    EXPECT_GT(purple, 100);

    w->done(0);
    EXPECT_EQ(timerCalls, (std::vector<bool>{false, true}));
}

TEST_F(SteamWindowTest, MenuCommands) {
    Open();
    for (const char* name : {"SetRevArmPos", "ReDraw", "DynVari"}) EXPECT_NE(w->findChild<QAction*>(name), nullptr);
    EXPECT_EQ(test::Child<QAction>(*w, "DynVari")->text(), "DynamicVari");
    const int draws = w->DrawCount();
    test::Child<QAction>(*w, "ReDraw")->trigger();
    EXPECT_EQ(w->DrawCount(), draws + 1);
    // A changed positions list is drawn as the dialog closes: the mouse
    // need not move over the picture.
    test::Child<QAction>(*w, "SetRevArmPos")->trigger();
    EXPECT_EQ(dialogShown, 2);
    EXPECT_EQ(w->DrawCount(), draws + 2);
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), QPointF(300, 200), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w->findChild<QWidget*>("DiagramCanvas"), &move);
    EXPECT_EQ(w->DrawCount(), draws + 2);
}

TEST_F(SteamWindowTest, UnDoDrawsOnce) {
    g.dynVarSlots[0] = {2, g.frame.stroke, "Stroke"};
    SelectDynVar(g);
    g.dynVarDisplay = g.undoDisplay = true;
    Open();
    QScrollBar* bar1 = Get<QScrollBar>("SBDynVarST1");
    ASSERT_TRUE(bar1->isVisible());
    const float stroke = g.frame.stroke;
    bar1->setFocus();
    QApplication::processEvents();
    QTest::keyClick(bar1, Qt::Key_PageDown);
    QApplication::processEvents();
    ASSERT_NE(g.frame.stroke, stroke);
    QPushButton* undo = Get<QPushButton>("UnDoDnSt");
    ASSERT_TRUE(undo->isVisible());
    ASSERT_TRUE(undo->isEnabled());
    const int draws = w->DrawCount();
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(w->DrawCount(), draws + 1);
    EXPECT_NEAR(g.frame.stroke, stroke, 1e-5);
}

} // namespace
} // namespace vx
