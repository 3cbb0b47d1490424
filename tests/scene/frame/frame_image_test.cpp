// The frame on the real image canvas: what the window shows.
#include <gtest/gtest.h>

#include <limits>

#include "scene/frame/frame_renderer.h"
#include "model/workspace/defaults.h"
#include "model/workspace/motion.h"
#include "model/workspace/view.h"
#include "platform/clock.h"
#include "platform/qt/qt_image_canvas.h"
#include "platform/random.h"
#include "tests/kit/hostile_states.h"

namespace vx {
namespace {

bool White(QRgb p) { return (p & 0xFFFFFF) == 0xFFFFFF; }

int InkPixels(const QImage& picture) {
    const QImage img = picture.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) n += !White(row[x]);
    }
    return n;
}

// Each frame starts from a white picture: what the last frame drew is gone.
TEST(FrameImage, EachFrameStartsWhite) {
    GearState g;
    StartUp(g);
    QImageCanvas canvas(kFrameWidth, kFrameHeight);
    canvas.SetPen(colors::kRed, 1);
    canvas.Line(1000, 1000, 1200, 1000);
    TickModel(g);
    ComposeFrame(g, canvas);
    EXPECT_TRUE(White(canvas.Image().pixel(1100, 1000)));
    // The axle pin is drawn in black where the model puts the axle.
    const ScreenPoint axle = WorldToScreen(g.view, 0, 0);
    const int r = Nearest(0.08 * g.frame.driverDia * g.view.zoom);
    EXPECT_EQ(canvas.Image().pixel(axle.x, axle.y - r) & 0xFFFFFF, 0u);
}

// The line width option thickens the whole mechanism.
TEST(FrameImage, LineWidthTwoInksMore) {
    int ink[2] = {};
    for (int width : {1, 2}) {
        GearState g;
        StartUp(g);
        g.motion.tickStep = 0;
        g.lineWidth = width;
        TickModel(g);
        QImageCanvas canvas(kFrameWidth, kFrameHeight);
        ComposeFrame(g, canvas);
        ink[width - 1] = InkPixels(canvas.Image());
    }
    EXPECT_GT(ink[0], 1000);
    EXPECT_GT(ink[1], ink[0] * 3 / 2);
}

// States no design should reach still draw, in reasonable time, within the
// picture: a whole frame of its own over whatever the picture held before
// (here black), with the texts and lines that do not depend on the state
// and white around them.
TEST(FrameImage, HostileStatesDraw) {
    for (const test::HostileState& h : test::HostileStates()) {
        SCOPED_TRACE(h.name);
        GearState g = test::SolvedHostileState(h);
        QImageCanvas canvas(kFrameWidth, kFrameHeight);
        canvas.Clear(colors::kBlack);
        LcgRandom random(7);
        ComposeFrame(g, canvas, FrameServices{&random});
        EXPECT_EQ(canvas.Image().width(), kFrameWidth);
        const int ink = InkPixels(canvas.Image());
        EXPECT_GT(ink, 200);
        EXPECT_LT(ink, kFrameWidth * kFrameHeight / 2);
    }
}

} // namespace
} // namespace vx
