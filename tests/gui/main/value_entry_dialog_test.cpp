// The value entry dialogs and the editors as the main window has them: OK
// and Cancel of the driver angle, step angle and reverse arm position
// dialogs through the real controls, the step bar's one-move disarm, the
// dimension locator taking over from an editor and giving it back, and
// Ctrl+Z as "UnDo".
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "gui/editors/frame_dimensions_dialog.h"
#include "gui/main/main_form.h"
#include "gui/main/value_entry_dialog.h"
#include "tests/kit/decimal_comma_locale.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

class ValueDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.show();
        test::Child<QTimer>(form, QStringLiteral("Timer1"))->stop(); // the tests tick by hand
    }
    template <class T>
    T* Child(const char* name = nullptr) {
        T* w = name ? form.findChild<T*>(QString::fromUtf8(name)) : form.findChild<T*>();
        EXPECT_NE(w, nullptr);
        return w;
    }
    QScrollBar* Bar(const char* name) { return Child<QScrollBar>(name); }
    // Shows the dialog as the menu does (without its modal loop), types into
    // its box and presses one of its buttons.
    void Enter(QDialog* d, const char* keys, const char* button) {
        d->show();
        d->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
        auto* edit = d->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(keys));
        QTest::mouseClick(d->findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
    }
    GearState& g() { return form.Model(); }

    TMainForm form;
};

TEST_F(ValueDialogTest, DriverAngleOkStopsTheGearAtTheTypedAngle) {
    auto* d = Child<TDrivAng>();
    d->show();
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    EXPECT_EQ(d->Edit()->text(), QStringLiteral("0.00")); // running: no angle shown
    EXPECT_TRUE(test::Child<QPushButton>(*d, QStringLiteral("Cancel"))->hasFocus());
    Enter(d, "123.456", "OK");
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(g().motion.running);
    EXPECT_EQ(Child<QPushButton>("Run")->text(), QStringLiteral("Run"));
    EXPECT_EQ(g().motion.tickStep, 0.0f);
    EXPECT_EQ(Bar("SBDrvAng")->value(), 12346);
    EXPECT_FLOAT_EQ(g().motion.driverAngle, 123.46f);

    const struct {
        const char* keys;
        float angle;
    } cases[] = {{"400", 360}, {"\b", 0}, {"\b..", 0}};
    for (const auto& c : cases) {
        Enter(d, c.keys, "OK");
        EXPECT_FLOAT_EQ(g().motion.driverAngle, c.angle) << c.keys;
    }
    d->show();
    EXPECT_EQ(d->Edit()->text(), QStringLiteral("0.00")); // stopped: the angle is shown
}

TEST_F(ValueDialogTest, DriverAngleCancelChangesNothing) {
    const MotionState before = g().motion;
    Enter(Child<TDrivAng>(), "90", "Cancel");
    EXPECT_TRUE(g().motion.running);
    EXPECT_EQ(g().motion.driverAngle, before.driverAngle);
    EXPECT_EQ(g().motion.tickStep, before.tickStep);
}

TEST_F(ValueDialogTest, StepAngleIsUsedAsTypedAndKeepsTheGearRunning) {
    auto* d = Child<TStpAng>();
    d->show();
    EXPECT_EQ(d->Edit()->text(), QStringLiteral("10.00"));
    Enter(d, "7", "OK");
    EXPECT_TRUE(g().motion.running);
    EXPECT_FLOAT_EQ(g().motion.selectedStep, 7.0f);
    EXPECT_FLOAT_EQ(g().motion.tickStep, 7.0f);
    EXPECT_EQ(Bar("SBStepAng")->value(), 11380); // 4000 log10(700), not mapped back to 5
    EXPECT_TRUE(g().motion.stepBarArmed);
    EXPECT_EQ(Bar("SBDrvAng")->singleStep(), 700);
    EXPECT_EQ(Bar("SBDrvAng")->pageStep(), 3500);

    const struct {
        const char* keys;
        float step;
        int bar;
    } limits[] = {{"100", 45, 14613}, {"0", 0.01f, 0}};
    for (const auto& c : limits) {
        Enter(d, c.keys, "OK");
        EXPECT_FLOAT_EQ(g().motion.selectedStep, c.step);
        EXPECT_EQ(Bar("SBStepAng")->value(), c.bar);
    }
}

TEST_F(ValueDialogTest, StepAngleWhileStoppedStaysStoppedAndTheNextBarMoveCounts) {
    Child<QPushButton>("Run")->click(); // stop
    ASSERT_EQ(Bar("SBStepAng")->value(), 12000);
    Enter(Child<TStpAng>(), "10", "OK"); // the bar already stands there: nothing disarmed
    EXPECT_FALSE(g().motion.running);
    EXPECT_EQ(g().motion.tickStep, 0.0f);
    Bar("SBStepAng")->setValue(8000);
    EXPECT_FLOAT_EQ(g().motion.selectedStep, 1.0f);
}

TEST_F(ValueDialogTest, StepAngleCancelChangesNothing) {
    Enter(Child<TStpAng>(), "3", "Cancel");
    EXPECT_FLOAT_EQ(g().motion.selectedStep, 10.0f);
    EXPECT_EQ(Bar("SBStepAng")->value(), 12000);
}

TEST_F(ValueDialogTest, RevArmPositionShowsTheTravelAndOkMovesTheArm) {
    auto* d = Child<TRevPos>();
    d->show();
    const float c = g().revArm.centre;
    auto label = [d](const char* n) { return test::Child<QLabel>(*d, QString::fromUtf8(n))->text(); };
    char buf[32];
    std::snprintf(buf, sizeof buf, "Rev = %5.3f", static_cast<double>(static_cast<float>(c + 1.0)));
    EXPECT_EQ(label("Label5"), QString::fromUtf8(buf));
    std::snprintf(buf, sizeof buf, "Min = %5.3f", static_cast<double>(static_cast<float>(c - 1.074)));
    EXPECT_EQ(label("Label4"), QString::fromUtf8(buf));

    std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(c) - 0.5);
    Enter(d, buf, "OK");
    EXPECT_EQ(Bar("SBRevArm")->value(), 500);
    EXPECT_NEAR(g().motion.reverseArmPosition, c - 0.5f, 0.0011f);
    EXPECT_EQ(g().motion.direction, Direction::Fwd);

    Enter(d, "-99999", "OK"); // far forward: the bar's end
    EXPECT_EQ(Bar("SBRevArm")->value(), Bar("SBRevArm")->maximum());
    const int before = Bar("SBRevArm")->value();
    Enter(d, "0", "Cancel");
    EXPECT_EQ(Bar("SBRevArm")->value(), before);
}

TEST_F(ValueDialogTest, OkOnAnUntouchedDialogUnderADecimalCommaKeepsTheValue) {
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Active()) << test::DecimalCommaLocale::kWhy;
    const auto ok = [this](QDialog* d) {
        SCOPED_TRACE(d->metaObject()->className());
        d->show();
        const QString shown = d->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text();
        EXPECT_TRUE(shown.contains(QLatin1Char('.')) && !shown.contains(QLatin1Char(','))) << shown.toStdString();
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("OK")), Qt::LeftButton);
    };
    ok(Child<TStpAng>()); // shows the step while running
    EXPECT_FLOAT_EQ(g().motion.selectedStep, 10.0f);
    Child<QPushButton>("Run")->click(); // stop, so that the angle is shown
    Bar("SBDrvAng")->setValue(12345);
    const int revArmBar = Bar("SBRevArm")->value();
    ok(Child<TDrivAng>());
    EXPECT_FLOAT_EQ(g().motion.driverAngle, 123.45f);
    ok(Child<TRevPos>());
    EXPECT_EQ(Bar("SBRevArm")->value(), revArmBar);
}

TEST_F(ValueDialogTest, LocatorClosesTheEditorAndAPressGivesItBack) {
    auto* editor = Child<TFrameDi>();
    editor->show();
    QTest::mouseClick(editor->LocateButton(22), Qt::LeftButton);
    ASSERT_EQ(g().locatorDimension, 22);
    form.Tick();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);
    QTest::mousePress(Child<QWidget>("MainCanvas"), Qt::LeftButton, {}, QPoint(600, 300));
    form.Tick();
    EXPECT_EQ(g().locatorDimension, 0);
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(editor->isVisible()); // shown again right after the tick, not inside it
    QApplication::processEvents();
    EXPECT_TRUE(editor->isVisible());
    editor->reject();
}

TEST_F(ValueDialogTest, CtrlZUndoesWhetherOrNotTheDynamicVariablesAreShown) {
    auto* editor = Child<TFrameDi>();
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    QLineEdit* box = editor->Box(2);
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("4"));
    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("Close1")), Qt::LeftButton);
    ASSERT_FLOAT_EQ(g().frame.stroke, 4.0f);
    EXPECT_TRUE(Child<QPushButton>("UnDoDn")->isEnabled());

    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier); // hidden variables: undone all the same
    EXPECT_FLOAT_EQ(g().frame.stroke, 3.0f);
    EXPECT_FALSE(Child<QPushButton>("UnDoDn")->isEnabled());
    QTest::keyClick(&form, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(g().frame.stroke, 4.0f);
    form.RunCommand(TMainForm::Command::DynamicVari);
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(g().frame.stroke, 3.0f);
    EXPECT_FALSE(Child<QPushButton>("UnDoDn")->isEnabled());
}

// A decimal comma typed in a number box is the decimal point, as typed on
// the main keyboard or on a keypad that has one, under the one-point rule:
// "5,5" is 5.5 in the Step Angle dialog (it was 55, then 45), "7,5" in
// Driver Dia is 7.5 (it was 75).
TEST_F(ValueDialogTest, ADecimalCommaIsTheDecimalPointInEveryNumberBox) {
    auto* step = Child<TStpAng>();
    Enter(step, "5,5", "OK");
    EXPECT_FLOAT_EQ(g().motion.selectedStep, 5.5f);
    EXPECT_EQ(step->Edit()->text(), QStringLiteral("5.5"));
    Enter(step, "2,5,5", "OK"); // a second comma is dropped as a second point is
    EXPECT_FLOAT_EQ(g().motion.selectedStep, 2.55f);

    auto* zoom = Child<QDialog>("GraphZoom");
    Enter(zoom, "8,5", "OK");
    EXPECT_FLOAT_EQ(g().graphicZoomFactor, 8.5f);

    auto* editor = Child<TFrameDi>();
    editor->show();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    QLineEdit* driverDia = editor->Box(1);
    QTest::mouseClick(driverDia, Qt::LeftButton);
    driverDia->selectAll();
    QTest::keyClick(driverDia, Qt::Key_7);
    QTest::keyClick(driverDia, Qt::Key_Comma, Qt::KeypadModifier); // the keypad's decimal key
    QTest::keyClick(driverDia, Qt::Key_5);
    EXPECT_EQ(driverDia->text(), QStringLiteral("7.5"));
    QTest::keyClick(driverDia, Qt::Key_Tab);
    EXPECT_FLOAT_EQ(g().frame.driverDia, 7.5f);
    editor->reject();
}

} // namespace
} // namespace vx
