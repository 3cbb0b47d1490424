// The frame and cylinder dimension editors driven through their real boxes
// and buttons: the key filter, the commit on every focus loss with and
// without typing, angle folding, the travel limits, Enter, the resets, the
// locate buttons and "Close" with its mid-gear search.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/editors/cylinder_dimensions_dialog.h"
#include "gui/editors/frame_dimensions_dialog.h"
#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "tests/kit/decimal_comma_locale.h"
#include "tests/kit/started_gear.h"
#include "model/workspace/dynvar.h"
#include "data/dimension_file.h"

namespace vx {
namespace {

// What the editors asked of the main window.
struct HookLog {
    int rangeChanged = 0;
    int barToCentre = 0;
    int undoButtons = 0;
    QStringList told;
    EditorHooks Hooks() {
        return {[this] { ++rangeChanged; }, [this] { ++barToCentre; }, [this] { ++undoButtons; },
                [this](const QString& s) { told << s; }};
    }
};

template <class Editor>
class EditorTest : public test::StartedGear {
protected:
    void SetUp() override {
        StartedGear::SetUp();
        if (HasFatalFailure()) return;
        editor.show();
        editor.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    }
    QLineEdit* Box(int n) { return editor.Box(n); }
    QPushButton* Named(const char* name) { return editor.template findChild<QPushButton*>(QString::fromUtf8(name)); }
    // Clicks into box n and types, replacing its text.
    void Type(int n, const char* keys) {
        QTest::mouseClick(Box(n), Qt::LeftButton);
        Box(n)->selectAll();
        QTest::keyClicks(Box(n), QString::fromUtf8(keys));
    }
    void Leave(int n) { QTest::keyClick(Box(n), Qt::Key_Tab); }
    float Value(int id) { return DimensionValue(g, *FindDimension(id)); }
    // Under a decimal-comma locale, the boxes show the values with a point
    // and passing through every one of them changes nothing.
    void PassThroughEveryBoxUnderADecimalComma(std::span<const DimensionInfo> table, int firstId) {
        test::DecimalCommaLocale comma;
        ASSERT_TRUE(comma.Active()) << test::DecimalCommaLocale::kWhy;
        editor.hide();
        editor.show(); // refills the boxes
        const GearState before = g;
        for (const DimensionInfo& d : table) {
            const int n = d.id - firstId + 1;
            EXPECT_FALSE(Box(n)->text().contains(QLatin1Char(','))) << Box(n)->text().toStdString();
            EXPECT_TRUE(Box(n)->text().contains(QLatin1Char('.'))) << Box(n)->text().toStdString();
            QTest::mouseClick(Box(n), Qt::LeftButton);
            Leave(n);
        }
        for (const DimensionInfo& d : table)
            EXPECT_EQ(DimensionValue(g, d), DimensionValue(before, d)) << d.field;
        EXPECT_EQ(g.undoCount, 0);
    }

    // Tab from Close: the widgets the focus visits until it is back on Close.
    std::vector<QWidget*> TabCycleFromClose() {
        Named("Close1")->setFocus(Qt::TabFocusReason);
        std::vector<QWidget*> visited;
        for (int i = 0; i < 200; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* w = QApplication::focusWidget();
            if (w == Named("Close1")) break;
            visited.push_back(w);
        }
        return visited;
    }
    // Tab skips the locator buttons: it runs from Close over Reset to the
    // first box, then down every box.
    void TabSkipsTheLocatorButtons(int boxes) {
        const std::vector<QWidget*> cycle = TabCycleFromClose();
        ASSERT_EQ(cycle.size(), static_cast<std::size_t>(boxes + 1));
        EXPECT_EQ(cycle[1], Box(1)) << "Tabs from Close to the first box: 2";
        for (int n = 1; n <= boxes; ++n) {
            EXPECT_EQ(std::count(cycle.begin(), cycle.end(), editor.LocateButton(n)), 0) << n;
            EXPECT_EQ(std::count(cycle.begin(), cycle.end(), Box(n)), 1) << n;
            EXPECT_EQ(editor.LocateButton(n)->focusPolicy(), Qt::ClickFocus) << n; // a click still locates
        }
    }

    HookLog log;
    Editor editor{g, log.Hooks()};
};

using FrameEditorTest = EditorTest<TFrameDi>;
using CylinderEditorTest = EditorTest<TCylDimen>;

TEST_F(FrameEditorTest, OpensAtItsSizeWithTheModelValuesAndTheFocusOnClose) {
    EXPECT_EQ(editor.size(), QSize(386, 265));
    EXPECT_EQ(Box(1)->text(), QStringLiteral("7.000"));
    EXPECT_EQ(Box(6)->text(), QStringLiteral("302.000"));
    EXPECT_EQ(Box(23)->text(), QStringLiteral("-2.000"));
    EXPECT_EQ(Box(28)->geometry(), QRect(146, 143, 40, 13));
    EXPECT_EQ(Box(26)->geometry(), QRect(342, 195, 40, 13));
    EXPECT_EQ(editor.LocateButton(30)->geometry(), QRect(194, 0, 7, 13));
    EXPECT_TRUE(Named("Close1")->hasFocus());
}

// Going to another program and back is not leaving the box: one edit makes
// one commit and one undo entry, when the focus moves on within the program
// or the dialog closes.
TEST_F(FrameEditorTest, LeavingTheProgramDoesNotCommitTheBox) {
    struct Row {
        const char* what;
        bool typeMoreAfterReturn;
        bool closeWhileAway; // the dialog closes while another program has the focus
    };
    const Row rows[] = {
        {"away and back, then Tab", false, false},
        {"away, back, more typing, then Tab", true, false},
        {"closed while away", false, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        g.frame.stroke = 3;
        ClearUndo(g);
        if (!editor.isVisible()) {
            editor.show();
            editor.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        }
        editor.FormActivate();
        Type(2, "4");
        QApplication::setActiveWindow(nullptr); // Alt+Tab to another program
        EXPECT_FLOAT_EQ(g.frame.stroke, 3.0f);
        EXPECT_EQ(g.undoCount, 0);
        if (r.closeWhileAway) {
            editor.reject();
        } else {
            editor.activateWindow(); // back
            QApplication::setActiveWindow(&editor);
            ASSERT_TRUE(Box(2)->hasFocus());
            if (r.typeMoreAfterReturn) QTest::keyClicks(Box(2), QStringLiteral("5"));
            Leave(2);
        }
        EXPECT_FLOAT_EQ(g.frame.stroke, r.typeMoreAfterReturn ? 45.0f : 4.0f);
        EXPECT_EQ(g.undoCount, 1);
        EXPECT_FLOAT_EQ(g.undo[1].oldValue, 3.0f);
    }
}

TEST_F(FrameEditorTest, KeyFilterTakesOneMinusOneDotAndDigits) {
    Type(2, "-1.-2.5x");
    EXPECT_EQ(Box(2)->text(), QStringLiteral("-1.25"));
}

TEST_F(FrameEditorTest, TypedValueIsCommittedOnLeavingWithOneUndoEntry) {
    Type(2, "3.25");
    Leave(2);
    EXPECT_FLOAT_EQ(g.frame.stroke, 3.25f);
    EXPECT_EQ(g.undoCount, 1);
    EXPECT_EQ(g.undo[1].id, 2);
    EXPECT_FLOAT_EQ(g.undo[1].oldValue, 3.0f);
    EXPECT_FLOAT_EQ(g.undo[1].newValue, 3.25f);
    EXPECT_EQ(g.undo[1].name, "Stroke");
    EXPECT_EQ(g.dynVarSlots[1].id, 2);
    EXPECT_FALSE(g.undoPending);
    EXPECT_GT(log.undoButtons, 0);
}

TEST_F(FrameEditorTest, PassingThroughABoxSelectsItWithoutAnUndoEntry) {
    QTest::mouseClick(Box(3), Qt::LeftButton);
    Leave(3);
    EXPECT_EQ(g.dynVarSlots[1].id, 3);
    EXPECT_FLOAT_EQ(g.dynVarSlots[1].value, 10.0f);
    EXPECT_EQ(g.undoCount, 0);
    EXPECT_FLOAT_EQ(g.frame.mainRodLength, 10.0f);
}

TEST_F(FrameEditorTest, AnglesAreFoldedIntoOneTurn) {
    const struct {
        int box;
        const char* keys;
        float stored;
        const char* shown;
    } cases[] = {{6, "725", 5, "5.000"}, {7, "-90", 270, "270.000"}, {19, "360", 0, "0.000"},
                 {21, "-720.5", 359.5f, "359.500"}, {6, "12.5", 12.5f, "12.5"}};
    for (const auto& c : cases) {
        Type(c.box, c.keys);
        Leave(c.box);
        EXPECT_FLOAT_EQ(Value(c.box), c.stored) << c.keys;
        EXPECT_EQ(Box(c.box)->text().toStdString(), c.shown); // a folded angle shows as stored
    }
    // An angle stored unfolded (from a file) is shown folded too.
    editor.hide(); // commits the box that has the focus
    g.frame.eccRevAngle = -58;
    editor.show();
    EXPECT_EQ(Box(7)->text(), QStringLiteral("302.000"));
}

TEST_F(FrameEditorTest, NormAboveMaxIsClampedAndPullsThePositionsIn) {
    const float c = g.revArm.centre;
    g.revArm.position = {0, c, c - 1.0f, c + 1.0f, c + 1.07f, 0, 0, 0, 0, 0};
    Type(25, "2");
    Leave(25);
    EXPECT_FLOAT_EQ(g.frame.revArmToCentNorm, 1.074f);
    EXPECT_FLOAT_EQ(g.revArm.position[4], c + 1.07f); // inside centre +- Max already
    EXPECT_FLOAT_EQ(g.revArm.position[5], 0.0f);      // not in use: stays 0
    EXPECT_EQ(g.undoCount, 0);                        // the travel is not undone
    EXPECT_EQ(g.dynVarSlots[1].id, 0);                // nor a dynamic variable

    Type(26, "0.5");
    Leave(26);
    EXPECT_FLOAT_EQ(g.frame.revArmToCentMax, 1.074f); // raised back to Norm
    Type(25, "0.5");
    Leave(25);
    Type(26, "0.25");
    Leave(26);
    EXPECT_FLOAT_EQ(g.frame.revArmToCentMax, 0.5f);
    EXPECT_FLOAT_EQ(g.revArm.position[2], c - 0.5f);
    EXPECT_FLOAT_EQ(g.revArm.position[4], c + 0.5f);
    EXPECT_FLOAT_EQ(g.revArm.position[1], c);
    EXPECT_EQ(log.rangeChanged, 2); // every commit of Max sets the bar's range
}

TEST_F(FrameEditorTest, EnterCommitsAndMovesTheFocusToClose) {
    Type(2, "4");
    QTest::keyClick(Box(2), Qt::Key_Return);
    EXPECT_TRUE(Named("Close1")->hasFocus());
    EXPECT_TRUE(editor.isVisible());
    EXPECT_FLOAT_EQ(g.frame.stroke, 4.0f);
    EXPECT_EQ(g.undoCount, 1);
}

TEST_F(FrameEditorTest, ASecondEnterOnCloseClosesTheEditor) {
    Type(2, "4");
    QTest::keyClick(Box(2), Qt::Key_Return);
    ASSERT_TRUE(Named("Close1")->hasFocus());
    QTest::keyClick(Named("Close1"), Qt::Key_Return);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.result(), QDialog::Accepted); // closed as Close closes: mid gear searched
    EXPECT_EQ(log.barToCentre, 1);
    EXPECT_FLOAT_EQ(g.frame.stroke, 4.0f);
}

TEST_F(FrameEditorTest, TabSkipsTheLocatorButtons) { TabSkipsTheLocatorButtons(32); }
TEST_F(CylinderEditorTest, TabSkipsTheLocatorButtons) { TabSkipsTheLocatorButtons(22); }

// A focused button shows it: Close, Reset and a locator button each look
// different with the focus, however the focus came.
TEST_F(FrameEditorTest, AFocusedButtonIsMarked) {
    for (QPushButton* b : {Named("Close1"), editor.LocateButton(5), editor.LocateButton(30)}) {
        SCOPED_TRACE(b->objectName().toStdString());
        Box(3)->setFocus(Qt::OtherFocusReason);
        ASSERT_FALSE(b->hasFocus());
        const QImage plain = b->grab().toImage();
        b->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(b->hasFocus());
        const QImage marked = b->grab().toImage();
        int changed = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) changed += plain.pixel(x, y) != marked.pixel(x, y);
        EXPECT_GE(changed, 6);
    }
}

TEST_F(FrameEditorTest, PassingThroughEveryBoxUnderADecimalCommaChangesNothing) {
    PassThroughEveryBoxUnderADecimalComma(FrameDimensionTable(), 1);
}

TEST_F(CylinderEditorTest, PassingThroughEveryBoxUnderADecimalCommaChangesNothing) {
    PassThroughEveryBoxUnderADecimalComma(CylinderDimensionTable(), 101);
}

TEST_F(FrameEditorTest, AHugeValueIsShownCutToTenCharacters) {
    Type(1, "1000000");
    Leave(1);
    editor.hide();
    editor.show();
    EXPECT_EQ(Box(1)->text(), QStringLiteral("1000000.00"));
    Type(1, "99999999999999999999999999999999999999999999");
    Leave(1);
    EXPECT_TRUE(std::isfinite(g.frame.driverDia));
}

TEST_F(FrameEditorTest, ResetRightPressKeepsUndoAndTheClickClearsIt) {
    Type(2, "4");
    Leave(2);
    ASSERT_EQ(g.undoCount, 1);
    QTest::mousePress(Named("ResetFrame"), Qt::RightButton);
    QTest::mouseRelease(Named("ResetFrame"), Qt::RightButton);
    EXPECT_FLOAT_EQ(g.frame.stroke, 3.0f);
    EXPECT_EQ(Box(2)->text(), QStringLiteral("3.000"));
    EXPECT_EQ(g.dynVarSlots[1].id, 0);
    EXPECT_EQ(g.undoCount, 1);
    EXPECT_GT(log.rangeChanged, 0);

    QTest::mouseClick(Named("ResetFrame"), Qt::LeftButton);
    EXPECT_EQ(g.undoCount, 0);
}

TEST_F(FrameEditorTest, LocateButtonNamesTheDimension) {
    QTest::mouseClick(editor.LocateButton(28), Qt::LeftButton);
    EXPECT_EQ(g.locatorDimension, 28);
}

TEST_F(FrameEditorTest, CloseFindsMidGearCentresTheBarAndEmptiesTheCutOffs) {
    g.frontCutOffText = "x";
    g.rearCutOffText = "y";
    const float before = g.revArm.centre;
    Type(22, "2.6");
    QTest::mouseClick(Named("Close1"), Qt::LeftButton);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_FLOAT_EQ(g.frame.reverseArmLength, 2.6f);
    EXPECT_NE(g.revArm.centre, before);
    EXPECT_EQ(g.motion.reverseArmPosition, g.revArm.centre);
    EXPECT_EQ(log.barToCentre, 1);
    EXPECT_TRUE(g.frontCutOffText.empty() && g.rearCutOffText.empty());
    EXPECT_TRUE(log.told.isEmpty());
}

TEST_F(FrameEditorTest, TheCloseBoxCommitsButSearchesNothing) {
    const float before = g.revArm.centre;
    Type(22, "2.6");
    editor.close();
    EXPECT_FLOAT_EQ(g.frame.reverseArmLength, 2.6f);
    EXPECT_EQ(g.revArm.centre, before);
    EXPECT_EQ(log.barToCentre, 0);
}

TEST_F(FrameEditorTest, AMidGearSearchThatFailsKeepsTheDesignAndTellsOnce) {
    const float before = g.revArm.centre;
    Type(15, "1000"); // the die always rides at the top of the link
    QTest::mouseClick(Named("Close1"), Qt::LeftButton);
    EXPECT_FALSE(editor.isVisible());
    EXPECT_FLOAT_EQ(g.frame.liftLinkRadRod, 1000.0f);
    EXPECT_EQ(g.revArm.centre, before);
    ASSERT_EQ(log.told.size(), 1);
    EXPECT_TRUE(log.told[0].contains(QStringLiteral("Mid gear was not found")));
}

TEST_F(CylinderEditorTest, CylinderHeightAndStemOffsetMoveTheSpindlePivot) {
    EXPECT_EQ(editor.size(), QSize(386, 230));
    const float y4 = g.piv.y[4];
    Type(2, "2");
    Leave(2);
    EXPECT_FLOAT_EQ(g.fixedPivots.cylinderCentreY, 2.0f);
    EXPECT_FLOAT_EQ(g.piv.y[4], y4 + 2.0f);
    Type(9, "1");
    Leave(9);
    EXPECT_FLOAT_EQ(g.piv.y[4], 3.0f);
    EXPECT_EQ(g.undoCount, 2);
    EXPECT_EQ(g.undo[1].id, 109);
}

TEST_F(CylinderEditorTest, TabbingThroughSelectsWithoutUndoAndButtonsSpanTheirRows) {
    QTest::mouseClick(Box(13), Qt::LeftButton);
    Leave(13);
    EXPECT_EQ(g.dynVarSlots[1].id, 113);
    EXPECT_EQ(g.undoCount, 0);
    EXPECT_EQ(editor.LocateButton(6)->geometry(), QRect(0, 65, 8, 26));
    EXPECT_EQ(Box(6)->geometry(), QRect(146, 78, 40, 13));
    QTest::mouseClick(editor.LocateButton(6), Qt::LeftButton);
    EXPECT_EQ(g.locatorDimension, 106);
}

TEST_F(CylinderEditorTest, ResetRestoresTheDefaults) {
    Type(3, "3");
    Leave(3);
    QTest::mouseClick(Named("Reset1"), Qt::LeftButton);
    EXPECT_FLOAT_EQ(g.cyl.boreDia(), 2.125f);
    EXPECT_EQ(g.undoCount, 0);
    EXPECT_EQ(log.rangeChanged, 0); // the cylinder reset leaves the bar alone
}

// Tabbing through every box of both editors, with values the boxes show cut
// to three decimals, writes nothing: the saved design is byte-identical, in
// the C and in a decimal-comma locale. Each box left still selects its
// dimension as the newest dynamic variable, with the value as stored.
TEST(EditorBoxes, TabbingThroughAll54BoxesKeepsTheSavedDesign) {
    for (const bool comma : {false, true}) {
        SCOPED_TRACE(comma ? "decimal comma" : "C locale");
        std::unique_ptr<test::DecimalCommaLocale> locale;
        if (comma) {
            locale = std::make_unique<test::DecimalCommaLocale>();
            ASSERT_TRUE(locale->Active()) << test::DecimalCommaLocale::kWhy;
        }
        GearState g;
        ASSERT_EQ(StartUp(g), MidGearResult::Found);
        // 0.6875 shows as "0.688": every dimension a little off the shown figures.
        for (const DimensionInfo& d : AllDimensions()) DimensionRef(g, d) += 0.00037f;
        const DesignBytes before = EncodeDesign(g);
        HookLog log;
        TFrameDi frame(g, log.Hooks());
        TCylDimen cylinder(g, log.Hooks());
        int visited = 0;
        for (DimensionEditor* editor : {static_cast<DimensionEditor*>(&frame), static_cast<DimensionEditor*>(&cylinder)}) {
            editor->show();
            editor->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
            QTest::mouseClick(editor->Box(1), Qt::LeftButton); // the first box of the tab order
            // Tab runs down the boxes, then on to "Close".
            while (auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
                ++visited;
                QTest::keyClick(box, Qt::Key_Tab);
                ASSERT_LT(visited, 100);
            }
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Close1"));
            editor->reject();
        }
        EXPECT_EQ(visited, 54);
        EXPECT_TRUE(EncodeDesign(g) == before) << "a box not typed into changed the design";
        EXPECT_EQ(g.undoCount, 0);
        // The last dynamic-variable box left is the newest dynamic variable.
        const DimensionInfo* newest = FindDimension(g.dynVarSlots[1].id);
        ASSERT_NE(newest, nullptr);
        EXPECT_EQ(g.dynVarSlots[1].value, DimensionValue(g, *newest));
    }
}

} // namespace
} // namespace vx
