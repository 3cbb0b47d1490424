// The "Draw Lines" dialog driven through its real widgets from the main
// window: fixed, pivot-anchored and two-pivot lines, circles, the refused
// combinations with their beeps, row selection, the row boxes, the limit of
// 20 items and a file round trip.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "tests/kit/temp_dir.h"
#include "data/dimension_file.h"
#include "gui/main/draw_lines_dialog.h"
#include "scene/frame/overlay_layer.h"
#include "gui/main/main_form.h"
#include "model/workspace/view.h"
#include "platform/recording_canvas.h"
#include "platform/recording_sound.h"
#include "tests/kit/widget_test_support.h"

namespace vx {
namespace {

enum Group { Type = 0, Color = 1, Ref = 2 };

class DrawLinesTest : public ::testing::Test {
protected:
    DrawLinesTest() {
        auto s = std::make_unique<RecordingSound>();
        sound = s.get();
        form = std::make_unique<TMainForm>(16, nullptr, nullptr, nullptr, std::move(s));
    }
    void SetUp() override {
        form->show();
        test::Child<QTimer>(*form, QStringLiteral("Timer1"))->stop();
        form->Tick(); // pivots solved for the start position
    }

    GearState& g() { return form->Model(); }
    TDrawLines& dlg() { return form->DrawLines(); }
    template <class T>
    T* Get(const QString& name) {
        return test::Child<T>(dlg(), name);
    }
    QString LabelText(int n) { return Get<QLabel>(QStringLiteral("Label%1").arg(n))->text(); }
    QString BoxText(int n) { return Get<QLineEdit>(QStringLiteral("Edit%1").arg(n))->text(); }
    QStringList RowTexts(int row) {
        QStringList out;
        for (int k = 1; k <= 3; ++k) out << LabelText(4 * row - 3 + k);
        for (int k = 0; k < 4; ++k) out << BoxText(4 * row - 3 + k);
        return out;
    }
    QColor PanelColor(int row) {
        return Get<QFrame>(QStringLiteral("Panel%1").arg(row))->palette().color(QPalette::Window);
    }
    void Choose(Group group, int item) {
        auto* b = Get<QRadioButton>(QStringLiteral("RadioGroup%1Item%2").arg(group + 1).arg(item));
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // A type, a colour and a reference, chosen in that order.
    void Choose(int type, int color, int ref) {
        Choose(Type, type);
        Choose(Color, color);
        Choose(Ref, ref);
    }
    void Click(const char* name) { QTest::mouseClick(Get<QPushButton>(QString::fromUtf8(name)), Qt::LeftButton); }
    void ClickRowNumber(int row) {
        QTest::mouseClick(Get<QLabel>(QStringLiteral("Label%1").arg(4 * row - 3)), Qt::LeftButton, {}, QPoint(3, 5));
    }
    bool Checked(Group group) {
        for (int i = 0; i < 6; ++i)
            if (auto* b = dlg().findChild<QRadioButton*>(QStringLiteral("RadioGroup%1Item%2").arg(group + 1).arg(i)))
                if (b->isChecked()) return true;
        return false;
    }
    // Opens the dialog as the menu item does and runs `inside` while it is
    // shown; the dialog is closed afterwards if `inside` left it open.
    void Open(const std::function<void()>& inside) {
        bool ran = false;
        QTimer::singleShot(0, &dlg(), [&] {
            ran = true;
            try {
                inside();
            } catch (const test::MissingWidget&) {
                // Already a failure of this test; the dialog still closes.
            }
            if (dlg().isVisible()) dlg().done(0);
        });
        form->RunCommand(TMainForm::Command::DrawLinesCircles);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(dlg().isVisible());
    }
    void SetRef(int point, float x, float y) {
        g().piv.x[static_cast<std::size_t>(18 + point)] = x;
        g().piv.y[static_cast<std::size_t>(18 + point)] = y;
    }
    std::vector<RecordingCanvas::Segment> OverlaySegments() {
        RecordingCanvas c;
        DrawOverlayLayer(g(), c);
        return c.Segments();
    }
    ScreenPoint Screen(float x, float y) { return WorldToScreen(g().view, x, y); }

    RecordingSound* sound = nullptr;
    std::unique_ptr<TMainForm> form;
};

TEST_F(DrawLinesTest, LayoutOfGroupsButtonsTitlesAndRows) {
    dlg().show();
    EXPECT_EQ(dlg().windowTitle(), QStringLiteral("Draw Lines"));
    EXPECT_EQ(dlg().size(), QSize(584, 474));
    struct Box {
        const char* name;
        QRect geometry;
        const char* caption;
    } groups[] = {
        {"RadioGroup1", {11, 9, 84, 67}, "  Type    "},
        {"RadioGroup2", {101, 9, 209, 67}, "  Color  "},
        {"RadioGroup3", {316, 9, 179, 67}, "  Referenced to  "},
    };
    for (const Box& b : groups) {
        auto* w = Get<QGroupBox>(QString::fromUtf8(b.name));
        EXPECT_EQ(w->geometry(), b.geometry) << b.name;
        EXPECT_EQ(w->title(), QString::fromUtf8(b.caption));
        // Every item shows its whole text.
        for (auto* r : w->findChildren<QRadioButton*>()) {
            EXPECT_GE(r->width(), r->sizeHint().width()) << r->text().toStdString();
            EXPECT_TRUE(w->rect().contains(r->geometry())) << r->text().toStdString();
        }
    }
    const Box buttons[] = {
        {"DrawBut", {500, 9, 74, 30}, "Draw Close"},
        {"ClearLine", {500, 43, 74, 31}, "Clear Line"},
        {"CloseBut", {522, 78, 52, 30}, "Close"},
    };
    for (const Box& b : buttons) {
        auto* w = Get<QPushButton>(QString::fromUtf8(b.name));
        EXPECT_EQ(w->geometry(), b.geometry);
        EXPECT_EQ(w->text(), QString::fromUtf8(b.caption));
    }
    EXPECT_FALSE(Get<QPushButton>("DrawBut")->isEnabled());
    EXPECT_TRUE(Get<QPushButton>("LinesData")->isHidden());
    for (const char* t : {"Title1", "Title2", "Title3", "Title4", "Title5"}) {
        auto* l = Get<QLabel>(QString::fromUtf8(t));
        EXPECT_GE(l->width(), l->sizeHint().width());
        EXPECT_LE(l->geometry().right(), dlg().width());
    }
    EXPECT_EQ(Get<QLabel>("Title1")->text(), QStringLiteral("Line1Vert   Line1Horz     Line2Vert   Line2Horz"));
    const int tops[] = {123, 140, 158, 175, 192, 209, 226, 244, 261, 278, 295, 313, 330, 347, 364, 382, 399, 416, 433, 450};
    for (int i = 1; i <= 20; ++i) {
        EXPECT_EQ(Get<QFrame>(QStringLiteral("Panel%1").arg(i))->geometry(), QRect(39, tops[i - 1], 480, 16));
        EXPECT_EQ(PanelColor(i), i == 1 ? QColor(0, 255, 255) : QColor(Qt::white)) << i;
        EXPECT_EQ(LabelText(4 * i - 3), i < 10 ? QStringLiteral("%1  ").arg(i) : QString::number(i));
        EXPECT_EQ(RowTexts(i), QStringList({"", "", "", "", "", "", ""}));
    }
    EXPECT_EQ(Get<QLineEdit>("Edit80")->geometry(), QRect(416, 0, 52, 16));
    EXPECT_EQ(Get<QLineEdit>("Edit79")->geometry(), QRect(351, 0, 51, 16));
}

TEST_F(DrawLinesTest, FixedLineIsDrawnWhereTheReferencePointsStood) {
    SetRef(1, 1, 2);
    SetRef(2, 5, 6);
    Open([&] {
        Choose(0, 1, 0);
        EXPECT_TRUE(dlg().isVisible());
        EXPECT_TRUE(Get<QPushButton>("DrawBut")->isEnabled());
        EXPECT_EQ(RowTexts(1), QStringList({"Line", "Red", "0 , 0", "", "", "", ""}));
        Click("DrawBut");
    });
    const OverlayItem& it = g().overlay[1];
    EXPECT_EQ(it.kind, 0);
    EXPECT_EQ(it.color, 255);
    EXPECT_EQ(it.refMode, 0);
    EXPECT_EQ(RowTexts(1), QStringList({"Line", "Red", "0 , 0", "  2.000", "  1.000", "  6.000", "  5.000"}));
    EXPECT_EQ(g().currentItem, 2);
    EXPECT_EQ(PanelColor(2), QColor(0, 255, 255));
    EXPECT_EQ(PanelColor(1), QColor(Qt::white));
    EXPECT_EQ(sound->Count(RecordingSound::Kind::Beep), 0);
    EXPECT_FALSE(g().pivotPickPending);
    EXPECT_FALSE(Checked(Type) || Checked(Color) || Checked(Ref));

    const auto segs = OverlaySegments();
    ASSERT_EQ(segs.size(), 1u);
    EXPECT_EQ(segs[0].x1, Screen(1, 2).x);
    EXPECT_EQ(segs[0].y1, Screen(1, 2).y);
    EXPECT_EQ(segs[0].x2, Screen(5, 6).x);
    EXPECT_EQ(segs[0].y2, Screen(5, 6).y);
    EXPECT_EQ(segs[0].color, colors::kRed);
}

TEST_F(DrawLinesTest, Pivot1LineFollowsItsPivot) {
    const float px = g().piv.x[2], py = g().piv.y[2]; // the crank pin
    SetRef(1, px + 1, py + 0.5f);
    SetRef(2, px + 3, py - 1);
    Open([&] {
        Choose(0, 4, 1); // closes the dialog for the pick
    });
    EXPECT_TRUE(g().pivotPickPending);
    EXPECT_EQ(g().currentItem, 1);
    EXPECT_EQ(RowTexts(1), QStringList({"Line", "Blue", "Pivot1", "", "", "", ""}));

    // The left click on the picture near the crank pin moves reference
    // point 1 there and shows the dialog again, which binds the pivot.
    SetRef(1, px + 0.01f, py - 0.01f);
    Open([&] {
        EXPECT_EQ(g().overlay[1].anchorPivot1, 2);
        Click("DrawBut");
    });
    const OverlayItem& it = g().overlay[1];
    EXPECT_EQ(it.refMode, 1);
    EXPECT_FLOAT_EQ(it.horz1, 1);
    EXPECT_FLOAT_EQ(it.vert1, 0.5f);
    EXPECT_FLOAT_EQ(it.horz2, 3);
    EXPECT_FLOAT_EQ(it.vert2, -1);
    EXPECT_EQ(RowTexts(1), QStringList({"Line", "Blue", "Pivot1", "  0.500", "  1.000", " -1.000", "  3.000"}));
    EXPECT_FALSE(g().pivotPickPending);
    EXPECT_EQ(g().currentItem, 2);

    // A quarter turn later the line has moved with the pin, same length.
    g().motion.driverAngle = 90;
    form->Tick();
    const float qx = g().piv.x[2], qy = g().piv.y[2];
    ASSERT_GT(std::abs(qx - px) + std::abs(qy - py), 1.0f);
    const auto segs = OverlaySegments();
    ASSERT_EQ(segs.size(), 1u);
    EXPECT_EQ(segs[0].x1, Screen(qx + 1, qy + 0.5f).x);
    EXPECT_EQ(segs[0].y1, Screen(qx + 1, qy + 0.5f).y);
    EXPECT_EQ(segs[0].x2, Screen(qx + 3, qy - 1).x);
    EXPECT_EQ(segs[0].y2, Screen(qx + 3, qy - 1).y);
    EXPECT_EQ(segs[0].color, colors::kBlue);
}

TEST_F(DrawLinesTest, ClicksOnThePictureHandThePickedPivotsBack) {
    form->RunCommand(TMainForm::Command::ReferPoints);
    ASSERT_TRUE(test::Child<QAction>(*form, QStringLiteral("DrawLines1"))->isEnabled());
    QWidget* picture = form->findChild<QWidget*>(QStringLiteral("MainCanvas"));
    auto press = [&](float x, float y, Qt::MouseButton b) {
        const ScreenPoint s = Screen(x, y);
        ASSERT_GT(s.y, 120);
        QTest::mouseClick(picture, b, {}, QPoint(s.x, s.y));
    };
    const float ax = g().piv.x[2], ay = g().piv.y[2];
    const float bx = g().piv.x[8], by = g().piv.y[8];
    // The two ends of the line, then the choices: the dialog closes for the
    // pick and the picture asks for the pivots.
    press(ax + 2, ay + 2, Qt::LeftButton);
    press(bx - 2, by - 1, Qt::RightButton);
    Open([&] {
        Choose(0, 1, 3);
    });
    ASSERT_TRUE(g().pivotPickPending);

    // Left on the crank pin: nothing yet; right on the die: the dialog is
    // back, with both pivots bound, and "Draw Close" completes the line.
    // Should the dialog come back here, the queued check sees it from
    // inside the dialog's own loop and closes it.
    bool cameBack = false;
    QTimer::singleShot(0, &dlg(), [&] {
        cameBack = dlg().isVisible();
        if (cameBack) dlg().done(0);
    });
    press(ax, ay, Qt::LeftButton);
    QTest::qWait(20);
    EXPECT_FALSE(cameBack);
    EXPECT_FALSE(dlg().isVisible());
    // The dialog is shown and waited for within the press itself.
    bool shown = false;
    QTimer::singleShot(0, &dlg(), [&] {
        shown = dlg().isVisible();
        if (dlg().findChild<QPushButton*>(QStringLiteral("DrawBut")) != nullptr) Click("DrawBut");
        if (dlg().isVisible()) dlg().done(0);
    });
    press(bx, by, Qt::RightButton);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(dlg().isVisible());
    const OverlayItem& it = g().overlay[1];
    EXPECT_EQ(it.anchorPivot1, 2);
    EXPECT_EQ(it.anchorPivot2, 8);
    EXPECT_EQ(it.refMode, 3);
    EXPECT_NEAR(it.horz1, 2, 0.05);
    EXPECT_NEAR(it.vert2, -1, 0.05);
    EXPECT_FALSE(g().pivotPickPending);
    EXPECT_EQ(g().currentItem, 2);
}

TEST_F(DrawLinesTest, TwoPivotLineStretchesBetweenBothPivots) {
    const float ax = g().piv.x[2], ay = g().piv.y[2];
    const float bx = g().piv.x[8], by = g().piv.y[8]; // the radius rod die
    SetRef(1, ax + 1, ay + 1);
    SetRef(2, bx - 2, by + 0.25f);
    Open([&] {
        Choose(0, 5, 3);
    });
    EXPECT_TRUE(g().pivotPickPending);
    RecordingCanvas prompts;
    DrawOverlayPickPrompts(g(), prompts);
    ASSERT_EQ(prompts.Ops().size(), 3u);
    EXPECT_EQ(prompts.Ops()[0].text, "STOP MOTION AND SELECT PIVOT 1 AND PIVOT 2");

    // Left click on the crank pin, right click on the die.
    SetRef(1, ax, ay);
    SetRef(2, bx, by);
    Open([&] { Click("DrawBut"); });
    const OverlayItem& it = g().overlay[1];
    EXPECT_EQ(it.anchorPivot1, 2);
    EXPECT_EQ(it.anchorPivot2, 8);
    EXPECT_EQ(it.refMode, 3);
    EXPECT_EQ(it.color, 8421504);
    EXPECT_FLOAT_EQ(it.horz2, -2);
    EXPECT_FLOAT_EQ(it.vert2, 0.25f);
    EXPECT_EQ(RowTexts(1), QStringList({"Line", "Gray", "Piv1/P2", "  1.000", "  1.000", "  0.250", " -2.000"}));

    g().motion.driverAngle = 200;
    form->Tick();
    const auto segs = OverlaySegments();
    ASSERT_EQ(segs.size(), 1u);
    EXPECT_EQ(segs[0].x1, Screen(g().piv.x[2] + 1, g().piv.y[2] + 1).x);
    EXPECT_EQ(segs[0].x2, Screen(g().piv.x[8] - 2, g().piv.y[8] + 0.25f).x);
    EXPECT_EQ(segs[0].y2, Screen(g().piv.x[8] - 2, g().piv.y[8] + 0.25f).y);
}

TEST_F(DrawLinesTest, FixedCircleHasTheDistanceAsRadiusAndNoThirdBox) {
    SetRef(1, 1, 2);
    SetRef(2, 4, 6);
    Open([&] {
        Choose(1, 2, 0);
        Click("DrawBut");
    });
    EXPECT_EQ(RowTexts(1), QStringList({"Circle", "Green", "0 , 0", "  2.000", "  1.000", "", "  5.000"}));
    EXPECT_EQ(g().overlay[1].horz2, 5);
    RecordingCanvas c;
    DrawOverlayLayer(g(), c);
    int ellipses = 0;
    for (const auto& op : c.Ops())
        if (op.kind == RecordingCanvas::Kind::Ellipse) ++ellipses;
    EXPECT_EQ(ellipses, 1);

    // Typing into the circle's third box has no effect.
    dlg().show();
    auto* third = Get<QLineEdit>("Edit3");
    third->setFocus();
    QTest::keyClicks(third, "12.5");
    QTest::keyClick(third, Qt::Key_Backspace);
    EXPECT_EQ(third->text(), QString());
    // Its neighbour takes the same keys.
    auto* fourth = Get<QLineEdit>("Edit4");
    fourth->setFocus();
    QTest::keyClick(fourth, Qt::Key_End);
    QTest::keyClicks(fourth, "1");
    EXPECT_EQ(fourth->text(), QStringLiteral("  5.0001"));
}

TEST_F(DrawLinesTest, AnchoredCircleKeepsTheRadiusFromWhereItsCentreWasPlaced) {
    const float px = g().piv.x[2], py = g().piv.y[2];
    SetRef(1, px + 1, py + 1); // the centre
    SetRef(2, px + 4, py + 5); // a point on the circle: radius 5
    Open([&] {
        Choose(1, 3, 1);
    });
    ASSERT_TRUE(g().pivotPickPending);
    SetRef(1, px, py); // the click on the crank pin
    Open([&] { Click("DrawBut"); });
    const OverlayItem& it = g().overlay[1];
    EXPECT_EQ(it.anchorPivot1, 2);
    EXPECT_FLOAT_EQ(it.horz1, 1);
    EXPECT_FLOAT_EQ(it.vert1, 1);
    EXPECT_FLOAT_EQ(it.horz2, 5);
    EXPECT_EQ(RowTexts(1), QStringList({"Circle", "Yellow", "Pivot1", "  1.000", "  1.000", "", "  5.000"}));
}

TEST_F(DrawLinesTest, RefusedCombinationsBeep) {
    struct Step {
        Group group;
        int item;
    };
    struct Case {
        const char* what;
        bool refsAtOrigin;
        std::vector<Step> steps;
        int beeps; // besides the opening beep for reference points at 0, 0
        bool stillOpen;
        const char* typeText; // the type chosen before the refused step
    } cases[] = {
        {"type without reference points", true, {{Type, 0}}, 1, false, ""},
        {"colour without type", false, {{Color, 1}}, 1, true, ""},
        {"reference without type", false, {{Ref, 0}}, 1, true, ""},
        {"reference without colour", false, {{Type, 1}, {Ref, 0}}, 1, true, "Circle"},
        {"circle on Piv1/0,0", false, {{Type, 1}, {Color, 3}, {Ref, 2}}, 1, true, ""},
        {"circle on Piv1/Piv2", false, {{Type, 1}, {Color, 3}, {Ref, 3}}, 1, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sound->Reset();
        SetRef(1, c.refsAtOrigin ? 0 : 1, 0);
        SetRef(2, 0, 0);
        bool open = false;
        Open([&] {
            for (const Step& s : c.steps) Choose(s.group, s.item);
            open = dlg().isVisible();
        });
        EXPECT_EQ(sound->Count(RecordingSound::Kind::Beep), c.beeps + (c.refsAtOrigin ? 1 : 0));
        EXPECT_EQ(open, c.stillOpen);
        EXPECT_EQ(Checked(Type), *c.typeText != 0);
        EXPECT_FALSE(Checked(Color) || Checked(Ref));
        EXPECT_EQ(g().overlayChoice.ref, -1);
        EXPECT_FALSE(g().pivotPickPending);
        EXPECT_EQ(g().overlay[1].kind, -1);
        EXPECT_EQ(g().overlay[1].refMode, -1);
        EXPECT_EQ(RowTexts(1), QStringList({c.typeText, "", "", "", "", "", ""}));
        EXPECT_FALSE(Get<QPushButton>("DrawBut")->isEnabled());
        EXPECT_EQ(g().currentItem, 1);
        Open([&] { Click("CloseBut"); }); // nothing chosen for the next case
    }
}

TEST_F(DrawLinesTest, RowSelectionAndTheLimitOfTwentyItems) {
    SetRef(1, 1, 1);
    SetRef(2, 2, 2);
    Open([&] {
        ClickRowNumber(7);
        EXPECT_EQ(g().currentItem, 7);
        EXPECT_EQ(PanelColor(7), QColor(0, 255, 255));
        EXPECT_EQ(PanelColor(1), QColor(Qt::white));
        Choose(0, 0, 0);
        Click("DrawBut");
    });
    EXPECT_EQ(g().overlay[7].kind, 0);
    EXPECT_EQ(g().currentItem, 8);
    EXPECT_EQ(PanelColor(8), QColor(0, 255, 255));
    EXPECT_EQ(sound->Count(RecordingSound::Kind::Beep), 0);

    Open([&] {
        ClickRowNumber(20);
        Choose(1, 1, 0);
        Click("DrawBut");
    });
    EXPECT_EQ(g().overlay[20].kind, 1);
    EXPECT_EQ(g().currentItem, 20);
    EXPECT_EQ(PanelColor(20), QColor(0, 255, 255));
    EXPECT_EQ(sound->Count(RecordingSound::Kind::Beep), 1);
}

TEST_F(DrawLinesTest, CurrentItemStaysInRangeWhileAPickIsPending) {
    SetRef(1, 1, 1);
    SetRef(2, 2, 2);
    Open([&] {
        Choose(0, 0, 2); // closes for the pick
    });
    EXPECT_EQ(g().currentItem, 1);
    // Shown and closed with the close box twice while the choice stands:
    // the item being defined stays the same.
    for (int i = 0; i < 2; ++i) {
        Open([&] { dlg().close(); });
        EXPECT_EQ(g().currentItem, 1);
        EXPECT_EQ(g().overlayChoice.ref, 2);
    }
    Open([&] { Click("DrawBut"); });
    EXPECT_EQ(g().overlay[1].refMode, 2);
    EXPECT_EQ(g().currentItem, 2);
}

TEST_F(DrawLinesTest, BoxesFilterKeysAndStoreOnExit) {
    dlg().show();
    dlg().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg()));
    auto* box = Get<QLineEdit>("Edit5"); // row 2, vert1
    box->setFocus();
    QTest::keyClicks(box, "1a2.3.-4- ");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->text(), QStringLiteral("12.3-4"));
    // Nothing comes in past the filter by pasting, nor goes by cutting.
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral("12.3-4"));
    EXPECT_TRUE(dlg().isVisible());

    auto* next = Get<QLineEdit>("Edit6");
    g().overlay[2].vert1 = 3;
    next->setFocus(); // leaving the box stores it: not a number gives 0
    EXPECT_EQ(g().overlay[2].vert1, 0);
    QTest::keyClicks(next, "-7.25");
    EXPECT_EQ(next->text(), QStringLiteral("-7.25"));
    QTest::keyClick(next, Qt::Key_Tab);
    EXPECT_FALSE(next->hasFocus());
    EXPECT_EQ(g().overlay[2].horz1, -7.25f);
    EXPECT_EQ(g().currentItem, 1);
}

// A decimal comma typed is the point, under the one-point rule.
TEST_F(DrawLinesTest, ADecimalCommaIsThePoint) {
    dlg().show();
    dlg().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg()));
    auto* box = Get<QLineEdit>("Edit6");
    box->setFocus();
    QTest::keyClicks(box, "-7,2,5");
    EXPECT_EQ(box->text(), QStringLiteral("-7.25"));
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(g().overlay[2].horz1, -7.25f);
}

TEST_F(DrawLinesTest, ClearLineEmptiesTheCurrentItemAndStaysOpen) {
    SetRef(1, 1, 1);
    SetRef(2, 2, 2);
    Open([&] {
        Choose(0, 1, 0);
        Click("DrawBut");
    });
    g().overlay[1].anchorPivot1 = 5;
    Open([&] {
        ClickRowNumber(1);
        Choose(Type, 1);
        Click("ClearLine");
        EXPECT_TRUE(dlg().isVisible());
    });
    const OverlayItem& it = g().overlay[1];
    EXPECT_EQ(it.kind, -1);
    EXPECT_EQ(it.color, -1);
    EXPECT_EQ(it.refMode, -1);
    EXPECT_EQ(it.horz2, 0);
    EXPECT_EQ(it.anchorPivot1, 5);
    EXPECT_EQ(g().currentItem, 1);
    EXPECT_EQ(RowTexts(1), QStringList({"", "", "", "", "", "", ""}));
    EXPECT_TRUE(OverlaySegments().empty());
}

TEST_F(DrawLinesTest, FileRoundTripKeepsTheOverlayAndPositionsFourToNine) {
    SetRef(1, 1, 2);
    SetRef(2, 5, 6);
    Open([&] {
        Choose(0, 1, 0);
        Click("DrawBut");
        Choose(1, 4, 0);
        Click("DrawBut");
    });
    for (int k = 4; k <= 9; ++k) g().revArm.position[static_cast<std::size_t>(k)] = 0.25f * static_cast<float>(k);
    const auto overlay = g().overlay;
    test::TempDir dir;
    const std::string path = dir.File("marked.vxd");
    ASSERT_TRUE(SaveDesign(g(), path).ok);

    g().overlay = {};
    g().currentItem = 1;
    for (int k = 4; k <= 9; ++k) g().revArm.position[static_cast<std::size_t>(k)] = 0;
    dlg().LinesDataClick();
    EXPECT_EQ(RowTexts(1), QStringList({"Line", "Red", "0 , 0", "", "", "", ""})); // codes -1 leave texts

    ASSERT_TRUE(OpenDesign(g(), path).ok);
    dlg().DesignOpened();
    for (std::size_t i = 1; i <= 20; ++i) {
        EXPECT_EQ(g().overlay[i].kind, overlay[i].kind) << i;
        EXPECT_EQ(g().overlay[i].horz2, overlay[i].horz2) << i;
    }
    EXPECT_EQ(g().currentItem, 3);
    EXPECT_EQ(PanelColor(3), QColor(0, 255, 255));
    EXPECT_EQ(RowTexts(1), QStringList({"Line", "Red", "0 , 0", "  2.000", "  1.000", "  6.000", "  5.000"}));
    EXPECT_EQ(RowTexts(2), QStringList({"Circle", "Blue", "0 , 0", "  2.000", "  1.000", "  6.000", "  5.657"}));
    EXPECT_EQ(RowTexts(3), QStringList({"", "", "", "", "", "", ""}));
    for (int k = 4; k <= 9; ++k) EXPECT_EQ(g().revArm.position[static_cast<std::size_t>(k)], 0.25f * static_cast<float>(k));
}

} // namespace
} // namespace vx
