// The dynamic-variable bars in each of the five windows that carry them:
// a greyed bar (empty slot) swallows its clicks, an enabled one makes one
// undo entry per gesture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>


#include "model/workspace/dynvar.h"
#include "tests/gui/controls/five_windows.h"

namespace vx {
namespace {

// Counts the mouse presses and releases that reach a widget.
class PressCounter final : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease) ++count;
        return false;
    }
};

TEST(DynVarBars, AGreyedBarIgnoresClicksInEveryWindow) {
    for (const test::WindowRow& row : test::kBarWindows) {
        SCOPED_TRACE(row.name);
        test::BarWindow w = row.make(true);
        GearState& g = *w.g;
        QScrollBar* bar1 = w.Bar(1);
        QScrollBar* bar2 = w.Bar(2);
        ASSERT_NE(bar1, nullptr);
        ASSERT_NE(bar2, nullptr);
        ASSERT_TRUE(bar1->isVisible());
        ASSERT_TRUE(bar1->isEnabled());
        ASSERT_FALSE(bar2->isEnabled()); // slot 2 shows "??"

        // An earlier change, the entry UnDo must keep reaching.
        bar1->setFocus();
        QTest::mouseClick(bar1, Qt::LeftButton, {}, QPoint(60, 5)); // a trough click
        ASSERT_EQ(g.undoCount, 1);
        const UndoEntry earlier = g.undo[1];
        ASSERT_EQ(earlier.id, 2);

        PressCounter behind;
        bar2->parentWidget()->installEventFilter(&behind);
        const float ref1X = g.piv.x[kRefPoint1], ref1Y = g.piv.y[kRefPoint1];
        const float stroke = g.frame.stroke;
        for (QPoint at : {QPoint(3, 5), QPoint(60, 5), QPoint(117, 5)}) {
            QTest::mouseClick(bar2, Qt::LeftButton, {}, at);
            QTest::mouseDClick(bar2, Qt::LeftButton, {}, at);
        }
        bar2->parentWidget()->removeEventFilter(&behind);

        EXPECT_EQ(behind.count, 0) << "a press fell through to the picture";
        EXPECT_EQ(g.undoCount, 1);
        EXPECT_EQ(g.undo[1].id, earlier.id);
        EXPECT_EQ(g.undo[1].oldValue, earlier.oldValue);
        EXPECT_EQ(g.undo[2].id, 0);
        EXPECT_EQ(g.piv.x[kRefPoint1], ref1X);
        EXPECT_EQ(g.piv.y[kRefPoint1], ref1Y);
        EXPECT_EQ(g.frame.stroke, stroke);

        // UnDo still reaches the earlier change.
        UndoLast(g);
        EXPECT_EQ(g.frame.stroke, earlier.oldValue);
    }
}

} // namespace
} // namespace vx
