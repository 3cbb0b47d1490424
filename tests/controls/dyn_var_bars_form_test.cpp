// The dynamic-variable bars in each of the five windows that carry them:
// a greyed bar (empty slot) swallows its clicks, an enabled one makes one
// undo entry per gesture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "diagrams/oval_window.h"
#include "diagrams/port_window.h"
#include "diagrams/sine_window.h"
#include "diagrams/steam_window.h"
#include "mainwindow/main_form.h"
#include "model/defaults.h"
#include "model/dynvar.h"

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

// One window with its bars showing slot 1 assigned and slots 2..4 empty.
struct BarWindow {
    std::unique_ptr<QWidget> window;
    GearState* g = nullptr;
    const char* prefix = nullptr;
    QScrollBar* Bar(int n) const {
        return window->findChild<QScrollBar*>(QString::fromUtf8(prefix) + QString::number(n));
    }
};

void AssignStroke(GearState& g) {
    g.dynVarSlots[0] = {2, g.frame.stroke, "Stroke"};
    SelectDynVar(g);
}

BarWindow MainWindow() {
    auto form = std::make_unique<TMainForm>();
    form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    BarWindow w;
    w.g = &form->Model();
    w.prefix = "SBDynVar";
    AssignStroke(*w.g);
    form->RunCommand(TMainForm::Command::ReferPoints); // a press on the picture would move point 1
    form->RunCommand(TMainForm::Command::DynamicVari);
    form->show();
    form->Tick(); // the frame enables the bars of the assigned slots
    w.window = std::move(form);
    return w;
}

template <class Window>
BarWindow DiagramWindow(const char* prefix) {
    static GearState g;
    g = GearState{};
    StartUp(g);
    AssignStroke(g);
    ToggleDynVarDisplay(g);
    DiagramHost host;
    host.model = &g;
    auto window = std::make_unique<Window>(host);
    window->open();
    QApplication::processEvents();
    QApplication::processEvents();
    BarWindow w;
    w.g = &g;
    w.prefix = prefix;
    w.window = std::move(window);
    return w;
}

struct WindowRow {
    const char* name;
    std::function<BarWindow()> make;
};

const WindowRow kWindows[] = {
    {"main", MainWindow},
    {"sine", [] { return DiagramWindow<TSineDia>("SBDynVarS"); }},
    {"oval", [] { return DiagramWindow<TOvalDia>("SBDynVarO"); }},
    {"steam", [] { return DiagramWindow<TSteamDia>("SBDynVarST"); }},
    {"ports", [] { return DiagramWindow<TPortDia>("SBDynVarP"); }},
};

TEST(DynVarBars, AGreyedBarIgnoresClicksInEveryWindow) {
    for (const WindowRow& row : kWindows) {
        SCOPED_TRACE(row.name);
        BarWindow w = row.make();
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
