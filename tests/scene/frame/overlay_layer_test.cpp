// The overlay drawn through the recording canvas: fixed and anchored lines,
// circles, the pen of each item, and the pick prompts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene/frame/overlay_layer.h"
#include "model/workspace/view.h"
#include "platform/recording_canvas.h"

namespace vx {
namespace {

class OverlayLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g.view = {10, 100, 200}; // x = 10 X + 100, y = -10 Y + 200
        g.piv.x[2] = 3, g.piv.y[2] = 1;
        g.piv.x[8] = -2, g.piv.y[8] = 4;
    }
    std::vector<RecordingCanvas::Op> Shapes() {
        RecordingCanvas c;
        DrawOverlayLayer(g, c);
        std::vector<RecordingCanvas::Op> out;
        for (const auto& op : c.Ops())
            if (op.kind == RecordingCanvas::Kind::MoveTo || op.kind == RecordingCanvas::Kind::LineTo ||
                op.kind == RecordingCanvas::Kind::Ellipse)
                out.push_back(op);
        return out;
    }
    OverlayItem& Item(int i, float kind, float refMode, float color) {
        OverlayItem& it = g.overlay[static_cast<std::size_t>(i)];
        it.kind = kind, it.refMode = refMode, it.color = color;
        return it;
    }
    GearState g;
};

TEST_F(OverlayLayerTest, LinesInEachReferenceModeFollowTheirPivots) {
    struct Case {
        float refMode;
        int x1, y1, x2, y2; // with pivot 2 at (3, 1) and pivot 8 at (-2, 4)
    } cases[] = {
        {0, 110, 180, 150, 150},  // (1, 2) .. (5, 5)
        {1, 140, 170, 180, 140},  // (3+1, 1+2) .. (3+5, 1+5)
        {2, 140, 170, 150, 150},  // first end on pivot 2, second fixed
        {3, 140, 170, 130, 110},  // second end on pivot 8: (-2+5, 4+5)
    };
    for (const Case& c : cases) {
        g.overlay = {};
        OverlayItem& it = Item(4, 0, c.refMode, 255);
        it.horz1 = 1, it.vert1 = 2, it.horz2 = 5, it.vert2 = 5;
        it.anchorPivot1 = 2, it.anchorPivot2 = 8;
        const auto ops = Shapes();
        ASSERT_EQ(ops.size(), 2u) << c.refMode;
        EXPECT_EQ(ops[0].a[0], c.x1);
        EXPECT_EQ(ops[0].a[1], c.y1);
        EXPECT_EQ(ops[1].a[0], c.x2) << c.refMode;
        EXPECT_EQ(ops[1].a[1], c.y2) << c.refMode;
        EXPECT_EQ(ops[1].color, colors::kRed);
    }
}

TEST_F(OverlayLayerTest, AnchoredLineMovesWithItsPivotAndKeepsItsLength) {
    OverlayItem& it = Item(1, 0, 1, 16711680);
    it.horz1 = 1, it.vert1 = 0, it.horz2 = 4, it.vert2 = 4;
    it.anchorPivot1 = 2;
    const auto before = Shapes();
    g.piv.x[2] = 6, g.piv.y[2] = -2;
    const auto after = Shapes();
    ASSERT_EQ(after.size(), 2u);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(after[k].a[0] - before[k].a[0], 30);
        EXPECT_EQ(after[k].a[1] - before[k].a[1], 30);
    }
    EXPECT_EQ(after[1].color, colors::kBlue);
}

TEST_F(OverlayLayerTest, CircleBoxFromCentreAndRadius) {
    OverlayItem& fixed = Item(1, 1, 0, 32768);
    fixed.horz1 = 1, fixed.vert1 = 2, fixed.horz2 = 3, fixed.vert2 = 99;
    OverlayItem& anchored = Item(2, 1, 1, 65535);
    anchored.horz1 = 1, anchored.vert1 = 2, anchored.horz2 = 0.5f;
    anchored.anchorPivot1 = 8;
    const auto ops = Shapes();
    ASSERT_EQ(ops.size(), 2u);
    // x from (1-3)*10+100 to (1+3)*10+100+1; y from -(2-3)*10+200+1 to -(2+3)*10+200.
    EXPECT_EQ((std::array<int, 4>{ops[0].a[0], ops[0].a[1], ops[0].a[2], ops[0].a[3]}),
              (std::array<int, 4>{80, 211, 141, 150}));
    EXPECT_EQ(ops[0].color, colors::kGreen);
    // Centre (-2+1, 4+2) = (-1, 6), radius 0.5.
    EXPECT_EQ((std::array<int, 4>{ops[1].a[0], ops[1].a[1], ops[1].a[2], ops[1].a[3]}),
              (std::array<int, 4>{85, 146, 96, 135}));
    EXPECT_EQ(ops[1].color, colors::kYellow);
}

TEST_F(OverlayLayerTest, EmptyItemsAndAnchoredCirclesBeyondOnePivotDrawNothing) {
    Item(1, 1, 2, 0).anchorPivot1 = 2;
    Item(2, 1, 3, 0).anchorPivot1 = 2;
    Item(3, 0, -1, 0);
    Item(4, -1, 0, 0);
    Item(5, 0.5f, 0, 0);
    EXPECT_TRUE(Shapes().empty());
}

TEST_F(OverlayLayerTest, PenOfEveryItemAndBlackForAnEmptyColour) {
    g.lineWidth = 2;
    RecordingCanvas c;
    DrawOverlayLayer(g, c);
    int pens = 0;
    for (const auto& op : c.Ops()) {
        if (op.kind != RecordingCanvas::Kind::Pen) continue;
        ++pens;
        EXPECT_EQ(op.color, colors::kBlack);
        EXPECT_EQ(op.width, 2);
    }
    EXPECT_EQ(pens, 20);
}

TEST_F(OverlayLayerTest, HostileValuesDrawWithoutFault) {
    const float bad[] = {std::nanf(""), std::numeric_limits<float>::infinity(), -3e38f, 3e38f, 1e30f};
    int i = 1;
    for (float v : bad) {
        OverlayItem& line = Item(i++, 0, 3, v);
        line.horz1 = line.vert1 = line.horz2 = v;
        line.anchorPivot1 = v;
        line.anchorPivot2 = 2;
        OverlayItem& circle = Item(i++, 1, 1, v);
        circle.horz1 = circle.horz2 = v;
        circle.anchorPivot1 = 2;
    }
    g.piv.x[2] = 3e38f;
    RecordingCanvas c;
    DrawOverlayLayer(g, c);
    for (const auto& op : c.Ops())
        for (int a : op.a) EXPECT_LE(std::abs(a), kPixelLimit + 1);
}

TEST_F(OverlayLayerTest, PickPromptsWhilePendingAtTheScaledRows) {
    struct Case {
        int ref;
        float sx, sy;
        std::array<const char*, 3> lines;
        int x;
        std::array<int, 3> ys;
    } cases[] = {
        {1, 1, 1, {"STOP MOTION AND SELECT PIVOT 1", "USE LEFT MOUSE BUTTON", "MOVE MOTION IF NECESSARY TO CLEAR PIVOT"},
         10, {130, 143, 156}},
        {3, 1.27f, 1.22f,
         {"STOP MOTION AND SELECT PIVOT 1 AND PIVOT 2", "USE LEFT MOUSE BUTTON FIRST THEN RIGHT",
          "MOVE MOTION IF NECESSARY TO CLEAR PIVOTS"},
         13, {159, 174, 190}},
    };
    for (const Case& c : cases) {
        g.pivotPickPending = true;
        g.overlayChoice = {0, 1, c.ref};
        g.textScaleX = c.sx, g.textScaleY = c.sy;
        RecordingCanvas rc;
        DrawOverlayPickPrompts(g, rc);
        ASSERT_EQ(rc.Ops().size(), 3u);
        for (std::size_t k = 0; k < 3; ++k) {
            const auto& op = rc.Ops()[k];
            EXPECT_EQ(op.text, c.lines[k]);
            EXPECT_EQ(op.a[0], c.x);
            EXPECT_EQ(op.a[1], c.ys[k]);
            EXPECT_TRUE(op.style.bold);
            EXPECT_EQ(op.style.color, colors::kRed);
        }
    }
    g.pivotPickPending = false;
    RecordingCanvas rc;
    DrawOverlayPickPrompts(g, rc);
    EXPECT_TRUE(rc.Ops().empty());
}

} // namespace
} // namespace vx
