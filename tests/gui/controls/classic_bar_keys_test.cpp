// The eight keys of a scroll bar, pressed on a real bar of each orientation
// and on the main window's reverse arm bar.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "gui/controls/classic_bar_keys.h"
#include "gui/main/main_form.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

struct KeyCase {
    Qt::Key key;
    int value; // from 0 on a bar of -100 .. 100, small change 1, large change 10
};
constexpr KeyCase kKeys[] = {
    {Qt::Key_Left, -1},     {Qt::Key_Up, -1},        {Qt::Key_Right, 1},  {Qt::Key_Down, 1},
    {Qt::Key_PageUp, -10},  {Qt::Key_PageDown, 10},  {Qt::Key_Home, -100}, {Qt::Key_End, 100},
};

TEST(ClassicBarKeys, EveryKeyMovesTheBarAsOnTheClassicDesktop) {
    InstallClassicBarKeys();
    for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        QScrollBar bar(o);
        bar.setRange(-100, 100);
        bar.setSingleStep(1);
        bar.setPageStep(10);
        bar.show();
        for (const KeyCase& k : kKeys) {
            bar.setValue(0);
            QTest::keyClick(&bar, k.key);
            EXPECT_EQ(bar.value(), k.value) << "key " << k.key << " orientation " << o;
        }
    }
}

TEST(ClassicBarKeys, RightOnTheReverseArmBarMovesIntoForwardGear) {
    TMainForm form;
    form.show();
    test::Child<QTimer>(form, QStringLiteral("Timer1"))->stop();
    auto* bar = form.findChild<QScrollBar*>(QStringLiteral("SBRevArm"));
    const float centre = form.Model().revArm.centre;
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_LT(form.Model().motion.reverseArmPosition, centre);
    EXPECT_EQ(form.Model().motion.direction, Direction::Fwd);
}

} // namespace
} // namespace vx
