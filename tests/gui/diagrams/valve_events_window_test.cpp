// The valve events window with real widgets: the table of the listed
// positions on opening, a bar step followed at once (and coalesced), UnDo,
// Copy as CSV, and the thresholds that mark front/rear differences.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "gui/diagrams/valve_events_window.h"
#include "model/workspace/dynvar.h"
#include "model/analysis/valve_events_text.h"
#include "tests/gui/diagrams/diagram_window_fixture.h"

namespace vx {
namespace {

class ValveEventsWindowTest : public test::DiagramWindowFixture<TEventsDia> {
protected:
    void AssignValveRod() {
        g.dynVarSlots[0] = {122, g.cyl.valveCtrToJoint(), "ValveCtrToJoint"};
        SelectDynVar(g);
        g.dynVarDisplay = g.undoDisplay = true;
    }
    // Pixels of the marking colours (red on yellow) in the picture.
    int MarkedPixels() const {
        const QImage pic = w->Picture().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < pic.height(); ++y)
            for (int x = 0; x < pic.width(); ++x) n += pic.pixel(x, y) == qRgb(255, 255, 0);
        return n;
    }
    static std::optional<float> FrontCutOff(const TEventsDia& w, int i) {
        return w.Events()[static_cast<std::size_t>(i)].front.cutOff;
    }
};

TEST_F(ValveEventsWindowTest, OpensOnThePositionsListWithTheExactEvents) {
    Open();
    EXPECT_EQ(timerCalls, std::vector<bool>{false});
    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(w->DrawCount(), 1);
    EXPECT_EQ(w->windowTitle(), "Valve Events");
    ASSERT_EQ(w->Events().size(), 3u); // mid gear, full forward, full reverse
    const PositionEvents direct = ComputeValveEvents(g, g.revArm.position[2]);
    EXPECT_EQ(w->Events()[1].front.cutOff, direct.front.cutOff);
    EXPECT_EQ(w->Events()[1].position, g.revArm.position[2]);
    EXPECT_TRUE(w->Events()[1].forward);
    EXPECT_TRUE(w->Events()[0].forward); // mid gear runs forward, as the window runs it
    EXPECT_FALSE(w->Events()[2].forward);
    EXPECT_EQ(w->Picture().size(), QSize(kEventsWindowWidth, kEventsWindowHeight));
    for (const char* name : {"SetRevArmPos", "Thresholds", "CopyEvents", "ReDraw", "DynVari"}) {
        EXPECT_NE(w->findChild<QAction*>(name), nullptr) << name;
    }
    EXPECT_EQ(g.motion.reverseArmPosition, g.revArm.centre); // the model's motion untouched
}

TEST_F(ValveEventsWindowTest, ABarStepUpdatesTheTableOnceAndUnDoRestoresIt) {
    AssignValveRod();
    Open();
    const std::optional<float> before = FrontCutOff(*w, 1);
    const QImage pictureBefore = w->Picture().copy();
    QScrollBar* bar1 = Get<QScrollBar>("SBDynVarE1");
    ASSERT_TRUE(bar1->isVisible());
    ASSERT_TRUE(bar1->isEnabled());
    const int draws = w->DrawCount();
    bar1->setValue(10); // two trough clicks: +0.02 to the valve rod
    bar1->setValue(10);
    EXPECT_EQ(w->DrawCount(), draws); // coalesced: one redraw for both
    QApplication::processEvents();
    EXPECT_EQ(w->DrawCount(), draws + 1);
    const PositionEvents direct = ComputeValveEvents(g, g.revArm.position[2]);
    // The same events, to the exact solve's root tolerance.
    ASSERT_TRUE(FrontCutOff(*w, 1) && direct.front.cutOff);
    EXPECT_NEAR(*FrontCutOff(*w, 1), *direct.front.cutOff, 1e-6);
    EXPECT_NE(FrontCutOff(*w, 1), before);
    EXPECT_NE(w->Picture(), pictureBefore);

    // A gesture's end records the undo entry from where the bar was entered;
    // UnDo takes the table back there.
    const std::optional<float> entered = FrontCutOff(*w, 1);
    bar1->setFocus();
    QApplication::processEvents();
    QTest::keyClick(bar1, Qt::Key_PageDown);
    QApplication::processEvents();
    ASSERT_NE(FrontCutOff(*w, 1), entered);
    QPushButton* undo = Get<QPushButton>("UnDoDnE");
    ASSERT_TRUE(undo->isVisible());
    ASSERT_TRUE(undo->isEnabled());
    while (g.undo[1].id > 0) QTest::mouseClick(undo, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(FrontCutOff(*w, 1).has_value());
    EXPECT_EQ(FrontCutOff(*w, 1), entered);
}

TEST_F(ValveEventsWindowTest, CopyPutsTheTableOnTheClipboardAsCsv) {
    Open();
    QApplication::clipboard()->clear();
    Trigger("CopyEvents");
    const std::string text = QApplication::clipboard()->text().toStdString();
    EXPECT_EQ(text.rfind(kValveEventsCsvHeader, 0), 0u);
    // Header and two rows per position, each row with its offset from mid
    // gear, as the command line writes it: mid gear, full forward, full
    // reverse of the positions list.
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
        rows.push_back(fields);
    }
    ASSERT_EQ(rows.size(), 1u + 2 * 3);
    const auto column = std::find(rows[0].begin(), rows[0].end(), "offset") - rows[0].begin();
    ASSERT_LT(static_cast<std::size_t>(column), rows[0].size());
    const char* offsets[] = {"0", "0", "-1", "-1", "1", "1"};
    for (std::size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), rows[0].size()) << i;
        EXPECT_EQ(rows[i][static_cast<std::size_t>(column)], offsets[i - 1]) << i;
    }
}

TEST_F(ValveEventsWindowTest, ThresholdsMarkTheDifferencesOverThem) {
    // Three quarter forward: the cut-off differs by about 3.9 points.
    g.revArm.position[1] = g.revArm.centre - 0.75f * g.frame.revArmToCentNorm;
    g.revArm.position[2] = 0;
    Open();
    ASSERT_EQ(w->Events().size(), 1u);
    const int marked = MarkedPixels();
    EXPECT_GT(marked, 0);
    w->SetThresholds({100, 10});
    EXPECT_EQ(MarkedPixels(), 0);
    w->SetThresholds({1, 0.005f});
    EXPECT_EQ(MarkedPixels(), marked);

    // Through the dialog: the values typed are the thresholds.
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        d->findChild<QDoubleSpinBox*>("PercentThreshold")->setValue(5);
        d->findChild<QDoubleSpinBox*>("LeadThreshold")->setValue(0.05);
        d->accept();
    });
    Trigger("Thresholds");
    EXPECT_FLOAT_EQ(w->Thresholds().percent, 5);
    EXPECT_FLOAT_EQ(w->Thresholds().lead, 0.05f);
}

// A design that does not close: the window says so under the tables, in
// red, and leaves the main window's error indicator alone.
TEST_F(ValveEventsWindowTest, GeometryErrorsAreShownNotRaised) {
    g.frame.mainRodLength = 1;
    g.geometryError = false;
    Open();
    ASSERT_EQ(w->Events().size(), 3u);
    EXPECT_FALSE(w->Events()[1].Closes());
    EXPECT_FALSE(g.geometryError);
    const QImage pic = w->Picture().convertToFormat(QImage::Format_RGB32);
    // Below the tables (whose marked cells are red on yellow) and the note.
    int below = 0;
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            if (pic.pixel(x, y) == qRgb(255, 255, 0)) below = y + 40;
    int red = 0;
    for (int y = below; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) red += pic.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 50);
}

} // namespace
} // namespace vx
