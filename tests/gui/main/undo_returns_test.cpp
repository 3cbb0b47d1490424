// Undo returns the design it took, driven through the real windows: an
// editor's change with the mid-gear search of its "Close", and Balance
// "Apply" with its search, are taken back by the main window's UnDo until
// the saved design is byte-identical to the one before; redo puts the
// changes and the searches back.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <bit>
#include <cstdint>

#include "data/dimension_file.h"
#include "gui/editors/balance_events_dialog.h"
#include "gui/editors/frame_dimensions_dialog.h"
#include "gui/main/main_form.h"
#include "model/gear/dimensions.h"
#include "model/workspace/undo_redo.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

class UndoReturnsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        test::Child<QTimer>(form, QStringLiteral("Timer1"))->stop();
        form.RunCommand(TMainForm::Command::DynamicVari); // shows UnDo
    }
    GearState& g() { return form.Model(); }
    // The main window's UnDo until it has nothing left; returns the clicks.
    int UndoEverything() {
        auto* undo = test::Child<QPushButton>(form, QStringLiteral("UnDoDn"));
        int clicks = 0;
        while (undo->isEnabled() && clicks < 200) {
            QTest::mouseClick(undo, Qt::LeftButton);
            ++clicks;
        }
        return clicks;
    }
    TMainForm form;
};

TEST_F(UndoReturnsTest, EditorChangeAndItsCloseAreTakenBackTogether) {
    const DesignBytes before = EncodeDesign(g());
    const MidGearFigures midGearBefore = TakeMidGearFigures(g());
    auto* editor = form.findChild<TFrameDi*>();
    ASSERT_NE(editor, nullptr);
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    QLineEdit* box = editor->Box(FindDimensionByField("eccFwdRod")->id);
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("2"));
    QTest::mouseClick(test::Child<QPushButton>(*editor, QStringLiteral("Close1")), Qt::LeftButton);
    ASSERT_FALSE(editor->isVisible());
    ASSERT_EQ(g().frame.eccFwdRod, 2.0f);
    const MidGearFigures midGearAfter = TakeMidGearFigures(g());
    ASSERT_NE(midGearAfter.centre, midGearBefore.centre) << "Close searched mid gear again";

    EXPECT_EQ(UndoEverything(), 1);
    EXPECT_EQ(TakeMidGearFigures(g()), midGearBefore);
    EXPECT_TRUE(EncodeDesign(g()) == before) << "the saved design differs after undoing everything";

    ASSERT_TRUE(RedoChange(g()));
    EXPECT_EQ(g().frame.eccFwdRod, 2.0f);
    EXPECT_EQ(TakeMidGearFigures(g()), midGearAfter);
}

TEST_F(UndoReturnsTest, BalanceApplyAndItsSearchAreTakenBackBitForBit) {
    auto* balance = form.findChild<TBalanceEvents*>(QStringLiteral("BalanceEvents"));
    ASSERT_NE(balance, nullptr);
    balance->show();
    auto* table = test::Child<QTableWidget>(*balance, QStringLiteral("Dimensions"));
    const struct {
        const char* field;
        const char* lower;
        const char* upper;
    } vary[] = {{"liftLinkRadRod", "1.7", "1.95"}, {"eccFwdRod", "7.15", "7.35"}, {"radRodTotalLength", "5.0", "5.2"}};
    for (const auto& v : vary) {
        const int row = balance->DimensionRow(FindDimensionByField(v.field)->id);
        ASSERT_GE(row, 0);
        table->item(row, 0)->setCheckState(Qt::Checked);
        table->item(row, 2)->setText(QString::fromUtf8(v.lower));
        table->item(row, 3)->setText(QString::fromUtf8(v.upper));
    }
    test::Child<QLineEdit>(*balance, QStringLiteral("Evaluations"))->setText(QStringLiteral("24"));
    test::Child<QLineEdit>(*balance, QStringLiteral("LeadWeight"))->setText(QStringLiteral("0"));
    const DesignBytes before = EncodeDesign(g());
    const MidGearFigures midGearBefore = TakeMidGearFigures(g());

    QTest::mouseClick(test::Child<QPushButton>(*balance, QStringLiteral("Run")), Qt::LeftButton);
    QElapsedTimer t;
    t.start();
    while (balance->Running() && t.elapsed() < 120000) QTest::qWait(10);
    ASSERT_FALSE(balance->Running());
    auto* apply = test::Child<QPushButton>(*balance, QStringLiteral("Apply"));
    ASSERT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    ASSERT_NE(TakeMidGearFigures(g()), midGearBefore) << "Apply searched mid gear again";
    balance->reject();

    EXPECT_GT(UndoEverything(), 0);
    EXPECT_EQ(TakeMidGearFigures(g()), midGearBefore);
    // Every dimension with its exact bits ("Lift Link for RadRod" came back
    // one float step off).
    GearState expected = g();
    DecodeDesign(expected, before.data());
    for (const DimensionInfo& d : AllDimensions())
        EXPECT_EQ(std::bit_cast<std::uint32_t>(DimensionValue(g(), d)),
                  std::bit_cast<std::uint32_t>(DimensionValue(expected, d)))
            << d.field;
    EXPECT_TRUE(EncodeDesign(g()) == before) << "the saved design differs after undoing everything";
}

} // namespace
} // namespace vx
