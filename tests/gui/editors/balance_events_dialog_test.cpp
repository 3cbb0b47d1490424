// The Balance Events window driven through its real controls, on the main
// window: Run with its progress, Cancel, Apply, and the main window's UnDo
// walking every change back; a problem that cannot be searched is told in
// the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <functional>
#include <vector>

#include "gui/editors/balance_events_dialog.h"
#include "gui/main/main_form.h"
#include "model/analysis/balance.h"
#include "model/gear/dimensions.h"

namespace vx {
namespace {

class BalanceEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        ASSERT_NE(dialog, nullptr);
        dialog->show();
    }
    void TearDown() override { dialog->reject(); }

    template <class T>
    T* Get(const char* name) {
        T* w = dialog->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }
    void SetText(const char* name, const char* text) { Get<QLineEdit>(name)->setText(QString::fromUtf8(text)); }

    // Ticks a dimension and types its bounds into the table.
    void Vary(const char* field, const char* lower, const char* upper) {
        auto* table = Get<QTableWidget>("Dimensions");
        const int row = dialog->DimensionRow(FindDimensionByField(field)->id);
        ASSERT_GE(row, 0) << field;
        table->item(row, 0)->setCheckState(Qt::Checked);
        table->item(row, 2)->setText(QString::fromUtf8(lower));
        table->item(row, 3)->setText(QString::fromUtf8(upper));
    }
    void VaryTheFour() {
        Vary("valveCtrToJoint", "3.603", "3.803");
        Vary("eccFwdRod", "7.15", "7.35");
        Vary("radRodTotalLength", "5.0", "5.2");
        Vary("exLinkEccRodBackSet", "-0.1", "0.1");
        SetText("LeadWeight", "0");
    }

    // Lets the event loop run until `done` holds, for at most `ms`.
    bool WaitFor(const std::function<bool()>& done, int ms = 120000) {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms) return false;
            QTest::qWait(10);
        }
        return true;
    }

    float Value(const char* field) { return DimensionValue(form.Model(), *FindDimensionByField(field)); }

    TMainForm form;
    TBalanceEvents* dialog = form.findChild<TBalanceEvents*>(QStringLiteral("BalanceEvents"));
};

TEST_F(BalanceEventsTest, TheMenuItemOpensTheWindowInEditDimen) {
    auto* item = form.findChild<QAction*>(QStringLiteral("BalanceEvents"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("&Balance Events..."));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Balance Events"));
    // Every dynamic-variable dimension has a row with its value; the four
    // forward notches come ticked.
    auto* table = Get<QTableWidget>("Dimensions");
    EXPECT_EQ(table->rowCount(), 52);
    EXPECT_EQ(table->item(dialog->DimensionRow(16), 1)->text(), QStringLiteral("5.10000"));
    EXPECT_EQ(table->item(dialog->DimensionRow(16), 2)->text(), QStringLiteral("4.84500"));
    auto* positions = Get<QListWidget>("Positions");
    // Then the four reverse notches and the diagrams' positions list (mid
    // gear, normal full forward and reverse after the start-up search), not
    // ticked.
    ASSERT_EQ(positions->count(), 11);
    for (int k = 0; k < 11; ++k) EXPECT_EQ(positions->item(k)->checkState(), k < 4 ? Qt::Checked : Qt::Unchecked);
    EXPECT_EQ(positions->item(0)->text(), QStringLiteral("Full forward (-Norm)  (-1.0000 from mid gear)"));
    EXPECT_EQ(positions->item(7)->text(), QStringLiteral("Full reverse (+Norm)  (1.0000 from mid gear)"));
    EXPECT_EQ(positions->item(10)->text(), QStringLiteral("Position 3  (1.0000 from mid gear)"));
    positions->item(10)->setCheckState(Qt::Checked);
    positions->item(0)->setCheckState(Qt::Unchecked);
    const std::vector<double> chosen = dialog->Problem().positions;
    ASSERT_EQ(chosen.size(), 4u);
    EXPECT_EQ(chosen[0], -0.75);
    EXPECT_NEAR(chosen[3], 1.0, 1e-6); // the list holds positions, not offsets
    positions->item(10)->setCheckState(Qt::Unchecked);
    positions->item(0)->setCheckState(Qt::Checked);
    const BalanceProblem p = dialog->Problem();
    EXPECT_EQ(p.positions, ForwardNotches(form.Model()));
    EXPECT_TRUE(p.vary.empty());
}

TEST_F(BalanceEventsTest, RunShowsProgressApplyChangesTheDesignAndUnDoWalksItBack) {
    VaryTheFour();
    SetText("Evaluations", "24");
    const GearState before = form.Model();

    Click("Run");
    EXPECT_TRUE(dialog->Running());
    EXPECT_FALSE(Get<QPushButton>("Run")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>("Cancel")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>("Apply")->isEnabled());
    auto* progress = Get<QProgressBar>("Progress");
    EXPECT_EQ(progress->maximum(), 24);
    // The window (and the main window behind it) keep running while the
    // search goes on: the progress arrives through the event loop.
    ASSERT_TRUE(WaitFor([&] { return progress->value() > 0; }));
    EXPECT_TRUE(Get<QLabel>("BestObjective")->text().startsWith(QStringLiteral("best objective so far: ")));
    ASSERT_TRUE(WaitFor([&] { return !dialog->Running(); }));

    ASSERT_TRUE(dialog->Result());
    const BalanceResult r = *dialog->Result();
    EXPECT_EQ(r.evaluations, 24);
    EXPECT_EQ(progress->value(), 24);
    ASSERT_TRUE(r.Changed());
    EXPECT_LT(r.after.objective, r.before.objective);
    EXPECT_EQ(Get<QTableWidget>("Changes")->rowCount(), 4);
    EXPECT_TRUE(Get<QLabel>("Summary")->text().contains(QStringLiteral("Apply writes it into the design")));
    // Nothing is applied unless asked.
    EXPECT_EQ(Value("radRodTotalLength"), 5.1f);
    EXPECT_TRUE(Get<QPushButton>("Apply")->isEnabled());

    Click("Apply");
    int changed = 0;
    for (const BalanceChange& c : r.changes) {
        EXPECT_EQ(DimensionValue(form.Model(), *FindDimension(c.id)), c.after);
        changed += c.before != c.after;
    }
    EXPECT_FALSE(Get<QPushButton>("Apply")->isEnabled());
    EXPECT_NE(form.Model().revArm.centre, before.revArm.centre); // mid gear found again
    EXPECT_EQ(form.Model().undoCount, before.undoCount + changed);

    // The main window's UnDo, once per changed dimension.
    form.RunCommand(TMainForm::Command::DynamicVari);
    auto* undo = form.findChild<QPushButton*>(QStringLiteral("UnDoDn"));
    ASSERT_NE(undo, nullptr);
    for (int k = 0; k < changed; ++k) {
        ASSERT_TRUE(undo->isEnabled()) << k;
        QTest::mouseClick(undo, Qt::LeftButton);
    }
    for (const DimensionInfo& d : AllDimensions())
        EXPECT_FLOAT_EQ(DimensionValue(form.Model(), d), DimensionValue(before, d)) << d.field;
}

TEST_F(BalanceEventsTest, CancelKeepsTheBestFoundAndAppliesNothing) {
    VaryTheFour();
    const float rod = Value("radRodTotalLength");
    Click("Run");
    auto* progress = Get<QProgressBar>("Progress");
    ASSERT_TRUE(WaitFor([&] { return progress->value() >= 2; }));
    Click("Cancel");
    ASSERT_TRUE(WaitFor([&] { return !dialog->Running(); }));
    ASSERT_TRUE(dialog->Result());
    const BalanceResult& r = *dialog->Result();
    EXPECT_TRUE(r.cancelled);
    EXPECT_LT(r.evaluations, BalanceProblem{}.maxEvaluations);
    EXPECT_LE(r.after.objective, r.before.objective);
    EXPECT_TRUE(Get<QLabel>("Summary")->text().contains(QStringLiteral("Cancelled")));
    EXPECT_EQ(Get<QPushButton>("Apply")->isEnabled(), r.Changed());
    EXPECT_TRUE(Get<QPushButton>("Run")->isEnabled());
    EXPECT_EQ(Value("radRodTotalLength"), rod);
}

TEST_F(BalanceEventsTest, AProblemThatCannotBeSearchedIsToldAndNothingRuns) {
    Click("Run");
    EXPECT_FALSE(dialog->Running());
    EXPECT_EQ(Get<QLabel>("Summary")->text(), QStringLiteral("choose at least one dimension to vary"));

    Vary("radRodTotalLength", "5.2", "5.0");
    Click("Run");
    EXPECT_FALSE(dialog->Running());
    EXPECT_TRUE(Get<QLabel>("Summary")->text().contains(QStringLiteral("lower bound 5.19999981 is above")));

    Vary("radRodTotalLength", "5.0", "5.2");
    SetText("Evaluations", "0");
    Click("Run");
    EXPECT_FALSE(dialog->Running());
    EXPECT_EQ(Get<QLabel>("Summary")->text(), QStringLiteral("the evaluation budget must be at least 1, got 0"));
    EXPECT_FALSE(Get<QPushButton>("Apply")->isEnabled());
}

TEST_F(BalanceEventsTest, ClosingTheWindowWhileItSearchesEndsTheSearch) {
    VaryTheFour();
    Click("Run");
    ASSERT_TRUE(dialog->Running());
    Click("Close");
    EXPECT_FALSE(dialog->Running());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Value("radRodTotalLength"), 5.1f);
}

// A result is applied only to the design it was computed on: closing the
// window drops it (a design edited meanwhile would be overwritten), and so
// does any change of the design while the window is open.
TEST_F(BalanceEventsTest, AResultOfAnotherDesignIsDroppedAndNeverApplied) {
    Vary("valveFrontHalf", "0.6", "0.8");
    Click("Run");
    ASSERT_TRUE(WaitFor([&] { return !dialog->Running(); }));
    ASSERT_TRUE(dialog->Result() && dialog->Result()->Changed());
    EXPECT_TRUE(Get<QPushButton>("Apply")->isEnabled());

    // Closed, the design edited, opened again: nothing left to apply.
    dialog->reject();
    DimensionRef(form.Model(), *FindDimensionByField("valveFrontHalf")) = 0.75f;
    dialog->show();
    EXPECT_FALSE(dialog->Result());
    EXPECT_FALSE(Get<QPushButton>("Apply")->isEnabled());
    EXPECT_EQ(Get<QProgressBar>("Progress")->text(), QStringLiteral("No search run yet"));

    // Changed while the window is open: Apply refuses and says why.
    Vary("valveFrontHalf", "0.6", "0.8");
    Click("Run");
    ASSERT_TRUE(WaitFor([&] { return !dialog->Running(); }));
    ASSERT_TRUE(dialog->Result() && dialog->Result()->Changed());
    DimensionRef(form.Model(), *FindDimensionByField("valveFrontHalf")) = 0.76f;
    const int undoBefore = form.Model().undoCount;
    dialog->ApplyClick();
    EXPECT_EQ(Value("valveFrontHalf"), 0.76f);
    EXPECT_EQ(form.Model().undoCount, undoBefore);
    EXPECT_FALSE(dialog->Result());
    EXPECT_FALSE(Get<QPushButton>("Apply")->isEnabled());
    EXPECT_TRUE(Get<QLabel>("Summary")->text().contains(QStringLiteral("design has changed")));
}

// A search abandoned by closing the window: its result, arriving after the
// close, is dropped.
TEST_F(BalanceEventsTest, TheResultOfASearchAbandonedByClosingIsDropped) {
    VaryTheFour();
    Click("Run");
    ASSERT_TRUE(dialog->Running());
    Click("Close");
    QTest::qWait(50); // the late result arrives through the event loop
    EXPECT_FALSE(dialog->Result());
    dialog->show();
    EXPECT_FALSE(dialog->Result());
    EXPECT_FALSE(Get<QPushButton>("Apply")->isEnabled());
}

// The positions offer the reverse notches beside the forward ones, and
// offsets typed into the window (a decimal comma is the point).
TEST_F(BalanceEventsTest, ReverseNotchesAndTypedOffsets) {
    auto* list = Get<QListWidget>("Positions");
    const BalanceProblem defaults = dialog->Problem();
    ASSERT_EQ(defaults.positions.size(), 4u) << "the forward notches, ticked";
    const char* const expected[] = {"Full forward (-Norm)", "-3/4 Norm", "-1/2 Norm", "-1/4 Norm",
                                    "+1/4 Norm",            "+1/2 Norm", "+3/4 Norm", "Full reverse (+Norm)"};
    ASSERT_GE(list->count(), 8);
    for (int k = 0; k < 8; ++k) {
        EXPECT_TRUE(list->item(k)->text().startsWith(QString::fromUtf8(expected[k]))) << list->item(k)->text().toStdString();
        EXPECT_EQ(list->item(k)->checkState(), k < 4 ? Qt::Checked : Qt::Unchecked) << k;
    }
    // Ticking the reverse notches asks for the mirrored offsets.
    for (int k = 4; k < 8; ++k) list->item(k)->setCheckState(Qt::Checked);
    const BalanceProblem both = dialog->Problem();
    ASSERT_EQ(both.positions.size(), 8u);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(both.positions[4 + k], -both.positions[3 - k]) << k;

    auto* box = Get<QLineEdit>("OffsetBox");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, QStringLiteral("-0,3"));
    EXPECT_EQ(box->text(), QStringLiteral("-0.3"));
    Click("AddOffset");
    const BalanceProblem typed = dialog->Problem();
    ASSERT_EQ(typed.positions.size(), 9u);
    EXPECT_DOUBLE_EQ(typed.positions.back(), static_cast<double>(-0.3f));
    // The typed offset stays when the window opens again.
    dialog->reject();
    dialog->show();
    EXPECT_EQ(dialog->Problem().positions.size(), 5u);
}

// The progress reads as what it is: no search yet before the first, and a
// full bar for a search that settled before its budget.
TEST_F(BalanceEventsTest, ProgressBeforeAnyRunAndAfterASearchThatSettledEarly) {
    auto* progress = Get<QProgressBar>("Progress");
    EXPECT_EQ(progress->text(), QStringLiteral("No search run yet"));
    Vary("valveFrontHalf", "0.6", "0.8");
    SetText("Evaluations", "5000");
    Click("Run");
    ASSERT_TRUE(WaitFor([&] { return !dialog->Running(); }));
    ASSERT_TRUE(dialog->Result());
    ASSERT_LT(dialog->Result()->evaluations, 5000);
    EXPECT_EQ(progress->value(), progress->maximum());
    EXPECT_EQ(progress->value(), dialog->Result()->evaluations);
    EXPECT_TRUE(progress->text().contains(QStringLiteral("settled"))) << progress->text().toStdString();
}

} // namespace
} // namespace vx
