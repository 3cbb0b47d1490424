// The undo and redo keys in each of the five windows with an UnDo button,
// with the dynamic variables shown and hidden.
#include <gtest/gtest.h>

#include <QTest>

#include "gui/diagrams/diagram_window.h"
#include "model/workspace/dimension_edit.h"
#include "model/workspace/undo_redo.h"
#include "tests/gui/controls/five_windows.h"

namespace vx {
namespace {

struct KeyStep {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    float stroke; // after the key
    int undoCount, redoCount;
};

TEST(UndoKeys, UndoAndRedoInEveryWindowWhetherOrNotTheVariablesShow) {
    const auto ctrl = Qt::ControlModifier;
    const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    // Two edits (Stroke 3 -> 4 -> 5), then keys.
    const KeyStep steps[] = {
        {Qt::Key_Z, ctrl, 4, 1, 1},      {Qt::Key_Z, ctrl, 3, 0, 2},
        {Qt::Key_Z, ctrl, 3, 0, 2},      // nothing left to undo
        {Qt::Key_Z, ctrlShift, 4, 1, 1}, {Qt::Key_Y, ctrl, 5, 2, 0},
        {Qt::Key_Y, ctrl, 5, 2, 0},      // nothing left to redo
        {Qt::Key_Z, ctrl, 4, 1, 1},
    };
    for (const test::WindowRow& row : test::kBarWindows) {
        for (bool shown : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (shown ? " shown" : " hidden"));
            test::BarWindow w = row.make(shown);
            GearState& g = *w.g;
            for (float v : {4.0f, 5.0f}) {
                g.undoPending = true;
                CommitEditorBox(g, 2, v);
            }
            w.window->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
            auto* diagram = qobject_cast<TDiagramWindow*>(w.window.get());
            for (const KeyStep& s : steps) {
                const int draws = diagram ? diagram->DrawCount() : 0;
                const int undoBefore = g.undoCount;
                QTest::keyClick(w.window.get(), s.key, s.modifiers);
                EXPECT_FLOAT_EQ(g.frame.stroke, s.stroke);
                EXPECT_EQ(g.undoCount, s.undoCount);
                EXPECT_EQ(g.redoCount, s.redoCount);
                // A diagram shows the changed design at once.
                if (diagram && g.undoCount != undoBefore) {
                    EXPECT_GT(diagram->DrawCount(), draws);
                }
            }
            // The last key undid 5 -> 4: the notice says so.
            FixedText<128> notice;
            ASSERT_TRUE(ComposeUndoNotice(g, notice));
            EXPECT_EQ(notice.View(), "UnDone Stroke  5.000 to  4.000");
        }
    }
}

} // namespace
} // namespace vx
