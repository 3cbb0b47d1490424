// The graphic zoom dialog: the factor shown with two decimals, the keys its
// box takes, the limits OK applies, and Cancel.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "gui/editors/graph_zoom_dialog.h"
#include "gui/main/main_form.h"
#include "tests/kit/started_gear.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

class GraphZoomTest : public test::StartedGear {
protected:
    // Shows the dialog (which fills the box), types `keys` into the box
    // after emptying it and presses `button`.
    void TypeAndPress(const QString& keys, const char* button) {
        dialog.show();
        QLineEdit* box = test::Child<QLineEdit>(dialog, "Edit1");
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, keys);
        typed = box->text();
        QTest::mouseClick(test::Child<QPushButton>(dialog, button), Qt::LeftButton);
    }
    TGraphZoom dialog{g};
    QString typed;
};

TEST_F(GraphZoomTest, ShowsTheFactorWithTwoDecimalsAndItsLimits) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set Zoom of Dimensional Graphic Position"));
    EXPECT_EQ(g.graphicZoomFactor, 7.5f);
    dialog.show();
    EXPECT_EQ(test::Child<QLineEdit>(dialog, "Edit1")->text(), QStringLiteral("7.50"));
    EXPECT_EQ(test::Child<QLabel>(dialog, "Label2")->text(), QStringLiteral("Min = 0.5"));
    EXPECT_EQ(test::Child<QLabel>(dialog, "Label3")->text(), QStringLiteral("Max = 2000.0"));
    dialog.hide();
    g.graphicZoomFactor = 56.5f;
    dialog.show();
    EXPECT_EQ(test::Child<QLineEdit>(dialog, "Edit1")->text(), QStringLiteral("56.50"));
    dialog.hide();
}

TEST_F(GraphZoomTest, OkTakesTheTypedFactorWithinItsLimits) {
    const struct {
        const char* keys;
        const char* shown; // what the box holds after the keys
        float factor;
    } cases[] = {
        {"12.25", "12.25", 12.25f}, {"0.5", "0.5", 0.5f},     {"0.49", "0.49", 0.5f},
        {"0", "0", 0.5f},           {"", "", 0.5f},           {"2000", "2000", 2000.0f},
        {"2000.5", "2000.5", 2000.0f}, {"99999", "99999", 2000.0f},
        // No minus sign, no second point, no letters.
        {"-3", "3", 3.0f},          {"1.2.5", "1.25", 1.25f}, {"4x5e1", "451", 451.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        g.graphicZoomFactor = 7.5f;
        TypeAndPress(QString::fromUtf8(c.keys), "OK");
        EXPECT_EQ(typed, QString::fromUtf8(c.shown));
        EXPECT_EQ(g.graphicZoomFactor, c.factor);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST_F(GraphZoomTest, CancelChangesNothing) {
    g.graphicZoomFactor = 9.0f;
    TypeAndPress(QStringLiteral("100"), "Cancel");
    EXPECT_EQ(g.graphicZoomFactor, 9.0f);
    EXPECT_FALSE(dialog.isVisible());
}

// The main window's menu item shows it, waits for it, and the factor typed
// there is the design's.
TEST(GraphZoomFromTheMenu, SetsTheDesignsFactor) {
    TMainForm form;
    test::Child<QTimer>(form, "Timer1")->stop();
    QString shown;
    QTimer::singleShot(0, &form, [&] {
        auto* d = qobject_cast<TGraphZoom*>(QApplication::activeModalWidget());
        if (d == nullptr) {
            ADD_FAILURE() << "the graphic zoom dialog is not shown";
            test::CloseModalDialogs();
            return;
        }
        auto* box = d->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        auto* ok = d->findChild<QPushButton*>(QStringLiteral("OK"));
        if (box == nullptr || ok == nullptr) {
            ADD_FAILURE() << "no Edit1 or OK";
            d->reject();
            return;
        }
        shown = box->text();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("20"));
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    form.RunCommand(TMainForm::Command::SetGraphicZoom);
    EXPECT_EQ(shown, QStringLiteral("7.50"));
    EXPECT_EQ(form.Model().graphicZoomFactor, 20.0f);
}

} // namespace
} // namespace vx
