// The main window opens in the middle of the screen: equal margins on both
// sides, the odd pixel (if any) on the right and at the bottom.
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include "gui/main/main_form.h"

namespace vx {
namespace {

TEST(MainWindowPlace, CentredOnTheScreen) {
    TMainForm form(1000);
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect g = form.geometry();
    const int left = g.left() - avail.left(), right = avail.right() - g.right();
    const int top = g.top() - avail.top(), bottom = avail.bottom() - g.bottom();
    EXPECT_EQ(right - left, (avail.width() - g.width()) % 2) << left << " " << right;
    EXPECT_EQ(bottom - top, (avail.height() - g.height()) % 2) << top << " " << bottom;
}

} // namespace
} // namespace vx
