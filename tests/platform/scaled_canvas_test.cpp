// The scaled canvas: a picture laid out at the default size lands on the
// target larger (or smaller) as a whole, points rounded to the nearest
// pixel, texts grown by the vertical factor, filled areas without gaps.
#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <vector>

#include "platform/qt/qt_image_canvas.h"
#include "platform/recording_canvas.h"
#include "platform/scaled_canvas.h"

namespace vx {
namespace {

constexpr float kSx = 1.27f, kSy = 1.22f;

TEST(ScaledCanvas, EveryCallLandsAtTheScaledPlace) {
    struct Row {
        const char* name;
        std::function<void(Canvas&)> draw;
        RecordingCanvas::Kind kind;
        std::vector<int> at; // the target's coordinates, in call order
    };
    const Row rows[] = {
        {"move", [](Canvas& c) { c.MoveTo(100, 100); }, RecordingCanvas::Kind::MoveTo, {127, 122}},
        {"line", [](Canvas& c) { c.LineTo(10, 3); }, RecordingCanvas::Kind::LineTo, {13, 4}},
        // The factors are 32-bit floats: 50 x 1.27f lies just below 63.5.
        {"float factors", [](Canvas& c) { c.LineTo(50, 25); }, RecordingCanvas::Kind::LineTo, {63, 31}},
        {"ellipse", [](Canvas& c) { c.Ellipse(10, 10, 20, 30); }, RecordingCanvas::Kind::Ellipse, {13, 12, 25, 37}},
        {"arc", [](Canvas& c) { c.Arc(0, 0, 100, 100, 100, 50, 0, 50); }, RecordingCanvas::Kind::Arc,
         {0, 0, 127, 122, 127, 61, 0, 61}},
        {"text", [](Canvas& c) { c.Text(500, 13, "Center", TextStyle{}); }, RecordingCanvas::Kind::Text, {635, 16}},
        {"negative", [](Canvas& c) { c.MoveTo(-10, -20); }, RecordingCanvas::Kind::MoveTo, {-13, -24}},
        {"far away", [](Canvas& c) { c.MoveTo(2000000000, -2000000000); }, RecordingCanvas::Kind::MoveTo,
         {1 << 28, -(1 << 28)}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RecordingCanvas target(803, 505);
        ScaledCanvas c(target, kSx, kSy);
        r.draw(c);
        ASSERT_FALSE(target.Ops().empty());
        const RecordingCanvas::Op& op = target.Ops().back();
        EXPECT_EQ(op.kind, r.kind);
        for (std::size_t i = 0; i < r.at.size(); ++i) EXPECT_EQ(op.a[i], r.at[i]) << "coordinate " << i;
    }
}

TEST(ScaledCanvas, TextsGrowByTheVerticalFactorAndTheSizeIsTheDefaultOne) {
    RecordingCanvas target(803, 505);
    ScaledCanvas c(target, kSx, kSy);
    EXPECT_EQ(c.Width(), 632);
    EXPECT_EQ(c.Height(), 413);
    for (const auto& [size, grown] : {std::pair{11, 13}, std::pair{13, 16}, std::pair{1, 1}, std::pair{0, 1}}) {
        TextStyle s;
        s.pixelSize = size;
        s.bold = true;
        c.Text(0, 0, "x", s);
        EXPECT_EQ(target.Ops().back().style.pixelSize, grown) << size;
        EXPECT_TRUE(target.Ops().back().style.bold);
    }
    // Factors that make no sense draw at the default size.
    RecordingCanvas plain(100, 100);
    ScaledCanvas odd(plain, std::numeric_limits<float>::quiet_NaN(), -2);
    odd.LineTo(37, 41);
    EXPECT_EQ(plain.Ops().back().a[0], 37);
    EXPECT_EQ(plain.Ops().back().a[1], 41);
}

// Rows and columns of the default layout cover every row and column of
// the target: a filled box, and pixels side by side, leave no gaps.
TEST(ScaledCanvas, FilledBoxesAndPixelsLeaveNoGaps) {
    QImageCanvas target(200, 200);
    target.Clear(colors::kWhite);
    ScaledCanvas c(target, kSx, kSy);
    c.FillRect(0, 0, 50, 50, colors::kRed);
    for (int y = 60; y < 80; ++y)
        for (int x = 60; x < 80; ++x) c.SetPixel(x, y, colors::kBlue);
    const QImage& img = target.Image();
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool red = x < 63 && y < 61;                       // [0, 50) scaled
            const bool blue = x >= 76 && x < 102 && y >= 73 && y < 98; // [60, 80) scaled
            const QRgb want = red ? qRgb(255, 0, 0) : blue ? qRgb(0, 0, 255) : qRgb(255, 255, 255);
            ASSERT_EQ(img.pixel(x, y) & 0xFFFFFF, want & 0xFFFFFF) << x << ", " << y;
        }
    }
}

} // namespace
} // namespace vx
