// The running gear over one revolution, frame by frame, as the main window
// runs it: what "render frame --running" and "render animation" of
// vexlin-cli and the main window's animation export all draw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scene/frame/frame_renderer.h"
#include "model/state/gear_state.h"
#include "model/workspace/running.h"
#include "platform/canvas.h"

namespace vx {

// On a copy of `g`: the warm-up, then one revolution from the current driver
// angle: for each tick the frame's advance, the frame composed on `c`, then
// frame(k, solvedAngle) with k counting from 0. Stops early (returning
// false) when frame returns false. Frame k is the picture WarmUpRunning,
// RunUpTo(solvedAngle) and one frame compose from the same start.
bool DrawRevolution(const GearState& g, float step, Canvas& c, const FrameServices& s,
                    const std::function<bool(long long k, float solvedAngle)>& frame);

// An animated GIF of one revolution.
// The first frame shows the model's driver angle.
struct AnimationSettings {
    float step = 10;  // degrees per tick
    int fps = 25;     // frames per second (1 .. 100; a GIF counts in 1/100 s)
    int width = kFrameWidth, height = kFrameHeight; // the picture's top-left part
};

// The rows of a raster canvas's pixels, as 0xAARRGGBB words.
struct PixelRows {
    const std::uint32_t* pixels = nullptr;
    std::ptrdiff_t stride = 0; // words from one row to the next
};

// Draws the revolution of DrawRevolution on `c` and encodes each frame as
// `rows` reads it off the canvas. progress(done, total) after each frame;
// it returns false to cancel. On success the file's bytes; on failure (or
// cancel) false with a reason in `error` (empty when cancelled).
bool EncodeRevolutionGif(const GearState& g, const AnimationSettings& a, Canvas& c, const std::function<PixelRows()>& rows,
                         const FrameServices& s, const std::function<bool(long long done, long long total)>& progress,
                         std::vector<std::uint8_t>& bytes, std::string& error);

// The GIF frame delay of a frame rate, in 1/100 s: nearest(100 / fps),
// at least 1; fps is taken within 1 .. 100.
int GifDelayForFps(int fps);

} // namespace vx
