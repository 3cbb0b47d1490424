// The mechanism layer through the recording canvas: element order and pens,
// the counterweight, pins, fixed-pivot marks, the reach rod, and the frame's
// opening clear.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "scene/frame/frame_renderer.h"
#include "scene/frame/mechanism_layer.h"
#include "model/workspace/defaults.h"
#include "model/workspace/motion.h"
#include "model/workspace/view.h"
#include "platform/recording_canvas.h"
#include "tests/kit/hostile_states.h"
#include "tests/kit/designs.h"

namespace vx {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;

// The default design, solved and converted at the given driver angle with the
// motion stopped, so the angle the renderer reads is the one solved.
GearState DefaultAt(float angle) {
    GearState g = *test::StartedDesign();
    g.motion.driverAngle = angle;
    g.motion.tickStep = 0;
    TickModel(g);
    return g;
}

// The ops of a drawing cut into elements: each element begins with its pen.
std::vector<std::vector<Op>> Elements(const RecordingCanvas& rc) {
    std::vector<std::vector<Op>> out;
    for (const Op& op : rc.Ops()) {
        if (op.kind == Kind::Pen) out.emplace_back();
        if (out.empty()) out.emplace_back(); // ops before any pen (none expected)
        out.back().push_back(op);
    }
    return out;
}

std::vector<Op> Draw(const GearState& g) {
    RecordingCanvas rc;
    DrawMechanismLayer(g, rc);
    return rc.Ops();
}

CanvasPoint P(const GearState& g, int n) { return {g.piv.sx[n], g.piv.sy[n]}; }
CanvasPoint C(const GearState& g, int k) { return {g.cylOutline[k].x, g.cylOutline[k].y}; }
CanvasPoint V(const GearState& g, int k) { return {g.valveOutline[k].x, g.valveOutline[k].y}; }

// What each element draws: its pen colour and the kinds of its drawing ops.
struct ElementShape {
    const char* name;
    Rgb color;
    std::vector<Kind> ops;
};

std::vector<Kind> Lines(int polylines, int pointsEach) {
    std::vector<Kind> v;
    for (int i = 0; i < polylines; ++i) {
        v.push_back(Kind::MoveTo);
        for (int k = 1; k < pointsEach; ++k) v.push_back(Kind::LineTo);
    }
    return v;
}

std::vector<Kind> Concat(std::vector<Kind> a, const std::vector<Kind>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<ElementShape>& MechanismTable() {
    static const std::vector<ElementShape> table = {
        {"driving wheel", colors::kBlack, {Kind::Ellipse}},
        {"counterweight", colors::kBlack, {Kind::Arc}},
        {"reverse eccentric rod", colors::kLime, Lines(1, 2)},
        {"reverse eccentric sheave", colors::kLime, {Kind::Ellipse}},
        {"forward eccentric rod", colors::kBlue, Lines(1, 2)},
        {"forward eccentric sheave", colors::kBlue, {Kind::Ellipse}},
        {"pins", colors::kBlack, std::vector<Kind>(15, Kind::Ellipse)},
        {"cylinder", colors::kGrey, Concat(Lines(1, 14), Lines(1, 10))},
        {"radius rod", colors::kFuchsia, Lines(1, 3)},
        {"piston rod", colors::kBlack, Lines(1, 2)},
        {"piston", colors::kBlack, Lines(1, 5)},
        {"valve stem", colors::kBlack, Lines(1, 2)},
        {"slide valve", colors::kBlack, Lines(1, 9)},
        {"fixed-pivot marks", colors::kRed, Lines(4, 2)},
        {"expansion link", colors::kRed, Concat(Lines(1, 4), Lines(2, 2))},
        {"main rod", colors::kRed, Lines(1, 2)},
        {"radius rod lifting link", colors::kBlue, Lines(1, 2)},
        {"expansion link lifting link", colors::kAqua, Lines(1, 2)},
        {"lift and reverse arms", colors::kLime, Concat(Lines(1, 3), Lines(1, 2))},
        {"reach rod", colors::kBlack, Lines(1, 2)},
        {"rocker", colors::kBlue, Lines(1, 3)},
    };
    return table;
}

// Element numbers (0-based) of the table above, for the tests below.
constexpr int kWheel = 0, kCounterweight = 1, kPins = 6, kMarks = 13, kReachRod = 19;

TEST(MechanismLayer, ElementsInOrderWithTheirPens) {
    const GearState g = DefaultAt(30);
    RecordingCanvas rc;
    DrawMechanismLayer(g, rc);
    const auto elements = Elements(rc);
    const auto& table = MechanismTable();
    ASSERT_EQ(elements.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].name);
        const auto& e = elements[i];
        ASSERT_EQ(e.front().kind, Kind::Pen);
        EXPECT_EQ(e.front().color, table[i].color);
        std::vector<Kind> kinds;
        for (std::size_t k = 1; k < e.size(); ++k) {
            kinds.push_back(e[k].kind);
            EXPECT_EQ(e[k].color, table[i].color);
        }
        EXPECT_EQ(kinds, table[i].ops);
    }
}

TEST(MechanismLayer, EveryElementUsesTheLineWidthOption) {
    for (int width : {1, 2}) {
        SCOPED_TRACE(width);
        GearState g = DefaultAt(75);
        g.lineWidth = width;
        const auto ops = Draw(g);
        ASSERT_FALSE(ops.empty());
        int pens = 0;
        for (const Op& op : ops) {
            EXPECT_EQ(op.width, width);
            if (op.kind == Kind::Pen) {
                ++pens;
                EXPECT_EQ(op.a[0], width);
            }
        }
        EXPECT_EQ(pens, 21);
    }
}

// Every segment of the layer, in drawing order, from the pivots and outline
// points of the model.
TEST(MechanismLayer, SegmentsJoinTheRightPoints) {
    const GearState g = DefaultAt(130);
    RecordingCanvas rc;
    DrawMechanismLayer(g, rc);
    const auto segs = rc.Segments();

    std::vector<std::pair<CanvasPoint, CanvasPoint>> want;
    auto line = [&](CanvasPoint a, CanvasPoint b) { want.push_back({a, b}); };
    auto poly = [&](std::vector<CanvasPoint> pts) {
        for (std::size_t i = 1; i < pts.size(); ++i) line(pts[i - 1], pts[i]);
    };
    auto p = [&](int n) { return P(g, n); };
    line(p(22), p(11));
    line(p(21), p(10));
    {
        std::vector<CanvasPoint> outer, inner;
        for (int k = 0; k <= 13; ++k) outer.push_back(C(g, k));
        for (int k = 14; k <= 23; ++k) inner.push_back(C(g, k));
        poly(outer);
        poly(inner);
    }
    poly({p(5), p(8), p(26)});
    line(p(3), V(g, 0));
    poly({V(g, 4), V(g, 1), V(g, 2), V(g, 3), V(g, 4)});
    line(p(4), V(g, 5));
    poly({V(g, 13), V(g, 6), V(g, 7), V(g, 8), V(g, 9), V(g, 10), V(g, 11), V(g, 12), V(g, 13)});
    for (int n : {0, 16}) {
        const CanvasPoint q = p(n);
        line({q.x + 5, q.y + 5}, {q.x - 6, q.y - 6});
        line({q.x + 5, q.y - 5}, {q.x - 6, q.y + 6});
    }
    poly({p(14), p(25), p(6), p(7)});
    line(p(10), p(23));
    line(p(11), p(24));
    line(p(2), p(3));
    line(p(17), p(26));
    line(p(14), p(15));
    poly({p(15), p(16), p(17)});
    line(p(16), p(18));
    line(p(18), {0, p(18).y});
    poly({p(5), p(27), p(29)});

    ASSERT_EQ(segs.size(), want.size());
    for (std::size_t i = 0; i < segs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(segs[i].x1, want[i].first.x);
        EXPECT_EQ(segs[i].y1, want[i].first.y);
        EXPECT_EQ(segs[i].x2, want[i].second.x);
        EXPECT_EQ(segs[i].y2, want[i].second.y);
    }
}

// Box and radials worked out by hand from the counterweight's definition
// (0.35 D box about the axle, radials of length D at a -+ 110 degrees).
struct CounterweightCase {
    float angle, driverDia, zoom, panHorz, panVert;
    int left, top, right, bottom, x1, y1, x2, y2;
};

class Counterweight : public ::testing::TestWithParam<CounterweightCase> {};

TEST_P(Counterweight, BoxAndRadials) {
    const auto& c = GetParam();
    GearState g = DefaultAt(0);
    g.frame.driverDia = c.driverDia;
    g.view = {c.zoom, c.panHorz, c.panVert};
    g.motion.driverAngle = c.angle;
    RecordingCanvas rc;
    DrawMechanismLayer(g, rc);
    const auto elements = Elements(rc);
    ASSERT_GE(elements.size(), 2u);
    ASSERT_EQ(elements[kCounterweight].size(), 2u);
    const Op& arc = elements[kCounterweight][1];
    ASSERT_EQ(arc.kind, Kind::Arc);
    const int want[8] = {c.left, c.top, c.right, c.bottom, c.x1, c.y1, c.x2, c.y2};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(arc.a[i], want[i]) << "coordinate " << i;
}

INSTANTIATE_TEST_SUITE_P(
    MechanismLayer, Counterweight,
    ::testing::Values(CounterweightCase{30, 7, 28.5f, 110, 270, 40, 200, 180, 340, 145, 74, -43, 398},
                      CounterweightCase{0, 7, 28.5f, 110, 270, 40, 200, 180, 340, 42, 83, 42, 457},
                      CounterweightCase{200, 7, 62, 310, 237, 158, 85, 462, 389, 310, 671, 589, -95},
                      CounterweightCase{123.4f, 5.5f, 100, -500, 200, -692, 8, -308, 392, 35, 327, -828, -242},
                      CounterweightCase{-40, 7, 28.5f, 110, 270, 40, 200, 180, 340, -63, 170, 178, 457}));

// The counterweight sits opposite the crank pin: the bisector of its two
// radials points away from the crank pin, whatever the angle.
TEST(MechanismLayer, CounterweightOppositeTheCrankPin) {
    for (float angle : {0.f, 45.f, 90.f, 170.f, 260.f, 330.f}) {
        SCOPED_TRACE(angle);
        const GearState g = DefaultAt(angle);
        const auto elements = Elements([&] {
            RecordingCanvas rc;
            DrawMechanismLayer(g, rc);
            return rc;
        }());
        const Op& arc = elements[kCounterweight][1];
        const double cx = P(g, 1).x, cy = P(g, 1).y;
        const double bx = (arc.a[4] + arc.a[6]) / 2.0 - cx, by = (arc.a[5] + arc.a[7]) / 2.0 - cy;
        const double px = P(g, 2).x - cx, py = P(g, 2).y - cy;
        const double cosine = (bx * px + by * py) / std::hypot(bx, by) / std::hypot(px, py);
        EXPECT_LT(cosine, -0.99);
    }
}

// Pins scale with the driver diameter: world radius factor x D about their
// pivots; with D = 0 each pin is a single point on its pivot.
struct Pin {
    int pivot;
    double factor;
};
constexpr Pin kPinTable[15] = {{1, 0.08},  {2, 0.05},  {3, 0.03},  {5, 0.02},  {4, 0.01},
                               {10, 0.02}, {11, 0.02}, {14, 0.02}, {15, 0.02}, {16, 0.02},
                               {17, 0.02}, {18, 0.02}, {26, 0.02}, {27, 0.02}, {8, 0.02}};

TEST(MechanismLayer, PinsScaleWithDriverDiameter) {
    for (float dia : {7.f, 14.f, 2.5f, 0.f}) {
        SCOPED_TRACE(dia);
        GearState g = DefaultAt(50);
        g.frame.driverDia = dia;
        RecordingCanvas rc;
        DrawMechanismLayer(g, rc);
        const auto elements = Elements(rc);
        ASSERT_EQ(elements[kPins].size(), 16u);
        for (int i = 0; i < 15; ++i) {
            SCOPED_TRACE(kPinTable[i].pivot);
            const Op& e = elements[kPins][static_cast<std::size_t>(i) + 1];
            const int n = kPinTable[i].pivot;
            // Pivot 18's screen x comes from the reverse arm position, not from
            // its world X; the pin is drawn about the world position.
            const ScreenPoint centre = WorldToScreen(g.view, g.piv.x[n], g.piv.y[n]);
            const double radius = kPinTable[i].factor * dia * g.view.zoom;
            EXPECT_LE(e.a[0], e.a[2]);
            EXPECT_LE(e.a[1], e.a[3]);
            EXPECT_NEAR((e.a[2] - e.a[0]) / 2.0, radius, 1.0);
            EXPECT_NEAR((e.a[3] - e.a[1]) / 2.0, radius, 1.0);
            EXPECT_NEAR((e.a[0] + e.a[2]) / 2.0, centre.x, 1.0);
            EXPECT_NEAR((e.a[1] + e.a[3]) / 2.0, centre.y, 1.0);
            if (dia == 0) {
                EXPECT_EQ(e.a[0], e.a[2]);
                EXPECT_EQ(e.a[1], e.a[3]);
                EXPECT_EQ(e.a[0], centre.x);
                EXPECT_EQ(e.a[1], centre.y);
            }
        }
        // The wheel collapses with them.
        const Op& wheel = elements[kWheel][1];
        EXPECT_NEAR((wheel.a[2] - wheel.a[0]) / 2.0, dia / 2.0 * g.view.zoom, 1.0);
    }
}

// The reach rod runs from the reverse arm end to the left edge of the
// picture, wherever the view puts the gear.
TEST(MechanismLayer, ReachRodEndsAtTheLeftEdge) {
    struct ViewCase {
        float zoom, panHorz, panVert;
    };
    for (const ViewCase& v : {ViewCase{28.5f, 110, 270}, ViewCase{28.5f, -900, 270}, ViewCase{62, 2000, -40},
                              ViewCase{250, -3450, 700}, ViewCase{0.5f, 5, 5}}) {
        SCOPED_TRACE(v.panHorz);
        GearState g;
        StartUp(g);
        g.view = {v.zoom, v.panHorz, v.panVert};
        g.motion.tickStep = 0;
        TickModel(g);
        const auto elements = Elements([&] {
            RecordingCanvas rc;
            DrawMechanismLayer(g, rc);
            return rc;
        }());
        const auto& rod = elements[kReachRod];
        ASSERT_EQ(rod.size(), 3u);
        EXPECT_EQ(rod[0].color, colors::kBlack);
        EXPECT_EQ(rod[1].a[0], P(g, 18).x);
        EXPECT_EQ(rod[1].a[1], P(g, 18).y);
        EXPECT_EQ(rod[2].a[0], 0);
        EXPECT_EQ(rod[2].a[1], P(g, 18).y);
    }
}

// The X over a fixed pivot, also at the extremes of the pixel range.
TEST(MechanismLayer, FixedPivotMarks) {
    constexpr int kMax = kPixelLimit, kMin = -kPixelLimit;
    struct MarkCase {
        int x0, y0, x16, y16;
    };
    for (const MarkCase& m : {MarkCase{110, 270, 300, 120}, MarkCase{0, 0, -3, 7},
                              MarkCase{kMax, kMin, kMin, kMax}}) {
        SCOPED_TRACE(m.x16);
        GearState g = DefaultAt(10);
        g.piv.sx[0] = m.x0, g.piv.sy[0] = m.y0;
        g.piv.sx[16] = m.x16, g.piv.sy[16] = m.y16;
        const auto elements = Elements([&] {
            RecordingCanvas rc;
            DrawMechanismLayer(g, rc);
            return rc;
        }());
        const auto& marks = elements[kMarks];
        ASSERT_EQ(marks.size(), 9u);
        const int want[8][2] = {{m.x0 + 5, m.y0 + 5},   {m.x0 - 6, m.y0 - 6},   {m.x0 + 5, m.y0 - 5},
                                {m.x0 - 6, m.y0 + 6},   {m.x16 + 5, m.y16 + 5}, {m.x16 - 6, m.y16 - 6},
                                {m.x16 + 5, m.y16 - 5}, {m.x16 - 6, m.y16 + 6}};
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(marks[static_cast<std::size_t>(i) + 1].kind, i % 2 == 0 ? Kind::MoveTo : Kind::LineTo);
            EXPECT_EQ(marks[static_cast<std::size_t>(i) + 1].a[0], want[i][0]);
            EXPECT_EQ(marks[static_cast<std::size_t>(i) + 1].a[1], want[i][1]);
        }
    }
}

TEST(ComposeFrame, StartsWithAWhitePictureAndTheDefaultPen) {
    for (int width : {1, 2}) {
        SCOPED_TRACE(width);
        GearState g = DefaultAt(0);
        g.lineWidth = width;
        RecordingCanvas rc;
        ComposeFrame(g, rc);
        const auto& ops = rc.Ops();
        ASSERT_GE(ops.size(), 2u);
        EXPECT_EQ(ops[0].kind, Kind::Clear);
        EXPECT_EQ(ops[0].color, colors::kWhite);
        EXPECT_EQ(ops[1].kind, Kind::Pen);
        EXPECT_EQ(ops[1].color, colors::kBlack);
        EXPECT_EQ(ops[1].a[0], width);
        // Nothing else clears the picture afterwards.
        for (std::size_t i = 1; i < ops.size(); ++i) EXPECT_NE(ops[i].kind, Kind::Clear);
    }
}

// States no design should reach, solved and drawn: nothing may crash or
// trip the sanitizers, and every coordinate stays in the clamped pixel range.
TEST(MechanismLayer, HostileStatesDrawSafely) {
    for (const test::HostileState& h : test::HostileStates()) {
        SCOPED_TRACE(h.name);
        GearState g = test::SolvedHostileState(h);
        RecordingCanvas rc;
        ComposeFrame(g, rc);
        for (const Op& op : rc.Ops())
            for (int v : op.a) {
                EXPECT_LE(v, kPixelLimit + 6);
                EXPECT_GE(v, -kPixelLimit - 6);
            }
    }
}

} // namespace
} // namespace vx
