// The sensitivity and tolerance windows with real widgets: the chart of the
// chosen notch and figure, a bar step followed, a double click making a
// dimension the newest dynamic variable, Copy; the tolerance run in its
// worker with progress, Cancel, settings that are wrong, a design changed
// since the run, and closing during a run.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "gui/diagrams/sensitivity_window.h"
#include "gui/diagrams/tolerance_window.h"
#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "scene/diagrams/sensitivity_drawing.h"
#include "tests/gui/diagrams/diagram_window_fixture.h"
#include "tests/kit/decimal_comma_locale.h"

namespace vx {
namespace {

class SensitivityWindowTest : public test::DiagramWindowFixture<TSensitivityDia> {};

TEST_F(SensitivityWindowTest, ShowsTheRankingOfTheChosenNotchAndFigure) {
    Open();
    EXPECT_EQ(w->windowTitle(), "Sensitivity");
    EXPECT_EQ(dialogShown, 0); // the nine notches, no positions list
    EXPECT_EQ(w->Picture().size(), QSize(kSensitivityWindowWidth, kSensitivityWindowHeight));
    for (const char* name : {"CopySensitivity", "ReDraw", "DynVari"}) EXPECT_NE(w->findChild<QAction*>(name), nullptr);
    ASSERT_TRUE(w->Result().Ok());
    ASSERT_EQ(w->Result().positions.size(), 1u);
    EXPECT_EQ(w->Result().positions[0].position, NotchPositions(g, SolveMode::Exact)[0]); // the exact solve's mid gear

    SensitivitySettings s;
    s.notch = 6;
    const SensitivityResult direct = ComputeSensitivity(g, s);
    Get<QComboBox>("SensitivityNotch")->setCurrentIndex(6);
    ASSERT_EQ(w->Result().positions[0].position, direct.positions[0].position);
    EXPECT_EQ(SensitivityCsv(w->Result()), SensitivityCsv(direct));
    const int draws = w->DrawCount();
    Get<QComboBox>("SensitivityFigure")->setCurrentIndex(static_cast<int>(EventFigure::LeadRear));
    EXPECT_EQ(w->DrawCount(), draws + 1);
    std::vector<int> expected;
    for (const int d : RankDimensions(direct, 0, EventFigure::LeadRear)) expected.push_back(direct.ids[static_cast<std::size_t>(d)]);
    EXPECT_EQ(w->RankedIds(), expected);

    QApplication::clipboard()->clear();
    Get<QAction>("CopySensitivity")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), SensitivityCsv(direct));
}

TEST_F(SensitivityWindowTest, ABarStepComputesItAgainAndUnDoTakesItBack) {
    g.dynVarSlots[0] = {8, g.frame.eccFwdRod, "Eccentric Forward Rod"};
    SelectDynVar(g);
    g.dynVarDisplay = g.undoDisplay = true;
    Open();
    const std::string before = w->Csv();
    QScrollBar* bar1 = Get<QScrollBar>("SBDynVarN1");
    ASSERT_TRUE(bar1->isVisible());
    bar1->setFocus();
    QApplication::processEvents();
    QTest::keyClick(bar1, Qt::Key_PageDown);
    QApplication::processEvents();
    EXPECT_NE(w->Csv(), before);
    QPushButton* undo = Get<QPushButton>("UnDoDnN");
    ASSERT_TRUE(undo->isEnabled());
    while (g.undo[1].id > 0) QTest::mouseClick(undo, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(w->Csv(), before);
}

TEST_F(SensitivityWindowTest, ADoubleClickMakesTheRowsDimensionTheNewestDynamicVariable) {
    Open();
    const std::vector<int> ids = w->RankedIds();
    ASSERT_GE(ids.size(), 3u);
    const int undoCount = g.undoCount;
    // The third row, clicked twice on the picture.
    QWidget* canvas = w->findChild<QWidget*>("DiagramCanvas");
    ASSERT_NE(canvas, nullptr);
    const int y = kSensitivityChartTop + kSensitivityRowHeight + 6 + 2 * kSensitivityRowHeight + 5;
    ASSERT_EQ(SensitivityChartRowAt(kSensitivityChartTop, y), 2);
    const int syncs = mainSyncs;
    QTest::mouseDClick(canvas, Qt::LeftButton, {}, QPoint(60, y));
    const DimensionInfo* d = FindDimension(ids[2]);
    EXPECT_EQ(g.dynVarSlots[1].id, ids[2]);
    EXPECT_EQ(g.dynVarSlots[1].value, DimensionValue(g, *d));
    EXPECT_EQ(g.undoCount, undoCount); // nothing typed, nothing to undo
    EXPECT_GT(mainSyncs, syncs);
    // Above the rows, nothing.
    EXPECT_EQ(w->MakeDynamicVariableAt(kSensitivityChartTop), 0);
}

class ToleranceWindowTest : public test::DiagramWindowFixture<TToleranceDia> {
protected:
    void Set(const char* name, const QString& text) { Get<QLineEdit>(name)->setText(text); }
    // Lets the worker finish, as the event loop would.
    void WaitForTheRun() {
        QElapsedTimer t;
        t.start();
        while (w->Running() && t.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 20);
        QApplication::processEvents();
    }
};

TEST_F(ToleranceWindowTest, RunsOnACopyAndShowsTheSpreadOfTheCommandLine) {
    Open();
    EXPECT_EQ(w->windowTitle(), "Tolerance");
    EXPECT_FALSE(w->Result().has_value());
    EXPECT_TRUE(Get<QPushButton>("Run")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>("Cancel")->isEnabled());
    Set("TolSamples", "20");
    Set("TolWear", "0.001");
    Set("TolSeed", "5");
    QString fault;
    const auto settings = w->Settings(fault);
    ASSERT_TRUE(settings.has_value()) << fault.toStdString();
    EXPECT_EQ(Get<QLineEdit>("TolLengths")->text(), "0.002");
    QTest::mouseClick(Get<QPushButton>("Run"), Qt::LeftButton);
    EXPECT_TRUE(w->Running());
    EXPECT_FALSE(Get<QPushButton>("Run")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>("Cancel")->isEnabled());
    WaitForTheRun();
    ASSERT_TRUE(w->Result().has_value());
    EXPECT_EQ(w->Csv(), ToleranceCsv(RunTolerance(g, *settings)));
    EXPECT_EQ(Get<QProgressBar>("Progress")->value(), Get<QProgressBar>("Progress")->maximum());
    EXPECT_TRUE(Get<QPushButton>("Run")->isEnabled());

    QApplication::clipboard()->clear();
    Get<QAction>("CopyTolerance")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), w->Csv());

    // A change of the design (as a bar makes it) marks the result old.
    EXPECT_FALSE(w->DesignChanged());
    g.frame.eccFwdRod += 0.01f;
    EXPECT_TRUE(w->DesignChanged());
    const QImage before = w->Picture().copy();
    Get<QAction>("ReDraw")->trigger();
    EXPECT_FALSE(w->Result()->positions.empty());
    EXPECT_NE(w->Picture(), before); // the warning above the result
}

TEST_F(ToleranceWindowTest, WrongSettingsAreNamedAndNothingRuns) {
    Open();
    const struct {
        const char* box;
        const char* text;
        const char* says;
    } cases[] = {
        {"TolLengths", "-1", "Lengths"}, {"TolAngles", "nan", "Angles"},   {"TolWear", "x", "Wear"},
        {"TolSamples", "0", "Samples"},  {"TolSamples", "2000000", "Samples"}, {"TolSeed", "-2", "Seed"},
        {"TolThreshold", "inf", "Threshold"}, {"TolWear", "0x10", "Wear"}, {"TolLengths", "1,2,3", "Lengths"},
    };
    for (const auto& c : cases) {
        const QString old = Get<QLineEdit>(c.box)->text();
        Set(c.box, QString::fromUtf8(c.text));
        QTest::mouseClick(Get<QPushButton>("Run"), Qt::LeftButton);
        EXPECT_FALSE(w->Running()) << c.box;
        EXPECT_TRUE(w->Status().contains(QString::fromUtf8(c.says))) << w->Status().toStdString();
        Set(c.box, old);
    }
}

// Under a decimal-comma locale the boxes still show a point, and a comma
// typed in any of them is the decimal point, as in every box of the program.
TEST_F(ToleranceWindowTest, BoxesShowAPointAndTakeACommaUnderAnyLocale) {
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Active()) << test::DecimalCommaLocale::kWhy;
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Open();
    EXPECT_EQ(Get<QLineEdit>("TolLengths")->text(), "0.002");
    EXPECT_EQ(Get<QLineEdit>("TolAngles")->text(), "0.1");
    Set("TolLengths", "0,004");
    Set("TolThreshold", " 0,25 ");
    QString fault;
    const auto settings = w->Settings(fault);
    QLocale::setDefault(saved);
    ASSERT_TRUE(settings.has_value()) << fault.toStdString();
    EXPECT_FLOAT_EQ(settings->threshold, 0.25f);
    EXPECT_FLOAT_EQ(ToleranceOf(*settings, 1), 0.004f); // Driver Dia, a length
}

TEST_F(ToleranceWindowTest, CancelAndClosingEndTheRun) {
    Open();
    Set("TolSamples", "100000");
    QTest::mouseClick(Get<QPushButton>("Run"), Qt::LeftButton);
    ASSERT_TRUE(w->Running());
    QTest::mouseClick(Get<QPushButton>("Cancel"), Qt::LeftButton);
    WaitForTheRun();
    EXPECT_FALSE(w->Running());
    EXPECT_FALSE(w->Result().has_value());
    EXPECT_EQ(w->Status(), "Cancelled.");
    // Closing during a run cancels it and waits for it.
    QTest::mouseClick(Get<QPushButton>("Run"), Qt::LeftButton);
    ASSERT_TRUE(w->Running());
    w->done(0);
    EXPECT_FALSE(w->Running());
    EXPECT_EQ(timerCalls.back(), true);
}

} // namespace
} // namespace vx
