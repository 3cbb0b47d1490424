// The indicator cards drawn: each card's line inside its box, reaching p1
// at the top of the admission line; an end without a card named instead of
// drawn; pressures far beyond the scale held at the box's edge; the window's
// picture inside its bounds with the table's figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/workspace/defaults.h"
#include "base/fixed_format.h"
#include "model/analysis/valve_events.h"
#include "model/analysis/work.h"
#include "platform/recording_canvas.h"
#include "scene/diagrams/work_drawing.h"

namespace vx {
namespace {

bool HasText(const RecordingCanvas& c, std::string_view text) {
    return std::any_of(c.Ops().begin(), c.Ops().end(), [&](const RecordingCanvas::Op& op) {
        return op.kind == RecordingCanvas::Kind::Text && op.text.find(text) != std::string::npos;
    });
}

class WorkDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(StartUp(g), MidGearResult::Found);
        events = ComputeValveEvents(g, NotchPositions(g)[0]);
        work = ComputeWork(events, settings, WorkDimensionsOf(g));
        ASSERT_TRUE(work.HasCards());
    }
    GearState g;
    WorkSettings settings;
    PositionEvents events;
    PositionWork work;
};

TEST_F(WorkDrawingTest, EachCardIsAClosedLineInsideItsBox) {
    RecordingCanvas c(400, 300);
    constexpr int kLeft = 20, kTop = 10, kWidth = 220, kHeight = 160;
    DrawWorkCard(c, work, settings, 1, kLeft, kTop, kWidth, kHeight);
    for (const Rgb ink : {kWorkFrontInk, kWorkRearInk}) {
        int n = 0, top = 100000, first = -1;
        CanvasPoint start{}, end{};
        for (const auto& s : c.Segments()) {
            if (!(s.color == ink) || s.width != 2) continue;
            if (first < 0) start = {s.x1, s.y1};
            first = 0;
            end = {s.x2, s.y2};
            ++n;
            EXPECT_GE(std::min(s.x1, s.x2), kLeft);
            EXPECT_LE(std::max(s.x1, s.x2), kLeft + kWidth);
            EXPECT_GE(std::min(s.y1, s.y2), kTop);
            EXPECT_LE(std::max(s.y1, s.y2), kTop + kHeight);
            top = std::min({top, s.y1, s.y2});
        }
        EXPECT_GT(n, 60);
        EXPECT_EQ(start.x, end.x); // the card closes on itself
        EXPECT_EQ(start.y, end.y);
        EXPECT_EQ(start.y, top); // it starts at p1, the highest pressure at full forward
    }
    char buf[kNumberBuffer];
    EXPECT_TRUE(HasText(c, "MEP " + std::string(FormatFixed(buf, work.front.mep, 0, 1))));
    EXPECT_TRUE(HasText(c, "clearance"));
}

TEST_F(WorkDrawingTest, AnEndWithoutACardIsNamedNotDrawn) {
    PositionEvents e = events;
    e.front.cutOff.reset();
    const PositionWork w = ComputeWork(e, settings, WorkDimensionsOf(g));
    RecordingCanvas c(400, 300);
    DrawWorkCard(c, w, settings, 1, 0, 0, 220, 160);
    EXPECT_TRUE(HasText(c, "no front card"));
    const auto segments = c.Segments();
    for (const auto& s : segments) EXPECT_FALSE(s.color == kWorkFrontInk && s.width == 2);
    EXPECT_TRUE(std::any_of(segments.begin(), segments.end(),
                            [](const auto& s) { return s.color == kWorkRearInk && s.width == 2; }));
}

TEST_F(WorkDrawingTest, PressuresBeyondTheScaleStayAtTheBoxEdge) {
    WorkSettings s = settings;
    s.clearance = 0.0001f;
    s.exponent = 3;
    const PositionWork w = ComputeWork(events, s, WorkDimensionsOf(g));
    RecordingCanvas c(400, 300);
    DrawWorkCard(c, w, s, 1, 0, 0, 220, 160);
    for (const auto& seg : c.Segments()) {
        EXPECT_GE(std::min(seg.y1, seg.y2), 0);
        EXPECT_LE(std::max(seg.y1, seg.y2), 160);
    }
}

TEST_F(WorkDrawingTest, TheWindowPictureHoldsTheTableInsideItsBounds) {
    // Nine listed positions: every notch.
    const auto notches = NotchPositions(g);
    for (std::size_t i = 0; i < notches.size(); ++i) g.revArm.position[i + 1] = notches[i];
    g.revArm.positionCount = kNotchCount;
    auto scratch = std::make_unique<GearState>();
    auto t = std::make_unique<WorkTable>();
    ComputeWorkTable(*scratch, g, settings, *t);
    RecordingCanvas c(kWorkWindowWidth, kWorkWindowHeight);
    DrawWorkPicture(g, c, *t, settings);
    char buf[kNumberBuffer];
    for (const PositionWork& w : t->List()) {
        EXPECT_TRUE(HasText(c, std::string(FormatFixed(buf, w.front.mep, 0, 2))));
        EXPECT_TRUE(HasText(c, std::string(FormatFixed(buf, w.rear.mep, 0, 2))));
    }
    EXPECT_TRUE(HasText(c, "Economy curve"));
    for (const auto& op : c.Ops()) {
        if (op.kind != RecordingCanvas::Kind::MoveTo && op.kind != RecordingCanvas::Kind::LineTo &&
            op.kind != RecordingCanvas::Kind::Text)
            continue;
        EXPECT_GE(op.a[0], 0);
        EXPECT_LT(op.a[0], kWorkWindowWidth);
        EXPECT_GE(op.a[1], 0);
        EXPECT_LT(op.a[1], kWorkWindowHeight - 12) << op.text;
    }
}

} // namespace
} // namespace vx
