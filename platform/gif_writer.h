// Animated GIF of pictures drawn in a small palette (the program's 16
// colours), encoded by giflib into memory. Every frame after the first holds
// only the rectangle that changed since the frame before, with the pixels
// that did not change in it transparent, and is left in place for the next
// one: the frames stay lossless and the file small. The animation loops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace vx {

// The 16 colours every picture of the program is drawn in.
std::span<const Rgb> ClassicPalette();

class GifWriter {
public:
    // width, height: the picture size (1 .. 65535 each). palette: at most
    // 255 colours; a pixel of another colour is written as the nearest one.
    // delayCs: the time each frame stands, in hundredths of a second.
    GifWriter(int width, int height, std::span<const Rgb> palette, int delayCs);
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // Adds a frame: height rows of width pixels as 0xAARRGGBB words (the
    // alpha byte is ignored), `stride` words from one row to the next.
    // False once encoding has failed (see Error).
    bool AddFrame(const std::uint32_t* pixels, std::ptrdiff_t stride);

    // Ends the file and hands over its bytes; false on failure (see Error).
    bool Finish(std::vector<std::uint8_t>& bytes);

    int FrameCount() const { return frames_; }
    const std::string& Error() const { return error_; }

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    int frames_ = 0;
    std::string error_;
};

} // namespace vx
