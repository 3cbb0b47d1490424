// The reference point and pivot data displays, through the recording canvas.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/frame/reference_points_layer.h"
#include "model/workspace/view.h"
#include "platform/recording_canvas.h"

namespace vx {
namespace {

struct Text {
    int x, y;
    std::string text;
    Rgb color;
    friend bool operator==(const Text&, const Text&) = default;
};

std::vector<Text> Texts(const RecordingCanvas& c) {
    std::vector<Text> out;
    for (const auto& op : c.Ops())
        if (op.kind == RecordingCanvas::Kind::Text) out.push_back({op.a[0], op.a[1], op.text, op.style.color});
    return out;
}

void PrintTo(const Text& t, std::ostream* os) { *os << "(" << t.x << "," << t.y << " \"" << t.text << "\")"; }

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        g.piv.x[5] = 1.5f;
        g.piv.y[5] = -2.25f;
        g.piv.x[8] = 4.5f;
        g.piv.y[8] = 1.75f;
        ComputePivotScreenPoints(g);
    }
    GearState g;
    RecordingCanvas c;
};

TEST_F(DisplayTest, NothingWhileTheModesAreOff) {
    DrawPivotDataDisplay(g, c);
    DrawReferencePointDisplay(g, c);
    EXPECT_TRUE(c.Ops().empty());
}

TEST_F(DisplayTest, PivotDataShowsSlotsInUseAndDistancesOfNeighbours) {
    g.pivotDataOn = true;
    g.pickPivot[1] = 5;
    g.pickPivot[2] = 8;
    g.pickPivot[4] = 8;
    g.pickInUse[1] = g.pickInUse[2] = g.pickInUse[4] = true;
    DrawPivotDataDisplay(g, c);
    const Rgb k = colors::kBlack, r = colors::kRed;
    // Pivot 5 on the picture: (1.5 x 28.5 + 110 + 4, 2.25 x 28.5 + 270 - 12).
    const std::vector<Text> want = {
        {1, 128, "    Pivot Data", k},   {1, 138, "No.  Vert     Horz", k},
        {3, 150, "1", r},  {12, 150, " -2.250", k}, {50, 150, "  1.500", k}, {157, 322, "1", r},
        {90, 155, "  5.000", k}, // from (1.5, -2.25) to (4.5, 1.75)
        {3, 160, "2", r},  {12, 160, "  1.750", k}, {50, 160, "  4.500", k}, {242, 208, "2", r},
        {3, 170, "3", r},
        {3, 180, "4", r},  {12, 180, "  1.750", k}, {50, 180, "  4.500", k}, {242, 208, "4", r},
        {3, 190, "5", r},
        {3, 200, "6", r},
    };
    EXPECT_EQ(Texts(c), want);
}

TEST_F(DisplayTest, ReferencePointsShowCrossesCoordinatesDifferencesAndDistance) {
    g.refPointsOn = true;
    g.piv.x[kRefPoint1] = 3;
    g.piv.y[kRefPoint1] = 4;
    g.piv.x[kRefPoint2] = -1;
    g.piv.y[kRefPoint2] = 0.5f;
    g.overlay[20].color = 255; // red: the crosses take item 20's colour
    g.lineWidth = 2;
    ComputePivotScreenPoints(g);
    DrawReferencePointDisplay(g, c);
    const int x1 = g.piv.sx[kRefPoint1], y1 = g.piv.sy[kRefPoint1];
    const int x2 = g.piv.sx[kRefPoint2], y2 = g.piv.sy[kRefPoint2];
    const auto segs = c.Segments();
    ASSERT_EQ(segs.size(), 4u);
    const int want[4][4] = {{x2, y2 - 10, x2, y2 + 10}, {x2 - 10, y2, x2 + 10, y2},
                            {x1, y1 - 10, x1, y1 + 10}, {x1 - 10, y1, x1 + 10, y1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(segs[i].x1, want[i][0]);
        EXPECT_EQ(segs[i].y1, want[i][1]);
        EXPECT_EQ(segs[i].x2, want[i][2]);
        EXPECT_EQ(segs[i].y2, want[i][3]);
        EXPECT_EQ(segs[i].color, colors::kRed);
        EXPECT_EQ(segs[i].width, 2);
    }
    const Rgb k = colors::kBlack;
    const std::vector<Text> texts = {
        {143, 95, "Pt2V  0.500", k}, {143, 107, "Pt2H -1.000", k}, {x2 + 3, y2 - 17, "2", k},
        {143, 71, "Pt1V  4.000", k}, {143, 83, "Pt1H  3.000", k},  {x1 + 3, y1 - 17, "1", k},
        {206, 71, " 3.500", k},      {206, 83, " 4.000", k},       {207, 95, "Pt1-Pt2", k},
        {206, 107, " 5.315", k},
    };
    EXPECT_EQ(Texts(c), texts);
}

TEST_F(DisplayTest, LargeFontScalesTheFixedPositionsButNotThoseOnThePicture) {
    g.refPointsOn = g.pivotDataOn = true;
    g.textScaleX = 1.27f;
    g.textScaleY = 1.22f;
    g.pickInUse[1] = true;
    g.pickPivot[1] = 5;
    DrawPivotDataDisplay(g, c);
    DrawReferencePointDisplay(g, c);
    const auto texts = Texts(c);
    auto has = [&](int x, int y, const std::string& s) {
        for (const Text& t : texts)
            if (t.x == x && t.y == y && t.text == s) return true;
        return false;
    };
    EXPECT_TRUE(has(1, 156, "    Pivot Data"));
    EXPECT_TRUE(has(4, 183, "1"));                 // (3 x 1.27, 150 x 1.22)
    EXPECT_TRUE(has(157, 322, "1"));               // beside pivot 5: not scaled
    EXPECT_TRUE(has(182, 87, "Pt1V  0.000"));      // (143 x 1.27, 71 x 1.22)
    EXPECT_TRUE(has(g.piv.sx[kRefPoint1] + 3, g.piv.sy[kRefPoint1] - 17, "1"));
}

TEST_F(DisplayTest, CrossesAreBlackWhileItem20HasNoColourAndHugeValuesStayDefined) {
    g.refPointsOn = true;
    g.piv.x[kRefPoint1] = 3e38f;
    g.piv.y[kRefPoint2] = -3e38f;
    ComputePivotScreenPoints(g);
    DrawReferencePointDisplay(g, c);
    for (const auto& s : c.Segments()) EXPECT_EQ(s.color, colors::kBlack);
    for (const Text& t : Texts(c)) EXPECT_LE(t.text.size(), 60u);
}

} // namespace
} // namespace vx
