// The GIF writer: read back with giflib's decoder, the frames as given,
// each stored as the rectangle that changed; colours outside the palette
// written as the nearest; a frame with no change; looping and timing.
#include "platform/gif_writer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

#include "tests/kit/gif_frames.h"

namespace vx {
namespace {

QImage White(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool Add(GifWriter& gif, const QImage& image) {
    return gif.AddFrame(reinterpret_cast<const std::uint32_t*>(image.constBits()), image.bytesPerLine() / 4);
}

test::DecodedGif Finish(GifWriter& gif, const QTemporaryDir& dir, std::vector<std::uint8_t>* raw = nullptr) {
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(gif.Finish(bytes)) << gif.Error();
    const QString path = dir.filePath("t.gif");
    if (std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    if (raw) *raw = bytes;
    return test::DecodeGif(path);
}

TEST(GifWriter, FramesComeBackExactlyAndLoop) {
    QTemporaryDir dir;
    GifWriter gif(40, 30, ClassicPalette(), 7);
    QImage a = White(40, 30);
    a.setPixel(3, 4, qRgb(255, 0, 0));
    a.setPixel(39, 29, qRgb(0, 0, 128));
    QImage b = a;
    b.setPixel(10, 12, qRgb(0, 128, 128));
    b.setPixel(20, 15, qRgb(255, 255, 255)); // unchanged white
    b.setPixel(3, 4, qRgb(255, 255, 255));   // back to white: a change
    ASSERT_TRUE(Add(gif, a));
    ASSERT_TRUE(Add(gif, b));
    ASSERT_TRUE(Add(gif, b)); // nothing changed
    EXPECT_EQ(gif.FrameCount(), 3);
    const test::DecodedGif d = Finish(gif, dir);
    ASSERT_EQ(d.error, "");
    EXPECT_TRUE(d.loops);
    EXPECT_EQ(d.colorCount, 32);
    EXPECT_EQ(d.delays, (std::vector<int>{7, 7, 7}));
    ASSERT_EQ(d.frames.size(), 3u);
    EXPECT_TRUE(d.frames[0] == a);
    EXPECT_TRUE(d.frames[1] == b);
    EXPECT_TRUE(d.frames[2] == b);
}

TEST(GifWriter, StoresOnlyTheChangedRectangle) {
    QTemporaryDir dir;
    GifWriter gif(200, 100, ClassicPalette(), 4);
    QImage a = White(200, 100);
    QImage b = a;
    b.setPixel(50, 20, qRgb(0, 0, 0));
    b.setPixel(70, 60, qRgb(0, 0, 0));
    Add(gif, a);
    Add(gif, b);
    std::vector<std::uint8_t> raw;
    Finish(gif, dir, &raw);
    int code = 0;
    GifFileType* f = DGifOpenFileName(dir.filePath("t.gif").toLocal8Bit().constData(), &code);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(DGifSlurp(f), GIF_OK);
    ASSERT_EQ(f->ImageCount, 2);
    const GifImageDesc& second = f->SavedImages[1].ImageDesc;
    EXPECT_EQ(second.Left, 50);
    EXPECT_EQ(second.Top, 20);
    EXPECT_EQ(second.Width, 21);
    EXPECT_EQ(second.Height, 41);
    // Within the rectangle only the two changed pixels are stored; every
    // other one is the transparent index, so the frame before shows through.
    GraphicsControlBlock gcb{};
    ASSERT_EQ(DGifSavedExtensionToGCB(f, 1, &gcb), GIF_OK);
    ASSERT_NE(gcb.TransparentColor, NO_TRANSPARENT_COLOR);
    const GifByteType* bits = f->SavedImages[1].RasterBits;
    int stored = 0;
    for (int i = 0; i < second.Width * second.Height; ++i) stored += bits[i] != gcb.TransparentColor;
    EXPECT_EQ(stored, 2);
    DGifCloseFile(f, &code);
}

TEST(GifWriter, OtherColoursBecomeTheNearestAndAlphaIsIgnored) {
    QTemporaryDir dir;
    GifWriter gif(4, 1, ClassicPalette(), 4);
    const std::uint32_t row[4] = {0xFF'FA'05'03u, 0x00'7F'7F'7Fu, 0x12'C0'C0'C0u, 0xFF'00'00'FFu};
    ASSERT_TRUE(gif.AddFrame(row, 4));
    const test::DecodedGif d = Finish(gif, dir);
    ASSERT_EQ(d.frames.size(), 1u);
    EXPECT_EQ(d.frames[0].pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(d.frames[0].pixel(1, 0), qRgb(128, 128, 128));
    EXPECT_EQ(d.frames[0].pixel(2, 0), qRgb(192, 192, 192));
    EXPECT_EQ(d.frames[0].pixel(3, 0), qRgb(0, 0, 255));
}

TEST(GifWriter, NoFramesIsAnError) {
    GifWriter gif(10, 10, ClassicPalette(), 4);
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(gif.Finish(bytes));
    EXPECT_FALSE(gif.Error().empty());
}

} // namespace
} // namespace vx
