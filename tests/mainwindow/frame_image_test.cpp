// The frame on the real image canvas: what the window shows.
#include <gtest/gtest.h>

#include <limits>

#include "mainwindow/frame_renderer.h"
#include "model/defaults.h"
#include "model/motion.h"
#include "model/view.h"
#include "platform/qt_image_canvas.h"

namespace vx {
namespace {

bool White(QRgb p) { return (p & 0xFFFFFF) == 0xFFFFFF; }

int InkPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += !White(img.pixel(x, y));
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
// picture.
TEST(FrameImage, HostileStatesDraw) {
    constexpr float kInf = std::numeric_limits<float>::infinity();
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kHuge = std::numeric_limits<float>::max();
    struct Hostile {
        const char* name;
        void (*apply)(GearState&);
    };
    const Hostile cases[] = {
        {"NaN driver", [](GearState& g) { g.frame.driverDia = kNaN; }},
        {"infinite driver", [](GearState& g) { g.frame.driverDia = kInf; }},
        {"huge driver", [](GearState& g) { g.frame.driverDia = kHuge; }},
        {"huge zoom", [](GearState& g) { g.view.zoom = kHuge; }},
        {"tiny zoom", [](GearState& g) { g.view.zoom = 1e-30f; }},
        {"NaN view", [](GearState& g) { g.view = {kNaN, kNaN, kNaN}; }},
        {"huge stroke", [](GearState& g) { g.frame.stroke = kHuge; }},
        {"NaN angle", [](GearState& g) { g.motion.driverAngle = kNaN; }},
        {"infinite reverse arm", [](GearState& g) { g.motion.reverseArmPosition = -kInf; }},
    };
    for (const Hostile& h : cases) {
        SCOPED_TRACE(h.name);
        GearState g;
        StartUp(g);
        g.motion.tickStep = 0;
        h.apply(g);
        TickModel(g);
        h.apply(g);
        QImageCanvas canvas(kFrameWidth, kFrameHeight);
        ComposeFrame(g, canvas);
        EXPECT_EQ(canvas.Image().width(), kFrameWidth);
    }
}

} // namespace
} // namespace vx
